#pragma once
// A recording notification area: adds, removes and popups land in the shared
// log; the shell's answers and the user's choice are set by the test.
#include "fakes/call_log.h"
#include "platform/tray.h"

#include <string>
#include <vector>

namespace lumivane::fakes {

class FakeTray final : public platform::Tray {
public:
    explicit FakeTray(CallLog& log) : log_(log) {}

    bool accepts = true;       // what the shell answers to an add
    unsigned choice = 0;       // the id the user picks in the next popup, 0 = dismissed
    std::vector<platform::TrayRecord> added;
    std::vector<platform::TrayRecord> removed;
    std::vector<std::vector<platform::PopupLine>> popups;
    std::vector<void*> popupOwners;

    bool add(const platform::TrayRecord& record) override {
        log_.add("trayAdd()");
        added.push_back(record);
        return accepts;
    }
    bool remove(const platform::TrayRecord& record) override {
        log_.add("trayRemove()");
        removed.push_back(record);
        return true;
    }
    unsigned popupAtPointer(void* window, const std::vector<platform::PopupLine>& lines) override {
        log_.add("popup()");
        popups.push_back(lines);
        popupOwners.push_back(window);
        return choice;
    }

private:
    CallLog& log_;
};

} // namespace lumivane::fakes
