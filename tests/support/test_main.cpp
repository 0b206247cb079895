// The main of every test executable. Each test starts from a fresh game state,
// with its own empty configuration and data folders, and a program end throws
// ProgramEnded instead of ending the test run.

#include "support/program_ended.h"

#include "core/game_state.h"
#include "platform/os/program_end.h"
#include "platform/ui/input_box.h"
#include "platform/ui/message_box.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A real box would wait for a user who is not there: a test that expects a
// box installs its own handler.
class FreshStatePerTest : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        ResetGameState();
        os::SetEndHandler([](std::string_view why) { throw ProgramEnded(std::string(why)); });
        ui::SetMessageBoxHandler([](const ui::MessageBoxSeen& box) -> int {
            ADD_FAILURE() << "unexpected message box: " << box.prompt;
            return ui::vbOK;
        });
        ui::SetInputBoxHandler([](const ui::InputBoxSeen& box) -> std::string {
            ADD_FAILURE() << "unexpected input box: " << box.prompt;
            return {};
        });
    }

    // Windows retired by unloading are deleted before the next test.
    void OnTestEnd(const testing::TestInfo&) override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// Points the per-user configuration and data folders into a fresh folder,
// which the run removes when it ends, so no test touches the user's own.
std::filesystem::path UsePrivateUserFolders() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quellmar-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return {};
    const std::filesystem::path root = pattern;
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    return root;
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const std::filesystem::path userFolders = UsePrivateUserFolders();
    // No test opens a real window or sound device unless it asks for one.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    QApplication application(argc, argv);
    QApplication::setApplicationName("Quellmar");
    testing::UnitTest::GetInstance()->listeners().Append(new FreshStatePerTest);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    if (!userFolders.empty()) std::filesystem::remove_all(userFolders, ignored);
    return result;
}
