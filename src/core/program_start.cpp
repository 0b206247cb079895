#include "core/program_start.h"

#include "core/game_state.h"
#include "launcher/splash.h"
#include "platform/os/executable.h"
#include "platform/os/program_end.h"
#include "platform/os/single_instance.h"
#include "platform/ui/message_box.h"
#include "version.h"

#include <string>

namespace {
constexpr const char* SecondInstanceMessage =
    "il reste une instance du programme en mémoire !!,detruisez la avant de relancer";
}

void Main() {
    if (!os::ClaimSingleInstance(os::ExecutableFolder())) {
        ui::MsgBox(SecondInstanceMessage, ui::vbOKOnly, "Quellmar");
        os::EndProgram("another instance is running");
    }

    IndiceLocal = -1;
    ProductTitle = "Quellmar";
    IdSoft = 1;
    ReleaseVersion = std::to_string(build::VersionMajor) + "." + std::to_string(build::VersionMinor) + "." +
                     std::to_string(build::VersionRevision);
    SplashWindow().Splash();
}
