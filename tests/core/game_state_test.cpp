#include "core/game_state.h"
#include "core/built_in_levels.h"
#include "core/frame_timing.h"
#include "core/game_sound.h"
#include "core/main_loop.h"
#include "core/map_level.h"
#include "core/video.h"

#include <gtest/gtest.h>

namespace {

TEST(GameState, ResetRestoresInitialValues) {
    IndiceLocal = 3;
    NomMap = "couloirs";
    PrevKeys[200] = true;
    SpawnPoints[2] = {1, 2, 3};
    WeaponModels.resize(14);
    FrameCount = 12;
    RosterGIGN = "x";
    CielMap = "sky";
    TickCounter = [] { return 5; };
    EXPECT_GE(shared_state::CountChanged(), 8u);
    ResetGameState();
    EXPECT_EQ(IndiceLocal, -1);
    EXPECT_TRUE(NomMap.empty());
    EXPECT_FALSE(PrevKeys[200]);
    EXPECT_EQ(SpawnPoints[2].y, 0);
    EXPECT_TRUE(WeaponModels.empty());
    EXPECT_FALSE(TickCounter);
    EXPECT_EQ(shared_state::CountChanged(), 0u);
}

// Every shared variable of the game core is declared through `Initial`, so
// the reset reaches all of them; a plain declaration would not be counted.
TEST(GameState, EveryCoreVariableIsKnownToTheReset) { EXPECT_GE(shared_state::Count(), 103u); }

struct Counter {
    static inline int made = 0;
    Counter() { ++made; }
};

TEST(GameState, ReadingAnEmptySlotMakesAFreshObject) {
    AutoNewArray<Counter, 9> slots;
    EXPECT_EQ(slots.Peek(4), nullptr);
    Counter& first = slots[4];
    EXPECT_EQ(&slots[4], &first);
    EXPECT_EQ(Counter::made, 1);
    slots.Clear(4);
    slots[4];
    EXPECT_EQ(Counter::made, 2);
    EXPECT_THROW(slots[9], std::out_of_range);
}

}  // namespace
