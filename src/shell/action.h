#pragma once
#include <variant>

namespace lumivane {

// What the user asked the hub to do, however it was asked: a popup item, a
// command line, or a command handed over by a second copy. The hub runs it
// with Hub::run.
struct OpenFolder {
    int slot = 0;  // 0 to 9: the customize dialog's row number less one
    bool operator==(const OpenFolder&) const = default;
};
struct CdDoor {
    char drive = 0;    // the drive's letter, upper case
    bool open = true;  // false: close it
    bool operator==(const CdDoor&) const = default;
};
struct RunScreenSaver {
    bool operator==(const RunScreenSaver&) const = default;
};
struct TurnMonitorOff {
    bool operator==(const TurnMonitorOff&) const = default;
};
// The popup's start-up item: the setting in force, switched.
struct SwitchStartWithWindows {
    bool operator==(const SwitchStartWithWindows&) const = default;
};
struct SetStartWithWindows {
    bool on = true;
    bool operator==(const SetStartWithWindows&) const = default;
};
struct Customize {
    bool operator==(const Customize&) const = default;
};
struct About {
    bool operator==(const About&) const = default;
};
struct Exit {
    bool operator==(const Exit&) const = default;
};
// The popup menu, at the mouse pointer.
struct OpenMenu {
    bool operator==(const OpenMenu&) const = default;
};

using Action = std::variant<OpenFolder, CdDoor, RunScreenSaver, TurnMonitorOff, SwitchStartWithWindows,
                            SetStartWithWindows, Customize, About, Exit, OpenMenu>;

// One handler an alternative, for std::visit: an action without its handler
// does not compile.
template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

} // namespace lumivane
