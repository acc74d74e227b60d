// The popup's start-with-Windows item: the Run values read, switched and shown.
#include "folders/start_with_windows.h"
#include "shell/hub.h"

namespace lumivane {

start_with_windows::StartupState Hub::readStartWithWindows() {
    // Armed before the read, so that a change made meanwhile is not missed.
    startupWatch_ = os_.registry.watch(start_with_windows::watchedKeys(os_.registry));
    const auto state = start_with_windows::readState(os_.registry);
    startsWithWindows = state.runs();
    return state;
}

void Hub::refreshStartWithWindows() {
    // Start-up can be switched in Windows's own list, or in the registry, while
    // the program runs. Only a change the registry reported is read, so the
    // menu opens without a registry call.
    if (startupWatch_ && !startupWatch_->changed()) return;
    readStartWithWindows();
    updateStartWithWindowsCaption();
}

void Hub::updateStartWithWindowsCaption() {
    if (MenuItem* item = popupMenu.find("startWithWindows"))
        item->caption = start_with_windows::startupCaption(startsWithWindows);
}

void Hub::onStartWithWindows() {
    setStartWithWindows(!startsWithWindows);
}

void Hub::setStartWithWindows(bool on) {
    using namespace start_with_windows;
    const StartupState before = readState(os_.registry);
    long status = platform::kRegSuccess;
    SwitchOffResult removal;
    // A second value beside one that runs would start a second copy at log-on.
    if (on && !before.runs())
        status = switchOn(os_.registry, runValueData(os_.exeDirectory, os_.exeFileName));
    else if (!on)
        removal = switchOff(os_.registry, before);
    // The flag and the caption show what the registry holds now, whatever was asked.
    const StartupState now = readStartWithWindows();
    updateStartWithWindowsCaption();
    if (startsWithWindows == on) return;
    std::string text;
    if (on)
        text = changeFailedText(true, status);
    else if (now.machine.runs && removal.machineStatus == platform::kRegAccessDenied)
        text = machineValueStaysText();
    else
        text = changeFailedText(false, now.machine.runs ? removal.machineStatus : removal.userStatus);
    os_.boxes.show(text, kAppTitle, platform::kMbOk | platform::kMbIconExclamation);
}

} // namespace lumivane
