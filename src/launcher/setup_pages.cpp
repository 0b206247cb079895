// What fills the video page's lists (the display driver's drivers, modes,
// depths and 3D devices) and the connection page's list.

#include "core/game_state.h"
#include "core/object_ref.h"
#include "launcher/launcher_window.h"
#include "launcher/settings.h"
#include "launcher/video_rows.h"
#include "multiplayer/session_setup.h"
#include "multiplayer/session_state.h"
#include "platform/play/enumerations.h"
#include "platform/rm/directdraw.h"
#include "platform/rm/directx7.h"

namespace {

// The session object's connections, read after InitDirectPlay made them.
class SessionConnections : public ConnectionEnumeration {
public:
    int32_t GetCount() override { return Ref(DPEnumConnections).GetCount(); }
    std::string GetName(int32_t index) override { return Ref(DPEnumConnections).GetName(index); }
};

ConnectionSource& Source() {
    static ConnectionSource source;
    return source;
}

std::unique_ptr<ConnectionEnumeration> Connections() {
    if (!Source()) return std::make_unique<SessionConnections>();
    std::unique_ptr<ConnectionEnumeration> connections = Source()();
    if (!connections) throw Failure(failure_number::ObjectNotSet, "Object variable not set");
    return connections;
}

void Fill(ui::ComboBox& list, const ListRows& rows) {
    list.Clear();
    for (const std::string& row : rows.rows) list.AddItem(row);
    if (list.ListCount() > 0) list.SetListIndex(rows.selected);
}

}  // namespace

void SetConnectionSource(ConnectionSource source) { Source() = std::move(source); }

void form2::FillDriverList() {
    const rm::DirectDrawEnum drivers = Ref(DX7).GetDDEnum();
    for (int32_t i = 1; i <= drivers.GetCount(); ++i)
        list_DDraw.AddItem(DriverRow(drivers.GetDescription(i), drivers.GetGuid(i)));
    if (list_DDraw.ListCount() > 0) list_DDraw.SetListIndex(0);
}

// Every change of driver chooses the desktop's mode and depth and the
// hardware device again.
void form2::list_DDraw_Click() {
    const std::shared_ptr<rm::DirectDraw4> driver = Ref(DX7).DirectDraw4Create(GuidOfRow(list_DDraw.Text()));
    const rm::DisplayModesEnum enumeration = driver->GetDisplayModesEnum(0);
    std::vector<rm::DisplayMode> modes;
    for (int32_t i = 1; i <= enumeration.GetCount(); ++i) modes.push_back(enumeration.GetModeDesc(i));
    const ModeRows rows = BuildModeRows(modes, driver->GetDisplayMode());
    Fill(list_display, rows.resolutions);
    Fill(list_bit, rows.depths);

    const rm::Direct3DEnumDevices devices = driver->GetDirect3D().GetDevicesEnum();
    std::vector<NamedGuid> named;
    for (int32_t i = 1; i <= devices.GetCount(); ++i) named.push_back({devices.GetName(i), devices.GetGuid(i)});
    Fill(list_d3d7, BuildDeviceRows(named));
}

void form2::InitConnectionList(bool& ok) {
    InitDirectPlay();
    lstConnections.Clear();
    try {
        const std::unique_ptr<ConnectionEnumeration> connections = Connections();
        for (int32_t i = 1; i <= connections->GetCount(); ++i) lstConnections.AddItem(connections->GetName(i));
        lstConnections.SetListIndex(0);
        ok = true;
    } catch (const Failure&) {
        ok = false;
        return;
    }
    // A stored position beyond the list leaves the first connection chosen.
    skip([&] {
        if (ConnectionIndex >= 0) lstConnections.SetListIndex(ConnectionIndex);
    });
}
