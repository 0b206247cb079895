#include "web/web_host.h"

#include <cstdlib>

std::string WebHostFromEnvironment() {
    const char* host = std::getenv("QUELLMAR_WEB_HOST");
    return host ? host : "";
}
