#include "core/main_loop.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "core/video.h"

#include "game_view.h"
#include "platform/rm/rm.h"
#include "scene_frames.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kRed = 0xFFFF0000;

class FullScreenPresent : public testing::Test {
protected:
    void SetUp() override {
        MakeSceneFrames();
        MakeFullScreenView(640, 480);
        Vues[0]->Clear(7);
        Vues[0]->Render(FrameMonde);
    }
    void TearDown() override {
        ResetGameState();
        GameWindow().Unload();
    }
    static bool Red(int x, int y) { return SurfPrimaire->Picture().pixel(x, y) == kRed; }
};

TEST_F(FullScreenPresent, LeavesTheRowsUnderAnOpenChatBoxAlone) {
    SurfPrimaire->BltColorFill({0, 0, 640, 480}, kRed);
    ChatTyping = true;
    GameWindow().Text1.SetTop(300 * 15);  // twips: the box's top edge at row 300
    PresenteImage();
    EXPECT_FALSE(Red(10, 10));
    EXPECT_FALSE(Red(10, 299));
    EXPECT_TRUE(Red(10, 300));
    EXPECT_TRUE(Red(630, 470));

    ChatTyping = false;
    PresenteImage();
    EXPECT_FALSE(Red(10, 300));
    EXPECT_FALSE(Red(630, 470));
}

}  // namespace
