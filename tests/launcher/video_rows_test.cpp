// The rows of the launcher's video lists, from enumerated modes, drivers and
// devices.

#include "launcher/video_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::string>;

TEST(VideoRows, ModesGiveResolutionAndDepthRowsWithTheDesktopsSelected) {
    struct Case {
        const char* what;
        std::vector<rm::DisplayMode> modes;
        rm::DisplayMode desktop;
        Rows resolutions;
        int32_t resolution;
        Rows depths;
        int32_t depth;
    };
    const Rows fourModes = {"640 X 480      ", "800 X 600      ", "640 X 480      "};
    const std::vector<rm::DisplayMode> modes = {{640, 480, 8}, {640, 480, 16}, {800, 600, 16}, {640, 480, 32}};
    const Case cases[] = {
        {"only consecutive repeats merge", modes, {800, 600, 16}, fourModes, 1, {"8", "16", "32"}, 1},
        {"a size that comes back is the one last added", modes, {640, 480, 32}, fourModes, 2, {"8", "16", "32"}, 2},
        {"a depth in one mode only",
         {{640, 480, 16}, {800, 600, 16}, {800, 600, 32}},
         {800, 600, 32},
         {"640 X 480      ", "800 X 600      "},
         1,
         {"16", "32"},
         1},
        {"no desktop match selects row 0", modes, {1024, 768, 24}, fourModes, 0, {"8", "16", "32"}, 0},
        {"no modes", {}, {800, 600, 16}, {}, 0, {}, 0},
        {"a row longer than its width is cut", {{123456, 7890123, 16}}, {0, 0, 0}, {"123456 X 789012"}, 0, {"16"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ModeRows rows = BuildModeRows(c.modes, c.desktop);
        EXPECT_EQ(rows.resolutions.rows, c.resolutions);
        EXPECT_EQ(rows.resolutions.selected, c.resolution);
        EXPECT_EQ(rows.depths.rows, c.depths);
        EXPECT_EQ(rows.depths.selected, c.depth);
    }
}

TEST(VideoRows, DriverRowsKeepTheIdentifierAfterAHundredCharacters) {
    const std::string guid = "{4C2E0A40-1234-11D2-9AAB-0020781461AC}";
    for (const size_t length : {0u, 20u, 99u, 100u, 130u}) {
        const std::string name(length, 'n');
        const std::string row = DriverRow(name, guid);
        EXPECT_EQ(row.size(), 100 + guid.size()) << length;
        EXPECT_EQ(row.substr(0, 100), (name + std::string(100, ' ')).substr(0, 100)) << length;
        EXPECT_EQ(GuidOfRow(row), guid) << length;
    }
    EXPECT_EQ(GuidOfRow(DriverRow("Primary Display Driver", "")), "");
    EXPECT_EQ(GuidOfRow("short"), "");
}

TEST(VideoRows, TheHardwareDeviceIsChosenElseTheFirst) {
    const ListRows withHardware = BuildDeviceRows({{"Ramp Emulation", "IID_IDirect3DRampDevice"},
                                                   {"RGB Emulation", "IID_IDirect3DRGBDevice"},
                                                   {"Direct3D HAL", "IID_IDirect3DHALDevice"}});
    ASSERT_EQ(withHardware.rows.size(), 3u);
    EXPECT_EQ(withHardware.selected, 2);
    EXPECT_EQ(withHardware.rows[2], DriverRow("Direct3D HAL", "IID_IDirect3DHALDevice"));

    const ListRows software =
        BuildDeviceRows({{"Ramp Emulation", "IID_IDirect3DRampDevice"}, {"RGB Emulation", "IID_IDirect3DRGBDevice"}});
    EXPECT_EQ(software.selected, 0);
    EXPECT_EQ(BuildDeviceRows({}).rows, Rows{});
}

}  // namespace
