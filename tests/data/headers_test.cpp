// Bitmaps and sounds: valid headers, and the sizes and rates the game relies on.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "data_files.h"

using namespace data_test;

namespace {

std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

std::vector<std::string> FilesWithExtension(const std::string& ext) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(GamePath("")))
        if (entry.path().extension() == ext) files.push_back(entry.path().string());
    return files;
}

struct Bitmap {
    int width = 0, height = 0;
};

// Checks a 24-bit uncompressed bitmap's headers against its size on disk.
Bitmap ReadBitmap(const std::string& path) {
    const std::vector<uint8_t> b = Bytes(path);
    EXPECT_GE(b.size(), 54u) << path;
    if (b.size() < 54) return {};
    EXPECT_EQ(b[0], 'B') << path;
    EXPECT_EQ(b[1], 'M') << path;
    EXPECT_EQ(U32(b, 2), b.size()) << path;
    EXPECT_EQ(U32(b, 10), 54u) << path;
    EXPECT_EQ(U32(b, 14), 40u) << path;
    EXPECT_EQ(U16(b, 28), 24) << path;
    EXPECT_EQ(U32(b, 30), 0u) << path;
    const Bitmap bitmap{int(U32(b, 18)), int(U32(b, 22))};
    const size_t row = (bitmap.width * 3 + 3) & ~size_t(3);
    EXPECT_EQ(b.size(), 54 + row * bitmap.height) << path;
    return bitmap;
}

struct Wave {
    uint32_t rate = 0, bytes_per_second = 0, data = 0;
};

Wave ReadWave(const std::string& path) {
    const std::vector<uint8_t> b = Bytes(path);
    EXPECT_GE(b.size(), 44u) << path;
    if (b.size() < 44) return {};
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF") << path;
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ") << path;
    EXPECT_EQ(U16(b, 20), 1) << path << " is not PCM";
    EXPECT_EQ(U16(b, 22), 1) << path << " is not mono";
    EXPECT_EQ(U16(b, 34), 16) << path;
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data") << path;
    const Wave w{U32(b, 24), U32(b, 28), U32(b, 40)};
    EXPECT_EQ(w.bytes_per_second, w.rate * 2) << path;
    EXPECT_EQ(b.size(), 44 + w.data) << path;
    EXPECT_GT(w.data, 0u) << path;
    return w;
}

}  // namespace

TEST(Bitmaps, AllAreUncompressedTrueColourAtTheSizesTheGameUses) {
    const std::map<std::string, Bitmap> sizes = {
        {"weapons/muzz1.bmp", {72, 72}},    {"weapons/muzz2.bmp", {72, 72}},      // decal origin (36, 36)
        {"weapons/croix2.bmp", {256, 256}}, {"weapons/sniper2.bmp", {512, 512}},  // origins 128 and 256
        {"models/blood001.bmp", {16, 16}},  {"models/blood009.bmp", {16, 16}},    // origin (8, 8)
        {"media/logo2.bmp", {512, 256}},    {"media/logo3.bmp", {512, 128}},
        {"media/logo.bmp", {256, 250}},     {"media/logo4.bmp", {256, 256}},
    };
    const std::vector<std::string> files = FilesWithExtension(".bmp");
    EXPECT_GT(files.size(), 60u);
    for (const std::string& f : files) ReadBitmap(f);
    for (const auto& [file, size] : sizes) {
        const Bitmap b = ReadBitmap(GamePath(file));
        EXPECT_EQ(b.width, size.width) << file;
        EXPECT_EQ(b.height, size.height) << file;
    }
}

TEST(Bitmaps, TheKeyedTextureUsesPureBlueAsItsTransparentColour) {
    int keyed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(GamePath("map/textures"))) {
        if (entry.path().filename().string().front() != '{') continue;
        ++keyed;
        const std::vector<uint8_t> b = Bytes(entry.path().string());
        const Bitmap size = ReadBitmap(entry.path().string());
        const size_t row = (size.width * 3 + 3) & ~size_t(3);
        int blue = 0, other = 0;
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x) {
                const size_t at = 54 + y * row + x * 3;  // blue, green, red
                (b[at] == 255 && b[at + 1] == 0 && b[at + 2] == 0 ? blue : other)++;
            }
        // Mostly see-through, with something drawn.
        EXPECT_GT(blue, size.width * size.height / 2) << entry.path();
        EXPECT_GT(other, 0) << entry.path();
    }
    EXPECT_GE(keyed, 1);
}

TEST(Sounds, AllAreMonoPcm) {
    const std::vector<std::string> files = FilesWithExtension(".wav");
    EXPECT_GE(files.size(), 23u);
    for (const std::string& f : files) ReadWave(f);
    // The footsteps play at 8800 Hz.
    EXPECT_EQ(ReadWave(GamePath("models/pas.wav")).rate, 8800u);
}

TEST(Sounds, TheXm1014SoundOutlastsItsPumpDelay) {
    const Wave w = ReadWave(GamePath("weapons/xm1014-1.wav"));
    // The game refuses a shot while the sound plays below (bytes per second - 15000).
    ASSERT_GT(w.bytes_per_second, 15000u);
    EXPECT_GT(w.data, w.bytes_per_second - 15000);
}
