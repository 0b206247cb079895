// The account request: the profile goes to the web server, which makes or
// updates the account and answers with its number, the career totals it
// keeps and the latest release.

#include "core/game_state.h"
#include "core/rank.h"
#include "core/val_long.h"
#include "launcher/settings.h"
#include "platform/ui/beep.h"
#include "platform/ui/message_box.h"
#include "web/busy.h"
#include "web/requests.h"
#include "web/status_window.h"
#include "web/web_host.h"

#include <string_view>

namespace {

struct NumberElement {
    std::string_view name;
    int32_t* variable;
};

struct TextElement {
    std::string_view name;
    std::string* variable;
};

// An element that does not come leaves its variable; one that comes twice
// leaves the last value.
void TakeAccount(const net::XmlNode& root) {
    const NumberElement numbers[] = {{"CLE", &ProfileId},
                                     {"KILLER", &StatKiller},
                                     {"KILLED", &StatKilled},
                                     {"SNIPPER", &StatSnipper},
                                     {"SNIPPED", &StatSnipped}};
    const TextElement texts[] = {{"VER", &ServerVersion}, {"URL", &NewVersionUrl}};
    for (const net::XmlNode& child : root.ChildNodes()) {
        const std::string name = child.NodeName();
        for (const NumberElement& number : numbers)
            if (name == number.name) *number.variable = ValLong(std::string_view(child.Text()));
        for (const TextElement& text : texts)
            if (name == text.name) *text.variable = child.Text();
    }
}

// A reply without a release keeps the one known before, which may be none
// or the profile board's placeholder: neither is announced as new.
void AnnounceNewRelease() {
    if (ServerVersion.empty() || ServerVersion == kUnknownVersion || ServerVersion == ReleaseVersion) return;
    ui::Beep();
    ui::MsgBox("New version " + ServerVersion + " at the url:\r\n" + NewVersionUrl, ui::vbOKOnly);
}

}  // namespace

bool Form3::InfoJoueur(ui::Form* qui) {
    Busy busy(*this, qui);
    busy.Start(WaitingFor(FixedWebHost));
    net::DOMDocument document;
    if (!LoadReply(document, FixedWebHost, web_requests::InfoJoueur,
                   {ProfileId, ProfileName, ProfileLogin, ProfilePassword, ProfileEmail, IdSoft, ReleaseVersion}))
        return false;
    TakeAccount(document.DocumentElement());
    CalculeRang();
    Ecrit_Ini();
    AnnounceNewRelease();
    return true;
}
