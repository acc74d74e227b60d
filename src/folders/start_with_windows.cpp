#include "folders/start_with_windows.h"

#include "folders/startup_approval.h"

namespace lumivane::start_with_windows {

namespace {
constexpr auto kMachine = platform::RegistryRoot::LocalMachine;
constexpr auto kUser = platform::RegistryRoot::CurrentUser;

RootState readRoot(platform::Registry& registry, platform::RegistryRoot root) {
    RootState state;
    state.present = !platform::stringValue(registry, root, kRunSubkey, kRunValueName).empty();
    // Switched off in Windows's own list, the value stays but does not run.
    state.runs = state.present && !startup_approval::runValueMarkedDisabled(registry, root, kRunValueName);
    return state;
}

long writeRoot(platform::Registry& registry, platform::RegistryRoot root, const std::string& data) {
    long status = registry.setString(root, kRunSubkey, kRunValueName, data);
    // Switched off in Windows's list and now on here: Windows's mark says on
    // again, as its own list writes it.
    if (status == platform::kRegSuccess) status = startup_approval::clearDisabledMark(registry, root, kRunValueName);
    return status;
}
} // namespace

StartupState readState(platform::Registry& registry) {
    return {readRoot(registry, kMachine), readRoot(registry, kUser)};
}

std::vector<platform::KeyPlace> watchedKeys(platform::Registry& registry) {
    const auto native = platform::RegistryView::Native;
    return {{kMachine, kRunSubkey},
            {kUser, kRunSubkey},
            {kMachine, startup_approval::markSubkeyFor(kMachine, registry.ownViewIs32BitOn64()), native},
            {kUser, startup_approval::markSubkeyFor(kUser, registry.ownViewIs32BitOn64()), native}};
}

long switchOn(platform::Registry& registry, const std::string& data) {
    long status = writeRoot(registry, kMachine, data);
    // A user without administrator rights starts the program for themselves.
    if (status == platform::kRegAccessDenied) status = writeRoot(registry, kUser, data);
    return status;
}

SwitchOffResult switchOff(platform::Registry& registry, const StartupState& before) {
    SwitchOffResult result;
    if (before.machine.present) result.machineStatus = registry.deleteValue(kMachine, kRunSubkey, kRunValueName);
    if (before.user.present) result.userStatus = registry.deleteValue(kUser, kRunSubkey, kRunValueName);
    return result;
}

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
        return text + ": Windows refused access to the list of programs it loads at startup.";
    if (status != platform::kRegSuccess)
        return text + ": Windows reported error " + std::to_string(status) + ".";
    return text + ": the change did not take effect.";
}

std::string machineValueStaysText() {
    return "Lumivane still loads at startup: an administrator set it to load for every user of this computer.\n\n"
           "It can be switched off in the Startup tab of Task Manager, or by an administrator.";
}

} // namespace lumivane::start_with_windows
