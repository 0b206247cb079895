#include "core/trace.h"

#include "support/trace_log.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <string>
#include <vector>

namespace {

TEST(Trace, LinesCarryTheirTimeTextsAndNumbersAndStayOneLineEach) {
    TraceLog log;
    ASSERT_TRUE(trace::On());
    Trace("sessions listed ", 3);
    Trace("chat received ", std::string("bob"), ": two\r\nlines");
    Trace("position ", 1.5, " ", -2);
    EXPECT_EQ(log.Lines(),
              (std::vector<std::string>{"sessions listed 3", "chat received bob: two  lines", "position 1.500000 -2"}));

    std::ifstream file(log.Path());
    std::string first;
    std::getline(file, first);
    const size_t blank = first.find(' ');
    ASSERT_NE(blank, std::string::npos);
    EXPECT_NO_THROW(std::stol(first.substr(0, blank))) << first;
}

TEST(Trace, AFileThatCannotBeOpenedLeavesTheLogOffAndNothingFails) {
    QTemporaryDir folder;
    trace::Restart(folder.filePath("no-such-folder/trace.log").toStdString());
    EXPECT_FALSE(trace::On());
    EXPECT_NO_THROW(Trace("not written"));
    trace::Restart("");
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

}  // namespace
