#include "e2e/launcher_steps.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

namespace launcher_steps {

namespace {

constexpr int kPlaceTops[kPlaces] = {120, 720, 1320, 1950, 2580};
constexpr int kButtonLeft = 120;
constexpr int kTwipsPerPixel = 15;
constexpr int kListCloseMilliseconds = 6000;
constexpr int kPollMilliseconds = 50;

}  // namespace

QPoint ButtonAt(int place) { return kPage + QPoint(kButtonLeft, kPlaceTops[place]) / kTwipsPerPixel; }

QPoint Middle(int place) { return ButtonAt(place) + QPoint(kButton.width() / 2, kButton.height() / 2); }

ShownWindow StartToTheLauncher(ProgramCopy& copy, const std::map<QString, QString>& environment) {
    EXPECT_TRUE(copy.Start(environment));
    return ToTheLauncher(copy);
}

ShownWindow ToTheLauncher(ProgramCopy& copy) {
    // Neither the launcher nor the splash, which may flash up before it.
    const ShownWindow box =
        copy.WaitForWindow([](const ShownWindow& w) { return w.size != kLauncherSize && w.size != kSplashSize; });
    EXPECT_TRUE(box.Found()) << "no release notes";
    copy.Key(box, "Return");
    const ShownWindow launcher = copy.WaitForWindow([](const ShownWindow& w) { return w.size == kLauncherSize; });
    EXPECT_TRUE(launcher.Found()) << "no launcher";
    return launcher;
}

ShownWindow PlayOnLan(ProgramCopy& copy, const ShownWindow& launcher) {
    copy.Click(launcher, Middle(kPlayPlace));
    return Lan(copy, launcher);
}

ShownWindow PlayOnTheWeb(ProgramCopy& copy, const ShownWindow& launcher) {
    copy.Click(launcher, Middle(kPlayPlace));
    copy.Click(launcher, Middle(kWebPlace));
    const ShownWindow list = copy.WaitForTitle(kSessionList);
    EXPECT_TRUE(list.Found()) << "no session list";
    return list;
}

ShownWindow Lan(ProgramCopy& copy, const ShownWindow& launcher) {
    copy.Click(launcher, Middle(kLanPlace));
    const ShownWindow list = copy.WaitForTitle(kSessionList);
    EXPECT_TRUE(list.Found()) << "no session list";
    return list;
}

void ChooseRow(ProgramCopy& copy, const ShownWindow& window, QPoint list, int row) {
    copy.Click(window, list);
    const ShownWindow rows = copy.WaitForWindow([&](const ShownWindow& w) { return w.id != window.id; });
    EXPECT_TRUE(rows.Found()) << "the list did not open";
    copy.Key(window, "Home");
    for (int i = 0; i < row; ++i) copy.Key(window, "Down");
    copy.Key(window, "Return");
    QElapsedTimer waited;
    waited.start();
    while (rows.Found() && copy.Shown(rows) && waited.elapsed() < kListCloseMilliseconds)
        QThread::msleep(kPollMilliseconds);
}

}  // namespace launcher_steps
