#include "support/trace_log.h"

#include "core/trace.h"

#include <fstream>

TraceLog::TraceLog() { trace::Restart(Path()); }

TraceLog::~TraceLog() { trace::Restart(""); }

std::string TraceLog::Path() const { return folder_.filePath("trace.log").toStdString(); }

std::vector<std::string> TraceLog::Lines() const {
    std::vector<std::string> lines;
    std::ifstream file(Path());
    for (std::string line; std::getline(file, line);) lines.push_back(line.substr(line.find(' ') + 1));
    return lines;
}

std::vector<std::string> TraceLog::LinesStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : Lines())
        if (line.starts_with(prefix)) found.push_back(line);
    return found;
}
