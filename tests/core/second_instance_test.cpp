// Starts the built program while another process holds the game folder's
// claim: the program must show its message and end, and the holder must be
// left alone.

#include "platform/os/single_instance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <cstdlib>
#include <iostream>

namespace {

const char* const HoldEnvironment = "QUELLMAR_TEST_HOLD_CLAIM";

// Runs only as the child process of the test below: holds the claim until
// its standard input closes.
TEST(SecondInstance, HolderProcess) {
    const char* folder = std::getenv(HoldEnvironment);
    if (!folder) GTEST_SKIP() << "runs only as the holder of the test below";
    ASSERT_TRUE(os::ClaimSingleInstance(folder));
    std::cout << "held" << std::endl;
    std::string line;
    std::getline(std::cin, line);
}

QString WindowOf(qint64 pid) {
    QProcess search;
    search.start("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid)});
    search.waitForFinished(5000);
    return QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).value(0);
}

TEST(SecondInstance, RefusedWhileTheFirstRuns) {
    if (std::getenv(HoldEnvironment)) GTEST_SKIP();
    const QString gameFolder = QStringLiteral(QUELLMAR_GAME_DIR);

    QProcess holder;
    QProcessEnvironment holderEnvironment = QProcessEnvironment::systemEnvironment();
    holderEnvironment.insert(HoldEnvironment, gameFolder);
    holder.setProcessEnvironment(holderEnvironment);
    holder.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=SecondInstance.HolderProcess"});
    ASSERT_TRUE(holder.waitForStarted(5000));
    QElapsedTimer waited;
    waited.start();
    while (!holder.readAllStandardOutput().contains("held") && waited.elapsed() < 20000) holder.waitForReadyRead(200);
    ASSERT_EQ(holder.state(), QProcess::Running);

    QProcess second;
    QProcessEnvironment secondEnvironment = QProcessEnvironment::systemEnvironment();
    secondEnvironment.insert("QT_QPA_PLATFORM", "xcb");
    second.setProcessEnvironment(secondEnvironment);
    second.start(gameFolder + "/quellmar", {});
    ASSERT_TRUE(second.waitForStarted(5000));

    QString window;
    waited.restart();
    while (window.isEmpty() && waited.elapsed() < 30000 && second.state() == QProcess::Running) {
        QThread::msleep(200);
        window = WindowOf(second.processId());
    }
    ASSERT_FALSE(window.isEmpty()) << "the second instance showed no message";
    QProcess::execute("xdotool", {"windowactivate", "--sync", window});
    QProcess::execute("xdotool", {"key", "--window", window, "Return"});

    EXPECT_TRUE(second.waitForFinished(20000)) << "the second instance did not end";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(holder.state(), QProcess::Running) << "the first instance was disturbed";

    holder.closeWriteChannel();
    holder.waitForFinished(10000);
}

}  // namespace
