#include "platform/os/package.h"

#include "platform/failure.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

namespace os {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void Refuse(const std::string& package, const std::string& why) {
    throw Failure(failure_number::InvalidArgument, "Package " + package + " not unpacked: " + why);
}

struct ArchiveFree {
    void operator()(archive* reader) const { archive_read_free(reader); }
};

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) close(fd);
    }
};

// A new folder inside `parent`, removed with all it holds when it goes out of
// scope. Entries are unpacked here first, so that a refused package leaves
// nothing behind.
class StagingFolder {
public:
    explicit StagingFolder(const fs::path& parent) {
        std::string pattern = (parent / ".unpack-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~StagingFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

// The entry's path below the folder, or nothing when it would not stay in it.
std::optional<fs::path> RelativePath(const char* name) {
    if (!name || !*name) return std::nullopt;
    std::string path(name);
    for (char& c : path)
        if (c == '\\') c = '/';
    if (path.front() == '/') return std::nullopt;
    fs::path relative;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") return std::nullopt;
        // A drive letter: absolute where the package was made.
        if (relative.empty() && part.size() == 2 && part[1] == ':' && std::isalpha(static_cast<unsigned char>(part[0])))
            return std::nullopt;
        relative /= part;
    }
    return relative;
}

void WriteData(archive* reader, const fs::path& path, mode_t mode, uint64_t& unpacked, const PackageLimits& limits,
               const std::string& package) {
    const Descriptor file{open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600)};
    if (file.fd < 0) Refuse(package, "cannot write " + path.filename().string());
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const la_ssize_t read = archive_read_data(reader, buffer.data(), buffer.size());
        if (read == 0) break;
        if (read < 0) Refuse(package, archive_error_string(reader) ? archive_error_string(reader) : "unreadable data");
        unpacked += static_cast<uint64_t>(read);
        if (unpacked > limits.unpackedBytes) Refuse(package, "it unpacks to more than the limit");
        for (la_ssize_t done = 0; done < read;) {
            const ssize_t written = write(file.fd, buffer.data() + done, static_cast<size_t>(read - done));
            if (written <= 0) Refuse(package, "cannot write " + path.filename().string());
            done += written;
        }
    }
    fchmod(file.fd, mode);
}

// Unpacks every entry into `staging`, checking each before it is written.
void UnpackInto(const std::string& package, const fs::path& staging, const PackageLimits& limits) {
    const std::unique_ptr<archive, ArchiveFree> reader(archive_read_new());
    // Only the reader that takes the listing from the archive's end: it finds
    // the archive behind a stub, and refuses one cut short.
    archive_read_support_format_zip_seekable(reader.get());
    if (archive_read_open_filename(reader.get(), package.c_str(), 64 * 1024) != ARCHIVE_OK)
        Refuse(package, "it is not a zip archive");
    uint32_t entries = 0;
    uint64_t declared = 0;
    uint64_t unpacked = 0;
    archive_entry* entry = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF) break;
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN)
            Refuse(package, archive_error_string(reader.get()) ? archive_error_string(reader.get()) : "unreadable");
        if (++entries > limits.entries) Refuse(package, "it holds more entries than the limit");
        const char* name = archive_entry_pathname(entry);
        const std::string shown = name ? name : "";
        const std::optional<fs::path> relative = RelativePath(name);
        if (!relative) Refuse(package, "the entry \"" + shown + "\" would leave the folder");
        const auto type = archive_entry_filetype(entry);
        if ((type != AE_IFREG && type != AE_IFDIR) || archive_entry_hardlink(entry) || archive_entry_symlink(entry))
            Refuse(package, "the entry \"" + shown + "\" is not a plain file or folder");
        if (archive_entry_size_is_set(entry))
            declared += static_cast<uint64_t>(std::max<la_int64_t>(0, archive_entry_size(entry)));
        if (declared > limits.unpackedBytes) Refuse(package, "it unpacks to more than the limit");

        const fs::path target = staging / *relative;
        std::error_code error;
        fs::create_directories(type == AE_IFDIR ? target : target.parent_path(), error);
        if (error) Refuse(package, "the entry \"" + shown + "\" does not fit with the others");
        if (type == AE_IFREG) {
            const mode_t mode = (archive_entry_perm(entry) & S_IXUSR) ? 0755 : 0644;
            WriteData(reader.get(), target, mode, unpacked, limits, package);
        }
    }
}

// Moves what was unpacked into `folder`, once it is sure that all of it fits:
// no folder replaced by a file or the other way round, and nothing written
// through a link that the folder holds.
void PlaceInto(const fs::path& staging, const fs::path& folder, const std::string& package) {
    struct Item {
        fs::path relative;
        bool isFolder;
    };
    std::vector<Item> items;
    for (const fs::directory_entry& staged : fs::recursive_directory_iterator(staging))
        items.push_back({fs::relative(staged.path(), staging), staged.is_directory()});
    for (const Item& item : items) {
        std::error_code ignored;
        const fs::file_status existing = fs::symlink_status(folder / item.relative, ignored);
        if (!fs::exists(existing)) continue;
        if (item.isFolder ? !fs::is_directory(existing) : fs::is_directory(existing))
            Refuse(package, "\"" + item.relative.string() + "\" would replace what the folder holds");
    }
    for (const Item& item : items) {
        std::error_code error;
        if (item.isFolder)
            fs::create_directory(folder / item.relative, error);
        else
            fs::rename(staging / item.relative, folder / item.relative, error);
        if (error) Refuse(package, "cannot place \"" + item.relative.string() + "\": " + error.message());
    }
}

}  // namespace

void UnpackPackage(const std::string& package, const std::string& folder, const PackageLimits& limits) {
    std::error_code error;
    if (!fs::is_regular_file(package, error)) throw Failure(failure_number::FileNotFound, "File not found: " + package);
    if (!fs::is_directory(folder, error)) throw Failure(failure_number::PathNotFound, "Path not found: " + folder);
    const uintmax_t size = fs::file_size(package, error);
    if (error || size > limits.packageBytes) Refuse(package, "it is larger than the limit");
    const StagingFolder staging(folder);
    if (staging.Path().empty()) Refuse(package, "cannot write in " + folder);
    UnpackInto(package, staging.Path(), limits);
    PlaceInto(staging.Path(), folder, package);
}

}  // namespace os
