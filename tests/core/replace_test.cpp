#include "core/replace.h"

#include <gtest/gtest.h>

namespace {

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

}  // namespace
