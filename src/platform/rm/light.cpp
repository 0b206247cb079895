#include "platform/rm/light.h"

#include "platform/failure.h"

namespace rm {

Light::Light(int32_t type, ColorRGB color) : type_(type), color_(color) {
    if (type < light_type::Ambient || type > light_type::Directional)
        throw Failure(failure_number::InvalidArgument, "Unknown light type " + std::to_string(type));
}

}  // namespace rm
