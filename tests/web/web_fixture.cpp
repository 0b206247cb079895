#include "web_fixture.h"

#include "core/game_state.h"
#include "launcher/settings.h"
#include "platform/registry/registry.h"
#include "platform/ui/mouse_pointer.h"
#include "web/requests.h"
#include "web/web_host.h"

#include <fstream>
#include <iterator>

void WebTest::SetUp() {
    ASSERT_NE(server_.Start(), 0);
    FixedWebHost = server_.Host();
    IdSoft = 1;
    ReleaseVersion = "2.11.0";
    FreshHive();
    caller_.Show();
    SetRequestHook([this](std::string_view path) {
        BeforeRequest before;
        before.path = path;
        if (status_.IsLoaded()) {
            before.status = status_.lbl.Caption();
            before.statusShown = status_.Visible();
        }
        before.callerEnabled = caller_.Enabled();
        before.pointer = ui::MousePointer();
        seen_.push_back(before);
    });
    ui::SetMessageBoxHandler([this](const ui::MessageBoxSeen& box) {
        boxes_.push_back(box);
        return ui::vbOK;
    });
}

void WebTest::TearDown() {
    SetRequestHook({});
    registry::SetHiveFolder({});
    status_.Unload();
    caller_.Unload();
}

namespace {
std::string HiveBytes() {
    std::ifstream hive(registry::HiveFilePath(registry::HKEY_LOCAL_MACHINE), std::ios::binary);
    return {std::istreambuf_iterator<char>(hive), {}};
}
}  // namespace

void WebTest::FreshHive() {
    registry::SetHiveFolder(hives_.filePath(QString::number(++hive_)).toStdString());
    CreeCle(registry::HKEY_LOCAL_MACHINE, kProfileKey);
    CreeCle(registry::HKEY_LOCAL_MACHINE, kGameKey);
    hiveAtStart_ = HiveBytes();
}

bool WebTest::HiveUntouched() const { return HiveBytes() == hiveAtStart_; }
