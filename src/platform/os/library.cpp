#include "platform/os/library.h"

#include "platform/os/handle_table.h"

#include <QLibrary>

namespace os {
namespace {

HandleTable<QLibrary>& Libraries() {
    static HandleTable<QLibrary> libraries;
    return libraries;
}

}  // namespace

HMODULE LoadLibraryA(const std::string& fileName) {
    auto library = std::make_shared<QLibrary>(QString::fromStdString(fileName));
    if (fileName.empty() || !library->load()) return 0;
    return Libraries().Add(std::move(library));
}

FARPROC GetProcAddress(HMODULE module, const std::string& procName) {
    const std::shared_ptr<QLibrary> library = Libraries().Find(module);
    if (!library) return nullptr;
    return reinterpret_cast<FARPROC>(library->resolve(procName.c_str()));
}

bool FreeLibrary(HMODULE module) {
    const std::shared_ptr<QLibrary> library = Libraries().Remove(module);
    if (!library) return false;
    library->unload();
    return true;
}

}  // namespace os
