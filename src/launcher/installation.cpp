#include "launcher/installation.h"

#include "core/paths.h"
#include "core/text.h"
#include "platform/failure.h"
#include "platform/os/executable.h"
#include "platform/os/files.h"
#include "platform/os/library.h"
#include "platform/os/locale.h"
#include "platform/os/system_folder.h"
#include "platform/os/thread.h"
#include "platform/ui/mouse_pointer.h"

#include <array>

namespace {

constexpr std::array<const char*, 2> kComponents{"msxml.dll", "msinet.ocx"};
constexpr uint32_t kSystemFolderRoom = 200;
constexpr uint8_t kNeutralLanguage = 0;
constexpr uint8_t kDefaultSubLanguage = 1;
constexpr int32_t kDefaultSort = 0;

// The system folder, or "" when the query cannot tell it in the room given.
std::string SystemFolder() {
    std::string buffer(kSystemFolderRoom, '\0');
    const uint32_t length = os::GetSystemDirectoryA(buffer, kSystemFolderRoom);
    if (length == 0 || length >= kSystemFolderRoom) return {};
    buffer.resize(length);
    return buffer;
}

// `name` in the system folder. An unknown folder is a failure, so that no
// path falls back to the current folder.
std::string SystemCopy(const std::string& systemFolder, const char* name) {
    if (systemFolder.empty()) throw Failure(failure_number::PathNotFound, "Path not found: no system folder");
    return JoinPath(systemFolder, name);
}

// The game folder's `system` marks a component as installed for everyone
// who runs this game folder, while the system folder is each user's own: a
// copy missing from either is made, so that a second user gets one too.
void CopieComposant(const std::string& systemFolder, const char* name) {
    const std::string gameFolder = os::ExecutableFolder();
    const std::string source = JoinPath(gameFolder, name);
    const std::string systemCopy = SystemCopy(systemFolder, name);
    const std::string installed = JoinPath(JoinPath(gameFolder, "system"), name);
    if (!os::FileExists(installed)) {
        os::FileCopy(source, installed);
        os::FileCopy(source, systemCopy);
    } else if (!os::FileExists(systemCopy)) {
        os::FileCopy(source, systemCopy);
    }
}

// The thread and its entry point's library: the wait may give up on the
// thread, whose handle is closed either way; the layer keeps the library
// loaded while the thread still runs.
bool RunEntryPoint(os::HMODULE library, const char* entryPoint) {
    const os::FARPROC start = os::GetProcAddress(library, entryPoint);
    if (!start) return false;
    const os::HANDLE thread = os::CreateThread(start);
    if (!thread) return false;
    const bool ended = os::WaitForSingleObject(thread, RegistrationWaitMilliseconds) == os::WAIT_OBJECT_0;
    os::CloseHandle(thread);
    return ended;
}

}  // namespace

void InstalleComposants() {
    const std::string systemFolder = SystemFolder();
    skip([] { os::MkDir(JoinPath(os::ExecutableFolder(), "system")); });
    try {
        ui::SetMousePointer(ui::vbHourglass);
        for (const char* name : kComponents) {
            CopieComposant(systemFolder, name);
            EnregistreComposant(SystemCopy(systemFolder, name), true);
        }
    } catch (...) {
        // The components not yet handled wait for the next start.
    }
    ui::SetMousePointer(ui::vbDefault);
}

bool EnregistreComposant(const std::string& path, bool registerIt) {
    try {
        if (path.empty() || !os::FileExists(path)) return false;
        const char* entryPoint = registerIt ? "DllRegisterServer" : "DllUnregisterServer";
        const os::HMODULE library = os::LoadLibraryA(path);
        if (!library) return false;
        const bool ran = RunEntryPoint(library, entryPoint);
        os::FreeLibrary(library);
        return ran;
    } catch (...) {
        return false;
    }
}

void LitSeparateurDecimal() {
    const int32_t language = CalculeLANGID(kNeutralLanguage, kDefaultSubLanguage);
    const auto locale = static_cast<uint32_t>(CalculeLCID(language, kDefaultSort));
    std::string none;
    const int32_t size = os::GetLocaleInfoA(locale, os::LOCALE_SDECIMAL, none, 0);
    if (size <= 0) return;
    std::string buffer(static_cast<size_t>(size), ' ');
    if (os::GetLocaleInfoA(locale, os::LOCALE_SDECIMAL, buffer, size) != size) return;
    SepDecimal = EnleveDernierCar(buffer);
}

int16_t CalculeLANGID(uint8_t primaryLanguage, uint8_t subLanguage) {
    return CInt(static_cast<double>(subLanguage * 1024 + primaryLanguage));
}

int32_t CalculeLCID(int32_t languageId, int32_t sortId) {
    return CLng(static_cast<double>(languageId) + static_cast<double>(sortId) * 65536.0);
}

std::string EnleveDernierCar(std::string_view text) {
    if (text.empty()) return {};
    return Left(text, Len(text) - 1);
}
