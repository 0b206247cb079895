#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

// The one failure type of the platform layer and of the game. A failing
// operation throws it with a number and a description; callers either let it
// pass, leave their procedure at the first one, or skip the failing statement.
class Failure : public std::runtime_error {
public:
    Failure(int32_t number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}

    int32_t Number() const noexcept { return number_; }
    const std::string& Description() const noexcept { return description_; }

private:
    int32_t number_;
    std::string description_;
};

// Numbers of the failures that the game's own rules raise.
namespace failure_number {
inline constexpr int32_t InvalidArgument = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t DivisionByZero = 11;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t InputPastEndOfFile = 62;
inline constexpr int32_t PathFileAccessError = 75;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t ObjectNotSet = 91;
}  // namespace failure_number

// Whether `error` is a failure of the game: a Failure, or what the language
// raises in its place (an index out of range, a bad cast, memory running
// out). Anything else, such as a test's stand-in for the program's end, is
// not one and passes every handler that stops failures.
bool IsFailure(std::exception_ptr error);

// Any exception seen as a Failure: the game shows every failure as
// "description: number", whatever raised it.
Failure AsFailure(std::exception_ptr error);

// Runs one statement and drops its failure, so that the next statement still
// runs. One statement per call.
template <class Statement>
void skip(Statement&& statement) noexcept {
    try {
        std::forward<Statement>(statement)();
    } catch (...) {
    }
}
