#include "folders/start_with_windows.h"

#include "folders/registry_values.h"
#include "shell/hub.h"

namespace lumivane {

namespace start_with_windows {

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

} // namespace start_with_windows

void Hub::readStartWithWindows() {
    startsWithWindows = !registry_values::stringValue(os_.registry, platform::RegistryRoot::LocalMachine, start_with_windows::kRunSubkey,
                                            start_with_windows::kRunValueName)
                        .empty();
}

void Hub::updateStartWithWindowsCaption() {
    if (MenuItem* item = popupMenu.find("startWithWindows")) item->caption = start_with_windows::startupCaption(startsWithWindows);
}

void Hub::onStartWithWindows() {
    const bool wanted = !startsWithWindows;
    long status = wanted ? registry_values::setStringValue(os_.registry, platform::RegistryRoot::LocalMachine,
                                                   start_with_windows::kRunSubkey, start_with_windows::kRunValueName,
                                                   start_with_windows::runValueData(os_.exeDirectory, os_.exeFileName))
                         : registry_values::deleteValue(os_.registry, platform::RegistryRoot::LocalMachine,
                                                start_with_windows::kRunSubkey, start_with_windows::kRunValueName);
    // The flag and the caption show what the registry holds now, whatever was asked.
    readStartWithWindows();
    updateStartWithWindowsCaption();
    if (startsWithWindows != wanted)
        os_.boxes.show(start_with_windows::changeFailedText(wanted, status), kAppTitle,
                       platform::kMbOk | platform::kMbIconExclamation);
}

} // namespace lumivane
