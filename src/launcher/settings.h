#pragma once

// The player's settings, profile and career totals, kept in the registry
// under HKEY_LOCAL_MACHINE as text values: the profile in "Software\Dravonik",
// everything else in "Software\Dravonik\Quellmar". Lit_Ini reads them into
// the game state once, at the launcher's start; Ecrit_Ini writes the game
// state back when a game is launched, after the account reply and at the end
// of a game.
//
// On this system HKEY_LOCAL_MACHINE is a hive file in the user's
// configuration folder (platform/registry), so these "machine" settings are
// per user. Sizes are bytes and texts UTF-8: a text is stored with one NUL
// after it, counted in its size, and read back without it.

#include "core/shared_state.h"
#include "platform/registry/registry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

// The settings only the launcher uses; the others are in core/game_state.h.
inline int32_t ResIndex = Initial(&ResIndex, 0);                // position in list_display
inline int32_t DDrawIndex = Initial(&DDrawIndex, 0);            // position in list_DDraw
inline int32_t D3DIndex = Initial(&D3DIndex, 0);                // position in list_d3d7
inline int32_t TexIndex = Initial(&TexIndex, 0);                // position in Combo1, texture quality
inline int32_t QualityIndex = Initial(&QualityIndex, 0);        // position in Combo2, render quality
inline int32_t ConnectionIndex = Initial(&ConnectionIndex, 0);  // position in lstConnections
inline int32_t NetMode = Initial(&NetMode, 0);                  // 0 LAN, 1 web server
inline int32_t ProfileId = Initial(&ProfileId, 0);              // account number on the web server
inline std::string ProfileLogin = Initial(&ProfileLogin, {});
inline std::string ProfilePassword = Initial(&ProfilePassword, {});  // as typed: the hive is the user's only
inline std::string ProfileEmail = Initial(&ProfileEmail, {});
inline std::string ProfileName = Initial(&ProfileName, {});
// Host of the Internet game list; empty in LAN mode. Never stored.
inline std::string WebServerHost = Initial(&WebServerHost, {});
// Set from InIDE at the launcher's load; false in every run.
inline bool ModeDebug = Initial(&ModeDebug, false);

inline constexpr std::string_view kProfileKey = "Software\\Dravonik";
inline constexpr std::string_view kGameKey = "Software\\Dravonik\\Quellmar";

// A registry value as the settings read it: nothing, a text or an integer.
using RegistryValue = std::variant<std::monostate, std::string, int32_t>;

// A read value as text (an integer in decimal, nothing as "") and as an
// integer (ValLong of a text, 0 for nothing).
std::string TextOf(const RegistryValue& value);
int32_t ValLong(const RegistryValue& value);

// Creates the key and its missing parents; a failure goes unnoticed.
void CreeCle(registry::HKEY root, std::string_view subKey);

// The value `name` of an existing key; nothing when the key or the value is
// missing or of a type the settings do not read.
RegistryValue LitValeurCle(registry::HKEY root, std::string_view subKey, std::string_view name);

// Reads `name` of an open key into `value` and returns the registry status:
// a REG_SZ without its last byte (the NUL its writer counted), a REG_DWORD as
// the integer. Any other type leaves `value` alone and gives -1; a REG_SZ of
// size 0 leaves it alone with the status of the last registry call.
registry::LONG LitValeurEx(registry::HKEY key, std::string_view name, RegistryValue& value);

// Writes `value` into an existing key (this never creates one); a failure is
// dropped.
void EcritValeurCle(registry::HKEY root, std::string_view subKey, std::string_view name, const RegistryValue& value,
                    uint32_t type);

// Writes `value` as a REG_SZ (its text and one NUL) or a REG_DWORD (as an
// integer) and returns the registry status; any other type writes nothing
// and gives 0.
registry::LONG EcritValeurEx(registry::HKEY key, std::string_view name, uint32_t type, const RegistryValue& value);

// Whether the program runs inside its development environment: never here.
bool InIDE();

// The current choices of the launcher's video lists, which stand for the
// video values that are not stored yet (the first run).
struct VideoListChoices {
    std::string bitText;   // the text of list_bit
    int32_t display = -1;  // the position in list_display, -1 when none is chosen
    int32_t ddraw = -1;    // in list_DDraw
    int32_t d3d = -1;      // in list_d3d7
};

// Reads every setting into the game state, creating both keys. Missing
// values take their defaults; the stored rank is recomputed from the
// totals. A value that does not fit its variable leaves it as it was.
void Lit_Ini(const VideoListChoices& lists);

// Writes every setting from the game state as text, in a fixed order. Needs
// no window, so it runs while the launcher is unloaded.
void Ecrit_Ini();
