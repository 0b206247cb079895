#include "platform/os/package.h"

#include "platform/failure.h"
#include "platform/os/descriptor.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

using ArchivePtr = std::unique_ptr<archive, ArchiveFree>;

// What an entry's header says, once checked.
struct CheckedEntry {
    fs::path relative;
    bool isFolder = false;
    uint64_t size = 0;  // as the archive's listing declares it
    mode_t mode = 0644;
};

ArchivePtr OpenArchive(const std::string& package) {
    ArchivePtr reader(archive_read_new());
    // Only the reader that takes the listing from the archive's end: it finds
    // the archive behind a stub, and refuses one cut short.
    archive_read_support_format_zip_seekable(reader.get());
    if (archive_read_open_filename(reader.get(), package.c_str(), 64 * 1024) != ARCHIVE_OK)
        Refuse(package, "it is not a zip archive");
    return reader;
}

std::string ArchiveError(archive* reader, const char* otherwise) {
    const char* error = archive_error_string(reader);
    return error ? error : otherwise;
}

CheckedEntry CheckEntry(archive_entry* entry, const std::string& package) {
    const char* name = archive_entry_pathname_utf8(entry);
    if (!name) Refuse(package, "an entry's name is not UTF-8 text");
    const std::string shown = name;
    const std::optional<fs::path> relative = RelativePath(name);
    if (!relative) Refuse(package, "the entry \"" + shown + "\" would leave the folder");
    const auto type = archive_entry_filetype(entry);
    if ((type != AE_IFREG && type != AE_IFDIR) || archive_entry_hardlink(entry) || archive_entry_symlink(entry))
        Refuse(package, "the entry \"" + shown + "\" is not a plain file or folder");
    if (type == AE_IFREG && (!archive_entry_size_is_set(entry) || archive_entry_size(entry) < 0))
        Refuse(package, "the entry \"" + shown + "\" does not declare its size");
    const auto size = type == AE_IFREG ? static_cast<uint64_t>(archive_entry_size(entry)) : 0;
    const mode_t mode = (archive_entry_perm(entry) & S_IXUSR) ? 0755 : 0644;
    return {*relative, type == AE_IFDIR, size, mode};
}

// Reads every entry's header, in order, checked and within the limits.
template <class Each>
void ForEachEntry(archive* reader, const std::string& package, const PackageLimits& limits, Each each) {
    uint32_t entries = 0;
    uint64_t declared = 0;
    archive_entry* entry = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reader, &entry);
        if (status == ARCHIVE_EOF) return;
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN) Refuse(package, ArchiveError(reader, "unreadable"));
        if (++entries > limits.entries) Refuse(package, "it holds more entries than the limit");
        const CheckedEntry checked = CheckEntry(entry, package);
        declared += checked.size;
        if (declared > limits.unpackedBytes) Refuse(package, "it unpacks to more than the limit");
        each(checked);
    }
}

// Writes the entry's data, which may be no longer than its declared size.
void WriteData(archive* reader, const fs::path& path, const CheckedEntry& entry, const std::string& package) {
    const os::Descriptor file{open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600)};
    if (file.fd < 0) Refuse(package, "cannot write " + path.filename().string());
    std::vector<char> buffer(64 * 1024);
    uint64_t unpacked = 0;
    for (;;) {
        const la_ssize_t read = archive_read_data(reader, buffer.data(), buffer.size());
        if (read == 0) break;
        if (read < 0) Refuse(package, ArchiveError(reader, "unreadable data"));
        unpacked += static_cast<uint64_t>(read);
        if (unpacked > entry.size)
            Refuse(package, "the entry \"" + entry.relative.string() + "\" holds more than it declares");
        for (la_ssize_t done = 0; done < read;) {
            const ssize_t written = write(file.fd, buffer.data() + done, static_cast<size_t>(read - done));
            if (written <= 0) Refuse(package, "cannot write " + path.filename().string());
            done += written;
        }
    }
    fchmod(file.fd, entry.mode);
}

// The reader converts entry names to the calling thread's character set; for
// as long as this lives, that set is UTF-8 whatever the user's locale, so that
// a name beyond ASCII is read as the UTF-8 its archive holds.
class Utf8Names {
public:
    Utf8Names() : utf8_(newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr)) {
        if (utf8_) previous_ = uselocale(utf8_);
    }
    ~Utf8Names() {
        if (!utf8_) return;
        uselocale(previous_);
        freelocale(utf8_);
    }
    Utf8Names(const Utf8Names&) = delete;
    Utf8Names& operator=(const Utf8Names&) = delete;

private:
    locale_t utf8_;
    locale_t previous_ = nullptr;
};

// Checks the whole listing against the limits first, so that a package that
// declares too much writes nothing; then unpacks every entry into `staging`.
void UnpackInto(const std::string& package, const fs::path& staging, const PackageLimits& limits) {
    const Utf8Names utf8;
    ForEachEntry(OpenArchive(package).get(), package, limits, [](const CheckedEntry&) {});
    const ArchivePtr reader = OpenArchive(package);
    ForEachEntry(reader.get(), package, limits, [&](const CheckedEntry& entry) {
        const fs::path target = staging / entry.relative;
        std::error_code error;
        fs::create_directories(entry.isFolder ? target : target.parent_path(), error);
        if (error) Refuse(package, "the entry \"" + entry.relative.string() + "\" does not fit with the others");
        if (!entry.isFolder) WriteData(reader.get(), target, entry, package);
    });
}

struct Item {
    fs::path relative;
    bool isFolder;
};

// Puts staged items into the folder one at a time, keeping each file they
// replace aside. Unless the placement is kept, going out of scope undoes it:
// the placed files and the folders it made go, the replaced files come back.
class Placement {
public:
    Placement(const fs::path& staging, const fs::path& folder, const fs::path& aside)
        : staging_(staging), folder_(folder), aside_(aside) {}
    ~Placement() {
        if (!kept_) Undo();
    }
    Placement(const Placement&) = delete;
    Placement& operator=(const Placement&) = delete;

    void Place(const Item& item, std::error_code& error) {
        const fs::path target = folder_ / item.relative;
        if (item.isFolder) {
            if (fs::create_directory(target, error)) done_.push_back({target, {}});
            return;
        }
        fs::path replaced;
        std::error_code missing;
        if (fs::exists(fs::symlink_status(target, missing))) {
            replaced = aside_ / std::to_string(done_.size());
            fs::rename(target, replaced, error);
            if (error) return;
        }
        fs::rename(staging_ / item.relative, target, error);
        if (!error) {
            done_.push_back({target, replaced});
        } else if (!replaced.empty()) {
            std::error_code ignored;
            fs::rename(replaced, target, ignored);
        }
    }

    void Keep() { kept_ = true; }

private:
    struct Done {
        fs::path target;
        fs::path replaced;  // where the file it replaced waits; empty when none
    };

    void Undo() {
        for (auto done = done_.rbegin(); done != done_.rend(); ++done) {
            std::error_code ignored;
            if (done->replaced.empty())
                fs::remove(done->target, ignored);
            else
                fs::rename(done->replaced, done->target, ignored);
        }
    }

    fs::path staging_, folder_, aside_;
    std::vector<Done> done_;
    bool kept_ = false;
};

// Moves what was unpacked into `folder`, once it is sure that all of it fits:
// no folder replaced by a file or the other way round, and nothing written
// through a link that the folder holds. A move that fails undoes the others.
void PlaceInto(const fs::path& staging, const fs::path& folder, const std::string& package) {
    std::vector<Item> items;
    for (const fs::directory_entry& staged : fs::recursive_directory_iterator(staging))
        items.push_back({fs::relative(staged.path(), staging), staged.is_directory()});
    // In name order, each folder before what it holds.
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.relative < b.relative; });
    for (const Item& item : items) {
        std::error_code ignored;
        const fs::file_status existing = fs::symlink_status(folder / item.relative, ignored);
        if (!fs::exists(existing)) continue;
        if (item.isFolder ? !fs::is_directory(existing) : fs::is_directory(existing))
            Refuse(package, "\"" + item.relative.string() + "\" would replace what the folder holds");
    }
    const StagingFolder aside(folder);
    if (aside.Path().empty()) Refuse(package, "cannot write in " + folder.string());
    Placement placement(staging, folder, aside.Path());
    for (const Item& item : items) {
        std::error_code error;
        placement.Place(item, error);
        if (error) Refuse(package, "cannot place \"" + item.relative.string() + "\": " + error.message());
    }
    placement.Keep();
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
