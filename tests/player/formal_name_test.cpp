#include "player/formal_name.h"

#include <gtest/gtest.h>

namespace {

struct FormalNameCase {
    const char* formal;
    int32_t side;
    const char* skin;
};

TEST(FormalName, ReadsSideAndSkinAndDropsWhatIsUnsafe) {
    const FormalNameCase cases[] = {
        {"12", 1, "2"},
        {"0", 0, ""},
        {"103", 1, "03"},
        {"2ab", 2, "ab"},
        {"x1", 0, "1"},
        {"", 0, ""},
        {"1../skin", 1, ""},
        {"0a b", 0, ""},
        {"1\xC3\xA9", 1, ""},
        {"\xC3\xA9"
         "7",
         0, "7"},
    };
    for (const FormalNameCase& c : cases) {
        const FormalNameParts parts = ReadFormalName(c.formal);
        EXPECT_EQ(parts.side, c.side) << c.formal;
        EXPECT_EQ(parts.skin, c.skin) << c.formal;
    }
}

TEST(FormalName, OwnNameAndSkinFileFollowTheSide) {
    EXPECT_EQ(MakeFormalName(1, "2"), "12");
    EXPECT_EQ(MakeFormalName(0, ""), "0");
    EXPECT_EQ(SkinFileName(0, "02"), "TS02.bmp");
    EXPECT_EQ(SkinFileName(1, "abc"), "GSabc.bmp");
    EXPECT_EQ(SkinFileName(2, ""), "GS.bmp");
}

}  // namespace
