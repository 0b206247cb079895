#include "platform/play/byte_io.h"

#include "platform/failure.h"
#include "platform/play/errors.h"

namespace play {

void ByteReader::Fail(const char* why) { throw Failure(error::ReadPastEnd, why); }

}  // namespace play
