#pragma once

// The rows of the launcher's video lists, built from what the display driver
// enumerates. A driver row (drivers and 3D devices) is the name padded or cut
// to 100 characters followed by the identifier, which the launch reads back;
// a resolution row is "W X H" padded or cut to 15 characters.

#include "platform/rm/directdraw.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int32_t kDriverNameWidth = 100;
inline constexpr int32_t kResolutionRowWidth = 15;
// The identifier of the hardware 3D device, the one chosen by default.
inline constexpr std::string_view kHardwareDeviceGuid = "IID_IDirect3DHALDevice";

std::string DriverRow(std::string_view name, std::string_view guid);
// The identifier of a driver row: the text after its first 100 characters,
// without surrounding blanks.
std::string GuidOfRow(std::string_view row);
std::string ResolutionRow(int32_t width, int32_t height);

// A list's rows and the position to select once it is filled.
struct ListRows {
    std::vector<std::string> rows;
    int32_t selected = 0;
};

// The resolution rows (only consecutive repeats of a size merged, the
// desktop's size selected) and the depth rows (each depth once, the
// desktop's selected) of a driver's modes, in the enumeration's order.
// Nothing matching the desktop selects row 0.
struct ModeRows {
    ListRows resolutions;
    ListRows depths;
};
ModeRows BuildModeRows(const std::vector<rm::DisplayMode>& modes, const rm::DisplayMode& desktop);

// One named thing a driver enumerates: a driver or a 3D device.
struct NamedGuid {
    std::string name;
    std::string guid;
};

// Driver rows; the hardware device is selected, else row 0.
ListRows BuildDeviceRows(const std::vector<NamedGuid>& devices);
