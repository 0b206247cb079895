#pragma once

#include "platform/sound/wave_file.h"

#include <cstdint>
#include <memory>

namespace sound {

class Buffer3D;
class Listener;
class Voice;

// A sound buffer: the primary buffer (the device's mix) or a static buffer
// holding one sound file. DirectSound makes them.
//
// The primary buffer plays and stops (the mix runs all the time, so neither
// changes what is heard) and hands out the 3D listener when it was made with
// 3D control; any other call on it is a failure (invalid call).
//
// A static buffer: Play(0) plays once, Play(DSBPLAY_LOOPING) loops, and
// playing continues from the current position; Stop keeps the position; a
// sound that played once to its end is back at 0. Positions are play-cursor
// bytes in the file's format (GetFormat). SetFrequency needs frequency
// control and its 3D companion needs 3D control (made with those flags),
// else the call fails (control unavailable, no interface). Any number of
// buffers may play at once.
class Buffer {
public:
    Buffer(std::shared_ptr<Listener> listener, int32_t flags);  // the primary buffer
    Buffer(std::shared_ptr<Voice> voice, int32_t flags);        // a static buffer

    void Play(int32_t flags);
    void Stop();
    void SetCurrentPosition(int32_t bytes);
    int32_t GetCurrentPosition() const;
    // Hz; 0 restores the file's own rate.
    void SetFrequency(int32_t hz);
    WaveFormat GetFormat() const;

    std::shared_ptr<Listener> GetDirectSound3DListener() const;
    std::shared_ptr<Buffer3D> GetDirectSound3DBuffer() const;

private:
    Voice& Sound() const;

    std::shared_ptr<Listener> listener_;
    std::shared_ptr<Voice> voice_;
    int32_t flags_;
};

}  // namespace sound
