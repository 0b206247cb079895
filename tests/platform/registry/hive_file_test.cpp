// The hive files themselves: where they are, who may read them, what is left
// after a crash, and what happens to one that does not parse.

#include "platform/registry/registry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace registry;

namespace {

class HiveFile : public testing::Test {
protected:
    void SetUp() override { SetHiveFolder(folder_.path().toStdString()); }
    void TearDown() override { SetHiveFolder({}); }

    static void WriteText(HKEY root, std::string_view subKey, std::string_view name, const std::string& text) {
        HKEY key = 0;
        ASSERT_EQ(RegCreateKeyExA(root, subKey, 0, "", 0, 0x3F, nullptr, &key, nullptr), ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name, 0, REG_SZ, text.c_str(), static_cast<uint32_t>(text.size() + 1)),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    static std::string ReadText(HKEY root, std::string_view subKey, std::string_view name) {
        HKEY key = 0;
        if (RegOpenKeyExA(root, subKey, 0, 0x3F, &key) != ERROR_SUCCESS) return "<no key>";
        uint32_t size = 0;
        std::string text;
        if (RegQueryValueExA(key, name, 0, nullptr, nullptr, &size) == ERROR_SUCCESS && size > 0) {
            text.resize(size);
            RegQueryValueExA(key, name, 0, nullptr, text.data(), &size);
            text.pop_back();
        } else {
            text = "<no value>";
        }
        RegCloseKey(key);
        return text;
    }

    QTemporaryDir folder_;
};

TEST(HiveFileLocation, IsTheProgramsFolderOfTheConfigurationFolder) {
    const std::string configuration = std::getenv("XDG_CONFIG_HOME");
    EXPECT_EQ(HiveFilePath(HKEY_LOCAL_MACHINE), configuration + "/quellmar/HKEY_LOCAL_MACHINE.hive");
    EXPECT_EQ(HiveFilePath(HKEY_CURRENT_USER), configuration + "/quellmar/HKEY_CURRENT_USER.hive");
}

TEST_F(HiveFile, IsReadableTextThatOnlyTheUserCanOpen) {
    WriteText(HKEY_LOCAL_MACHINE, "Software\\Dravonik", "Password", "secret");
    const QString path = QString::fromStdString(HiveFilePath(HKEY_LOCAL_MACHINE));
    struct stat status {};
    ASSERT_EQ(stat(path.toLocal8Bit().constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("[Software\\Dravonik]\n\"Password\"=sz:\"secret\\0\"\n")) << text.constData();
}

TEST_F(HiveFile, ThatDoesNotParseIsSetAsideAndTheRootStartsEmpty) {
    WriteText(HKEY_LOCAL_MACHINE, "Software\\Dravonik", "Login", "me");
    WriteText(HKEY_CURRENT_USER, "Software\\Other", "Kept", "yes");
    const QString path = QString::fromStdString(HiveFilePath(HKEY_LOCAL_MACHINE));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("\"Broken\"=sz:\"no end\n");
    }

    testing::internal::CaptureStderr();
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "Software\\Dravonik", "Login"), "<no key>");
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("does not parse"), std::string::npos) << message;

    const QStringList aside = QDir(folder_.path()).entryList({"HKEY_LOCAL_MACHINE.hive.corrupt-*"});
    ASSERT_EQ(aside.size(), 1);
    QFile kept(folder_.filePath(aside.front()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll().contains("\"Login\"=sz:\"me\\0\""));

    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, "Software\\Other", "Kept"), "yes");
    WriteText(HKEY_LOCAL_MACHINE, "Software\\Dravonik", "Login", "again");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "Software\\Dravonik", "Login"), "again");
}

// Starts the writer with its arguments after the folder; `fileSizeLimit`
// bytes, when given, stand for a disk that is full beyond them.
pid_t StartWriter(const QString& folder, std::vector<std::string> arguments, rlim_t fileSizeLimit = RLIM_INFINITY) {
    const pid_t writer = fork();
    if (writer != 0) return writer;
    const rlimit limit{fileSizeLimit, fileSizeLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, SIG_IGN);
    arguments.insert(arguments.begin(), {HIVE_WRITER, folder.toStdString()});
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    execv(HIVE_WRITER, argv.data());
    _exit(127);
}

// The writer's exit status, or -1 when it did not exit by itself.
int WaitForWriter(pid_t writer) {
    int status = 0;
    waitpid(writer, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(HiveFile, AWriterKilledInTheMiddleLeavesAWholeHive) {
    for (int round = 0; round < 25; ++round) {
        const pid_t writer = StartWriter(folder_.path(), {"forever"});
        ASSERT_GT(writer, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(10 + round * 4));
        kill(writer, SIGKILL);
        int status = 0;
        waitpid(writer, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";

        testing::internal::CaptureStderr();
        const std::string blob = ReadText(HKEY_LOCAL_MACHINE, "Software\\Test", "Blob");
        ASSERT_EQ(testing::internal::GetCapturedStderr(), "");
        if (blob == "<no key>" || blob == "<no value>") continue;  // killed before its first write
        ASSERT_EQ(blob.size(), 1u << 21);
        EXPECT_EQ(blob.find_first_not_of(blob.front()), std::string::npos);
    }
}

TEST_F(HiveFile, AWriteThatRunsOutOfSpaceLeavesTheOldHive) {
    WriteText(HKEY_LOCAL_MACHINE, "Software\\Test", "Blob", "old");
    const pid_t writer = StartWriter(folder_.path(), {"once"}, 1 << 20);
    ASSERT_GT(writer, 0);
    EXPECT_EQ(WaitForWriter(writer), 1) << "the write was reported as done";

    testing::internal::CaptureStderr();
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "Software\\Test", "Blob"), "old");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(HiveFile, TwoProcessesWritingAtOnceLoseNoValue) {
    constexpr int kEach = 100;
    const pid_t first = StartWriter(folder_.path(), {"values", "first", std::to_string(kEach)});
    const pid_t second = StartWriter(folder_.path(), {"values", "second", std::to_string(kEach)});
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_EQ(WaitForWriter(first), 0);
    EXPECT_EQ(WaitForWriter(second), 0);
    int lost = 0;
    for (int i = 0; i < kEach; ++i)
        for (const char* prefix : {"first", "second"})
            lost += ReadText(HKEY_LOCAL_MACHINE, "Software\\Test", prefix + std::to_string(i)) != std::to_string(i);
    EXPECT_EQ(lost, 0);
}

TEST_F(HiveFile, AChangeTooLargeToBeReadBackIsRefusedAndTheFileKept) {
    WriteText(HKEY_LOCAL_MACHINE, "Software\\Dravonik", "Login", "me");
    QFile file(QString::fromStdString(HiveFilePath(HKEY_LOCAL_MACHINE)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Dravonik", 0, 0x3F, &key), ERROR_SUCCESS);
    const std::string huge(6 << 20, '\x01');  // three bytes of text each
    EXPECT_EQ(RegSetValueExA(key, "Huge", 0, REG_BINARY, huge.data(), static_cast<uint32_t>(huge.size())),
              ERROR_REGISTRY_IO_FAILED);
    RegCloseKey(key);

    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "Software\\Dravonik", "Login"), "me");
}

// Hives edited by hand, or by something else than the program.
TEST_F(HiveFile, HandMadeHivesReadInBoundedTimeOrFailWithoutWaiting) {
    const std::string path = HiveFilePath(HKEY_LOCAL_MACHINE);
    std::string deep = "Software";
    for (int level = 0; level < 20000; ++level) deep += "\\k";
    const auto writeHive = [&](const std::string& text) {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.data(), static_cast<qint64>(text.size()));
    };
    const struct {
        const char* what;
        std::function<void()> make;
        std::string key;
        std::string expected;
    } cases[] = {
        {"a key 20,000 levels deep", [&] { writeHive("[" + deep + "]\n\"Login\"=sz:\"deep\\0\"\n"); }, deep, "deep"},
        {"a byte-order mark", [&] { writeHive("\xEF\xBB\xBF[Software]\n\"Login\"=sz:\"me\\0\"\n"); }, "Software", "me"},
        {"a pipe", [&] { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }, "Software", "<no key>"},
        {"a folder", [&] { ASSERT_TRUE(QDir().mkpath(QString::fromStdString(path))); }, "Software", "<no key>"},
    };
    for (const auto& [what, make, subKey, expected] : cases) {
        SCOPED_TRACE(what);
        QFile::remove(QString::fromStdString(path));
        make();
        const auto start = std::chrono::steady_clock::now();
        testing::internal::CaptureStderr();
        EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, subKey, "Login"), expected);
        HKEY key = 0;
        const LONG created =
            RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey + "\\more", 0, "", 0, 0x3F, nullptr, &key, nullptr);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(created, expected == "<no key>" ? ERROR_REGISTRY_IO_FAILED : ERROR_SUCCESS);
        if (created == ERROR_SUCCESS) RegCloseKey(key);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        QDir(QString::fromStdString(path)).removeRecursively();
    }
    EXPECT_TRUE(QDir(folder_.path()).entryList({"*.corrupt-*"}).isEmpty());
}

TEST_F(HiveFile, KeysCreatedManyLevelsDeepTakeTimeInProportionToTheirDepth) {
    std::string deep = "Software";
    for (int level = 0; level < 2000; ++level) deep += "\\Level" + std::to_string(level);
    const auto start = std::chrono::steady_clock::now();
    WriteText(HKEY_LOCAL_MACHINE, deep, "Login", "deep");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, deep, "Login"), "deep");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, deep.substr(0, deep.rfind('\\')), "Login"), "<no value>");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
