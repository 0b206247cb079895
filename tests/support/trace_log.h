#pragma once

// The diagnostic log (core/trace.h) written to a file of the test's own while
// the object lives; off again afterwards.

#include <QTemporaryDir>

#include <string>
#include <vector>

class TraceLog {
public:
    TraceLog();
    ~TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    std::string Path() const;
    // The lines written so far, each without its time.
    std::vector<std::string> Lines() const;
    // The lines that start with `prefix`.
    std::vector<std::string> LinesStartingWith(const std::string& prefix) const;

private:
    QTemporaryDir folder_;
};
