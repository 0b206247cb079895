#include "core/map_level_file.h"
#include "platform/failure.h"
#include "platform/os/locale.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

namespace {

class MapLevelFiles : public testing::Test {
protected:
    QTemporaryDir folder;
    std::string savedSeparator = os::LocaleDecimalSeparator();

    void TearDown() override { os::SetLocaleDecimalSeparator(savedSeparator); }

    std::string Write(const std::string& text) {
        const std::string path = folder.filePath("level.map").toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
};

constexpr const char* kSixLines = "dusk\n1:2:3\n4:5:6\n7:8:9\n10:11:12\n13:14:15\n";

void ExpectPoint(const rm::Vector& point, float x, float y, float z) {
    EXPECT_FLOAT_EQ(point.x, x);
    EXPECT_FLOAT_EQ(point.y, y);
    EXPECT_FLOAT_EQ(point.z, z);
}

TEST_F(MapLevelFiles, ReadsSkyLightAndSpawnPointsInOrder) {
    const MapLevelFile map =
        ReadMapLevelFile(Write("sky set two\r\n 1 : 2 : 3 \r\n4:5:6\r\n7:8:9\r\n10:11:12\r\n-1:-2:-3"));
    EXPECT_EQ(map.skyPrefix, "sky set two");
    ExpectPoint(map.light, 1, 2, 3);
    ExpectPoint(map.spawnPoints[0], 4, 5, 6);
    ExpectPoint(map.spawnPoints[3], -1, -2, -3);
    EXPECT_EQ(map.scale, kDefaultMapScale);
}

TEST_F(MapLevelFiles, ScaleLine) {
    const struct {
        const char* line;
        int32_t scale;
    } cases[] = {{"", 24},     {"0", 24},    {"big", 24},         {"12", 12}, {" 12 ", 12},
                 {"12.5", 12}, {"13.5", 14}, {"99999999999", 24}, {"-3", -3}};
    for (const auto& c : cases)
        EXPECT_EQ(ReadMapLevelFile(Write(std::string(kSixLines) + c.line + "\nignored\n")).scale, c.scale)
            << "line 7: \"" << c.line << "\"";
    EXPECT_EQ(ReadMapLevelFile(Write(kSixLines)).scale, 24);
}

// One map file must mean the same on every machine.
TEST_F(MapLevelFiles, PointReadsAsDecimalSeparatorInEveryLocale) {
    const std::string text = "s\n1.5:2,25:-0.5\n0:0:0\n0:0:0\n0:0:0\n0:0:0\n2.5\n";
    os::SetLocaleDecimalSeparator(",");
    const MapLevelFile comma = ReadMapLevelFile(Write(text));
    ExpectPoint(comma.light, 1.5f, 2.25f, -0.5f);
    EXPECT_EQ(comma.scale, 2);

    os::SetLocaleDecimalSeparator(".");
    EXPECT_FLOAT_EQ(ReadMapLevelFile(Write("s\n1.5:2:3\n0:0:0\n0:0:0\n0:0:0\n0:0:0\n")).light.x, 1.5f);
    EXPECT_THROW(ReadMapLevelFile(Write(text)), Failure);  // "," is not this locale's
}

TEST_F(MapLevelFiles, MalformedFilesFail) {
    const struct {
        const char* text;
        int32_t number;
    } cases[] = {
        {"dusk\n1:2:3\n4:5:6\n7:8:9\n10:11:12\n", 62},                // five lines
        {"dusk\n1:2:3\n4:5:6\n7:8\n10:11:12\n13:14:15\n", 5},         // one ":"
        {"dusk\n1:2:3\n4:5:6\n7:eight:9\n10:11:12\n13:14:15\n", 13},  // no number
        {"dusk\n1:2:3:4\n4:5:6\n7:8:9\n10:11:12\n13:14:15\n", 13},    // z is "3:4"
        {"dusk\n1::3\n4:5:6\n7:8:9\n10:11:12\n13:14:15\n", 13},       // empty field
    };
    for (const auto& c : cases) {
        try {
            ReadMapLevelFile(Write(c.text));
            ADD_FAILURE() << "read: " << c.text;
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.Number(), c.number) << c.text;
        }
    }
    EXPECT_THROW(ReadMapLevelFile(folder.filePath("absent.map").toStdString()), Failure);
}

}  // namespace
