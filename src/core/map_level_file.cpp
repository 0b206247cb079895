#include "core/map_level_file.h"

#include "core/replace.h"
#include "core/text.h"
#include "platform/failure.h"
#include "platform/os/locale.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw Failure(failure_number::FileNotFound, "File not found");
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return lines;
}

// Map files are shared between machines whatever their locale: "." always
// reads as the decimal separator, and so does the locale's own.
std::string InLocaleFormat(const std::string& number) {
    return RemplaceCar(Trim(number), ".", os::LocaleDecimalSeparator());
}

float MapCoordinate(const std::string& text) { return CSng(InLocaleFormat(text)); }

rm::Vector MapPoint(const std::string& line) {
    const int32_t first = InStr(line, ":");
    const int32_t second = first == 0 ? 0 : InStr(first + 1, line, ":");
    if (second == 0) throw Failure(failure_number::InvalidArgument, "Invalid procedure call or argument");
    return {MapCoordinate(Mid(line, 1, first - 1)), MapCoordinate(Mid(line, first + 1, second - first - 1)),
            MapCoordinate(Mid(line, second + 1))};
}

int32_t MapScale(const std::vector<std::string>& lines) {
    int32_t scale = 0;
    if (lines.size() > 6) skip([&] { scale = CLng(InLocaleFormat(lines[6])); });
    return scale == 0 ? kDefaultMapScale : scale;
}

}  // namespace

MapLevelFile ReadMapLevelFile(const std::string& path) {
    const std::vector<std::string> lines = ReadLines(path);
    if (lines.size() < 6) throw Failure(failure_number::InputPastEndOfFile, "Input past end of file");
    MapLevelFile map;
    map.skyPrefix = lines[0];
    map.light = MapPoint(lines[1]);
    for (size_t i = 0; i < map.spawnPoints.size(); ++i) map.spawnPoints[i] = MapPoint(lines[2 + i]);
    map.scale = MapScale(lines);
    return map;
}
