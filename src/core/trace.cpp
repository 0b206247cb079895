#include "core/trace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace trace {
namespace {

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct Log {
    bool started = false;
    std::unique_ptr<std::FILE, CloseFile> file;
    std::chrono::steady_clock::time_point since;
};

Log& TheLog() {
    static Log log;
    return log;
}

void Open(Log& log, const std::string& path) {
    log.started = true;
    log.file.reset(path.empty() ? nullptr : std::fopen(path.c_str(), "a"));
    log.since = std::chrono::steady_clock::now();
}

}  // namespace

bool On() {
    Log& log = TheLog();
    if (!log.started) {
        const char* path = std::getenv("QUELLMAR_TRACE");
        Open(log, path ? path : "");
    }
    return log.file != nullptr;
}

void Write(std::string_view text) {
    if (!On()) return;
    Log& log = TheLog();
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - log.since);
    std::string line = std::to_string(elapsed.count()) + " ";
    for (const char c : text) line += c == '\n' || c == '\r' ? ' ' : c;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), log.file.get());
    std::fflush(log.file.get());
}

void Restart(const std::string& path) { Open(TheLog(), path); }

}  // namespace trace
