#pragma once

// An optional diagnostic log for maintainers and tests: one line per lobby
// step and per game event, appended to the file that QUELLMAR_TRACE names.
// What callers get:
//  - Trace(parts...): when the log is on, the parts (texts and numbers)
//    joined into one line, which is written and flushed at once, after the
//    milliseconds since the log started and a blank ("1520 chat sent hi").
//    When it is off, the call costs one test of a flag: nothing is built,
//    so per-frame callers may trace freely.
//  - The log is off unless QUELLMAR_TRACE is set and not empty when the
//    first line is traced; a file that cannot be opened leaves it off. It
//    never fails its caller and nothing in the program reads it back.
// Lines hold text from other machines as it came, but a line break in a part
// is written as a blank, so one event stays one line.

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace trace {

// Whether lines are being written; the first call looks at QUELLMAR_TRACE.
bool On();

// Writes one line (a line break is added) when the log is on.
void Write(std::string_view line);

// Starts the log again on `path` ("" turns it off), for tests.
void Restart(const std::string& path);

inline void Append(std::string& line, std::string_view text) { line += text; }
inline void Append(std::string& line, const char* text) { line += text; }
inline void Append(std::string& line, const std::string& text) { line += text; }
template <class Number>
requires std::is_arithmetic_v<Number>
void Append(std::string& line, Number value) { line += std::to_string(value); }

}  // namespace trace

template <class... Parts>
void Trace(const Parts&... parts) {
    if (!trace::On()) return;
    std::string line;
    (trace::Append(line, parts), ...);
    trace::Write(line);
}
