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
    // Whether replaceFile may write this file: a new file can be made in its
    // folder, and an existing one is not refused for writing. Changes nothing
    // and leaves nothing behind.
    virtual bool mayWrite(const std::string& path) = 0;
    // Makes the folder in its existing parent; true when it exists afterwards.
    virtual bool makeFolder(const std::string& path) = 0;
    // The user's roaming application data folder (%APPDATA%), or "" when the
    // system names none.
    virtual std::string roamingAppData() = 0;
};

} // namespace lumivane::platform
