#include "platform/sound/direct_sound.h"

#include "platform/failure.h"
#include "platform/sound/audio_device.h"
#include "platform/sound/sound_failures.h"
#include "platform/sound/voice.h"
#include "platform/sound/wave_file.h"

namespace sound {

DirectSound::DirectSound(std::shared_ptr<AudioDevice> device)
    : listener_(std::make_shared<Listener>(std::move(device))) {}

void DirectSound::SetCooperativeLevel(WindowHandle, int32_t) {}

std::shared_ptr<Buffer> DirectSound::CreateSoundBuffer(int32_t flags) {
    if (!(flags & DSBCAPS_PRIMARYBUFFER)) {
        throw Failure(failure::InvalidParam, "Invalid parameter: a secondary buffer needs a sound");
    }
    return std::make_shared<Buffer>(listener_, flags);
}

std::shared_ptr<Buffer> DirectSound::CreateSoundBufferFromFile(const std::string& file, int32_t flags) {
    if (flags & DSBCAPS_PRIMARYBUFFER) {
        throw Failure(failure::InvalidParam, "Invalid parameter: the primary buffer holds no file");
    }
    const bool threeD = flags & DSBCAPS_CTRL3D;
    const WaveData wave = ReadWaveFile(file, threeD);
    return std::make_shared<Buffer>(std::make_shared<Voice>(listener_, wave, threeD), flags);
}

std::shared_ptr<DirectSound> DirectSoundCreate(const std::string& guid) {
    return std::make_shared<DirectSound>(AudioDevice::Open(guid));
}

}  // namespace sound
