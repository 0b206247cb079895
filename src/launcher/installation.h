#pragma once

// What the splash does before it shows itself: installs the two system
// components and reads the locale's decimal separator.
//
// A component is a library of this system lying beside the executable under
// its component file name ("msxml.dll", "msinet.ocx"), with C entry points DllRegisterServer and DllUnregisterServer
// (int32_t(void)). Installing copies it into the game folder's `system`
// folder and into the system folder (os::GetSystemDirectoryA, per user
// here), then runs its registration on a thread of its own. The services the
// two components gave (XML document, Internet transfer) are part of this
// program, so the build puts no component beside the executable and a normal
// start finds none: it creates `system` and stops there, saying nothing.

#include "core/shared_state.h"

#include <cstdint>
#include <string>
#include <string_view>

// The locale's decimal separator, without a terminating NUL; empty until
// LitSeparateurDecimal has run or when the locale does not tell it.
inline std::string SepDecimal = Initial(&SepDecimal, {});

// How long a registration entry point may run before the start goes on
// without it (tests shorten it).
inline uint32_t RegistrationWaitMilliseconds = Initial(&RegistrationWaitMilliseconds, 20000);

// Copies each component where it is missing and registers the system
// folder's copy, "msxml.dll" first. The first failure ends the procedure; the
// mouse pointer is the default afterwards.
void InstalleComposants();

// Runs the library's DllRegisterServer (or, with `registerIt` false,
// DllUnregisterServer) on a new thread and waits for it. True when the entry
// point ran to its end in time; false for a missing file, a file that is not
// a library, a missing entry point, a thread that does not start or a
// registration still running after the wait.
bool EnregistreComposant(const std::string& path, bool registerIt);

// Sets SepDecimal from the user's default locale.
void LitSeparateurDecimal();

// A language identifier: subLanguage x 1024 + primaryLanguage.
int16_t CalculeLANGID(uint8_t primaryLanguage, uint8_t subLanguage);
// A locale identifier: languageId + sortId x 65536.
int32_t CalculeLCID(int32_t languageId, int32_t sortId);
// The text without its last character; "" stays "".
std::string EnleveDernierCar(std::string_view text);
