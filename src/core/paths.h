#pragma once

#include <string>
#include <string_view>

// The game writes its paths with "\" below the executable's folder; this turns
// one into a path of this system. Names keep their case.
std::string NativePath(std::string_view gamePath);

// `name` below `folder`, with exactly one separator between them whether or
// not `name` starts with "\" or "/", or `folder` ends with one.
std::string JoinPath(std::string_view folder, std::string_view name);
