#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace rm {

// Anything a frame can show: mesh builders, meshes and textures (decals).
// Each carries its own name and 32-bit application data.
class Visual : public std::enable_shared_from_this<Visual> {
public:
    virtual ~Visual() = default;

    void SetName(std::string name) { name_ = std::move(name); }
    const std::string& GetName() const { return name_; }
    void SetAppData(int32_t data) { appData_ = data; }
    int32_t GetAppData() const { return appData_; }

protected:
    Visual() = default;
    Visual(const Visual&) = default;
    Visual& operator=(const Visual&) = default;

private:
    std::string name_;
    int32_t appData_ = 0;
};

using VisualPtr = std::shared_ptr<Visual>;

}  // namespace rm
