#pragma once
// Recording fakes of the operating system as the actions reach it.
#include "actions/frm_turn_mon_off.h"
#include "fakes/call_log.h"
#include "platform/desktop.h"
#include "platform/media_control.h"
#include "platform/process.h"
#include "platform/system_info.h"

#include <map>
#include <string>

namespace lumivane::fakes {

class FakeProcesses final : public platform::Processes {
public:
    explicit FakeProcesses(CallLog& log) : log_(log) {}
    bool succeeds = true;
    bool start(const std::string& commandLine, int showCommand) override {
        log_.add("start(" + commandLine + "|" + std::to_string(showCommand) + ")");
        return succeeds;
    }

private:
    CallLog& log_;
};

class FakeDesktopWindow final : public platform::DesktopWindow {
public:
    explicit FakeDesktopWindow(CallLog& log) : log_(log) {}
    std::uint32_t screenSaveValue = 0;
    std::uint32_t screenSaveActiveValue() override {
        log_.add("screenSaveActive()");
        return screenSaveValue;
    }
    void sendSysCommand(unsigned command, std::intptr_t lParam) override {
        log_.add("desktopSysCommand(" + std::to_string(command) + "|" + std::to_string(lParam) + ")");
    }

private:
    CallLog& log_;
};

class FakeOsVersion final : public platform::OsVersionSource {
public:
    explicit FakeOsVersion(CallLog& log) : log_(log) {}
    platform::OsVersion version{6, 1, 2};
    platform::OsVersion osVersion() override {
        log_.add("osVersion()");
        return version;
    }

private:
    CallLog& log_;
};

class FakeDriveInfo final : public platform::DriveInfo {
public:
    explicit FakeDriveInfo(CallLog& log) : log_(log) {}
    std::string strings;                   // as the system returns them, NULs included
    std::map<std::string, unsigned> types;  // root -> type; others are fixed disks (3)
    std::string logicalDriveStrings() override {
        log_.add("logicalDriveStrings()");
        return strings;
    }
    unsigned driveType(const std::string& root) override {
        log_.add("driveType(" + root + ")");
        auto it = types.find(root);
        return it == types.end() ? 3u : it->second;
    }

private:
    CallLog& log_;
};

class FakeMediaControl final : public platform::MediaControl {
public:
    explicit FakeMediaControl(CallLog& log) : log_(log) {}
    void sendString(const std::string& command) override { log_.add("mci(" + command + ")"); }

private:
    CallLog& log_;
};

class FakeTurnMonOffForm final : public TurnMonOffForm {
public:
    explicit FakeTurnMonOffForm(CallLog& log) : log_(log) {}
    void Show() override { log_.add("showTurnMonOff()"); }

private:
    CallLog& log_;
};

// The cover window's real side: its outer rectangle and the screen's scale.
class FakeTurnMonOffHost final : public TurnMonOffHost {
public:
    explicit FakeTurnMonOffHost(CallLog& log) : log_(log) {}
    TwipsRect outer{4395, 3090, 3645, 2160};
    double tppX = 15, tppY = 15;
    bool open = true;

    TwipsRect outerRectTwips() const override { return outer; }
    double twipsPerPixelX() const override { return tppX; }
    double twipsPerPixelY() const override { return tppY; }
    void setCursorPos(int x, int y) override {
        log_.add("setCursorPos(" + std::to_string(x) + "," + std::to_string(y) + ")");
    }
    void sendMonitorPower(std::intptr_t lParam) override { log_.add("monitorPower(" + std::to_string(lParam) + ")"); }
    void closeWindow() override {
        log_.add("closeWindow()");
        open = false;
    }

private:
    CallLog& log_;
};

} // namespace lumivane::fakes
