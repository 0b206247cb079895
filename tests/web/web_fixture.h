#pragma once

// The web requests against the scripted site on loopback, named as the
// fixed web host: each test has a hive of its own, a shown calling window,
// and sees what the program showed just before each request was sent and
// in each message box.

#include "support/fake_web_server.h"
#include "support/scripted_web_site.h"
#include "support/ui_events.h"
#include "web/status_window.h"

#include "platform/ui/message_box.h"

#include <QTemporaryDir>

#include <string>
#include <vector>

class CallerWindow : public ui::Form {
public:
    CallerWindow() : ui::Form("CallerWindow") {}
};

// The moment before a request goes out.
struct BeforeRequest {
    std::string path;
    std::string status;  // the status window's text, "" when it is not loaded
    bool statusShown = false;
    bool callerEnabled = false;
    int pointer = -1;
};

class WebTest : public UiTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A hive of its own for one case of a table, with the settings' keys
    // that the launcher's start makes; true when nothing was written to it
    // since.
    void FreshHive();
    bool HiveUntouched() const;

    // The targets the server received, each without the host.
    std::vector<std::string> Targets() const { return server_.Requests(); }

    FakeWebServer server_;
    ScriptedWebSite site_{server_};
    CallerWindow caller_;
    Form3& status_ = StatusWindow();
    std::vector<BeforeRequest> seen_;
    std::vector<ui::MessageBoxSeen> boxes_;

private:
    QTemporaryDir hives_;
    int hive_ = 0;
    std::string hiveAtStart_;
};
