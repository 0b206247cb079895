// The map list, and the map and release downloads with the counted wait
// that follows a map's unpacking.

#include "core/game_state.h"
#include "core/game_window.h"
#include "core/map_level.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/trace.h"
#include "core/val_long.h"
#include "platform/failure.h"
#include "platform/os/executable.h"
#include "platform/os/files.h"
#include "platform/os/package.h"
#include "platform/os/program_end.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/list_control.h"
#include "web/busy.h"
#include "web/game_list.h"
#include "web/requests.h"
#include "web/status_window.h"
#include "web/web_host.h"

#include <exception>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kMapList = "List2";
constexpr std::string_view kMapElement = "MAP";
constexpr int32_t kWaitTicks = 10;
constexpr char kReleaseFile[] = "release.exe";
constexpr char kDownloadingRelease[] = "Download NEW VERSION In PROGRESS...\r\n Please Wait !!";
constexpr char kUnpacking[] = "END of DOWNLOAD...\r\nUNZIP IN PROGRESS ...";

std::string DownloadingMap(const std::string& name) {
    return "Download MAP (" + name + ") In PROGRESS...\r\n Please Wait !!";
}

ui::ListBox& MapList(ui::Form& qui) {
    for (ui::Control* control : qui.Controls())
        if (control->Name() == kMapList)
            if (auto* list = dynamic_cast<ui::ListBox*>(control)) return *list;
    throw Failure(failure_number::InvalidArgument, qui.Name() + " has no map list " + std::string(kMapList));
}

// The file into `received`, then into the game folder as `file`; its path.
std::string FetchIntoGameFolder(std::vector<uint8_t>& received, const WebRequest& request,
                                std::initializer_list<QueryValue> values, const std::string& file) {
    received = DownloadFile(FixedWebHost, request, values);
    const std::string path = JoinPath(os::ExecutableFolder(), file);
    os::WriteWholeFile(path, received);
    return path;
}

}  // namespace

bool Form3::Get_Map(ui::Form& qui) {
    ui::ListBox& List2 = MapList(qui);
    Busy busy(*this, &qui);
    busy.Start(WaitingFor(FixedWebHost));
    EmptyGameList();
    net::DOMDocument document;
    if (!LoadReply(document, FixedWebHost, web_requests::GetMap, {})) return false;
    List2.Clear();
    for (const net::XmlNode& child : document.DocumentElement().ChildNodes())
        if (child.NodeName() == kMapElement) List2.AddItem(UCase(child.Text()));
    return true;
}

// The name goes into a URL and a file's path: only a plain map name may.
void Form3::GetAnyFile(const std::string& name, ui::Form* qui) {
    if (!IsPlainMapName(name))
        throw Failure(failure_number::InvalidArgument, "\"" + name + "\" is not a map name: nothing was downloaded");
    FormAppelante = qui ? qui : &GameWindow();
    const std::string file = LCase(name + ".exe");
    Busy busy(*this, FormAppelante, Busy::End::CallerToFront);
    busy.Start(DownloadingMap(name));
    const std::string package = FetchIntoGameFolder(FichierRecu, web_requests::GetAnyFile, {file}, file);
    lbl.SetCaption(kUnpacking);
    ui::DoEvents();
    // The wait's last tick puts the windows back.
    busy.HandOver();
    pkunzip(package, JoinPath(os::ExecutableFolder(), "map"));
    Timer1.SetTag("0");
    Timer1.SetEnabled(true);
    Hide();
    Show(ui::vbModal);
}

// The count runs whether the package unpacked or not: the player sees the
// same wait either way.
void Form3::Timer1_Timer() {
    const int32_t counter = ValLong(std::string_view(Timer1.Tag()));
    if (counter < kWaitTicks) {
        Timer1.SetTag(std::to_string(counter + 1));
        lbl.SetCaption("UNZIP " + std::to_string(counter + 1) + " / " + std::to_string(kWaitTicks));
        ui::DoEvents();
        return;
    }
    Unload();
    if (FormAppelante && FormAppelante->IsLoaded()) {
        FormAppelante->SetEnabled(true);
        FormAppelante->ZOrder(0);
    }
    ui::DoEvents();
}

// The release replaces files of the running program's own folder: each is
// renamed over the old one, which the program keeps open until it ends.
void Form3::GetVersion() {
    {
        Busy busy(*this, nullptr, Busy::End::Plain, Busy::Alone::StatusWindow);
        busy.Start(kDownloadingRelease);
        const std::string package = FetchIntoGameFolder(FichierRecu, web_requests::GetVersion, {}, kReleaseFile);
        lbl.SetCaption(kUnpacking);
        ui::DoEvents();
        busy.HandOver();
        pkunzip(package, os::ExecutableFolder());
    }
    os::EndProgram("new release downloaded");
}

void Form3::pkunzip(const std::string& zip_source, const std::string& rep_destin) {
    try {
        os::UnpackPackage(zip_source, rep_destin);
    } catch (const std::exception& failure) {
        Trace("package not unpacked: ", failure.what());
    }
}
