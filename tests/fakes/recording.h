#pragma once
// Recording fakes of the operating-system seam: every call lands in one shared
// log, so tests can check which operations ran, with which arguments, in which
// order.
#include "fakes/actions.h"
#include "fakes/call_log.h"
#include "fakes/folder_picker.h"
#include "fakes/menu_engine.h"
#include "fakes/registry.h"
#include "fakes/tray.h"
#include "folders/folder_slots.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/instance.h"
#include "platform/text_codec.h"
#include "shell/frm_folder_browse.h"

#include <algorithm>
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
        for (size_t i = 0; i < utf8.size();) {
            unsigned char c = static_cast<unsigned char>(utf8[i]);
            if (c < 0x80) {
                out += static_cast<char>(c);
                ++i;
            } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size() &&
                       (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
                unsigned cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
                // Overlong forms and code points past 0xFF have no Latin-1 byte.
                if (cp < 0x80 || cp > 0xFF) return std::nullopt;
                out += static_cast<char>(cp);
                i += 2;
            } else {
                return std::nullopt;
            }
        }
        return out;
    }
    std::string fromAnsi(std::string_view ansi) const override {
        std::string out;
        for (unsigned char c : ansi) {
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return out;
    }
};

class FakeFileSystem final : public platform::FileSystem {
public:
    explicit FakeFileSystem(CallLog& log) : log_(log) {}
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> unwritable;  // paths whose replace fails
    std::set<std::string> unreadable;

    bool fileExists(const std::string& path) override {
        log_.add("fileExists(" + path + ")");
        return files.count(path) != 0;
    }
    bool folderExists(const std::string& path) override {
        log_.add("folderExists(" + path + ")");
        return folders.count(path) != 0;
    }
    std::optional<std::string> readFile(const std::string& path) override {
        log_.add("readFile(" + path + ")");
        if (unreadable.count(path) || !files.count(path)) return std::nullopt;
        return files[path];
    }
    bool replaceFile(const std::string& path, std::string_view bytes) override {
        log_.add("replaceFile(" + path + ")");
        if (unwritable.count(path)) return false;
        files[path] = std::string(bytes);
        return true;
    }

private:
    CallLog& log_;
};

class FakeMessageBoxes final : public platform::MessageBoxes {
public:
    explicit FakeMessageBoxes(CallLog& log) : log_(log) {}
    void show(const std::string& text, const std::string& title, unsigned style) override {
        log_.add("messageBox(" + text + "|" + title + "|" + std::to_string(style) + ")");
    }

private:
    CallLog& log_;
};

class FakeInstanceLock final : public platform::InstanceLock {
public:
    explicit FakeInstanceLock(CallLog& log) : log_(log) {}
    bool othersRunning = false;
    bool anotherInstanceRunning() override {
        log_.add("anotherInstanceRunning()");
        return othersRunning;
    }

private:
    CallLog& log_;
};

// The hub window's side: ten path boxes and visibility.
class FakeFormHost final : public FormHost {
public:
    explicit FakeFormHost(CallLog& log) : log_(log) {}
    FolderList boxes;
    bool visible = true;  // a window is loaded visible until start-up hides it
    bool unloaded = false;

    std::string slotText(int slot) const override { return boxes[static_cast<size_t>(slot)]; }
    void setSlotText(int slot, const std::string& text) override { boxes[static_cast<size_t>(slot)] = text; }
    void setVisible(bool v) override {
        log_.add(v ? "show()" : "hide()");
        visible = v;
    }
    bool isVisible() const override { return visible; }
    void* hWnd() const override { return kWindow; }
    static inline void* const kWindow = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x10A2C));
    void unload() override {
        log_.add("unload()");
        unloaded = true;
    }

private:
    CallLog& log_;
};

class FakeAboutBox final : public about::AboutBox {
public:
    explicit FakeAboutBox(CallLog& log) : log_(log) {}
    void show(std::int16_t& aboutCount) override {
        log_.add("aboutBox(" + std::to_string(aboutCount) + ")");
        about::CountOpening(aboutCount);
    }

private:
    CallLog& log_;
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

} // namespace lumivane::fakes
