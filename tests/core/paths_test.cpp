#include "core/paths.h"

#include <gtest/gtest.h>

namespace {

TEST(Paths, GamePathsBecomePathsOfThisSystem) {
    EXPECT_EQ(NativePath("/game\\models\\Player.qc"), "/game/models/Player.qc");
    EXPECT_EQ(JoinPath("/game", "\\map\\Dust.map"), "/game/map/Dust.map");
    EXPECT_EQ(JoinPath("/game/", "map"), "/game/map");
    EXPECT_EQ(JoinPath("/game", "map"), "/game/map");
    EXPECT_EQ(JoinPath("", "map"), "map");
    EXPECT_EQ(JoinPath("/", "\\map"), "/map");
}

}  // namespace
