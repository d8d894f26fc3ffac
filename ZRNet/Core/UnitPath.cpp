#include "UnitPath.h"

#include <arpa/inet.h>

bool SplitUnitPath(const std::string& path, std::string& host, std::string& objectPath)
{
    const size_t slash = path.find('/');
    if (slash == std::string::npos)
        return false;
    const std::string first = path.substr(0, slash);
    in_addr address{};
    if (inet_pton(AF_INET, first.c_str(), &address) != 1)
        return false;
    host = first;
    objectPath = path.substr(slash + 1);
    return true;
}
