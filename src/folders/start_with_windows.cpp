#include "folders/start_with_windows.h"

#include "platform/registry.h"

namespace lumivane::start_with_windows {

std::string startupCaption(bool runAtStartup) {
    return runAtStartup ? "Load at Startup" : "Don't Load at Startup";
}

std::string runValueData(const std::string& exeDirectory, const std::string& exeFileName) {
    std::string stem = exeFileName.substr(0, exeFileName.rfind('.'));
    return "\"" + exeDirectory + "\\" + stem + "\"";
}

std::string changeFailedText(bool wanted, long status) {
    std::string text = wanted ? "Lumivane could not be set to load at startup"
                              : "Lumivane could not be removed from the programs loaded at startup";
    if (status == platform::kRegAccessDenied)
        return text + ": administrator rights are needed to change the programs Windows loads at startup.";
    if (status != platform::kRegSuccess)
        return text + ": Windows reported error " + std::to_string(status) + ".";
    return text + ": the change did not take effect.";
}

} // namespace lumivane::start_with_windows
