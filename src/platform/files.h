#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace lumivane::platform {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool fileExists(const std::string& path) = 0;
    // A directory, not a file; an empty or unreachable path is no folder.
    virtual bool folderExists(const std::string& path) = 0;
    // The whole file's bytes, or nothing when it cannot be read.
    virtual std::optional<std::string> readFile(const std::string& path) = 0;
    // Writes the bytes to a temporary file beside the target and swaps it in,
    // so the target always holds either its old or its new content.
    virtual bool replaceFile(const std::string& path, std::string_view bytes) = 0;
};

} // namespace lumivane::platform
