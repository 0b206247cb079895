#pragma once

// Reading the text of model files (.qc and .smd).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The lines of the file at the game path `path`, without line ends; a
// carriage return before a line end is dropped too, so files written on
// other systems read the same. Throws Failure when the file cannot be read.
class ModelLines {
public:
    explicit ModelLines(const std::string& path);

    bool AtEnd() const { return next_ >= lines_.size(); }
    // The next line; throws Failure past the last one.
    const std::string& Next();

private:
    std::string path_;
    std::vector<std::string> lines_;
    size_t next_ = 0;
};

// A number of a model file: blanks around it are ignored and the decimal
// point is always ".", whatever the user's locale. Throws Failure for text
// that is not a finite number.
double ModelNumber(std::string_view field);

// An index of a model file, as a 32-bit integer. Throws Failure for text
// that is not a number in range.
int32_t ModelIndex(std::string_view field);

// A bone name as the model compares it: blanks become "_", then "-" "D".
std::string BoneName(std::string_view name);

// Splits `line` at single blanks into `count` fields: each field ends at the
// next blank, so two blanks in a row make an empty field; the last runs to
// the end of the line. Fields the line lacks are empty.
std::vector<std::string_view> SplitFields(std::string_view line, size_t count);

// Throws the Failure of a model file that does not have the expected shape.
[[noreturn]] void MalformedModel(const std::string& what);
