#include "core/logos.h"

#include "core/game_state.h"
#include "core/game_window.h"
#include "core/paths.h"
#include "platform/failure.h"
#include "platform/os/files.h"
#include "platform/ui/picture.h"

void EcritLogo(const ui::Picture& picture, const std::string& path) {
    const std::string written = path + ".new";
    try {
        ui::SavePicture(picture, written);
        os::Name(written, path);
    } catch (...) {
        skip([&] {
            if (os::FileExists(written)) os::Kill(written);
        });
        throw;
    }
}

void SauveLogos(int32_t flag) {
    const auto logo = [](const std::string& name) { return NativePath(CheminJeu + "\\media\\" + name); };
    Form1& window = GameWindow();
    skip([&] { EcritLogo(window.Image1.Picture(), logo("logo2.bmp")); });
    skip([&] { EcritLogo(window.Image2.Picture(), logo("logo3.bmp")); });
    skip([&] { EcritLogo(window.Image3.Picture(), logo("logo.bmp")); });
    skip([&] { EcritLogo((flag != 0 ? window.Image5 : window.Image4).Picture(), logo("logo4.bmp")); });
}
