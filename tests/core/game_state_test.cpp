#include "core/game_state.h"

#include <gtest/gtest.h>

namespace {

TEST(GameState, ResetRestoresInitialValues) {
    IndiceLocal = 3;
    NomMap = "couloirs";
    PrevKeys[200] = true;
    SpawnPoints[2] = {1, 2, 3};
    WeaponModels.resize(14);
    ResetGameState();
    EXPECT_EQ(IndiceLocal, -1);
    EXPECT_TRUE(NomMap.empty());
    EXPECT_FALSE(PrevKeys[200]);
    EXPECT_EQ(SpawnPoints[2].y, 0);
    EXPECT_TRUE(WeaponModels.empty());
}

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
