#define AL_ALEXT_PROTOTYPES
#include "platform/sound/listener.h"

#include "platform/failure.h"
#include "platform/sound/argument_checks.h"
#include "platform/sound/audio_device.h"
#include "platform/sound/sound_failures.h"
#include "platform/sound/voice.h"

#include <AL/al.h>
#include <AL/alext.h>

#include <algorithm>
#include <cfloat>

namespace sound {
namespace {

constexpr float SpeedOfSoundMetresPerSecond = 343.3f;
constexpr float MaxFactor = 10;

// The mixer cannot tell left from right when front and top are zero or
// point the same way.
bool AreParallel(const rm::Vector& a, const rm::Vector& b) {
    return a.y * b.z - a.z * b.y == 0 && a.z * b.x - a.x * b.z == 0 && a.x * b.y - a.y * b.x == 0;
}

}  // namespace

Listener::Listener(std::shared_ptr<AudioDevice> device) : device_(std::move(device)) {}

template <class Setter>
void Listener::Change(int32_t apply, Setter&& setter) {
    if (IsDeferred(apply)) {
        setter(pending_);
        return;
    }
    Settings now;
    setter(now);
    device_->MakeCurrent();
    Apply(now);
}

void Listener::SetPosition(float x, float y, float z, int32_t apply) {
    CheckFinite({x, y, z});
    Change(apply, [&](Settings& settings) { settings.position = rm::Vector{x, y, z}; });
}

void Listener::SetVelocity(float x, float y, float z, int32_t apply) {
    CheckFinite({x, y, z});
    Change(apply, [&](Settings& settings) { settings.velocity = rm::Vector{x, y, z}; });
}

void Listener::SetOrientation(float frontX, float frontY, float frontZ, float topX, float topY, float topZ,
                              int32_t apply) {
    CheckFinite({frontX, frontY, frontZ, topX, topY, topZ});
    const rm::Vector front{frontX, frontY, frontZ};
    const rm::Vector top{topX, topY, topZ};
    if (AreParallel(front, top)) throw Failure(failure::InvalidParam, "Invalid parameter: front and top are parallel");
    Change(apply, [&](Settings& settings) {
        settings.front = front;
        settings.top = top;
    });
}

void Listener::SetDopplerFactor(float factor, int32_t apply) {
    CheckRange(factor, 0, MaxFactor);
    Change(apply, [&](Settings& settings) { settings.doppler = factor; });
}

void Listener::SetDistanceFactor(float factor, int32_t apply) {
    CheckRange(factor, FLT_MIN, FLT_MAX);
    Change(apply, [&](Settings& settings) { settings.distance = factor; });
}

void Listener::SetRolloffFactor(float factor, int32_t apply) {
    CheckRange(factor, 0, MaxFactor);
    Change(apply, [&](Settings& settings) { settings.rolloff = factor; });
}

void Listener::CommitDeferredSettings() {
    device_->MakeCurrent();
    alDeferUpdatesSOFT();
    Apply(pending_);
    pending_ = {};
    for (Voice* voice : voices_) voice->ApplyDeferred();
    alProcessUpdatesSOFT();
}

void Listener::Apply(const Settings& settings) {
    if (const auto& p = settings.position) alListener3f(AL_POSITION, p->x, p->y, -p->z);
    if (const auto& v = settings.velocity) alListener3f(AL_VELOCITY, v->x, v->y, -v->z);
    if (const auto& front = settings.front) {
        const rm::Vector& top = settings.top;
        const ALfloat orientation[] = {front->x, front->y, -front->z, top.x, top.y, -top.z};
        alListenerfv(AL_ORIENTATION, orientation);
    }
    if (settings.doppler) alDopplerFactor(*settings.doppler);
    if (settings.distance) alSpeedOfSound(std::min(SpeedOfSoundMetresPerSecond / *settings.distance, FLT_MAX));
    if (settings.rolloff) {
        rolloff_ = *settings.rolloff;
        for (Voice* voice : voices_) voice->ApplyRolloff(rolloff_);
    }
}

void Listener::Detach(Voice* voice) { std::erase(voices_, voice); }

}  // namespace sound
