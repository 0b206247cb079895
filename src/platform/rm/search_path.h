#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rm {

// Where the 3D services look for the mesh and picture files they are asked to
// load. Names may be written with "\" or "/"; "\" becomes "/" and case is
// kept. A name with a leading "\" is looked for in the folders only; any other
// name is taken as it is when such a file exists, else looked for in the
// folders, in their order.
class SearchPath {
public:
    // Folders joined by ";"; empty parts are dropped.
    void Set(std::string_view folders);
    // The file found for `name`; throws Failure (file not found) when none.
    std::string Find(std::string_view name) const;

private:
    std::vector<std::string> folders_;
};

// "\" turned into "/".
std::string NativeFileName(std::string_view name);

}  // namespace rm
