// The popup's start-with-Windows item: the Run value read, switched and shown.
#include "folders/registry_values.h"
#include "folders/start_with_windows.h"
#include "folders/startup_approval.h"
#include "shell/hub.h"

namespace lumivane {

namespace {
constexpr auto kMachine = platform::RegistryRoot::LocalMachine;
} // namespace

void Hub::readStartWithWindows() {
    startsWithWindows = !registry_values::stringValue(os_.registry, kMachine, start_with_windows::kRunSubkey,
                                                      start_with_windows::kRunValueName)
                             .empty() &&
                        // Switched off in Windows's own list, the value stays but does not run.
                        !startup_approval::runValueMarkedDisabled(os_.registry, kMachine,
                                                                  start_with_windows::kRunValueName);
}

void Hub::updateStartWithWindowsCaption() {
    if (MenuItem* item = popupMenu.find("startWithWindows"))
        item->caption = start_with_windows::startupCaption(startsWithWindows);
}

void Hub::onStartWithWindows() {
    setStartWithWindows(!startsWithWindows);
}

void Hub::setStartWithWindows(bool wanted) {
    using namespace start_with_windows;
    long status = wanted ? registry_values::setStringValue(os_.registry, kMachine, kRunSubkey, kRunValueName,
                                                           runValueData(os_.exeDirectory, os_.exeFileName))
                         : registry_values::deleteValue(os_.registry, kMachine, kRunSubkey, kRunValueName);
    // Switched off in Windows's list and now on here: Windows's mark says on
    // again, as its own list writes it. Switching off leaves the mark alone.
    if (wanted && status == platform::kRegSuccess)
        status = startup_approval::clearDisabledMark(os_.registry, kMachine, kRunValueName);
    // The flag and the caption show what the registry holds now, whatever was asked.
    readStartWithWindows();
    updateStartWithWindowsCaption();
    if (startsWithWindows != wanted)
        os_.boxes.show(changeFailedText(wanted, status), kAppTitle, platform::kMbOk | platform::kMbIconExclamation);
}

} // namespace lumivane
