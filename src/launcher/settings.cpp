#include "launcher/settings.h"

#include "core/game_state.h"
#include "core/rank.h"
#include "core/text.h"
#include "platform/failure.h"

#include <array>

using registry::HKEY_LOCAL_MACHINE;
using registry::REG_SZ;

namespace {

constexpr int32_t kDefaultTexIndex = 1;
constexpr int32_t kDefaultQualityIndex = 3;

RegistryValue Profile(std::string_view name) { return LitValeurCle(HKEY_LOCAL_MACHINE, kProfileKey, name); }
RegistryValue Game(std::string_view name) { return LitValeurCle(HKEY_LOCAL_MACHINE, kGameKey, name); }

bool Missing(const RegistryValue& value) { return std::holds_alternative<std::monostate>(value); }

// The stored number, or `fallback` when the value is missing.
int32_t NumberOr(std::string_view name, int32_t fallback) {
    const RegistryValue value = Game(name);
    return Missing(value) ? fallback : ValLong(value);
}

void ReadProfile() {
    skip([] { ProfileId = ValLong(Profile("Id")); });
    skip([] { ProfileLogin = TextOf(Profile("Login")); });
    skip([] { ProfilePassword = TextOf(Profile("Password")); });
    skip([] { ProfileEmail = TextOf(Profile("Email")); });
    skip([] { ProfileName = TextOf(Profile("Name")); });
}

// The totals decide the rank; a stored "Power" is read and then replaced.
void ReadCareer() {
    skip([] { SkinLocal = TextOf(Game("Skin")); });
    skip([] { StatKiller = ValLong(Game("Killer")); });
    skip([] { StatKilled = ValLong(Game("Killed")); });
    skip([] { StatSnipper = ValLong(Game("Snipper")); });
    skip([] { StatSnipped = ValLong(Game("Snipped")); });
    skip([] { WeaponPower = ValLong(Game("Power")); });
    skip([] { InverseSouris = ValLong(Game("Souris")); });
    skip([] { CalculeRang(); });
    skip([] {
        if (WeaponPower == 0) WeaponPower = 1;
    });
}

// A 16-bit value that does not fit fails its statement, leaving the variable.
void ReadVideo(const VideoListChoices& lists) {
    skip([] { IdModeleLocal = ValLong(Game("Type")); });
    skip([] { FullScreen = ValLong(Game("Full")) != 0; });
    skip([&] {
        const RegistryValue bit = Game("Bit");
        BitDepth = Missing(bit) ? CInt(lists.bitText) : CInt(static_cast<double>(ValLong(bit)));
    });
    skip([&] { ResIndex = NumberOr("Res", lists.display); });
    skip([&] { DDrawIndex = NumberOr("Draw", lists.ddraw); });
    skip([&] { D3DIndex = NumberOr("D3D", lists.d3d); });
    skip([] { TexIndex = NumberOr("Tex", kDefaultTexIndex); });
    skip([] { QualityIndex = NumberOr("Qua", kDefaultQualityIndex); });
    skip([] { ScreenMode = CInt(static_cast<double>(ValLong(Game("Mode")))); });
    skip([] { ModeBox = ValLong(Game("Box")) != 0; });
    skip([] { ConnectionIndex = ValLong(Game("Dplay1")); });
    skip([] { NetMode = ValLong(Game("Dplay2")); });
}

std::string Flag(bool value) { return value ? "-1" : "0"; }

struct StoredSetting {
    std::string_view key;
    std::string_view name;
    std::string (*text)();
};

// The order in which the settings are written.
const std::array<StoredSetting, 24> kStoredSettings{{
    {kProfileKey, "Id", [] { return std::to_string(ProfileId); }},
    {kProfileKey, "Login", [] { return ProfileLogin; }},
    {kProfileKey, "Password", [] { return ProfilePassword; }},
    {kProfileKey, "Email", [] { return ProfileEmail; }},
    {kProfileKey, "Name", [] { return ProfileName; }},
    {kGameKey, "Skin", [] { return SkinLocal; }},
    {kGameKey, "Killer", [] { return std::to_string(StatKiller); }},
    {kGameKey, "Killed", [] { return std::to_string(StatKilled); }},
    {kGameKey, "Snipper", [] { return std::to_string(StatSnipper); }},
    {kGameKey, "Snipped", [] { return std::to_string(StatSnipped); }},
    {kGameKey, "Power", [] { return std::to_string(WeaponPower); }},
    {kGameKey, "Type", [] { return std::to_string(IdModeleLocal); }},
    {kGameKey, "Souris", [] { return std::to_string(InverseSouris); }},
    {kGameKey, "Bit", [] { return std::to_string(BitDepth); }},
    {kGameKey, "Full", [] { return Flag(FullScreen); }},
    {kGameKey, "Res", [] { return std::to_string(ResIndex); }},
    {kGameKey, "Draw", [] { return std::to_string(DDrawIndex); }},
    {kGameKey, "D3D", [] { return std::to_string(D3DIndex); }},
    {kGameKey, "Tex", [] { return std::to_string(TexIndex); }},
    {kGameKey, "Qua", [] { return std::to_string(QualityIndex); }},
    {kGameKey, "Mode", [] { return std::to_string(ScreenMode); }},
    {kGameKey, "Box", [] { return Flag(ModeBox); }},
    {kGameKey, "Dplay1", [] { return std::to_string(ConnectionIndex); }},
    {kGameKey, "Dplay2", [] { return std::to_string(NetMode); }},
}};

}  // namespace

void Lit_Ini(const VideoListChoices& lists) {
    skip([] { CreeCle(HKEY_LOCAL_MACHINE, kGameKey); });
    ReadProfile();
    ReadCareer();
    ReadVideo(lists);
}

void Ecrit_Ini() {
    for (const StoredSetting& setting : kStoredSettings)
        skip([&] { EcritValeurCle(HKEY_LOCAL_MACHINE, setting.key, setting.name, setting.text(), REG_SZ); });
}
