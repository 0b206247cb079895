#include "platform/sound/audio_device.h"

#include "platform/failure.h"
#include "platform/sound/sound_failures.h"

namespace sound {

std::shared_ptr<AudioDevice> AudioDevice::Open(const std::string& name) {
    ALCdevice* device = alcOpenDevice(name.empty() ? nullptr : name.c_str());
    if (!device) throw Failure(failure::NoDriver, "No sound device could be opened");
    return Adopt(device, nullptr);
}

std::shared_ptr<AudioDevice> AudioDevice::Adopt(ALCdevice* device, const ALCint* attributes) {
    ALCcontext* context = alcCreateContext(device, attributes);
    if (!context) {
        alcCloseDevice(device);
        throw Failure(failure::NoDriver, "The sound device cannot mix");
    }
    std::shared_ptr<AudioDevice> opened(new AudioDevice(device, context));
    opened->MakeCurrent();
    return opened;
}

AudioDevice::~AudioDevice() {
    if (alcGetCurrentContext() == context_) alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
}

void AudioDevice::MakeCurrent() const {
    if (alcGetCurrentContext() != context_) alcMakeContextCurrent(context_);
}

}  // namespace sound
