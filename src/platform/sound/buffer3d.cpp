#include "platform/sound/buffer3d.h"

#include "platform/sound/argument_checks.h"
#include "platform/sound/voice.h"

namespace sound {

void Buffer3D::SetMode(int32_t mode, int32_t apply) { voice_->SetMode(mode, IsDeferred(apply)); }

void Buffer3D::SetPosition(float x, float y, float z, int32_t apply) {
    CheckFinite({x, y, z});
    voice_->SetPosition({x, y, z}, IsDeferred(apply));
}

}  // namespace sound
