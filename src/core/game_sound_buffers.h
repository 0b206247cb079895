#pragma once

// The calls the game makes on its sound buffers. A buffer whose file did not
// load, or that was never loaded because the game runs without sound, stays
// unset; every call on an unset buffer does nothing, so a missing sound never
// stops the game. Failures of a set buffer pass to the caller.

#include <cstdint>
#include <memory>

namespace sound {
class Buffer;
class Buffer3D;
}  // namespace sound

namespace son {

void Play(const std::shared_ptr<sound::Buffer>& buffer, int32_t flags);
// Plays once from the start: the play position goes to 0 as it starts.
void PlayFromStart(const std::shared_ptr<sound::Buffer>& buffer);
void Stop(const std::shared_ptr<sound::Buffer>& buffer);
void SetCurrentPosition(const std::shared_ptr<sound::Buffer>& buffer, int32_t bytes);
void SetFrequency(const std::shared_ptr<sound::Buffer>& buffer, int32_t hz);
void SetPosition(const std::shared_ptr<sound::Buffer3D>& buffer, float x, float y, float z, int32_t apply);
// The play cursor in bytes; 0 for an unset buffer, as for one at its start.
int32_t GetCurrentPosition(const std::shared_ptr<sound::Buffer>& buffer);
// The average bytes per second of the buffer's format; 0 for an unset one.
int32_t GetAvgBytesPerSec(const std::shared_ptr<sound::Buffer>& buffer);

}  // namespace son
