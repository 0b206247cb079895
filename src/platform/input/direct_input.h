#pragma once

#include "platform/input/device.h"

#include <memory>
#include <string>

namespace input {

// Hands out the system keyboard ("GUID_SysKeyboard") and mouse
// ("GUID_SysMouse"); the names are compared without regard to case. Any
// other name is a failure (device not registered).
class DirectInput {
public:
    std::shared_ptr<Device> CreateDevice(const std::string& guid);
};

// Starts listening to the system's keyboard and mouse (the application
// object must exist), so that keys pressed from now on are seen.
std::shared_ptr<DirectInput> DirectInputCreate();

}  // namespace input
