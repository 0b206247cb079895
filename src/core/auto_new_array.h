#pragma once

#include <array>
#include <cstddef>
#include <memory>

// A fixed array of objects where reading an empty slot makes a fresh object
// there first, so a reader never meets a missing one. T may be incomplete
// where the array is declared; it must be complete where slots are read.
template <class T, std::size_t N>
class AutoNewArray {
public:
    T& operator[](std::size_t index) {
        std::shared_ptr<T>& slot = slots_.at(index);
        if (!slot) slot = std::make_shared<T>();
        return *slot;
    }

    // The slot's object as it is, without making one (none when empty).
    const std::shared_ptr<T>& Peek(std::size_t index) const { return slots_.at(index); }

    void Set(std::size_t index, std::shared_ptr<T> object) { slots_.at(index) = std::move(object); }
    void Clear(std::size_t index) { slots_.at(index).reset(); }
    void ClearAll() {
        for (auto& slot : slots_) slot.reset();
    }

    static constexpr std::size_t size() { return N; }

private:
    std::array<std::shared_ptr<T>, N> slots_;
};
