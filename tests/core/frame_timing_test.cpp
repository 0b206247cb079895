#include "core/frame_timing.h"
#include "core/game_state.h"
#include "core/main_loop.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One timing step after a frame of `milliseconds`, with the ratio as the
// local player holds it.
double RatioAfterFrame(int32_t milliseconds, double ratio) {
    int32_t now = 5000;
    TickCounter = [&] { return now; };
    LastTick = now - milliseconds;
    MesureImage();
    AppliqueRatio(ratio);
    return ratio;
}

TEST(FrameTiming, TheSpeedRatioIsTheFrameTimeOverTwentyAndOneForLongFrames) {
    struct Case {
        int32_t milliseconds;
        double expected;
    };
    for (const Case& c :
         std::vector<Case>{{0, 0.7}, {1, 0.05}, {20, 1}, {33, 1.65}, {60, 3}, {200, 10}, {201, 1}, {5000, 1}}) {
        EXPECT_DOUBLE_EQ(RatioAfterFrame(c.milliseconds, 0.7), c.expected) << c.milliseconds << " ms";
        EXPECT_EQ(FrameTime, static_cast<float>(c.milliseconds));
        EXPECT_EQ(LastTick, 5000);
    }
}

TEST(FrameTiming, AWrappingTickCounterDoesNotOverflow) {
    int32_t now = INT32_MIN + 10;
    TickCounter = [&] { return now; };
    LastTick = INT32_MAX - 9;
    MesureImage();
    EXPECT_EQ(FrameTime, -static_cast<float>(UINT32_MAX) + 20);  // no overflow; the counter's own wrap shows
}

TEST(FrameTiming, TheRateIsSampledEveryThirtyFramesAgainstTheClock) {
    int32_t now = 0;
    float clock = 3.0f;
    TickCounter = [&] { return now; };
    ClockSeconds = [&] { return clock; };
    RateWindowStart = 1.0f;

    FrameCount = 29;
    MesureImage();
    EXPECT_EQ(FramesPerSecond, 0);
    EXPECT_FALSE(LoopSkipsFailures);

    FrameCount = 30;
    MesureImage();
    EXPECT_FLOAT_EQ(FramesPerSecond, 15);  // the first window starts at one second after midnight
    EXPECT_TRUE(LoopSkipsFailures);
    EXPECT_EQ(FrameCount, 0);
    EXPECT_EQ(RateWindowStart, 3.0f);

    RateWindowStart = 86399.0f;  // a window across midnight
    clock = 0.5f;
    FrameCount = 30;
    MesureImage();
    EXPECT_LT(FramesPerSecond, 0);
    EXPECT_EQ(RateWindowStart, 0.5f);
}

// JoueurRendu over consecutive frames, given the slots holding players.
std::vector<int32_t> Rotation(const std::vector<int32_t>& slots, int32_t local, int frames) {
    std::vector<int32_t> chosen;
    JoueurRendu = 0;
    for (int frame = 0; frame < frames; ++frame) {
        ChoixJoueurRendu choice;
        for (int32_t slot : slots) choice.Considere(slot, local);
        chosen.push_back(JoueurRendu);  // what the marking sees this frame
        choice.Termine();
    }
    return chosen;
}

TEST(JoueurRendu, TurnsThroughTheOtherPlayersWithEmptySlotsBetween) {
    EXPECT_EQ(Rotation({0}, 0, 3), (std::vector<int32_t>{0, -1, -1}));
    EXPECT_EQ(JoueurRendu, -1);  // alone: nobody else, after the first frame
    EXPECT_EQ(Rotation({0, 1}, 0, 4), (std::vector<int32_t>{1, 1, 1, 1}));
    // Four players in slots 0, 2, 5, 7 (the local one in 2): the highest is
    // marked on two frames running at each turn.
    EXPECT_EQ(Rotation({0, 2, 5, 7}, 2, 6), (std::vector<int32_t>{5, 7, 7, 0, 5, 7}));
}

}  // namespace
