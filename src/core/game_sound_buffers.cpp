#include "core/game_sound_buffers.h"

#include "platform/sound/buffer.h"
#include "platform/sound/buffer3d.h"

namespace son {

void Play(const std::shared_ptr<sound::Buffer>& buffer, int32_t flags) {
    if (buffer) buffer->Play(flags);
}

void PlayFromStart(const std::shared_ptr<sound::Buffer>& buffer) {
    Play(buffer, 0);
    SetCurrentPosition(buffer, 0);
}

void Stop(const std::shared_ptr<sound::Buffer>& buffer) {
    if (buffer) buffer->Stop();
}

void SetCurrentPosition(const std::shared_ptr<sound::Buffer>& buffer, int32_t bytes) {
    if (buffer) buffer->SetCurrentPosition(bytes);
}

void SetFrequency(const std::shared_ptr<sound::Buffer>& buffer, int32_t hz) {
    if (buffer) buffer->SetFrequency(hz);
}

void SetPosition(const std::shared_ptr<sound::Buffer3D>& buffer, float x, float y, float z, int32_t apply) {
    if (buffer) buffer->SetPosition(x, y, z, apply);
}

int32_t GetCurrentPosition(const std::shared_ptr<sound::Buffer>& buffer) {
    return buffer ? buffer->GetCurrentPosition() : 0;
}

int32_t GetAvgBytesPerSec(const std::shared_ptr<sound::Buffer>& buffer) {
    return buffer ? buffer->GetFormat().lAvgBytesPerSec : 0;
}

}  // namespace son
