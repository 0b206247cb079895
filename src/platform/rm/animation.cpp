#include "platform/rm/animation.h"

#include "platform/failure.h"
#include "platform/rm/frame.h"

#include <algorithm>
#include <cmath>

namespace rm {
namespace {

// The keys around `time` and how far between them it lies.
template <class KeyList>
void Around(const KeyList& keys, float time, size_t& before, size_t& after, float& fraction) {
    const auto next =
        std::upper_bound(keys.begin(), keys.end(), time, [](float t, const auto& key) { return t < key.time; });
    if (next == keys.begin()) {
        before = after = 0;
        fraction = 0;
    } else if (next == keys.end()) {
        before = after = keys.size() - 1;
        fraction = 0;
    } else {
        after = size_t(next - keys.begin());
        before = after - 1;
        const float span = keys[after].time - keys[before].time;
        fraction = span > 0 ? (time - keys[before].time) / span : 0;
    }
}

}  // namespace

template <class Value>
void Animation::Insert(std::vector<Key<Value>>& keys, float time, const Value& value) {
    const auto at =
        std::lower_bound(keys.begin(), keys.end(), time, [](const Key<Value>& key, float t) { return key.time < t; });
    if (at != keys.end() && at->time == time)
        at->value = value;
    else
        keys.insert(at, {time, value});
}

void Animation::AddRotateKey(float time, const Quaternion& rotation) { Insert(rotations_, time, rotation); }

void Animation::AddPositionKey(float time, float x, float y, float z) { Insert(positions_, time, Vector{x, y, z}); }

float Animation::Wrap(float time, float first, float last) const {
    if (!(options_ & animation_option::Closed) || last <= first) return time;
    const float span = last - first;
    float offset = std::fmod(time - first, span);
    if (offset < 0) offset += span;
    return first + offset;
}

void Animation::SetTime(float time) const {
    const FramePtr frame = frame_.lock();
    if (!frame || (rotations_.empty() && positions_.empty())) return;
    // The span of all keys of either kind.
    float first = 0, last = 0;
    if (!rotations_.empty() && !positions_.empty()) {
        first = std::min(rotations_.front().time, positions_.front().time);
        last = std::max(rotations_.back().time, positions_.back().time);
    } else if (!rotations_.empty()) {
        first = rotations_.front().time;
        last = rotations_.back().time;
    } else {
        first = positions_.front().time;
        last = positions_.back().time;
    }
    const float t = Wrap(time, first, last);

    Matrix4 pose = frame->LocalTransform();
    if (!rotations_.empty()) {
        size_t a, b;
        float k;
        Around(rotations_, t, a, b, k);
        const Matrix4 turn = QuaternionMatrix(QuaternionSlerp(rotations_[a].value, rotations_[b].value, k));
        for (int row = 0; row < 3; ++row) SetRow(pose, row, Row(turn, row));
    }
    if (!positions_.empty()) {
        size_t a, b;
        float k;
        Around(positions_, t, a, b, k);
        const Vector& p = positions_[a].value;
        const Vector& q = positions_[b].value;
        SetRow(pose, 3, p + (q - p) * k);
    }
    frame->AddTransform(combine::Replace, pose);
}

void AnimationSet::AddAnimation(const AnimationPtr& animation) {
    if (!animation) throw Failure(failure_number::ObjectNotSet, "No animation to add");
    animations_.push_back(animation);
}

void AnimationSet::SetTime(float time) const {
    for (const AnimationPtr& animation : animations_) animation->SetTime(time);
}

}  // namespace rm
