#include "core/frames.h"

#include "platform/rm/frame.h"

#include <cstdint>
#include <vector>

// Without recursion, as trees read from files may be deep: each level keeps
// the children it had when it was reached, and works through them from the
// last, each emptied before it is detached.
void DetruitEnfants(const std::shared_ptr<rm::Frame>& frame) {
    struct Level {
        std::shared_ptr<rm::Frame> frame;
        rm::FrameArray children;
        int32_t next;  // the child to empty next; -1 when all are detached
    };
    std::vector<Level> levels;
    levels.push_back({frame, frame->GetChildren(), frame->GetChildCount() - 1});
    while (true) {
        Level& level = levels.back();
        if (level.next >= 0) {
            const std::shared_ptr<rm::Frame> child = level.children.GetElement(level.next);
            levels.push_back({child, child->GetChildren(), child->GetChildCount() - 1});
            continue;
        }
        const std::shared_ptr<rm::Frame> emptied = level.frame;
        levels.pop_back();
        if (levels.empty()) return;
        levels.back().frame->DeleteChild(emptied);
        --levels.back().next;
    }
}

void DeleteVisuals(rm::Frame& frame) {
    // Each one is held while it goes: the frame's own list releases it.
    while (frame.GetVisualCount() > 0) frame.DeleteVisual(rm::VisualPtr(frame.GetVisual(frame.GetVisualCount() - 1)));
}
