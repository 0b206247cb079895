#include "core/frames.h"

#include "platform/rm/frame.h"

#include <cstdint>

void DetruitEnfants(const std::shared_ptr<rm::Frame>& frame) {
    const rm::FrameArray children = frame->GetChildren();
    for (int32_t i = children.GetSize() - 1; i >= 0; --i) {
        DetruitEnfants(children.GetElement(i));
        frame->DeleteChild(children.GetElement(i));
    }
}
