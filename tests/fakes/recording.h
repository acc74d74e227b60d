#pragma once
// Recording fakes of the operating-system seam: every call lands in one shared
// log, so tests can check which operations ran, with which arguments, in which
// order.
#include "fakes/actions.h"
#include "fakes/call_log.h"
#include "fakes/registry.h"
#include "folders/folder_slots.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/folder_picker.h"
#include "platform/instance.h"
#include "platform/menu_engine.h"
#include "platform/text_codec.h"
#include "platform/tray.h"
#include "shell/frm_folder_browse.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace lumivane::fakes {

// Latin-1 stands in for the ANSI code page: code points above 0xFF have no form.
class Latin1Codec final : public platform::AnsiCodec {
public:
    std::optional<std::string> toAnsi(std::string_view utf8) const override {
        std::string out;
        for (size_t i = 0; i < utf8.size(); ++i) {
            auto c = static_cast<unsigned char>(utf8[i]);
            if (c < 0x80) {
                out += static_cast<char>(c);
                continue;
            }
            // Lead bytes C2 and C3 are the only well-formed starts of U+0080..U+00FF.
            if ((c != 0xC2 && c != 0xC3) || i + 1 == utf8.size() || (utf8[i + 1] & 0xC0) != 0x80) return std::nullopt;
            out += static_cast<char>(((c & 0x03) << 6) | (utf8[++i] & 0x3F));
        }
        return out;
    }
    std::string fromAnsi(std::string_view ansi) const override {
        std::string out;
        for (unsigned char c : ansi) {
            if (c >= 0x80) out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(c < 0x80 ? c : 0x80 | (c & 0x3F));
        }
        return out;
    }
};

class FakeFileSystem final : public platform::FileSystem, Recorder {
public:
    using Recorder::Recorder;
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> unwritable;  // paths whose replace fails
    std::set<std::string> unreadable;

    bool fileExists(const std::string& path) override { return note("fileExists(" + path + ")", files.count(path) != 0); }
    bool folderExists(const std::string& path) override {
        return note("folderExists(" + path + ")", folders.count(path) != 0);
    }
    std::optional<std::string> readFile(const std::string& path) override {
        log.add("readFile(" + path + ")");
        if (unreadable.count(path) || !files.count(path)) return std::nullopt;
        return files[path];
    }
    bool replaceFile(const std::string& path, std::string_view bytes) override {
        log.add("replaceFile(" + path + ")");
        if (unwritable.count(path)) return false;
        files[path] = std::string(bytes);
        return true;
    }
};

class FakeMessageBoxes final : public platform::MessageBoxes, Recorder {
public:
    using Recorder::Recorder;
    void show(const std::string& text, const std::string& title, unsigned style) override {
        log.add("messageBox(" + text + "|" + title + "|" + std::to_string(style) + ")");
    }
};

class FakeInstanceLock final : public platform::InstanceLock, Recorder {
public:
    using Recorder::Recorder;
    bool othersRunning = false;
    bool anotherInstanceRunning() override { return note("anotherInstanceRunning()", othersRunning); }
};

// The notification area: the shell's answer to an add and the user's choice
// in the next popup (0: dismissed) are set by the test.
class FakeTray final : public platform::Tray, Recorder {
public:
    using Recorder::Recorder;
    bool accepts = true;
    unsigned choice = 0;
    std::vector<platform::TrayRecord> added, removed;
    std::vector<std::vector<platform::PopupLine>> popups;

    bool add(const platform::TrayRecord& record) override {
        added.push_back(record);
        return note("trayAdd()", accepts);
    }
    bool remove(const platform::TrayRecord& record) override {
        removed.push_back(record);
        return note("trayRemove()", true);
    }
    unsigned popupAtPointer(void* window, const std::vector<platform::PopupLine>& lines) override {
        popups.push_back(lines);
        return note("popup(" + std::to_string(reinterpret_cast<std::uintptr_t>(window)) + ")", choice);
    }
};

class FakeMenuEngine final : public platform::MenuEngine, Recorder {
public:
    using Recorder::Recorder;
    const coolmenu::HelpCallBack* helpObj = nullptr;
    const coolmenu::MenuImages* images = nullptr;
    bool AttachCoolMenu(void*, bool subClass, const coolmenu::HelpCallBack* help,
                        const coolmenu::MenuImages* list) override {
        log.add(std::string("AttachCoolMenu(") + (subClass ? "true" : "false") + ")");
        helpObj = help;
        images = list;
        return true;
    }
    bool CoolMenuComplexChecks(void*, bool value) override {
        return note(std::string("CoolMenuComplexChecks(") + (value ? "true" : "false") + ")", value);
    }
};

// Answers with the folder the test chose; "" stands for a cancelled picker.
class FakeFolderPicker final : public platform::FolderPicker, Recorder {
public:
    using Recorder::Recorder;
    std::string answer;
    std::string BrowseForFolder(void* owner) override {
        return note("browseForFolder(" + std::to_string(reinterpret_cast<std::uintptr_t>(owner)) + ")", answer);
    }
};

// The hub window's side: ten path boxes and visibility.
class FakeFormHost final : public FormHost, Recorder {
public:
    using Recorder::Recorder;
    static inline void* const kWindow = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x10A2C));
    FolderList boxes;
    bool visible = true;  // a window is loaded visible until start-up hides it

    std::string slotText(int slot) const override { return boxes[static_cast<size_t>(slot)]; }
    void setSlotText(int slot, const std::string& text) override { boxes[static_cast<size_t>(slot)] = text; }
    void setVisible(bool v) override {
        log.add(v ? "show()" : "hide()");
        visible = v;
    }
    bool isVisible() const override { return visible; }
    void* hWnd() const override { return kWindow; }
    void unload() override { log.add("unload()"); }
};

class FakeAboutBox final : public about::AboutBox, Recorder {
public:
    using Recorder::Recorder;
    void show(std::int16_t& aboutCount) override {
        log.add("aboutBox(" + std::to_string(aboutCount) + ")");
        about::CountOpening(aboutCount);
    }
};

// Everything a hub needs, wired to one log.
struct FakeOs {
    CallLog log;
    FakeInstanceLock instance{log};
    FakeMessageBoxes boxes{log};
    FakeFileSystem files{log};
    Latin1Codec codec;
    FakeTray tray{log};
    FakeMenuEngine menuEngine{log};
    FakeProcesses processes{log};
    FakeDesktopWindow desktop{log};
    FakeOsVersion osVersion{log};
    FakeDriveInfo drives{log};
    FakeMediaControl mci{log};
    FakeTurnMonOffForm turnMonOff{log};
    FakeRegistry registry{log};
    FakeFolderPicker folderPicker{log};
    FakeAboutBox aboutBox{log};
    Services services{instance, boxes, files, codec, "C:\\Tools", tray, menuEngine, processes, desktop,
                      osVersion, drives, mci, turnMonOff, registry, folderPicker, "lumivane.exe", aboutBox};
};

// The hub's logic on the fakes, not yet loaded.
struct FakeHub {
    FakeOs os;
    FakeFormHost host{os.log};
    frmFolderBrowse form{host, os.services};
};

} // namespace lumivane::fakes
