#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Output files: little-endian binary records and text, written whole.
// Parent folders are made on the way; a failure stops the generator.

namespace gen {

class Bytes {
public:
    void U8(uint8_t v) { data_.push_back(v); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void Text(const std::string& s) {
        for (char c : s) U8(static_cast<uint8_t>(c));
    }
    void Save(const std::string& path) const;

private:
    std::vector<uint8_t> data_;
};

void SaveText(const std::string& path, const std::string& text);

// Numbers as the model and mesh files write them: "." as the decimal point
// and at least one decimal (the mesh file reader takes a number without one
// for an integer), at most six, no exponent, never "-0".
std::string Num(double v);

}  // namespace gen
