#include "fakes/recording.h"
#include "folders/folder_dialog_layout.h"
#include "folders/settings_file.h"
#include "platform/utf8.h"

#include <doctest/doctest.h>

using namespace lumivane;
using Calls = std::vector<std::string>;

namespace {
const std::string kHead = "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n";
const std::string kIni = "C:\\Tools\\lumivane.ini";
const std::string kSaved = kHead + "C:\\\r\nD:\\Music\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
const fakes::Latin1Codec codec;

// The dialog shown by "Customize" over a file with two folders.
struct Dialog : fakes::FakeHub {
    Dialog() {
        os.files.files[kIni] = kSaved;
        logic.start();
        host.visible = true;
        os.log.calls.clear();
    }
};
} // namespace

TEST_CASE("the file is the heading and ten slot lines, CR LF, in the code page; UTF-8 with its mark when needed") {
    CHECK(settings_file::defaultFolderBytes(codec) == kHead + "C:\\\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    FolderList slots;
    slots[0] = " C:\\Program Files ";
    slots[3] = "D:\\Data\\";
    slots[9] = "E:\\M\xC3\xBCsik";
    std::string bytes = settings_file::formatFolders(slots, codec);
    CHECK(bytes == kHead + " C:\\Program Files \r\n\r\n\r\nD:\\Data\\\r\n\r\n\r\n\r\n\r\n\r\nE:\\M\xFCsik\r\n");
    CHECK(settings_file::parseFolders(bytes, codec) == slots);
    slots[1] = "D:\\\xE6\x97\xA5\xE6\x9C\xAC";  // outside the code page
    bytes = settings_file::formatFolders(slots, codec);
    CHECK(bytes.rfind("\xEF\xBB\xBF" + kHead + " C:\\Program Files \r\nD:\\\xE6\x97\xA5\xE6\x9C\xAC\r\n", 0) == 0);
    CHECK(settings_file::parseFolders(bytes, codec) == slots);
}

TEST_CASE("loading takes lines 5 to 14 of any file: short, long, LF or CR alone, with a byte-order mark") {
    std::string twenty = kHead;
    for (int i = 0; i < 16; ++i) twenty += "P" + std::to_string(i) + "\r\n";
    CHECK(settings_file::parseFolders(twenty, codec)[9] == "P9");
    FolderList shortFile = settings_file::parseFolders(kHead + "C:\\A\r\nC:\\B", codec);
    CHECK(shortFile[1] == "C:\\B");
    CHECK(shortFile[2].empty());
    CHECK(settings_file::parseFolders("a\nb\n\nc\nX:\\1\nX:\\2\n", codec)[1] == "X:\\2");
    CHECK(settings_file::parseFolders("a\rb\r\rc\rX:\\1\rX:\\2\r", codec)[1] == "X:\\2");
    CHECK(settings_file::parseFolders("a\r\nb\r\n\r\nc\r\nX:\\1\r\n\r\nX:\\3\r\n", codec)[2] == "X:\\3");  // CR LF is one end
    CHECK(settings_file::parseFolders("\xEF\xBB\xBF" + kHead + "C:\\\xE6\x97\xA5\r\n", codec)[0] == "C:\\\xE6\x97\xA5");
    // Saved as "Unicode" by an editor, in either byte order: the text it holds, in and outside the code page.
    const std::string text = kHead + "C:\\M\xC3\xBCsik\r\nD:\\\xE6\x97\xA5\xF0\x9F\x93\xB7\r\n";
    for (bool bigEndian : {false, true}) {
        CAPTURE(bigEndian);
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (char16_t unit : utf8ToUtf16(text)) {
            const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        const FolderList slots = settings_file::parseFolders(bytes, codec);
        CHECK(slots == FolderList{"C:\\M\xC3\xBCsik", "D:\\\xE6\x97\xA5\xF0\x9F\x93\xB7"});
        // Saved in the program's own form: UTF-8 with its mark, as these texts need.
        CHECK(settings_file::formatFolders(slots, codec).rfind("\xEF\xBB\xBF" + text, 0) == 0);
    }
    CHECK(settings_file::parseFolders("\xFF\xFE", codec) == FolderList{});

    fakes::FakeHub readOnly;  // a missing file that cannot be made: the defaults in memory
    readOnly.host.boxes[4] = "stale";
    readOnly.os.files.unwritable.insert(kIni);
    CHECK(settings_file::loadFolders(kIni, readOnly.host, readOnly.os.files, codec));
    CHECK(readOnly.host.boxes == settings_file::defaultFolders());
}

TEST_CASE("Clear and Browse change their own row only; Browse asks over the dialog's window, at the row's folder") {
    Dialog d;
    d.os.files.folders = {"C:\\", "D:\\Music"};
    d.logic.onClear(1);
    d.host.boxes[3] = "D:\\Music\\Gone\\Deeper\\";
    d.host.boxes[4] = "\\\\server\\share\\gone";
    d.host.boxes[5] = "E:\\gone";
    auto browse = [&](int row) {
        d.logic.onBrowse(row);
        d.os.background.release();
        d.os.background.elapse();  // too late: the walk answered first
    };
    d.os.folderPicker.answer = "D:\\Pictures";
    browse(2);
    browse(3);
    d.os.folderPicker.answer = "";  // cancelled
    for (int row : {0, 4, 5}) browse(row);
    CHECK(d.host.boxes == FolderList{"C:\\", "", "D:\\Pictures", "D:\\Pictures", "\\\\server\\share\\gone", "E:\\gone"});
    // Up from the row's path to the nearest folder there is, never above a drive's root or a share.
    CHECK(d.os.log.only({"folderExists", "browseForFolder"}) ==
          Calls{"browseForFolder(68140,)",
                "folderExists(D:\\Music\\Gone\\Deeper\\)", "folderExists(D:\\Music\\Gone)",
                "folderExists(D:\\Music)", "browseForFolder(68140,D:\\Music)",
                "folderExists(C:\\)", "browseForFolder(68140,C:\\)",
                "folderExists(\\\\server\\share\\gone)", "folderExists(\\\\server\\share)",
                "browseForFolder(68140,)",
                "folderExists(E:\\gone)", "folderExists(E:\\)", "browseForFolder(68140,)"});
    CHECK(d.os.log.only({"after"}) == Calls(5, "after(2000)"));
}

TEST_CASE("Browse on a row whose share sleeps: the picker opens at its own choice after 2 s, once; pressed again, "
          "nothing more") {
    Dialog d;
    d.host.boxes[2] = "\\\\nas\\photos\\2024";
    d.logic.onBrowse(2);
    d.logic.onBrowse(2);
    d.logic.onBrowse(5);
    CHECK(d.os.log.calls == Calls{"background()", "after(2000)"});
    CHECK(d.logic.waiting());
    d.os.background.elapse();
    CHECK(d.os.log.calls.back() == "browseForFolder(68140,)");
    d.os.files.folders.insert("\\\\nas\\photos\\2024");
    d.os.background.release();  // the walk's late answer opens nothing
    CHECK(d.os.log.only({"browseForFolder"}).size() == 1);
    CHECK_FALSE(d.logic.waiting());

    // Cancelled while waiting: no picker over a hidden dialog.
    d.logic.onBrowse(2);
    d.logic.onCancel();
    d.os.background.release();
    d.os.background.elapse();
    CHECK(d.os.log.only({"browseForFolder"}).size() == 1);
}

TEST_CASE("a drop: the row under the point, or the first empty one; more items fill the empty rows after it") {
    auto l = folder_dialog::layoutFor(144);
    const auto& box = l.text[4];
    CHECK(folder_dialog::pathBoxAt(l, box.left, box.top) == 4);
    CHECK(folder_dialog::pathBoxAt(l, box.left + box.width - 1, box.top + box.height - 1) == 4);
    CHECK(folder_dialog::pathBoxAt(l, box.left + box.width, box.top) == std::nullopt);  // the row's Browse side
    CHECK(folder_dialog::pathBoxAt(l, box.left - 1, box.top) == std::nullopt);          // its number
    CHECK(folder_dialog::pathBoxAt(l, l.ok.left, l.ok.top) == std::nullopt);
    CHECK(folder_dialog::pathBoxAt(l, l.text[9].left, l.text[9].top + l.text[9].height - 1) == 9);

    struct Rows final : FolderSlots {
        FolderList texts;
        std::string slotText(int slot) const override { return texts[static_cast<size_t>(slot)]; }
        void setSlotText(int slot, const std::string& text) override { texts[static_cast<size_t>(slot)] = text; }
    };
    const FolderList some{"C:\\", "", "D:\\", "", "", "E:\\", "", "F:\\", "G:\\", ""};
    const FolderList full{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    const std::vector<std::string> paths{"a", "b", "c", "d", "e"};
    struct Case {
        const FolderList& rows;
        std::optional<int> on;
        size_t count;
        FolderList after;
    } cases[] = {
        // Elsewhere: the first empty row, then the empty rows after it.
        {some, std::nullopt, 1, {"C:\\", "a", "D:\\", "", "", "E:\\", "", "F:\\", "G:\\", ""}},
        {some, std::nullopt, 3, {"C:\\", "a", "D:\\", "b", "c", "E:\\", "", "F:\\", "G:\\", ""}},
        // On a full row's box: that row, then only the empty rows after it.
        {some, 2, 4, {"C:\\", "", "a", "b", "c", "E:\\", "d", "F:\\", "G:\\", ""}},
        {some, 8, 5, {"C:\\", "", "D:\\", "", "", "E:\\", "", "F:\\", "a", "b"}},  // the rest find no row
        {some, 0, 0, some},
        {full, std::nullopt, 2, full},  // all ten full: nothing
        {full, 3, 2, {"0", "1", "2", "a", "4", "5", "6", "7", "8", "9"}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.count);
        Rows rows;
        rows.texts = c.rows;
        folder_dialog::dropInto(rows, c.on, std::vector<std::string>(paths.begin(), paths.begin() + c.count));
        CHECK(rows.texts == c.after);
    }

    Dialog d;
    d.logic.onDrop(std::nullopt, {"C:\\Windows\\System32", "C:\\a.txt", "D:\\x", "D:\\y", "D:\\z", "D:\\1",
                                  "D:\\2", "D:\\3", "D:\\4", "D:\\5"});
    CHECK(d.host.boxes == FolderList{"C:\\", "D:\\Music", "C:\\Windows\\System32", "C:\\a.txt", "D:\\x",
                                     "D:\\y", "D:\\z", "D:\\1", "D:\\2", "D:\\3"});
    d.logic.onDrop(0, {"E:\\on the first"});
    CHECK(d.host.boxes[0] == "E:\\on the first");
    CHECK(d.os.log.calls.empty());  // nothing saved before OK
}

TEST_CASE("OK saves the boxes, hides the dialog and rebuilds the folder items; a refused save keeps it all") {
    Dialog d;
    d.logic.onClear(0);
    SUBCASE("saved") {
        d.logic.onOk();
        CHECK(d.os.log.calls == Calls{"replaceFile(" + kIni + ")", "hide()"});
        CHECK(d.os.files.files[kIni] == kHead + "\r\nD:\\Music\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
        CHECK_FALSE(d.logic.popupMenu.folder(0).visible);
        CHECK(d.logic.popupMenu.folder(1).caption == "1. Music");
    }
    SUBCASE("refused") {
        d.os.files.unwritable.insert(kIni);
        d.host.boxes[3] = "E:\\typed";
        d.logic.onOk();
        CHECK(d.host.visible);
        CHECK(d.host.boxes[3] == "E:\\typed");
        CHECK(d.logic.popupMenu.folder(0).visible);  // not rebuilt from unsaved edits
        auto calls = d.os.log.calls;
        REQUIRE(calls.size() == 2);
        CHECK(calls[1].rfind("messageBox(The folders could not be saved to " + kIni, 0) == 0);
        CHECK(d.os.files.files[kIni] == kSaved);
    }
}

TEST_CASE("Cancel hides and brings back the folders last saved, never the defaults") {
    Dialog d;
    d.host.boxes[0] = "E:\\Edited";
    d.host.boxes[4] = "typed";
    std::string saved = "C:\\";
    SUBCASE("the file as it was") {
        d.logic.onCancel();
        CHECK(d.os.log.only({"hide", "readFile", "replaceFile"}) == Calls{"hide()", "readFile(" + kIni + ")"});
        CHECK(d.host.boxes[4].empty());
    }
    SUBCASE("the file deleted while the program ran: written back") {
        d.os.files.files.erase(kIni);
        d.logic.onCancel();
        CHECK(d.os.files.files[kIni] == kSaved);
    }
    SUBCASE("the file held by another program: left alone") {
        d.os.files.unreadable.insert(kIni);
        d.logic.onCancel();
        CHECK_FALSE(d.os.log.contains("replaceFile"));
    }
    SUBCASE("after a save and the file deleted, the saved folders come back") {
        d.logic.onOk();
        d.host.boxes[0] = "F:\\Cancelled";
        d.os.files.files.erase(kIni);
        d.logic.onCancel();
        saved = "E:\\Edited";
        CHECK(settings_file::parseFolders(d.os.files.files[kIni], codec)[0] == saved);
    }
    CHECK_FALSE(d.host.visible);
    CHECK(d.host.boxes[0] == saved);
    CHECK(d.host.boxes[1] == "D:\\Music");
}

TEST_CASE("the settings file: beside the exe where the program may write there, else the user's own, made once") {
    const std::string userIni = "C:\\Users\\Ann\\AppData\\Roaming\\Lumivane\\lumivane.ini";
    const std::string prepared = kHead + "E:\\Team\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
    const std::string own = kHead + "F:\\Mine\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
    const struct {
        const char* name;
        bool readOnly;              // the exe's folder
        const std::string* beside;  // the file beside the exe, if any
        const std::string* userCopy;
        const char* appData;
        const std::string& used;
        const std::string& readBeforeStart;  // without making anything
        const char* shown;                   // slot 0 after start
    } cases[] = {
        {"a writable folder: the file beside the exe", false, &prepared, nullptr, "C:\\Users\\Ann\\AppData\\Roaming",
         kIni, kIni, "E:\\Team"},
        {"read-only with an administrator's list: the user's copy starts from it", true, &prepared, nullptr,
         "C:\\Users\\Ann\\AppData\\Roaming", userIni, kIni, "E:\\Team"},
        {"read-only without a file: the user's copy with the defaults", true, nullptr, nullptr,
         "C:\\Users\\Ann\\AppData\\Roaming", userIni, kIni, "C:\\"},
        {"read-only, the user's copy made before: kept", true, &prepared, &own, "C:\\Users\\Ann\\AppData\\Roaming",
         userIni, userIni, "F:\\Mine"},
        {"read-only and no profile folder: beside the exe, never elsewhere", true, &prepared, nullptr, "", kIni, kIni,
         "E:\\Team"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.name);
        fakes::FakeHub hub;
        auto& files = hub.os.files;
        if (c.readOnly) files.readOnlyFolders.insert("C:\\Tools");
        if (c.beside) files.files[kIni] = *c.beside;
        if (c.userCopy) files.files[userIni] = *c.userCopy;
        files.appData = c.appData;
        const auto location = settings_file::settingsFileLocation(settingsPathFor("C:\\Tools"), files);
        CHECK(location.path == c.used);
        CHECK(settings_file::fileToRead(location, files) == c.readBeforeStart);
        CHECK_FALSE(hub.os.log.contains("replaceFile"));
        CHECK_FALSE(hub.os.log.contains("makeFolder"));

        hub.logic.start();
        CHECK(hub.logic.settingsPath == c.used);
        CHECK(hub.host.boxes[0] == c.shown);
        if (c.used == userIni && !c.userCopy)
            CHECK(hub.os.log.only({"makeFolder", "replaceFile"}).front() ==
                  "makeFolder(C:\\Users\\Ann\\AppData\\Roaming\\Lumivane)");
        hub.host.boxes[1] = "G:\\Saved";
        hub.os.log.calls.clear();
        hub.logic.onOk();
        const bool saved = !c.readOnly || c.used == userIni;
        CHECK(hub.os.log.only({"messageBox"}).size() == (saved ? 0u : 1u));
        if (!saved)
            CHECK(hub.os.log.only({"messageBox"})[0].rfind("messageBox(The folders could not be saved to " + kIni, 0) ==
                  0);
        // The file beside a read-only exe keeps its bytes.
        if (c.readOnly) {
            const std::string beside = files.files.count(kIni) ? files.files[kIni] : "(none)";
            CHECK(beside == (c.beside ? *c.beside : "(none)"));
        }

        fakes::FakeHub restarted;
        restarted.os.files.files = files.files;
        restarted.os.files.readOnlyFolders = files.readOnlyFolders;
        restarted.os.files.appData = c.appData;
        restarted.logic.start();
        CHECK(restarted.host.boxes[1] == (saved ? "G:\\Saved" : ""));
    }
}

TEST_CASE("the dialog's layout: the design's twips at each resolution, rows tiling inside the frame") {
    auto l = folder_dialog::layoutFor(96);
    CHECK(l.text[0] == folder_dialog::Rect{56, 32, 185, 25});
    CHECK(l.clear[9] == folder_dialog::Rect{304, 257, 49, 25});
    CHECK(folder_dialog::layoutFor(144).clientHeight == 614);  // 613.5 rounds up
    for (int dpi : {96, 120, 144, 168, 192}) {
        CAPTURE(dpi);
        l = folder_dialog::layoutFor(dpi);
        for (size_t i = 0; i < 10; ++i) {
            if (i > 0) CHECK(l.text[i - 1].top + l.text[i - 1].height == l.text[i].top);
            CHECK(l.label[i].left + l.label[i].width <= l.text[i].left);
            CHECK(l.text[i].left + l.text[i].width < l.browse[i].left);
            CHECK(l.browse[i].left + l.browse[i].width < l.clear[i].left);
            CHECK(l.clear[i].left + l.clear[i].width <= l.frame.left + l.frame.width);
        }
        CHECK(l.text[9].top + l.text[9].height <= l.frame.top + l.frame.height);
        // The shortcut key's row under the frame, its box ending where the path boxes end.
        CHECK(l.frame.top + l.frame.height < l.shortcutBox.top);
        CHECK(l.shortcutLabel.left + l.shortcutLabel.width <= l.shortcutBox.left);
        CHECK(l.shortcutBox.left + l.shortcutBox.width == l.text[9].left + l.text[9].width);
        CHECK(l.shortcutBox.top + l.shortcutBox.height <= l.shortcutSaid.top);
        CHECK(l.shortcutSaid.top + l.shortcutSaid.height < l.ok.top);
        CHECK(l.cancel.left + l.cancel.width <= l.clientWidth);
        CHECK(l.ok.top + l.ok.height <= l.clientHeight);
    }
}

TEST_CASE("the shortcut key: the stored one in force from start; the dialog's OK applies and stores a new one, "
          "a refused one is said beside the box and nothing is saved; Cancel keeps the key in force") {
    using platform::RegistryRoot;
    constexpr unsigned kCtrl = shortcut_key::kCtrl, kAlt = shortcut_key::kAlt, kShift = shortcut_key::kShift,
                       kWin = shortcut_key::kWin;
    fakes::FakeHub hub;
    auto& keys = hub.os.hotKeys;
    const auto stored = [&] {
        return platform::stringValue(hub.os.registry, RegistryRoot::CurrentUser, "Software\\Lumivane", "MenuShortcut");
    };
    using Registered = std::map<int, std::string>;
    hub.os.files.files[kIni] = kSaved;
    hub.os.registry.putString(RegistryRoot::CurrentUser, "Software\\Lumivane", "MenuShortcut", "alt+CTRL+l");

    SUBCASE("held by another program at start: said once in a balloon; the value stays for the next start") {
        keys.heldElsewhere.insert("Ctrl+Alt+L");
        hub.logic.start();
        CHECK(hub.os.log.only({"hotKey", "balloon"}) ==
              Calls{"hotKeyAdd(Ctrl+Alt+L)",
                    "balloon(1,The shortcut key Ctrl+Alt+L is in use by another program. Choose another in Customize.)"});
        hub.logic.onCustomize();
        CHECK(hub.host.shortcutBox == ShortcutKey{});  // no key in force
        hub.logic.onOk();
        CHECK_FALSE(hub.host.visible);
        CHECK(stored() == "alt+CTRL+l");
    }
    SUBCASE("a value that does not parse: no key, and the value is left alone") {
        hub.os.registry.putString(RegistryRoot::CurrentUser, "Software\\Lumivane", "MenuShortcut", "Shift+L");
        hub.logic.start();
        hub.logic.onCustomize();
        hub.logic.onOk();
        CHECK_FALSE(hub.os.log.contains("hotKey"));
        CHECK(stored() == "Shift+L");
    }
    SUBCASE("in force, changed, refused, cancelled, cleared") {
        hub.logic.start();
        CHECK(keys.registered == Registered{{1, "Ctrl+Alt+L"}});
        CHECK_FALSE(hub.os.log.contains("balloon"));
        hub.os.log.calls.clear();
        hub.logic.onShortcutKey();
        CHECK(hub.os.log.only({"popup"}) == Calls{"popup(68140)"});  // at the pointer

        hub.logic.onCustomize();
        CHECK(hub.host.shortcutBox == ShortcutKey{kCtrl | kAlt, 'L'});
        hub.logic.onShortcutKey();  // the dialog has the keyboard
        CHECK(hub.os.tray.popups.size() == 1);

        keys.heldElsewhere.insert("Shift+Win+F9");
        hub.host.shortcutBox = {kWin | kShift, 0x78};
        hub.host.boxes[0] = "E:\\Edited";
        hub.logic.onOk();
        CHECK(hub.host.visible);
        CHECK(hub.host.besideShortcut == "Shift+Win+F9 is in use by another program.");
        CHECK(keys.registered == Registered{{1, "Ctrl+Alt+L"}});  // the old key back in force
        CHECK(stored() == "alt+CTRL+l");
        CHECK(hub.os.files.files[kIni] == kSaved);

        hub.logic.onCancel();
        CHECK(keys.registered == Registered{{1, "Ctrl+Alt+L"}});
        hub.logic.onCustomize();
        CHECK(hub.host.besideShortcut.empty());
        CHECK(hub.host.shortcutBox == ShortcutKey{kCtrl | kAlt, 'L'});

        hub.host.shortcutBox = {kCtrl | kShift, 'M'};
        hub.logic.onOk();
        CHECK_FALSE(hub.host.visible);
        CHECK(keys.registered == Registered{{1, "Ctrl+Shift+M"}});
        CHECK(stored() == "Ctrl+Shift+M");
        CHECK(hub.os.files.files[kIni] == kSaved);  // the settings file keeps its bytes

        hub.logic.onCustomize();
        hub.host.shortcutBox = {};
        hub.logic.onOk();
        CHECK(keys.registered.empty());
        CHECK(stored() == "None");

        hub.logic.onCustomize();
        hub.host.shortcutBox = {kAlt, 0x70};
        hub.logic.onOk();
        hub.os.log.calls.clear();
        hub.logic.onExit();
        CHECK(hub.os.log.only({"hotKey"}) == Calls{"hotKeyRemove()"});
        CHECK(keys.registered.empty());
    }
}
