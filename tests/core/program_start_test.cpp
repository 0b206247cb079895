#include "core/program_start.h"

#include "core/game_state.h"
#include "launcher/launcher_window.h"
#include "launcher/splash.h"
#include "platform/os/executable.h"
#include "platform/os/single_instance.h"
#include "platform/ui/message_box.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

namespace {

// Main hands over to the splash and returns once the launcher has taken
// over from it.
TEST(ProgramStart, MainFillsInTheProgramsIdentityAndReturnsWithTheLauncherUp) {
    QTemporaryDir gameFolder;
    os::SetExecutableFolder(gameFolder.path().toStdString());
    IndiceLocal = 5;
    ui::SetMessageBoxHandler([](const ui::MessageBoxSeen&) { return ui::vbOK; });
    Main();
    EXPECT_FALSE(SplashWindow().IsLoaded());
    EXPECT_TRUE(LauncherWindow().hWnd()->isVisible());
    EXPECT_EQ(IndiceLocal, -1);
    EXPECT_EQ(ProductTitle, "Quellmar");
    EXPECT_EQ(IdSoft, 1);
    EXPECT_EQ(ReleaseVersion, "2.11.0");
    LauncherWindow().Unload();
    os::SetExecutableFolder({});
}

TEST(ProgramStart, ClaimLeftByADeadProcessIsTakenOver) {
    QTemporaryDir folder;
    const QString lockPath = QString::fromStdString(os::SingleInstanceLockPath(folder.path().toStdString()));
    // A lock file in the format the lock writes, owned by a process id that
    // cannot be running.
    QFile stale(lockPath);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("2147483646\nquellmar\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    EXPECT_TRUE(os::ClaimSingleInstance(folder.path().toStdString()));
    QFile::remove(lockPath);
}

}  // namespace
