#include "platform/input/direct_input.h"

#include "platform/failure.h"
#include "platform/input/input_failures.h"
#include "platform/input/system_input.h"

#include <QString>

namespace input {

std::shared_ptr<Device> DirectInput::CreateDevice(const std::string& guid) {
    const QString name = QString::fromStdString(guid);
    if (name.compare("GUID_SysKeyboard", Qt::CaseInsensitive) == 0) {
        return std::make_shared<Device>(Device::Kind::Keyboard);
    }
    if (name.compare("GUID_SysMouse", Qt::CaseInsensitive) == 0) return std::make_shared<Device>(Device::Kind::Mouse);
    throw Failure(failure::DeviceNotRegistered, "No input device " + guid);
}

std::shared_ptr<DirectInput> DirectInputCreate() {
    SystemInput::Instance();
    return std::make_shared<DirectInput>();
}

}  // namespace input
