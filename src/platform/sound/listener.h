#pragma once

#include "platform/rm/math.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace sound {

class AudioDevice;
class Voice;

// The 3D listener of a sound device. Each setting takes effect at once
// (DS3D_IMMEDIATE) or is kept until CommitDeferredSettings (DS3D_DEFERRED),
// which applies every kept setting of the listener and of the device's 3D
// buffers together, in one step of the mixer.
//
// Vectors are in the world's left-handed coordinates (x right, y up, z
// ahead); the mixer's are right-handed, so every position, velocity and
// orientation vector crosses over with z negated.
//
// How sound fades and shifts with distance:
// - attenuation is the inverse distance law, clamped: a 3D sound plays at
//   full volume up to 1 world unit away and at
//   1 / (1 + rolloff × (d − 1)) beyond, d in world units. With the roll-off
//   factor 0.1 a sound 10 units away plays at 0.53 and one 100 units away at
//   0.09; roll-off 0 turns attenuation off. No maximum distance.
// - the distance factor is metres per world unit. It sets the speed of
//   sound in world units (343.3 m/s ÷ factor: 34330 units/s at 0.01), which
//   with the velocities (units per second) and the Doppler factor gives the
//   Doppler shift; it does not change the attenuation.
// Ranges: Doppler and roll-off factors 0 to 10, distance factor above 0;
// values outside, values that are not finite, and front and top vectors
// that are zero or parallel are failures (invalid parameter).
class Listener {
public:
    explicit Listener(std::shared_ptr<AudioDevice> device);

    void SetPosition(float x, float y, float z, int32_t apply);
    void SetVelocity(float x, float y, float z, int32_t apply);
    void SetOrientation(float frontX, float frontY, float frontZ, float topX, float topY, float topZ, int32_t apply);
    void SetDopplerFactor(float factor, int32_t apply);
    void SetDistanceFactor(float factor, int32_t apply);
    void SetRolloffFactor(float factor, int32_t apply);
    void CommitDeferredSettings();

    const std::shared_ptr<AudioDevice>& Device() const { return device_; }

private:
    friend class Voice;

    struct Settings {
        std::optional<rm::Vector> position;
        std::optional<rm::Vector> velocity;
        std::optional<rm::Vector> front;
        rm::Vector top;
        std::optional<float> doppler;
        std::optional<float> distance;
        std::optional<float> rolloff;
    };

    // Applies `settings` now (deferred) or at the next commit.
    template <class Setter>
    void Change(int32_t apply, Setter&& setter);
    void Apply(const Settings& settings);

    // The 3D voices of the device, which take the roll-off factor and whose
    // deferred settings the commit applies.
    void Attach(Voice* voice) { voices_.push_back(voice); }
    void Detach(Voice* voice);
    float Rolloff() const { return rolloff_; }

    std::shared_ptr<AudioDevice> device_;
    Settings pending_;
    float rolloff_ = 1;
    std::vector<Voice*> voices_;
};

}  // namespace sound
