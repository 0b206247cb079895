#include "platform/os/locale.h"
#include "platform/os/system_folder.h"
#include "platform/os/user_name.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

// What a freshly started program reads, under the environment given.
std::string ProbeLocale(const QStringList& environment) {
    QProcess probe;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_NUMERIC", "LANG", "LANGUAGE"}) variables.remove(name);
    for (const QString& setting : environment) variables.insert(setting.section('=', 0, 0), setting.section('=', 1));
    probe.setProcessEnvironment(variables);
    probe.start(LOCALE_PROBE, {});
    if (!probe.waitForFinished(20000) || probe.exitCode() != 0) return "probe failed";
    return probe.readAllStandardOutput().toStdString();
}

TEST(Locale, DecimalSeparatorIsTheUsersAndNumbersStayInTheCLocale) {
    EXPECT_EQ(ProbeLocale({"LC_ALL=de_DE.UTF-8"}).substr(0, 12), "separator=,\n");
    EXPECT_EQ(ProbeLocale({"LC_ALL=en_US.UTF-8"}).substr(0, 12), "separator=.\n");
    // C.UTF-8 is a locale the C library has: the application object takes it
    // up, and numbers go back to "C".
    EXPECT_EQ(ProbeLocale({"LANG=C.UTF-8"}), "separator=.\nnumeric=C\n");
}

TEST(Locale, QueryReportsItsSizeThenTheSeparatorWithItsTerminator) {
    os::SetLocaleDecimalSeparator(",");
    std::string buffer;
    EXPECT_EQ(os::GetLocaleInfoA(os::LOCALE_USER_DEFAULT, os::LOCALE_SDECIMAL, buffer, 0), 2);
    buffer = "  ";
    EXPECT_EQ(os::GetLocaleInfoA(os::LOCALE_USER_DEFAULT, os::LOCALE_SDECIMAL, buffer, 2), 2);
    EXPECT_EQ(buffer, std::string(",\0", 2));
    buffer = " ";
    EXPECT_EQ(os::GetLocaleInfoA(os::LOCALE_USER_DEFAULT, os::LOCALE_SDECIMAL, buffer, 2), 0);
    EXPECT_EQ(os::GetLocaleInfoA(os::LOCALE_USER_DEFAULT, 15, buffer, 0), 0);
    os::SetLocaleDecimalSeparator(".");
}

TEST(UserName, FitsTheCallersBufferWithItsTerminatorCounted) {
    const passwd* entry = getpwuid(getuid());
    ASSERT_NE(entry, nullptr);
    const std::string expected = entry->pw_name;

    std::string buffer(99, ' ');
    uint32_t size = 99;
    ASSERT_TRUE(os::GetUserNameA(buffer, &size));
    EXPECT_EQ(size, expected.size() + 1);
    EXPECT_EQ(buffer.substr(0, size - 1), expected);

    std::string small(1, ' ');
    size = 99;  // more than the buffer holds: the buffer's size counts
    EXPECT_FALSE(os::GetUserNameA(small, &size));
    EXPECT_EQ(size, expected.size() + 1);
    EXPECT_EQ(small, " ");
}

TEST(SystemFolder, IsThePerUserFolderAndExistsOnceAskedFor) {
    QTemporaryDir data;
    const char* before = std::getenv("XDG_DATA_HOME");
    const std::string saved = before ? before : "";
    setenv("XDG_DATA_HOME", data.path().toLocal8Bit().constData(), 1);

    const std::string expected = data.path().toStdString() + "/quellmar/system";
    std::string buffer(200, '\0');
    const uint32_t length = os::GetSystemDirectoryA(buffer, 200);
    EXPECT_EQ(buffer.substr(0, length), expected);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(expected)).isDir());
    std::string small(5, '\0');
    EXPECT_EQ(os::GetSystemDirectoryA(small, 200), expected.size() + 1);
    EXPECT_EQ(small, std::string(5, '\0'));

    if (before)
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

}  // namespace
