#pragma once

#include <string>

// A path that names a unit begins with the unit's IPv4 address and "/"; the
// rest is the object's path on that unit. False for a local path.
bool SplitUnitPath(const std::string& path, std::string& host, std::string& objectPath);
