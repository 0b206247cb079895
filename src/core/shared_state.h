#pragma once

// Declaring a shared variable and remembering how to put it back are one act:
//
//     inline int32_t IndiceLocal = Initial(&IndiceLocal, -1);
//
// `Initial` hands the value to the variable and records it, so
// `ResetGameState` (for tests) restores every variable declared this way and
// none can be forgotten. The variable keeps its plain type and name; reading
// it costs nothing more than reading any other variable.

#include <concepts>
#include <functional>
#include <type_traits>
#include <utility>

namespace shared_state {

// One declared variable: how to restore it, and (where its type compares)
// whether it holds its initial value now.
struct Record {
    std::function<void()> restore;
    std::function<bool()> atInitial;
};

void Add(Record record);

// Every variable's restore, in declaration order of the program's start.
void RestoreAll();

// How many variables are declared, and how many of those that compare hold
// something other than their initial value (for the reset's own test).
std::size_t Count();
std::size_t CountChanged();

}  // namespace shared_state

template <class T>
T Initial(T* variable, std::type_identity_t<T> value) {
    shared_state::Record record;
    record.restore = [variable, value] { *variable = value; };
    if constexpr (std::equality_comparable<T>) {
        record.atInitial = [variable, value] { return *variable == value; };
    }
    shared_state::Add(std::move(record));
    return value;
}
