#include "platform/os/files.h"

#include "platform/failure.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace os {
namespace {

namespace fs = std::filesystem;

// What a file the program writes may be: read by everyone, written by the user.
constexpr mode_t kNewFileMode = 0644;

[[noreturn]] void Fail(int32_t number, const std::string& path, const std::error_code& error) {
    const char* name = number == failure_number::FileNotFound   ? "File not found"
                       : number == failure_number::PathNotFound ? "Path not found"
                                                                : "Path/File access error";
    throw Failure(number, std::string(name) + ": " + path + (error ? " (" + error.message() + ")" : ""));
}

bool ParentExists(const fs::path& path) {
    std::error_code ignored;
    return fs::is_directory(path.has_parent_path() ? path.parent_path() : fs::path("."), ignored);
}

// Fills a new file beside `destination` through `fill` (given its open
// descriptor and its path), then renames it over `destination`: a reader,
// or a program that has the old file open, never sees a part of either.
// When anything fails the new file goes and the old one stays.
template <class Fill>
void ReplaceBeside(const std::string& destination, Fill fill) {
    std::error_code error;
    if (!ParentExists(destination)) Fail(failure_number::PathNotFound, destination, error);
    std::string temporary = destination + ".copy-XXXXXX";
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0)
        Fail(failure_number::PathFileAccessError, destination, std::error_code(errno, std::generic_category()));
    fchmod(descriptor, kNewFileMode);
    fill(descriptor, temporary, error);
    if (close(descriptor) != 0 && !error) error = std::error_code(errno, std::generic_category());
    if (!error) fs::rename(temporary, destination, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        Fail(failure_number::PathFileAccessError, destination, error);
    }
}

}  // namespace

bool FileExists(const std::string& path) {
    std::error_code ignored;
    return fs::is_regular_file(path, ignored);
}

bool FolderExists(const std::string& path) {
    std::error_code ignored;
    return fs::is_directory(path, ignored);
}

void MkDir(const std::string& path) {
    std::error_code error;
    if (!ParentExists(path)) Fail(failure_number::PathNotFound, path, error);
    if (!fs::create_directory(path, error)) Fail(failure_number::PathFileAccessError, path, error);
}

void ChDir(const std::string& path) {
    std::error_code error;
    if (!FolderExists(path)) Fail(failure_number::PathNotFound, path, error);
    fs::current_path(path, error);
    if (error) Fail(failure_number::PathFileAccessError, path, error);
}

void RmDir(const std::string& path) {
    std::error_code error;
    if (!FolderExists(path)) Fail(failure_number::PathNotFound, path, error);
    if (!fs::remove(path, error)) Fail(failure_number::PathFileAccessError, path, error);
}

void FileCopy(const std::string& source, const std::string& destination) {
    std::error_code error;
    if (!FileExists(source)) Fail(failure_number::FileNotFound, source, error);
    ReplaceBeside(destination, [&](int, const std::string& temporary, std::error_code& failed) {
        fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, failed);
    });
}

void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
    ReplaceBeside(path, [&](int descriptor, const std::string&, std::error_code& failed) {
        for (size_t written = 0; written < bytes.size();) {
            const ssize_t count = write(descriptor, bytes.data() + written, bytes.size() - written);
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) {
                failed = std::error_code(count < 0 ? errno : ENOSPC, std::generic_category());
                return;
            }
            written += static_cast<size_t>(count);
        }
    });
}

void Name(const std::string& oldPath, const std::string& newPath) {
    std::error_code error;
    if (!FileExists(oldPath)) Fail(failure_number::FileNotFound, oldPath, error);
    fs::rename(oldPath, newPath, error);
    if (error) Fail(failure_number::PathFileAccessError, newPath, error);
}

void Kill(const std::string& path) {
    std::error_code error;
    if (!FileExists(path)) Fail(failure_number::FileNotFound, path, error);
    if (!fs::remove(path, error)) Fail(failure_number::PathFileAccessError, path, error);
}

std::vector<std::string> FilesEndingWith(const std::string& folder, std::string_view suffix) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.ends_with(suffix) && FileExists(entry->path().string())) names.push_back(name);
    }
    const auto folded = [](std::string name) {
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return name;
    };
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        const std::string foldedA = folded(a), foldedB = folded(b);
        return foldedA != foldedB ? foldedA < foldedB : a < b;
    });
    return names;
}

}  // namespace os
