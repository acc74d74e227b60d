#include "folders/start_with_windows.h"

#include "folders/reg_plus.h"
#include "folders/startup_approval.h"
#include "shell/frm_folder_browse.h"

namespace lumivane {

namespace startup {

std::string StartupCaption(bool runAtStartup) {
    return runAtStartup ? "Load at Startup" : "Don't Load at Startup";
}

std::string RunValueData(const std::string& exeDirectory, const std::string& exeFileName) {
    std::string stem = exeFileName.substr(0, exeFileName.rfind('.'));
    return "\"" + exeDirectory + "\\" + stem + "\"";
}

std::string ChangeFailedText(bool wanted, long status) {
    std::string text = wanted ? "Lumivane could not be set to load at startup"
                              : "Lumivane could not be removed from the programs loaded at startup";
    if (status == platform::kRegAccessDenied)
        return text + ": administrator rights are needed to change the programs Windows loads at startup.";
    if (status != platform::kRegSuccess)
        return text + ": Windows reported error " + std::to_string(status) + ".";
    return text + ": the change did not take effect.";
}

} // namespace startup

void frmFolderBrowse::LoadSettings() {
    RunAtStartup = !RegPlus::GetStringValue(os_.registry, platform::RegistryRoot::LocalMachine, startup::kRunSubkey,
                                            startup::kRunValueName)
                        .empty() &&
                   // Switched off in Windows's own list, the value stays but does not run.
                   !startup::RunValueMarkedDisabled(os_.registry, platform::RegistryRoot::LocalMachine,
                                                    startup::kRunValueName);
}

void frmFolderBrowse::UpdateStartupCaption() {
    if (MenuItem* item = mnuPopup.find("mnuRunAtStartUp")) item->caption = startup::StartupCaption(RunAtStartup);
}

void frmFolderBrowse::mnuRunAtStartUp_Click() {
    const bool wanted = !RunAtStartup;
    long status = wanted ? RegPlus::SetStringValue(os_.registry, platform::RegistryRoot::LocalMachine,
                                                   startup::kRunSubkey, startup::kRunValueName,
                                                   startup::RunValueData(os_.exeDirectory, os_.exeFileName))
                         : RegPlus::DeleteValue(os_.registry, platform::RegistryRoot::LocalMachine,
                                                startup::kRunSubkey, startup::kRunValueName);
    // Switched off in Windows's list and now on here: Windows's mark says on
    // again, as its own list writes it. Switching off leaves the mark alone.
    if (wanted && status == platform::kRegSuccess)
        status = startup::ClearDisabledMark(os_.registry, platform::RegistryRoot::LocalMachine, startup::kRunValueName);
    // The flag and the caption show what the registry holds now, whatever was asked.
    LoadSettings();
    UpdateStartupCaption();
    if (RunAtStartup != wanted)
        os_.boxes.show(startup::ChangeFailedText(wanted, status), kAppTitle,
                       platform::kMbOk | platform::kMbIconExclamation);
}

} // namespace lumivane
