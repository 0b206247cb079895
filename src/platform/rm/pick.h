#pragma once

#include "platform/rm/math.h"
#include "platform/rm/visual.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace rm {

class Frame;

struct Ray {
    Vector direction;
    Vector position;  // the origin
};

// What a ray pick reports of one hit.
struct PickRecord {
    int32_t faceIndex = -1;  // face of a mesh builder, triangle of a mesh
    Vector position;         // world coordinates of the hit
    float distance = 0;      // from the ray's origin, in world units
};

// The hits of one ray pick, nearest to the ray's origin first.
class PickArray {
public:
    int32_t GetSize() const { return static_cast<int32_t>(hits_.size()); }
    // The visual of hit `index`, its record filled in; Failure when out of range.
    // The visual is the array's own, valid until it is picked into again: a
    // caller after the record alone pays no handle copy.
    // Inline: the movement reads a hit of each of its picks every frame.
    const VisualPtr& GetPickVisual(int32_t index, PickRecord& record) const {
        if (index < 0 || index >= GetSize()) [[unlikely]]
            ThrowOutOfRange();
        record = hits_[size_t(index)].record;
        return hits_[size_t(index)].visual;
    }

private:
    friend class Frame;
    [[noreturn, gnu::cold]] static void ThrowOutOfRange();
    struct Hit {
        VisualPtr visual;
        PickRecord record;
    };
    std::vector<Hit> hits_;
};

}  // namespace rm
