#pragma once

// The program's fixed web host ("host" or "host:port"): where the account,
// message-board and map-list requests and the downloads go, and the text the
// launcher's web-server box starts with. It comes from QUELLMAR_WEB_HOST,
// read once at the start; empty when that is unset, and then none of those
// requests is sent. It never defaults to a real host: the account request
// carries the player's login and password.

#include "core/shared_state.h"

#include <string>

std::string WebHostFromEnvironment();

inline std::string FixedWebHost = Initial(&FixedWebHost, WebHostFromEnvironment());
