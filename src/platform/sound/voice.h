#pragma once

#include "platform/rm/math.h"
#include "platform/sound/wave_file.h"

#include <AL/al.h>

#include <cstdint>
#include <memory>
#include <optional>

namespace sound {

class Listener;

// One loaded sound and the mixer's source that plays it, behind a static
// buffer. Positions are bytes of the file's format. Stopping pauses (the
// position stays); playing resumes from the position, and playing a
// buffer that plays already only changes its looping. A sound that played
// once to its end is back at position 0.
//
// A 2D voice plays at the listener, unattenuated; a 3D voice is placed in
// the world (listener.h says how it fades) and its position and mode may
// wait for the next commit.
class Voice {
public:
    Voice(std::shared_ptr<Listener> listener, const WaveData& wave, bool threeD);
    ~Voice();
    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    void Play(bool looping);
    void Stop();
    void SetCurrentPosition(int32_t bytes);
    int32_t GetCurrentPosition() const;
    // Hz, 100 to 100000; 0 gives the file's own rate back.
    void SetFrequency(int32_t hz);
    const WaveFormat& Format() const { return format_; }

    void SetMode(int32_t mode, bool deferred);
    void SetPosition(const rm::Vector& position, bool deferred);
    void ApplyDeferred();
    void ApplyRolloff(float rolloff);

private:
    ALint State() const;
    void ApplyPlacement();

    std::shared_ptr<Listener> listener_;
    WaveFormat format_;
    int32_t frames_;
    bool threeD_;
    ALuint buffer_ = 0;
    ALuint source_ = 0;
    ALint startFrame_ = 0;  // where a sound that has not started yet will start
    int32_t mode_ = 0;
    rm::Vector position_;
    std::optional<int32_t> pendingMode_;
    std::optional<rm::Vector> pendingPosition_;
};

}  // namespace sound
