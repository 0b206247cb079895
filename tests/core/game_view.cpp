#include "game_view.h"

#include "core/game_state.h"
#include "core/game_window.h"
#include "core/video.h"
#include "platform/rm/rm.h"

#include <memory>

void MakeFullScreenView(int32_t width, int32_t height) {
    ScreenWidth = width;
    ScreenHeight = height;
    GameWindow().Show();
    InitPleinEcran(GameWindow());
    FinitDevice();
    int32_t x = 0, y = 0, viewWidth = 0, viewHeight = 0;
    std::shared_ptr<rm::Frame> camera;
    CreeViewport(x, y, viewWidth, viewHeight, camera);
}
