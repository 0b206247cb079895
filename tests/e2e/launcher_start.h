#pragma once

// The built program's start as a new user sees it: the release notes, then
// the launcher.

#include "e2e/program_copy.h"

#include <gtest/gtest.h>

#include <QSize>

// The launcher's and the splash's inner sizes in pixels.
inline const QSize kLauncherSize(626, 403);
inline const QSize kSplashSize(264, 258);

// Starts the program, answers the release notes with Return and waits for
// the launcher; none when it does not come.
inline ShownWindow StartToTheLauncher(ProgramCopy& copy) {
    EXPECT_TRUE(copy.Start());
    // Neither the launcher nor the splash, which may flash up before it.
    const ShownWindow box =
        copy.WaitForWindow([](const ShownWindow& w) { return w.size != kLauncherSize && w.size != kSplashSize; });
    EXPECT_TRUE(box.Found()) << "no release notes";
    copy.Key(box, "Return");
    const ShownWindow launcher = copy.WaitForWindow([](const ShownWindow& w) { return w.size == kLauncherSize; });
    EXPECT_TRUE(launcher.Found()) << "no launcher";
    return launcher;
}
