#include "platform/os/package.h"

#include "platform/failure.h"
#include "support/zip_builder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;
using Kind = ZipEntry::Kind;

namespace {

class Package : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(Folder());
        fs::create_directory(Outside());
        Write(Folder() / "old.map", "old");
    }

    fs::path Folder() const { return fs::path(root_.path().toStdString()) / "map"; }
    fs::path Outside() const { return fs::path(root_.path().toStdString()) / "outside"; }
    std::string PackagePath() const { return (fs::path(root_.path().toStdString()) / "package.exe").string(); }

    static void Write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    // Every path below `folder`, relative to it.
    static std::set<std::string> Listing(const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& item : fs::recursive_directory_iterator(folder))
            names.insert(fs::relative(item.path(), folder).string());
        return names;
    }

    void Unpack(const std::string& bytes, const os::PackageLimits& limits = {}) {
        Write(PackagePath(), bytes);
        os::UnpackPackage(PackagePath(), Folder().string(), limits);
    }

    // The package is refused and leaves the folder and its surroundings as
    // they were.
    void ExpectRefused(const std::string& bytes, const std::string& reason, const os::PackageLimits& limits = {}) {
        try {
            Unpack(bytes, limits);
            ADD_FAILURE() << "unpacked";
        } catch (const Failure& failure) {
            EXPECT_NE(failure.Description().find(reason), std::string::npos) << failure.Description();
        }
        EXPECT_EQ(Listing(Folder()), std::set<std::string>{"old.map"});
        EXPECT_TRUE(Listing(Outside()).empty());
        EXPECT_EQ(Listing(root_.path().toStdString()).count("evil"), 0u);
    }

    QTemporaryDir root_;
};

const std::vector<ZipEntry> kMap = {
    {"textures/", "", Kind::Folder},
    {"textures\\wall.bmp", "BMwall"},
    {"dust.map", "sky=dust"},
    {"old.map", "new"},
    {"tools/convert", "#!", Kind::File, true},
};

TEST_F(Package, UnpacksItsFilesAndFoldersReplacingFilesOfTheSameName) {
    Unpack(BuildZip(kMap));
    EXPECT_EQ(Listing(Folder()), (std::set<std::string>{"textures", "textures/wall.bmp", "dust.map", "old.map", "tools",
                                                        "tools/convert"}));
    EXPECT_EQ(Read(Folder() / "textures/wall.bmp"), "BMwall");
    EXPECT_EQ(Read(Folder() / "old.map"), "new");
    struct stat status {};
    ASSERT_EQ(stat((Folder() / "tools/convert").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0755u);
    ASSERT_EQ(stat((Folder() / "dust.map").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0644u);
}

TEST_F(Package, BehindAnExecutableStubUnpacksTheSame) {
    std::string stub = "MZ";
    for (int i = 0; i < 5000; ++i) stub += static_cast<char>(i * 7 % 251);
    Unpack(stub + BuildZip(kMap));
    EXPECT_EQ(Read(Folder() / "dust.map"), "sky=dust");
    EXPECT_EQ(Read(Folder() / "textures/wall.bmp"), "BMwall");
}

TEST_F(Package, WithAnEntryThatIsNotAPlainFileInsideTheFolderUnpacksNothing) {
    const std::string leaves = "would leave the folder";
    const std::string special = "is not a plain file or folder";
    const std::vector<std::pair<ZipEntry, std::string>> refused = {
        {{"../evil", "x"}, leaves},           {{"textures/../../evil", "x"}, leaves},
        {{"..\\evil", "x"}, leaves},          {{"/tmp/evil", "x"}, leaves},
        {{"C:\\evil", "x"}, leaves},          {{"link", "../outside", Kind::Symlink}, special},
        {{"tty", "", Kind::Device}, special},
    };
    for (const auto& [entry, reason] : refused) {
        SCOPED_TRACE(entry.path);
        // The good entries come first: they must not stay behind either.
        std::vector<ZipEntry> entries = kMap;
        entries.push_back(entry);
        ExpectRefused(BuildZip(entries), reason);
    }
}

TEST_F(Package, ThatIsNotAWholeZipUnpacksNothing) {
    const std::string zip = BuildZip(kMap);
    ExpectRefused("<html>404 Not Found</html>", "not a zip");
    ExpectRefused(zip.substr(0, zip.size() / 2), "not a zip");
    ExpectRefused("", "not a zip");
}

TEST_F(Package, OverItsLimitsUnpacksNothing) {
    const std::string zip = BuildZip(kMap);
    ExpectRefused(zip, "larger than the limit", {.packageBytes = zip.size() - 1});
    ExpectRefused(zip, "more than the limit", {.unpackedBytes = 10});
    ExpectRefused(zip, "more entries than the limit", {.entries = 4});
    // A small package that unpacks to much.
    ExpectRefused(BuildZip({{"big.bin", std::string(1 << 20, '\0')}}), "more than the limit",
                  {.unpackedBytes = 64 * 1024});
    EXPECT_NO_THROW(Unpack(zip, {.packageBytes = zip.size(), .entries = 5}));
}

TEST_F(Package, NeverWritesThroughALinkTheFolderHolds) {
    fs::create_directory_symlink(Outside(), Folder() / "textures");
    EXPECT_THROW(Unpack(BuildZip(kMap)), Failure);
    EXPECT_TRUE(Listing(Outside()).empty());
    EXPECT_EQ(Read(Folder() / "old.map"), "old");
}

TEST_F(Package, ThatHoldsMoreThanItDeclaresStopsWritingAtOnce) {
    // A small archive that inflates to 32 MiB while declaring 64 KiB: the
    // limit would stop it only at 1 MiB.
    std::string bomb = BuildZip({{"big.bin", std::string(32 << 20, '\0')}});
    DeclareSize(bomb, "big.bin", 64 * 1024);
    ExpectRefused(bomb, "\"big.bin\" holds more than it declares", {.unpackedBytes = 1 << 20});
}

TEST_F(Package, NamesAreUtf8WhateverTheLocale) {
    const std::string previous = setlocale(LC_ALL, nullptr);
    setlocale(LC_ALL, "C");
    EXPECT_NO_THROW(Unpack(BuildZip({{"carte_\xc3\xa9t\xc3\xa9.map", "x"}})));
    setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(Read(Folder() / "carte_\xc3\xa9t\xc3\xa9.map"), "x");
}

// Placing the last entry fails: the folder's "zlocked" may not be written.
// When the tests run as root, a child process unpacks as another user, for
// whom the folder's modes count.
TEST_F(Package, PlacingThatFailsHalfWayLeavesTheFolderAsItWas) {
    std::vector<ZipEntry> entries = kMap;
    entries.push_back({"zlocked/late.map", "late"});
    Write(PackagePath(), BuildZip(entries));
    fs::create_directory(Folder() / "zlocked");
    fs::permissions(Folder() / "zlocked", fs::perms::owner_read | fs::perms::owner_exec);
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0) {
        const fs::path root = root_.path().toStdString();
        ASSERT_EQ(lchown(root.c_str(), kNobody, kNobody), 0);
        for (const auto& item : fs::recursive_directory_iterator(root))
            ASSERT_EQ(lchown(item.path().c_str(), kNobody, kNobody), 0);
    }

    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(3);
        try {
            os::UnpackPackage(PackagePath(), Folder().string());
        } catch (const Failure& failure) {
            std::fprintf(stderr, "%s\n", failure.Description().c_str());
            _exit(failure.Description().find("cannot place \"zlocked/late.map\"") != std::string::npos ? 0 : 2);
        }
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: unpacked, 2: another failure, 3: no other user";
    EXPECT_EQ(Listing(Folder()), (std::set<std::string>{"old.map", "zlocked"}));
    EXPECT_EQ(Read(Folder() / "old.map"), "old");
}

}  // namespace
