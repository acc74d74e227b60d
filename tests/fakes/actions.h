#pragma once
// Recording fakes of the operating system as the actions reach it.
#include "actions/frm_turn_mon_off.h"
#include "fakes/call_log.h"
#include "platform/desktop.h"
#include "platform/media_control.h"
#include "platform/process.h"
#include "platform/system_info.h"

#include <map>
#include <set>
#include <string>

namespace lumivane::fakes {

class FakeProcesses final : public platform::Processes, Recorder {
public:
    using Recorder::Recorder;
    // Command lines that start; every other one fails, as a missing program does.
    std::set<std::string> startable;
    bool start(const std::string& commandLine, int showCommand) override {
        return note("start(" + commandLine + "|" + std::to_string(showCommand) + ")", startable.count(commandLine) != 0);
    }
};

class FakeDesktopWindow final : public platform::DesktopWindow, Recorder {
public:
    using Recorder::Recorder;
    std::uint32_t screenSaveValue = 0;
    std::uint32_t screenSaveActiveValue() override { return note("screenSaveActive()", screenSaveValue); }
    void sendSysCommand(unsigned command, std::intptr_t lParam) override {
        log.add("desktopSysCommand(" + std::to_string(command) + "|" + std::to_string(lParam) + ")");
    }
};

class FakeOsVersion final : public platform::OsVersionSource, Recorder {
public:
    using Recorder::Recorder;
    platform::OsVersion version{6, 1, 2};
    platform::OsVersion osVersion() override { return note("osVersion()", version); }
};

class FakeDriveInfo final : public platform::DriveInfo, Recorder {
public:
    using Recorder::Recorder;
    std::string strings;                    // as the system returns them, NULs included
    std::map<std::string, unsigned> types;  // root -> type; others are fixed disks (3)
    std::string logicalDriveStrings() override { return note("logicalDriveStrings()", strings); }
    unsigned driveType(const std::string& root) override {
        return note("driveType(" + root + ")", types.count(root) ? types.at(root) : 3u);
    }
};

class FakeMediaControl final : public platform::MediaControl, Recorder {
public:
    using Recorder::Recorder;
    void sendString(const std::string& command) override { log.add("mci(" + command + ")"); }
};

class FakeTurnMonOffForm final : public TurnMonOffForm, Recorder {
public:
    using Recorder::Recorder;
    void Show() override { log.add("showTurnMonOff()"); }
};

// The cover window's real side, at 15 twips to the pixel.
class FakeTurnMonOffHost final : public TurnMonOffHost, Recorder {
public:
    using Recorder::Recorder;
    TwipsRect outer{4395, 3090, 3645, 2160};
    TwipsRect outerRectTwips() const override { return outer; }
    double twipsPerPixelX() const override { return 15; }
    double twipsPerPixelY() const override { return 15; }
    void setCursorPos(int x, int y) override {
        log.add("setCursorPos(" + std::to_string(x) + "," + std::to_string(y) + ")");
    }
    void sendMonitorPower(std::intptr_t lParam) override { log.add("monitorPower(" + std::to_string(lParam) + ")"); }
    void closeWindow() override { log.add("closeWindow()"); }
};

} // namespace lumivane::fakes
