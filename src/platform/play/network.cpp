#include "platform/play/network.h"

#include "platform/failure.h"
#include "platform/play/errors.h"

#include <enet/enet.h>

#include <cstdlib>
#include <mutex>
#include <string>

namespace play {

uint16_t DefaultPort() {
    const char* text = std::getenv("QUELLMAR_PLAY_PORT");
    if (!text || !*text) return BuiltInDefaultPort;
    char* end = nullptr;
    const long port = std::strtol(text, &end, 10);
    if (*end != '\0' || port < 1 || port > 65535) return BuiltInDefaultPort;
    return static_cast<uint16_t>(port);
}

void EnsureEnet() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = enet_initialize() == 0; });
    if (!ready) throw Failure(error::Generic, "the network library could not start");
}

}  // namespace play
