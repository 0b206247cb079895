#include "platform/rm/pick.h"

#include "platform/failure.h"

namespace rm {

void PickArray::ThrowOutOfRange() { throw Failure(failure_number::SubscriptOutOfRange, "Pick index out of range"); }

}  // namespace rm
