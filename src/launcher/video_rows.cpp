#include "launcher/video_rows.h"

#include "core/text.h"

#include <algorithm>

namespace {

// `text` followed by blanks, cut to exactly `width` characters.
std::string PaddedTo(std::string_view text, int32_t width) {
    std::string padded(text.substr(0, static_cast<size_t>(width)));
    padded.resize(static_cast<size_t>(width), ' ');
    return padded;
}

}  // namespace

std::string DriverRow(std::string_view name, std::string_view guid) {
    return PaddedTo(name, kDriverNameWidth) + std::string(guid);
}

std::string GuidOfRow(std::string_view row) { return Trim(Mid(row, kDriverNameWidth + 1)); }

std::string ResolutionRow(int32_t width, int32_t height) {
    return PaddedTo(std::to_string(width) + " X " + std::to_string(height), kResolutionRowWidth);
}

ModeRows BuildModeRows(const std::vector<rm::DisplayMode>& modes, const rm::DisplayMode& desktop) {
    ModeRows built;
    int32_t lastWidth = 0;
    int32_t lastHeight = 0;
    for (const rm::DisplayMode& mode : modes) {
        std::vector<std::string>& sizes = built.resolutions.rows;
        if (mode.width != lastWidth || mode.height != lastHeight) {
            sizes.push_back(ResolutionRow(mode.width, mode.height));
            lastWidth = mode.width;
            lastHeight = mode.height;
        }
        if (mode.width == desktop.width && mode.height == desktop.height)
            built.resolutions.selected = static_cast<int32_t>(sizes.size()) - 1;

        std::vector<std::string>& depths = built.depths.rows;
        const std::string depth = std::to_string(mode.bits);
        auto row = std::find(depths.begin(), depths.end(), depth);
        if (row == depths.end()) row = depths.insert(depths.end(), depth);
        if (mode.bits == desktop.bits) built.depths.selected = static_cast<int32_t>(row - depths.begin());
    }
    return built;
}

ListRows BuildDeviceRows(const std::vector<NamedGuid>& devices) {
    ListRows built;
    for (const NamedGuid& device : devices) {
        if (device.guid == kHardwareDeviceGuid) built.selected = static_cast<int32_t>(built.rows.size());
        built.rows.push_back(DriverRow(device.name, device.guid));
    }
    return built;
}
