#pragma once
// Recording fakes of the operating-system seam: every call lands in one shared
// log, so tests can check which operations ran, with which arguments, in which
// order.
#include "actions/cover_window.h"
#include "folders/folder_slots.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/folder_picker.h"
#include "platform/hot_keys.h"
#include "platform/media_control.h"
#include "coolmenu/menu_engine.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/system_info.h"
#include "platform/text_codec.h"
#include "platform/tray.h"
#include "shell/hub.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace lumivane::fakes {

struct CallLog {
    std::vector<std::string> calls;
    void add(std::string call) { calls.push_back(std::move(call)); }
    bool contains(const std::string& prefix) const {
        return std::any_of(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    }
    // The calls that begin with one of the given prefixes, in order.
    std::vector<std::string> only(std::initializer_list<std::string> prefixes) const {
        std::vector<std::string> out;
        for (const auto& c : calls)
            if (std::any_of(prefixes.begin(), prefixes.end(), [&](const std::string& p) { return c.rfind(p, 0) == 0; }))
                out.push_back(c);
        return out;
    }
};

// The part every recording fake shares: the log its calls land in.
struct Recorder {
    explicit Recorder(CallLog& log) : log(log) {}
    CallLog& log;
    // Logs the call and gives the fake's answer to it.
    template <class T>
    T note(std::string call, T answer) {
        log.add(std::move(call));
        return answer;
    }
};

struct FakeProcesses final : platform::Processes, Recorder {
    using Recorder::Recorder;
    // Command lines that start; every other one fails, as a missing program does.
    std::set<std::string> startable;
    bool start(const std::string& commandLine, int showCommand) override {
        return note("start(" + commandLine + "|" + std::to_string(showCommand) + ")", startable.count(commandLine) != 0);
    }
};

struct FakeDesktopWindow final : platform::DesktopWindow, Recorder {
    using Recorder::Recorder;
    std::uint32_t screenSaveValue = 0;
    std::uint32_t screenSaveActiveValue() override { return note("screenSaveActive()", screenSaveValue); }
    void sendSysCommand(unsigned command, std::intptr_t lParam) override {
        log.add("desktopSysCommand(" + std::to_string(command) + "|" + std::to_string(lParam) + ")");
    }
};

struct FakeOsVersion final : platform::OsVersionSource, Recorder {
    using Recorder::Recorder;
    platform::OsVersion version{6, 1, 2};
    platform::OsVersion osVersion() override { return note("osVersion()", version); }
};

struct FakeDriveInfo final : platform::DriveInfo, Recorder {
    using Recorder::Recorder;
    std::string strings;                    // as the system returns them, NULs included
    std::map<std::string, unsigned> types;  // root -> type; others are fixed disks (3)
    std::string logicalDriveStrings() override { return note("logicalDriveStrings()", strings); }
    unsigned driveType(const std::string& root) override {
        return note("driveType(" + root + ")", types.count(root) ? types.at(root) : 3u);
    }
};

struct FakeMediaControl final : platform::MediaControl, Recorder {
    using Recorder::Recorder;
    void sendString(const std::string& command) override { log.add("mci(" + command + ")"); }
};

struct FakeCoverOpener final : CoverOpener, Recorder {
    using Recorder::Recorder;
    void show() override { log.add("showTurnMonOff()"); }
};

// The cover window's real side, at 15 twips to the pixel.
struct FakeCoverWindowHost final : CoverWindowHost, Recorder {
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
    bool held = false;  // a key or button is down
    bool inputHeld() const override { return held; }
    void startHeldCheck(unsigned milliseconds) override { log.add("heldCheck(" + std::to_string(milliseconds) + ")"); }
};

// UTF-8 (ASCII and Latin-1 are enough for the tests) as the UTF-16LE bytes of
// a registry text, with the terminating NUL the system stores.
inline std::string utf16Bytes(std::string_view text, bool terminate = true) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned cp = static_cast<unsigned char>(text[i]);
        if ((cp & 0xE0) == 0xC0 && i + 1 < text.size()) cp = ((cp & 0x1Fu) << 6) | (text[++i] & 0x3Fu);
        out += {static_cast<char>(cp & 0xFF), static_cast<char>(cp >> 8)};
    }
    if (terminate) out.append(2, '\0');
    return out;
}

// A registry in memory: values keyed by root, subkey and name, with their type
// and raw bytes. Refusals are set per operation.
struct FakeRegistry final : platform::Registry, Recorder {
    using Recorder::Recorder;
    struct Value {
        unsigned type = platform::kRegSz;
        std::string bytes;
        bool operator==(const Value&) const = default;
    };
    std::map<std::tuple<platform::RegistryRoot, std::string, std::string>, Value> values;
    std::set<std::pair<platform::RegistryRoot, std::string>> subkeys;
    long refuseSet = platform::kRegSuccess;     // status a write fails with
    long refuseDelete = platform::kRegSuccess;  // status a delete fails with
    long refuseSetBinary = platform::kRegSuccess;
    // A standard user's: every write and delete there is refused with access denied.
    std::set<platform::RegistryRoot> readOnlyRoots;
    bool grewBetweenQueries = false;            // the data read is larger than the size first reported
    // A 32-bit program on 64-bit Windows: the native view keeps its values
    // apart (in nativeValues); otherwise both views are one.
    bool is32BitOn64 = false;
    std::map<std::tuple<platform::RegistryRoot, std::string, std::string>, Value> nativeValues;

    void putString(platform::RegistryRoot root, const std::string& subkey, const std::string& name,
                   const std::string& text, unsigned type = platform::kRegSz, bool terminate = true) {
        subkeys.insert({root, subkey});
        values[{root, subkey, name}] = Value{type, utf16Bytes(text, terminate)};
    }
    // A text of the machine's, as the About box reads it.
    void setText(const std::string& key, const std::string& name, const std::string& text, bool terminate = true) {
        putString(platform::RegistryRoot::LocalMachine, key, name, text, platform::kRegSz, terminate);
    }
    const Value* find(platform::RegistryRoot root, const std::string& subkey, const std::string& name) const {
        auto it = values.find({root, subkey, name});
        return it == values.end() ? nullptr : &it->second;
    }
    auto& viewValues(platform::RegistryView view) {
        return view == platform::RegistryView::Native && is32BitOn64 ? nativeValues : values;
    }
    void putValue(platform::RegistryRoot root, const std::string& subkey, const std::string& name, unsigned type,
                  const std::string& bytes, platform::RegistryView view = platform::RegistryView::Own) {
        if (&viewValues(view) == &values) subkeys.insert({root, subkey});
        viewValues(view)[{root, subkey, name}] = Value{type, bytes};
    }
    const Value* find(platform::RegistryRoot root, const std::string& subkey, const std::string& name,
                      platform::RegistryView view) {
        auto& in = viewValues(view);
        auto it = in.find({root, subkey, name});
        return it == in.end() ? nullptr : &it->second;
    }

    std::unique_ptr<platform::RegistryKey> openKey(platform::RegistryRoot root, const std::string& subkey) override {
        log.add("regOpen(" + subkey + ")");
        if (!subkeys.count({root, subkey})) return nullptr;
        return std::make_unique<OpenKey>(*this, root, subkey);
    }
    long setString(platform::RegistryRoot root, const std::string& subkey, const std::string& name,
                   const std::string& data) override {
        log.add("regSet(" + name + "=" + data + ")");
        if (readOnlyRoots.count(root)) return platform::kRegAccessDenied;
        if (refuseSet != platform::kRegSuccess) return refuseSet;
        putString(root, subkey, name, data);
        return platform::kRegSuccess;
    }
    long deleteValue(platform::RegistryRoot root, const std::string& subkey, const std::string& name) override {
        log.add("regDelete(" + name + ")");
        if (readOnlyRoots.count(root)) return platform::kRegAccessDenied;
        if (refuseDelete != platform::kRegSuccess) return refuseDelete;
        return values.erase({root, subkey, name}) ? platform::kRegSuccess : platform::kRegFileNotFound;
    }

    bool ownViewIs32BitOn64() const override { return is32BitOn64; }
    platform::ValueQuery queryValue(platform::RegistryRoot root, const std::string& subkey, const std::string& name,
                                    std::size_t size, platform::RegistryView view) override {
        log.add("regQueryValue(" + viewName(view) + subkey + "|" + name + "," + std::to_string(size) + ")");
        const Value* v = find(root, subkey, name, view);
        if (!v) return {};
        if (v->bytes.size() > size) return {platform::kRegMoreData, v->type, v->bytes.size(), {}};
        return {platform::kRegSuccess, v->type, v->bytes.size(), v->bytes};
    }
    long setBinary(platform::RegistryRoot root, const std::string& subkey, const std::string& name,
                   std::string_view data, platform::RegistryView view) override {
        std::string hex;
        for (unsigned char c : data) hex += "0123456789abcdef"[c >> 4], hex += "0123456789abcdef"[c & 15];
        log.add("regSetBinary(" + viewName(view) + subkey + "|" + name + "=" + hex + ")");
        if (readOnlyRoots.count(root)) return platform::kRegAccessDenied;
        if (refuseSetBinary != platform::kRegSuccess) return refuseSetBinary;
        putValue(root, subkey, name, platform::kRegBinary, std::string(data), view);
        return platform::kRegSuccess;
    }

    // Says "changed" once a value in or below a watched key differs from what
    // it was when the watch began, however the test changed it; for a missing
    // key, once its nearest existing parent gained or lost a subkey.
    std::unique_ptr<platform::KeyWatch> watch(const std::vector<platform::KeyPlace>& places) override {
        log.add("regWatch()");
        return std::make_unique<Watch>(*this, places);
    }

private:
    using Values = std::map<std::tuple<platform::RegistryRoot, std::string, std::string>, Value>;
    // The values a place covers, in its view.
    Values under(const platform::KeyPlace& place) {
        Values out;
        for (const auto& [at, value] : viewValues(place.view)) {
            const std::string& subkey = std::get<1>(at);
            if (std::get<0>(at) == place.root &&
                (subkey == place.subkey || subkey.rfind(place.subkey + "\\", 0) == 0))
                out.emplace(at, value);
        }
        return out;
    }
    // The keys of a root and view: where a value or a made key is, and every key above it.
    std::set<std::string> keys(platform::RegistryRoot root, platform::RegistryView view) {
        std::set<std::string> out{""};
        auto addWithParents = [&](std::string key) {
            for (;;) {
                out.insert(key);
                const auto slash = key.rfind('\\');
                if (slash == std::string::npos) return;
                key.resize(slash);
            }
        };
        for (const auto& [at, value] : viewValues(view))
            if (std::get<0>(at) == root) addWithParents(std::get<1>(at));
        if (&viewValues(view) == &values)
            for (const auto& [keyRoot, key] : subkeys)
                if (keyRoot == root) addWithParents(key);
        return out;
    }
    // A missing key's stand-in: its nearest existing parent, with the names of that parent's subkeys.
    std::set<std::string> standInSubkeys(const platform::KeyPlace& place) {
        const std::set<std::string> all = keys(place.root, place.view);
        std::string parent = place.subkey;
        while (!all.count(parent)) parent.resize(parent.rfind('\\') == std::string::npos ? 0 : parent.rfind('\\'));
        std::set<std::string> children;
        const std::string prefix = parent.empty() ? "" : parent + "\\";
        for (const auto& key : all)
            if (!key.empty() && key != parent && key.rfind(prefix, 0) == 0 &&
                key.find('\\', prefix.size()) == std::string::npos)
                children.insert(key);
        return children;
    }
    struct Watch final : platform::KeyWatch {
        Watch(FakeRegistry& reg, std::vector<platform::KeyPlace> places) : reg(reg), places(std::move(places)) {
            for (const auto& place : this->places) {
                standIn.push_back(!reg.keys(place.root, place.view).count(place.subkey));
                before.push_back(standIn.back() ? Values{} : reg.under(place));
                beforeSubkeys.push_back(standIn.back() ? reg.standInSubkeys(place) : std::set<std::string>{});
            }
        }
        bool changed() override {
            for (size_t i = 0; i < places.size() && !seen; ++i)
                seen = standIn[i] ? reg.standInSubkeys(places[i]) != beforeSubkeys[i]
                                  : reg.under(places[i]) != before[i];
            return seen;
        }
        FakeRegistry& reg;
        std::vector<platform::KeyPlace> places;
        std::vector<bool> standIn;
        std::vector<Values> before;
        std::vector<std::set<std::string>> beforeSubkeys;
        bool seen = false;
    };
    static std::string viewName(platform::RegistryView view) {
        return view == platform::RegistryView::Native ? "native:" : "";
    }
    struct OpenKey final : platform::RegistryKey {
        OpenKey(FakeRegistry& reg, platform::RegistryRoot root, std::string subkey)
            : reg(reg), root(root), subkey(std::move(subkey)) {}
        platform::ValueQuery queryTypeAndSize(const std::string& name) override {
            reg.log.add("regQueryInfo(" + name + ")");
            const Value* v = reg.find(root, subkey, name);
            if (!v) return {};
            return {platform::kRegSuccess, v->type, v->bytes.size(), {}};
        }
        platform::ValueQuery queryData(const std::string& name, std::size_t size) override {
            reg.log.add("regQueryData(" + name + "," + std::to_string(size) + ")");
            const Value* v = reg.find(root, subkey, name);
            if (!v) return {};
            std::size_t actual = v->bytes.size() + (reg.grewBetweenQueries ? 2 : 0);
            // ERROR_MORE_DATA, as the system answers a buffer that is too small.
            if (actual > size) return {234, v->type, actual, {}};
            return {platform::kRegSuccess, v->type, v->bytes.size(), v->bytes};
        }
        FakeRegistry& reg;
        platform::RegistryRoot root;
        std::string subkey;
    };
};

// Latin-1 stands in for the ANSI code page: code points above 0xFF have no form.
struct Latin1Codec final : platform::AnsiCodec {
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

struct FakeFileSystem final : platform::FileSystem, Recorder {
    using Recorder::Recorder;
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> unwritable;  // paths whose replace fails
    std::set<std::string> unreadable;
    std::set<std::string> readOnlyFolders;  // no file in them may be made or replaced
    std::string appData = "C:\\Users\\Ann\\AppData\\Roaming";

    static std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }

    bool fileExists(const std::string& path) override { return note("fileExists(" + path + ")", files.count(path) != 0); }
    bool folderExists(const std::string& path) override {
        return note("folderExists(" + path + ")", folders.count(path) != 0);
    }
    std::optional<std::string> readFile(const std::string& path) override {
        bool readable = files.count(path) && !unreadable.count(path);
        return note("readFile(" + path + ")", readable ? std::optional(files[path]) : std::nullopt);
    }
    bool replaceFile(const std::string& path, std::string_view bytes) override {
        const bool writable = !unwritable.count(path) && !readOnlyFolders.count(folderOf(path));
        if (writable) files[path] = std::string(bytes);
        return note("replaceFile(" + path + ")", writable);
    }
    bool mayWrite(const std::string& path) override {
        return note("mayWrite(" + path + ")", !readOnlyFolders.count(folderOf(path)));
    }
    bool makeFolder(const std::string& path) override {
        folders.insert(path);
        return note("makeFolder(" + path + ")", true);
    }
    std::string roamingAppData() override { return note("roamingAppData()", appData); }
};

struct FakeMessageBoxes final : platform::MessageBoxes, Recorder {
    using Recorder::Recorder;
    void show(const std::string& text, const std::string& title, unsigned style) override {
        log.add("messageBox(" + text + "|" + title + "|" + std::to_string(style) + ")");
    }
};

// The notification area: the shell's answer to an add and the user's choice
// in the next popup (0: dismissed) are set by the test. As Windows's, it
// refuses to add an icon it shows already, and to change one it does not show.
struct FakeTray final : platform::Tray, Recorder {
    using Recorder::Recorder;
    bool accepts = true;        // false: a busy taskbar, or none yet
    bool acceptsModify = true;
    bool taskbar = true;        // the taskbar's window exists
    bool iconShown = false;     // set false by a test when Explorer restarts
    unsigned choice = 0;
    std::vector<platform::TrayRecord> added, removed, modified;
    int size = 16;  // the notification area's icon size
    std::vector<std::vector<platform::PopupLine>> popups;

    bool add(const platform::TrayRecord& record) override {
        added.push_back(record);
        const bool taken = accepts && !iconShown;
        iconShown = iconShown || taken;
        return note("trayAdd()", taken);
    }
    bool remove(const platform::TrayRecord& record) override {
        removed.push_back(record);
        iconShown = false;
        return note("trayRemove()", true);
    }
    bool modify(const platform::TrayRecord& record) override {
        modified.push_back(record);
        return note("trayModify()", acceptsModify && iconShown);
    }
    // Questions, not actions: not logged.
    bool taskbarExists() const override { return taskbar; }
    bool balloon(void*, std::uint32_t iconId, const std::string& text) override {
        return note("balloon(" + std::to_string(iconId) + "," + text + ")", true);
    }
    int iconSize() const override { return size; }
    std::function<void()> whileOpen;  // what happens while the next popups are open
    unsigned popupAtPointer(void* window, const std::vector<platform::PopupLine>& lines) override {
        popups.push_back(lines);
        if (whileOpen) whileOpen();
        return note("popup(" + std::to_string(reinterpret_cast<std::uintptr_t>(window)) + ")", choice);
    }
    // Logged with the icon and the point it was given, "-" for none.
    unsigned popupAtIcon(void* window, std::uint32_t iconId, std::optional<platform::ScreenPoint> anchor,
                         const std::vector<platform::PopupLine>& lines) override {
        popups.push_back(lines);
        std::string at = anchor ? std::to_string(anchor->x) + "," + std::to_string(anchor->y) : "-";
        return note("popupAtIcon(" + std::to_string(reinterpret_cast<std::uintptr_t>(window)) + "," +
                        std::to_string(iconId) + "," + at + ")",
                    choice);
    }
};

struct FakeMenuEngine final : coolmenu::MenuEngine, Recorder {
    using Recorder::Recorder;
    const coolmenu::HelpCallback* help = nullptr;
    const coolmenu::MenuImages* images = nullptr;
    bool attach(void*, bool subClass, const coolmenu::HelpCallback* helpGiven,
                const coolmenu::MenuImages* list) override {
        log.add(std::string("attach(") + (subClass ? "true" : "false") + ")");
        help = helpGiven;
        images = list;
        return true;
    }
    bool setComplexChecks(void*, bool value) override {
        return note(std::string("setComplexChecks(") + (value ? "true" : "false") + ")", value);
    }
};

// Answers with the folder the test chose; "" stands for a cancelled picker.
struct FakeFolderPicker final : platform::FolderPicker, Recorder {
    using Recorder::Recorder;
    std::string answer;
    std::string browseForFolder(void* owner, const std::string& startFolder) override {
        return note("browseForFolder(" + std::to_string(reinterpret_cast<std::uintptr_t>(owner)) + "," + startFolder + ")",
                    answer);
    }
};

// The thread pool and the window's timers, with the test deciding when each
// piece of work runs and answers, and when each delay has passed.
struct FakeBackground final : platform::Background, Recorder {
    using Recorder::Recorder;
    std::vector<std::unique_ptr<platform::Job>> jobs;    // submitted and not yet released
    std::vector<std::unique_ptr<platform::Job>> delays;  // set and not yet elapsed
    void run(std::unique_ptr<platform::Job> job) override {
        log.add("background()");
        jobs.push_back(std::move(job));
    }
    void after(unsigned milliseconds, std::unique_ptr<platform::Job> job) override {
        log.add("after(" + std::to_string(milliseconds) + ")");
        delays.push_back(std::move(job));
    }
    // The work submitted n-th of those pending runs, and its answer comes.
    void release(size_t n = 0) {
        auto job = take(jobs, n);
        job->work();
        job->done();
    }
    void elapse(size_t n = 0) { take(delays, n)->done(); }

private:
    static std::unique_ptr<platform::Job> take(std::vector<std::unique_ptr<platform::Job>>& from, size_t n) {
        auto job = std::move(from.at(n));
        from.erase(from.begin() + static_cast<std::ptrdiff_t>(n));
        return job;
    }
};

// The hub window's side: ten path boxes and visibility.
struct FakeHubHost final : HubHost, Recorder {
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
    void* windowHandle() const override { return kWindow; }
    void unload() override { log.add("unload()"); }
    ShortcutKey shortcutBox;   // what the box shows; the test presses keys by setting it
    std::string besideShortcut;
    ShortcutKey shownShortcutKey() const override { return shortcutBox; }
    void showShortcutKey(ShortcutKey shortcut) override { shortcutBox = shortcut; }
    void sayBesideShortcutKey(const std::string& text) override { besideShortcut = text; }
};

// Keys registered with the system, named as the user names them; a key
// another program holds is refused.
struct FakeHotKeys final : platform::HotKeys, Recorder {
    using Recorder::Recorder;
    std::set<std::string> heldElsewhere;  // "Ctrl+Alt+L"
    std::map<int, std::string> registered;
    bool add(void*, int id, unsigned flags, unsigned virtualKey) override {
        // MOD_NOREPEAT is left out of the name and checked apart.
        const std::string name = shortcut_key::format({shortcut_key::fromHotKeyFlags(flags), virtualKey}) +
                                 ((flags & shortcut_key::kNoRepeat) ? "" : "(repeating)");
        const bool taken = !heldElsewhere.count(name) && !registered.count(id);
        if (taken) registered[id] = name;
        return note("hotKeyAdd(" + name + ")", taken);
    }
    void remove(void*, int id) override {
        log.add("hotKeyRemove()");
        registered.erase(id);
    }
};

struct FakeAboutBox final : about::AboutBox, Recorder {
    using Recorder::Recorder;
    void show(int& aboutCount) override {
        log.add("aboutBox(" + std::to_string(aboutCount) + ")");
        about::countOpening(aboutCount);
    }
};

// Everything a hub needs, wired to one log.
struct FakeOs {
    CallLog log;
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
    FakeCoverOpener cover{log};
    FakeRegistry registry{log};
    FakeFolderPicker folderPicker{log};
    FakeAboutBox aboutBox{log};
    FakeBackground background{log};
    FakeHotKeys hotKeys{log};
    Services services{boxes, files, codec, "C:\\Tools", tray, menuEngine, processes, desktop,
                      osVersion, drives, mci, cover, registry, folderPicker, "lumivane.exe", aboutBox, background, hotKeys};
    // The same fakes around a real registry, for a program in `exeDirectory`.
    Services withRegistry(platform::Registry& real, std::string exeDirectory) {
        return {boxes, files, codec, std::move(exeDirectory), tray, menuEngine, processes, desktop,
                osVersion, drives, mci, cover, real, folderPicker, "lumivane.exe", aboutBox, background, hotKeys};
    }
};

// The hub's logic on the fakes, not yet loaded.
struct FakeHub {
    FakeOs os;
    FakeHubHost host{os.log};
    Hub logic{host, os.services};
};

} // namespace lumivane::fakes
