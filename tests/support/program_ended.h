#pragma once

#include <stdexcept>
#include <string>

// What a test sees when the code under test ends the program.
class ProgramEnded : public std::runtime_error {
public:
    explicit ProgramEnded(const std::string& why) : std::runtime_error(why) {}
};
