#pragma once

#include <cstdint>
#include <memory>

namespace sound {

class Voice;

// The 3D side of a static buffer made with 3D control; it keeps the sound
// alive as the buffer does. Mode (DS3DMODE_*) and position (world
// coordinates, see listener.h) take effect at once (DS3D_IMMEDIATE) or at
// the listener's next commit (DS3D_DEFERRED). A new 3D buffer is in normal
// mode at the world's origin.
class Buffer3D {
public:
    explicit Buffer3D(std::shared_ptr<Voice> voice) : voice_(std::move(voice)) {}

    void SetMode(int32_t mode, int32_t apply);
    void SetPosition(float x, float y, float z, int32_t apply);

private:
    std::shared_ptr<Voice> voice_;
};

}  // namespace sound
