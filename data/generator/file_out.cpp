#include "file_out.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace gen {

void Bytes::U16(uint16_t v) {
    U8(v & 0xff);
    U8(v >> 8);
}

void Bytes::U32(uint32_t v) {
    U16(v & 0xffff);
    U16(v >> 16);
}

static void Write(const std::string& path, const char* data, size_t size) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(data, static_cast<std::streamsize>(size));
    if (!file) throw std::runtime_error("cannot write " + path);
}

void Bytes::Save(const std::string& path) const {
    Write(path, reinterpret_cast<const char*>(data_.data()), data_.size());
}

void SaveText(const std::string& path, const std::string& text) { Write(path, text.data(), text.size()); }

std::string Num(double v) {
    double rounded = std::round(v * 1e6) / 1e6;
    if (rounded == 0) rounded = 0;  // no "-0"
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", rounded);
    std::string s = buffer;
    while (s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
    return s;
}

}  // namespace gen
