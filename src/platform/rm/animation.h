#pragma once

#include "platform/rm/math.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rm {

class Frame;

// Animation options, as bits.
namespace animation_option {
inline constexpr int32_t Open = 1;
inline constexpr int32_t Closed = 2;  // time wraps at the last key
inline constexpr int32_t LinearPosition = 4;
inline constexpr int32_t SplinePosition = 8;
inline constexpr int32_t ScaleAndRotation = 16;
inline constexpr int32_t Position = 32;
}  // namespace animation_option

// Keys for one frame. SetTime poses the frame relative to its parent: the
// rotation interpolated between the quaternion keys around it (the shorter
// arc), the position linearly between its keys. A frame keeps the part of its
// pose (rotation or position) that has no keys. Closed animations wrap the
// time into the span from the first to the last key; open ones hold the end
// keys outside it. A key added at the time of another replaces it.
class Animation {
public:
    void SetOptions(int32_t options) { options_ = options; }
    int32_t GetOptions() const { return options_; }
    void SetFrame(const std::shared_ptr<Frame>& frame) { frame_ = frame; }
    std::shared_ptr<Frame> GetFrame() const { return frame_.lock(); }
    void AddRotateKey(float time, const Quaternion& rotation);
    void AddPositionKey(float time, float x, float y, float z);
    void SetTime(float time) const;

    int32_t GetRotateKeyCount() const { return static_cast<int32_t>(rotations_.size()); }

private:
    template <class Value>
    struct Key {
        float time;
        Value value;
    };
    template <class Value>
    static void Insert(std::vector<Key<Value>>& keys, float time, const Value& value);
    float Wrap(float time, float first, float last) const;

    int32_t options_ = animation_option::Closed | animation_option::LinearPosition |
                       animation_option::ScaleAndRotation | animation_option::Position;
    std::weak_ptr<Frame> frame_;
    std::vector<Key<Quaternion>> rotations_;
    std::vector<Key<Vector>> positions_;
};

using AnimationPtr = std::shared_ptr<Animation>;

// Animations played together; SetTime poses every animated frame. The set
// holds its animations; an animation holds its frame weakly.
class AnimationSet {
public:
    void AddAnimation(const AnimationPtr& animation);
    const std::vector<AnimationPtr>& GetAnimations() const { return animations_; }
    void SetTime(float time) const;
    void SetName(std::string name) { name_ = std::move(name); }
    const std::string& GetName() const { return name_; }
    void SetAppData(int32_t data) { appData_ = data; }
    int32_t GetAppData() const { return appData_; }

private:
    std::vector<AnimationPtr> animations_;
    std::string name_;
    int32_t appData_ = 0;
};

using AnimationSetPtr = std::shared_ptr<AnimationSet>;

}  // namespace rm
