#include "models/animation_file.h"

#include "core/quaternions.h"
#include "core/text.h"
#include "models/model_text.h"
#include "platform/failure.h"

#include <string_view>
#include <vector>

namespace {

bool NextLine(std::istream& file, std::string& line) {
    if (!std::getline(file, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = Trim(line);
    return true;
}

bool Contains(std::string_view line, std::string_view word) { return line.find(word) != std::string_view::npos; }

// The node block: node j of the file keys bone map element j.
std::vector<rm::FramePtr> ReadNodes(std::istream& file, bool upperBody, int32_t boneCount,
                                    const std::function<rm::FramePtr(const std::string&)>& findBone) {
    std::vector<rm::FramePtr> bones(size_t(boneCount) + 1);
    int32_t childrenOfNodeOne = 0;
    std::string line;
    for (size_t j = 0; NextLine(file, line) && line != "end"; ++j) {
        if (j >= bones.size())
            throw Failure(failure_number::SubscriptOutOfRange, "More nodes in the animation than bones in the model");
        const size_t open = line.find('"');
        const size_t close = open == std::string::npos ? std::string::npos : line.find('"', open + 1);
        if (close == std::string::npos) throw Failure(failure_number::InvalidArgument, "Node line without its name");
        if (ModelIndex(std::string_view(line).substr(close + 1)) == 1) ++childrenOfNodeOne;
        if (!upperBody || childrenOfNodeOne == 1)
            bones[j] = findBone(BoneName(line.substr(open + 1, close - open - 1)));
    }
    return bones;
}

rm::Animation& AnimationOf(rm::AnimationSet& set, const rm::FramePtr& bone) {
    for (const rm::AnimationPtr& animation : set.GetAnimations())
        if (animation->GetFrame() == bone) return *animation;
    rm::AnimationPtr animation = std::make_shared<rm::Animation>();
    animation->SetFrame(bone);
    animation->SetOptions(rm::animation_option::Closed | rm::animation_option::LinearPosition |
                          rm::animation_option::ScaleAndRotation | rm::animation_option::Position);
    set.AddAnimation(animation);
    return *animation;
}

void ReadKey(std::string_view line, float time, rm::AnimationSet& set, const std::vector<rm::FramePtr>& bones) {
    const auto fields = SplitFields(line, 7);
    const int32_t node = ModelIndex(fields[0]);
    if (node < 0 || size_t(node) >= bones.size())
        throw Failure(failure_number::SubscriptOutOfRange, "Animation key for a node the file did not list");
    const rm::FramePtr& bone = bones[size_t(node)];
    if (!bone) return;
    double numbers[6];
    for (size_t i = 0; i < 6; ++i) numbers[i] = ModelNumber(fields[i + 1]);
    const float x = float(numbers[0]), y = float(numbers[1]), z = float(numbers[2]);
    const bool first = set.GetAnimations().empty() || set.GetAnimations().front()->GetFrame() == bone;
    rm::Animation& animation = AnimationOf(set, bone);
    // The file's first two axes are exchanged, as in the rest pose.
    if (first)
        animation.AddPositionKey(time, 0, x, z);
    else
        animation.AddPositionKey(time, y, x, z);
    animation.AddRotateKey(time, QuatEuler({float(numbers[4]), float(numbers[3]), float(numbers[5])}));
}

}  // namespace

int32_t ReadAnimationFile(std::istream& file, rm::AnimationSet& set, bool upperBody, int32_t boneCount,
                          const std::function<rm::FramePtr(const std::string&)>& findBone) {
    std::vector<rm::FramePtr> bones;
    int32_t lastTime = 0;
    std::string line;
    while (NextLine(file, line)) {
        if (line == "nodes") {
            bones = ReadNodes(file, upperBody, boneCount, findBone);
        } else if (Contains(line, "time")) {
            const size_t blank = line.find(' ');
            if (blank == std::string::npos)
                throw Failure(failure_number::InvalidArgument, "Key block without its time");
            lastTime = ModelIndex(std::string_view(line).substr(blank));
            while (NextLine(file, line) && !Contains(line, "time") && line != "end")
                ReadKey(line, float(lastTime), set, bones);
        }
    }
    return lastTime;
}
