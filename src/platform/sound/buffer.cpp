#include "platform/sound/buffer.h"

#include "platform/failure.h"
#include "platform/sound/buffer3d.h"
#include "platform/sound/sound_failures.h"
#include "platform/sound/sound_flags.h"
#include "platform/sound/voice.h"

#include <string>

namespace sound {

Buffer::Buffer(std::shared_ptr<Listener> listener, int32_t flags) : listener_(std::move(listener)), flags_(flags) {}

Buffer::Buffer(std::shared_ptr<Voice> voice, int32_t flags) : voice_(std::move(voice)), flags_(flags) {}

Voice& Buffer::Sound() const {
    if (!voice_) throw Failure(failure::InvalidCall, "Invalid call on the primary buffer");
    return *voice_;
}

void Buffer::Play(int32_t flags) {
    if (flags != 0 && flags != DSBPLAY_LOOPING) {
        throw Failure(failure::InvalidParam, "Invalid parameter: play flags " + std::to_string(flags));
    }
    if (voice_) voice_->Play(flags == DSBPLAY_LOOPING);
}

void Buffer::Stop() {
    if (voice_) voice_->Stop();
}

void Buffer::SetCurrentPosition(int32_t bytes) { Sound().SetCurrentPosition(bytes); }

int32_t Buffer::GetCurrentPosition() const { return Sound().GetCurrentPosition(); }

void Buffer::SetFrequency(int32_t hz) {
    Voice& voice = Sound();
    if (!(flags_ & DSBCAPS_CTRLFREQUENCY)) {
        throw Failure(failure::ControlUnavailable, "The buffer was made without frequency control");
    }
    voice.SetFrequency(hz);
}

WaveFormat Buffer::GetFormat() const { return Sound().Format(); }

std::shared_ptr<Listener> Buffer::GetDirectSound3DListener() const {
    if (!listener_ || !(flags_ & DSBCAPS_CTRL3D)) throw Failure(failure::NoInterface, "The buffer has no 3D listener");
    return listener_;
}

std::shared_ptr<Buffer3D> Buffer::GetDirectSound3DBuffer() const {
    if (!voice_ || !(flags_ & DSBCAPS_CTRL3D)) throw Failure(failure::NoInterface, "The buffer has no 3D control");
    return std::make_shared<Buffer3D>(voice_);
}

}  // namespace sound
