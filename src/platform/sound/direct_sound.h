#pragma once

#include "platform/sound/buffer.h"
#include "platform/sound/buffer3d.h"
#include "platform/sound/listener.h"
#include "platform/sound/sound_flags.h"
#include "platform/window_handle.h"

#include <cstdint>
#include <memory>
#include <string>

namespace sound {

class AudioDevice;

// One sound output with its 3D listener, and the maker of its buffers.
class DirectSound {
public:
    explicit DirectSound(std::shared_ptr<AudioDevice> device);

    // Accepted; the mixer shares the output with other programs whatever
    // the level.
    void SetCooperativeLevel(WindowHandle window, int32_t level);

    // The primary buffer (flags with DSBCAPS_PRIMARYBUFFER; with
    // DSBCAPS_CTRL3D it hands out the listener). A secondary buffer needs a
    // sound, so other flags are a failure (invalid parameter).
    std::shared_ptr<Buffer> CreateSoundBuffer(int32_t flags);

    // A static buffer holding the sound of a WAV file (wave_file.h says which
    // files load; anything else fails at once and nothing is made). With
    // DSBCAPS_CTRL3D it is a 3D sound: a stereo file is mixed down to mono.
    // The mixer has voices for a few hundred buffers at once; beyond that a
    // new buffer fails (out of memory) until another is released.
    std::shared_ptr<Buffer> CreateSoundBufferFromFile(const std::string& file, int32_t flags);

private:
    std::shared_ptr<Listener> listener_;
};

// DirectSound on an output device: "" for the default output, or a device
// name. Fails (no driver) when the output cannot be opened; the program then
// runs without sound.
std::shared_ptr<DirectSound> DirectSoundCreate(const std::string& guid);

}  // namespace sound
