#pragma once

#include <AL/alc.h>

#include <memory>
#include <string>

namespace sound {

// One opened output device with its mixing context. Every object of the
// layer that touches the mixer holds the device, so the device outlives
// them all; each makes the context current before it calls the mixer, so
// several devices may live in one process.
class AudioDevice {
public:
    // The named output, empty for the default one. Fails (no driver) when
    // no output can be opened.
    static std::shared_ptr<AudioDevice> Open(const std::string& name);
    // Takes over an opened device (a loopback device, for instance) and makes
    // its context with the given attributes (zero-terminated, or none).
    static std::shared_ptr<AudioDevice> Adopt(ALCdevice* device, const ALCint* attributes);

    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    void MakeCurrent() const;
    ALCdevice* Handle() const { return device_; }

private:
    AudioDevice(ALCdevice* device, ALCcontext* context) : device_(device), context_(context) {}

    ALCdevice* device_;
    ALCcontext* context_;
};

}  // namespace sound
