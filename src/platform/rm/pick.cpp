#include "platform/rm/pick.h"

#include "platform/failure.h"

namespace rm {

const VisualPtr& PickArray::GetPickVisual(int32_t index, PickRecord& record) const {
    if (index < 0 || index >= GetSize()) throw Failure(failure_number::SubscriptOutOfRange, "Pick index out of range");
    record = hits_[index].record;
    return hits_[index].visual;
}

}  // namespace rm
