#include "platform/sound/voice.h"

#include "platform/failure.h"
#include "platform/sound/audio_device.h"
#include "platform/sound/listener.h"
#include "platform/sound/sound_failures.h"
#include "platform/sound/sound_flags.h"

#include <string>

namespace sound {
namespace {

constexpr int32_t MinFrequency = 100;
constexpr int32_t MaxFrequency = 100000;

Failure InvalidParam(const std::string& what) { return Failure(failure::InvalidParam, "Invalid parameter: " + what); }

}  // namespace

Voice::Voice(std::shared_ptr<Listener> listener, const WaveData& wave, bool threeD)
    : listener_(std::move(listener)), format_(wave.format), frames_(wave.frames), threeD_(threeD) {
    listener_->Device()->MakeCurrent();
    alGetError();
    alGenBuffers(1, &buffer_);
    alBufferData(buffer_, wave.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, wave.samples.data(),
                 static_cast<ALsizei>(wave.samples.size() * sizeof(int16_t)), wave.format.lSamplesPerSec);
    alGenSources(1, &source_);
    alSourcei(source_, AL_BUFFER, static_cast<ALint>(buffer_));
    if (alGetError() != AL_NO_ERROR) {
        alDeleteSources(1, &source_);
        alDeleteBuffers(1, &buffer_);
        throw Failure(failure::OutOfMemory, "No room for another sound buffer");
    }
    if (threeD_) {
        alSourcef(source_, AL_REFERENCE_DISTANCE, 1);
        ApplyRolloff(listener_->Rolloff());
        ApplyPlacement();
        listener_->Attach(this);
    } else {
        alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
        alSourcef(source_, AL_ROLLOFF_FACTOR, 0);
    }
}

Voice::~Voice() {
    listener_->Device()->MakeCurrent();
    if (threeD_) listener_->Detach(this);
    alDeleteSources(1, &source_);
    alDeleteBuffers(1, &buffer_);
}

ALint Voice::State() const {
    ALint state = AL_INITIAL;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    return state;
}

void Voice::Play(bool looping) {
    listener_->Device()->MakeCurrent();
    alSourcei(source_, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    if (State() != AL_PLAYING) alSourcePlay(source_);
}

void Voice::Stop() {
    listener_->Device()->MakeCurrent();
    if (State() == AL_PLAYING) alSourcePause(source_);
}

void Voice::SetCurrentPosition(int32_t bytes) {
    if (bytes < 0 || bytes / format_.nBlockAlign >= frames_) {
        throw InvalidParam("position " + std::to_string(bytes) + " outside the buffer");
    }
    listener_->Device()->MakeCurrent();
    // A sound that ran to its end starts again from where it is put.
    if (State() == AL_STOPPED) alSourceRewind(source_);
    startFrame_ = bytes / format_.nBlockAlign;
    alSourcei(source_, AL_SAMPLE_OFFSET, startFrame_);
}

int32_t Voice::GetCurrentPosition() const {
    listener_->Device()->MakeCurrent();
    const ALint state = State();
    if (state == AL_STOPPED) return 0;
    // The mixer reports no position for a sound that has not started yet.
    if (state == AL_INITIAL) return startFrame_ * format_.nBlockAlign;
    ALint frame = 0;
    alGetSourcei(source_, AL_SAMPLE_OFFSET, &frame);
    return frame * format_.nBlockAlign;
}

void Voice::SetFrequency(int32_t hz) {
    if (hz != 0 && (hz < MinFrequency || hz > MaxFrequency)) {
        throw InvalidParam("frequency " + std::to_string(hz) + " Hz");
    }
    listener_->Device()->MakeCurrent();
    alSourcef(source_, AL_PITCH, hz == 0 ? 1.0f : static_cast<float>(hz) / static_cast<float>(format_.lSamplesPerSec));
}

void Voice::SetMode(int32_t mode, bool deferred) {
    if (mode < DS3DMODE_NORMAL || mode > DS3DMODE_DISABLE) throw InvalidParam("3D mode " + std::to_string(mode));
    if (deferred) {
        pendingMode_ = mode;
        return;
    }
    mode_ = mode;
    listener_->Device()->MakeCurrent();
    ApplyPlacement();
}

void Voice::SetPosition(const rm::Vector& position, bool deferred) {
    if (deferred) {
        pendingPosition_ = position;
        return;
    }
    position_ = position;
    listener_->Device()->MakeCurrent();
    ApplyPlacement();
}

void Voice::ApplyDeferred() {
    if (!pendingMode_ && !pendingPosition_) return;
    mode_ = pendingMode_.value_or(mode_);
    position_ = pendingPosition_.value_or(position_);
    pendingMode_.reset();
    pendingPosition_.reset();
    ApplyPlacement();
}

void Voice::ApplyRolloff(float rolloff) { alSourcef(source_, AL_ROLLOFF_FACTOR, rolloff); }

void Voice::ApplyPlacement() {
    const rm::Vector at = mode_ == DS3DMODE_DISABLE ? rm::Vector{} : position_;
    alSourcei(source_, AL_SOURCE_RELATIVE, mode_ == DS3DMODE_NORMAL ? AL_FALSE : AL_TRUE);
    alSource3f(source_, AL_POSITION, at.x, at.y, -at.z);
}

}  // namespace sound
