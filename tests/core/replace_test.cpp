#include "core/replace.h"

#include "core/text.h"
#include "support/cpu_seconds.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The scan as first written: each position re-counted from the text's start.
std::string QuadraticRemplace(std::string_view text, std::string_view search, std::string_view replacement) {
    const int32_t scanned = Len(text);
    const int32_t searchLength = Len(search);
    std::string current(text);
    if (searchLength == 0) return current;
    for (int32_t p = 1; p <= scanned; ++p) {
        if (Mid(current, p, searchLength) == search)
            current = Left(current, p - 1) + std::string(replacement) + Mid(current, p + searchLength);
    }
    return current;
}

TEST(RemplaceCar, ReplacesOnlyTheFirstOccurrence) {
    EXPECT_EQ(RemplaceCar("12.5", ".", ","), "12,5");
    EXPECT_EQ(RemplaceCar("1.2.3", ".", ","), "1,2.3");
    EXPECT_EQ(RemplaceCar("12", ".", ","), "12");
}

TEST(Remplace, ScansTheLengthOfTheTextPassedIn) {
    struct Case {
        const char *text, *search, *replacement, *expected;
    };
    const Case cases[] = {
        {"a b c", " ", "_", "a_b_c"},
        {"abc", " ", "_", "abc"},
        {"", " ", "_", ""},
        // The character that moves into the scanned position is skipped.
        {"a..b", ".", "", "a.b"},
        // The scan resumes one past the match's start, so a replacement that
        // holds the search text further on is replaced again, up to the
        // length of the original text.
        {"a.", ".", "x.", "ax."},
        {"..", ".", "x.", "xx.."},
        {"aXbXc", "X", "YY", "aYYbYYc"},
        {"abab", "ab", "c", "cc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Remplace(c.text, c.search, c.replacement), c.expected) << c.text << " / " << c.search;
}

// Texts, searches and replacements drawn from pieces that include multi-byte
// characters and stray continuation bytes, which shift where positions fall.
TEST(Remplace, GivesWhatTheCharacterByCharacterScanGives) {
    const std::string_view pieces[] = {"a", ".", "ab", "\xc3\xa9", "\x80", "\xc3", " ", "-"};
    std::mt19937 random(17);
    const auto draw = [&](size_t most) {
        std::string text;
        for (size_t n = random() % (most + 1); n > 0; --n) text += pieces[random() % std::size(pieces)];
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string text = draw(8), search = draw(2), replacement = draw(3);
        ASSERT_EQ(Remplace(text, search, replacement), QuadraticRemplace(text, search, replacement))
            << testing::PrintToString(text) << " / " << testing::PrintToString(search) << " / "
            << testing::PrintToString(replacement);
    }
}

TEST(Remplace, TakesTimeInProportionToTheText) {
    const std::string name(256 * 1024, ' ');
    const double start = ThreadCpuSeconds();
    EXPECT_EQ(Remplace(name, " ", "_"), std::string(name.size(), '_'));
    EXPECT_LT(ThreadCpuSeconds() - start, 1);
}

}  // namespace
