#include "support/zip_builder.h"

#include <archive.h>
#include <archive_entry.h>

#include <cstring>
#include <stdexcept>

namespace {

la_ssize_t Append(archive*, void* zip, const void* buffer, size_t length) {
    static_cast<std::string*>(zip)->append(static_cast<const char*>(buffer), length);
    return static_cast<la_ssize_t>(length);
}

// Calls `patch` with the offset of the central directory entry of `path`.
template <class Patch>
void PatchCentralEntry(std::string& zip, const std::string& path, Patch patch) {
    for (size_t at = zip.find("PK\x01\x02"); at != std::string::npos; at = zip.find("PK\x01\x02", at + 4)) {
        const auto u16 = [&](size_t offset) {
            return static_cast<size_t>(static_cast<unsigned char>(zip[at + offset]) |
                                       static_cast<unsigned char>(zip[at + offset + 1]) << 8);
        };
        if (zip.compare(at + 46, u16(28), path) != 0) continue;
        patch(at);
        return;
    }
    throw std::logic_error("no central directory entry for " + path);
}

void PutLittleEndian(std::string& zip, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) zip[at + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i) & 0xff);
}

// The zip writer makes no device entries; a file's entry in the central
// directory gets the mode of a character device instead.
void MarkAsDevice(std::string& zip, const std::string& path) {
    PatchCentralEntry(zip, path, [&](size_t at) { PutLittleEndian(zip, at + 40, 0020644, 2); });
}

}  // namespace

std::string BuildZip(const std::vector<ZipEntry>& entries) {
    std::string zip;
    archive* writer = archive_write_new();
    archive_write_set_format_zip(writer);
    archive_write_set_bytes_in_last_block(writer, 1);  // no padding after the archive
    archive_write_open(writer, &zip, nullptr, Append, nullptr);
    for (const ZipEntry& item : entries) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname_utf8(entry, item.path.c_str());
        switch (item.kind) {
            case ZipEntry::Kind::Folder:
                archive_entry_set_filetype(entry, AE_IFDIR);
                break;
            case ZipEntry::Kind::Symlink:
                archive_entry_set_filetype(entry, AE_IFLNK);
                archive_entry_set_symlink(entry, item.data.c_str());
                break;
            case ZipEntry::Kind::File:
            case ZipEntry::Kind::Device:
                archive_entry_set_filetype(entry, AE_IFREG);
                archive_entry_set_size(entry, static_cast<la_int64_t>(item.data.size()));
                break;
        }
        archive_entry_set_perm(entry, item.executable ? 0755 : 0644);
        archive_write_header(writer, entry);
        if (item.kind == ZipEntry::Kind::File || item.kind == ZipEntry::Kind::Device)
            archive_write_data(writer, item.data.data(), item.data.size());
        archive_entry_free(entry);
    }
    archive_write_close(writer);
    archive_write_free(writer);
    for (const ZipEntry& item : entries)
        if (item.kind == ZipEntry::Kind::Device) MarkAsDevice(zip, item.path);
    return zip;
}

void DeclareSize(std::string& zip, const std::string& path, uint32_t size) {
    PatchCentralEntry(zip, path, [&](size_t at) {
        PutLittleEndian(zip, at + 24, size, 4);
        size_t local = 0;
        for (int i = 3; i >= 0; --i)
            local = local << 8 | static_cast<unsigned char>(zip[at + 42 + static_cast<size_t>(i)]);
        PutLittleEndian(zip, local + 22, size, 4);
    });
}
