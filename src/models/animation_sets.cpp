#include "core/paths.h"
#include "core/text.h"
#include "models/animation_file.h"
#include "models/mdl.h"
#include "platform/failure.h"

#include <fstream>

namespace {

const rm::AnimationSetPtr& SetAt(const std::vector<rm::AnimationSetPtr>& sets, int32_t index) {
    if (index < 0 || size_t(index) >= sets.size())
        throw Failure(failure_number::SubscriptOutOfRange, "No animation set " + std::to_string(index));
    return sets[size_t(index)];
}

}  // namespace

// A file that cannot be opened adds no set; any other fault ends the reading
// silently, keeping the set with the keys read so far and a length of 0.
void MDL::CreeAnim(const std::string& nom, int32_t) {
    std::ifstream file(NativePath(RepModele + nom + ".smd"));
    if (!file) return;
    const rm::AnimationSetPtr set = std::make_shared<rm::AnimationSet>();
    // "x_blend" names the upper-body set x.
    const int32_t blend = InStr(nom, "blend");
    set->SetName(blend > 0 ? Left(nom, blend - 2) : nom);
    Animations.push_back(set);
    ++NbAni;
    try {
        set->SetAppData(ReadAnimationFile(file, *set, blend > 0, NbFrames,
                                          [this](const std::string& bone) { return ChercheFrames(bone); }));
    } catch (const std::exception&) {
    }
}

int32_t MDL::RenvAnimations(std::string_view laquelle) const {
    for (int32_t i = 0; i < NbAni; ++i)
        if (laquelle.find(Animations[size_t(i)]->GetName()) != std::string_view::npos) return i;
    return 0;
}

int32_t MDL::RenvAniMax(int32_t laquelle) const { return SetAt(Animations, laquelle)->GetAppData(); }

std::string MDL::RenvAniText(int32_t nb) const { return SetAt(Animations, nb)->GetName(); }
