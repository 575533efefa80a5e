#include "SpaceText.h"

uint64_t KilobytesShown(uint64_t bytes)
{
    return bytes == 0 ? 0 : bytes / 1024 + 1;
}

std::string SpaceRoot(const std::string& path)
{
    if (path.compare(0, 2, "\\\\") == 0) {
        size_t server = path.find('\\', 2);
        size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
        return (share == std::string::npos ? path : path.substr(0, share)) + "\\";
    }
    if (path.empty())
        return std::string();
    return path.substr(0, 1) + ":\\";
}

bool HasWildcards(const std::string& path)
{
    return path.find_first_of("*?") != std::string::npos;
}

bool IsAbsolutePath(const std::string& path)
{
    if (path.compare(0, 2, "\\\\") == 0)
        return path.size() > 2 && path[2] != '\\';
    char drive = path.empty() ? 0 : (char)(path[0] | 0x20);
    return drive >= 'a' && drive <= 'z' && path.compare(1, 2, ":\\") == 0;
}
