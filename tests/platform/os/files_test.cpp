#include "platform/os/files.h"

#include "platform/os/executable.h"

#include "platform/failure.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

int32_t FailureOf(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const Failure& failure) {
        return failure.Number();
    }
    return 0;
}

class Files : public testing::Test {
protected:
    std::string Path(const std::string& name) const {
        return folder_.filePath(QString::fromStdString(name)).toStdString();
    }
    QTemporaryDir folder_;
};

TEST_F(Files, FoldersAreMadeOnceAndRemovedWhenEmpty) {
    os::MkDir(Path("map"));
    EXPECT_TRUE(os::FolderExists(Path("map")));
    EXPECT_FALSE(os::FileExists(Path("map")));
    EXPECT_EQ(FailureOf([&] { os::MkDir(Path("map")); }), 75);
    EXPECT_EQ(FailureOf([&] { os::MkDir(Path("none/map")); }), 76);

    Write(Path("map/a.map"), "x");
    EXPECT_EQ(FailureOf([&] { os::RmDir(Path("map")); }), 75);
    os::Kill(Path("map/a.map"));
    EXPECT_FALSE(os::FileExists(Path("map/a.map")));
    EXPECT_EQ(FailureOf([&] { os::Kill(Path("map/a.map")); }), 53);
    os::RmDir(Path("map"));
    EXPECT_FALSE(os::FolderExists(Path("map")));
}

TEST_F(Files, ListingGivesTheFilesWithTheEndingInAlphabeticalOrder) {
    os::MkDir(Path("map"));
    for (const char* name : {"zeta.map", "Beta.map", "Alpha.map", "b.c.map", "notes.txt", "upper.MAP"})
        Write(Path("map/") + name, "x");
    os::MkDir(Path("map/folder.map"));
    EXPECT_EQ(os::FilesEndingWith(Path("map"), ".map"),
              (std::vector<std::string>{"Alpha.map", "b.c.map", "Beta.map", "zeta.map"}));
    EXPECT_TRUE(os::FilesEndingWith(Path("none"), ".map").empty());
}

TEST_F(Files, ACopyReplacesTheTargetWithoutChangingItForThoseWhoHaveItOpen) {
    Write(Path("new.dll"), "new contents");
    Write(Path("old.dll"), "old");
    std::ifstream reader(Path("old.dll"), std::ios::binary);

    os::FileCopy(Path("new.dll"), Path("old.dll"));
    EXPECT_EQ(Read(Path("old.dll")), "new contents");
    std::string seen;
    std::getline(reader, seen);
    EXPECT_EQ(seen, "old");
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files).size(), 2);

    EXPECT_EQ(FailureOf([&] { os::FileCopy(Path("missing.dll"), Path("x.dll")); }), 53);
    EXPECT_EQ(FailureOf([&] { os::FileCopy(Path("new.dll"), Path("none/x.dll")); }), 76);
}

TEST_F(Files, AWholeFileWriteReplacesTheOldFileWholeOrNotAtAll) {
    Write(Path("quay.exe"), "a longer old package");
    std::ifstream reader(Path("quay.exe"), std::ios::binary);
    const std::vector<uint8_t> bytes{'n', 'e', 'w', 0, 'x'};
    os::WriteWholeFile(Path("quay.exe"), bytes);
    EXPECT_EQ(Read(Path("quay.exe")), std::string("new\0x", 5));
    std::string seen;
    std::getline(reader, seen);
    EXPECT_EQ(seen, "a longer old package");

    os::MkDir(Path("folder.exe"));
    EXPECT_EQ(FailureOf([&] { os::WriteWholeFile(Path("folder.exe"), bytes); }), 75);
    EXPECT_EQ(FailureOf([&] { os::WriteWholeFile(Path("none/x.exe"), bytes); }), 76);
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList{"quay.exe"});
}

TEST_F(Files, ARenameReplacesTheTargetAndLeavesNoSource) {
    Write(Path("logo.new"), "new picture");
    Write(Path("logo.bmp"), "old picture");
    os::Name(Path("logo.new"), Path("logo.bmp"));
    EXPECT_EQ(Read(Path("logo.bmp")), "new picture");
    EXPECT_FALSE(os::FileExists(Path("logo.new")));

    EXPECT_EQ(FailureOf([&] { os::Name(Path("logo.new"), Path("x.bmp")); }), 53);
    EXPECT_EQ(FailureOf([&] { os::Name(Path("logo.bmp"), Path("none/x.bmp")); }), 75);
    EXPECT_EQ(Read(Path("logo.bmp")), "new picture");
}

TEST_F(Files, TheCurrentFolderChangesOnlyToAFolderThatExists) {
    const std::filesystem::path before = std::filesystem::current_path();
    os::ChDir(folder_.path().toStdString());
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(folder_.path().toStdString()));
    EXPECT_EQ(FailureOf([&] { os::ChDir(Path("none")); }), 76);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(folder_.path().toStdString()));
    std::filesystem::current_path(before);
}

TEST(ExecutableFolder, CanBeReplacedAndRestored) {
    const std::string real = os::ExecutableFolder();
    os::SetExecutableFolder("/tmp/game");
    EXPECT_EQ(os::ExecutableFolder(), "/tmp/game");
    os::SetExecutableFolder({});
    EXPECT_EQ(os::ExecutableFolder(), real);
}

}  // namespace
