#include "platform/process.h"

namespace lumivane::platform {

std::optional<std::string> programToStart(const std::string& commandLine, const std::string& windowsFolder,
                                          const std::string& systemFolder,
                                          const std::function<bool(const std::string&)>& exists) {
    std::string program;
    if (!commandLine.empty() && commandLine.front() == '"') {
        const auto close = commandLine.find('"', 1);
        program = commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else {
        program = commandLine.substr(0, commandLine.find_first_of(" \t"));
    }
    if (program.empty()) return std::nullopt;
    if (program.find_first_of("\\/:") != std::string::npos) return program;
    // The search path would look in the program's own folder first, where a
    // file of that name may have been put beside it.
    if (program.find('.') == std::string::npos) program += ".exe";
    for (const std::string* folder : {&windowsFolder, &systemFolder}) {
        if (folder->empty()) continue;
        std::string path = *folder + (folder->back() == '\\' ? "" : "\\") + program;
        if (exists(path)) return path;
    }
    return std::nullopt;
}

} // namespace lumivane::platform
