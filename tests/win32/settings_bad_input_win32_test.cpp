// Bad settings files read by the real hub window: the program must start, must
// not rewrite the file while starting, and a save must give back exactly what
// the path boxes hold.
#include "fakes/recording.h"
#include "folders/settings_file.h"
#include "platform/win32/files.h"
#include "platform/win32/text_codec.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"
#include "shell/hub_window.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace lumivane;

namespace {

const std::string kHead = "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n";

struct NoOtherCopy final : platform::InstanceLock {
    bool anotherInstanceRunning() override { return false; }
};

struct RecordedBoxes final : platform::MessageBoxes {
    std::vector<std::string> shown;
    void show(const std::string& text, const std::string&, unsigned) override { shown.push_back(text); }
};

// The real file system and code page behind a hub whose other services are
// the recording fakes.
struct RealFiles {
    explicit RealFiles(std::string dir) : services{lock, boxes, fs, codec, std::move(dir), fake.tray, fake.menuEngine,
                 fake.processes, fake.desktop, fake.osVersion, fake.drives, fake.mci, fake.turnMonOff,
                 fake.registry, fake.folderPicker, "lumivane.exe", fake.aboutBox} {}
    fakes::FakeOs fake;
    NoOtherCopy lock;
    RecordedBoxes boxes;
    win32::Win32FileSystem fs;
    win32::AnsiCodePage codec;
    Services services;
};

std::string freshFolder(const std::string& name) {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    std::string dir = win32::narrow(base) + "lmv-bad-" + name;
    ::CreateDirectoryW(win32::widen(dir).c_str(), nullptr);
    ::DeleteFileW(win32::widen(dir + "\\lumivane.ini").c_str());
    return dir;
}

// What a path box can hold of a line: an edit control's text ends at a NUL.
std::string uptoNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

struct Case {
    const char* name;
    std::optional<std::string> bytes;  // nothing: no file at all
};

std::string randomBytes(size_t n, unsigned salt) {
    std::mt19937 random(salt);
    std::string bytes(n, '\0');
    for (auto& b : bytes) b = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::string fileWithSlot(int slot, const std::string& text) {
    std::string bytes = kHead;
    for (int k = 0; k < kFolderSlotCount; ++k) bytes += (k == slot ? text : std::string()) + "\r\n";
    return bytes;
}

std::vector<Case> badFiles() {
    std::string twenty = kHead;
    for (int i = 0; i < 16; ++i) twenty += "C:\\Folder " + std::to_string(i) + "\r\n";
    std::string lfOnly = "Lumivane\nVersion= 1.0\n\n[Folders]\nC:\\Windows\n\nD:\\A & B, C\n";
    std::string bom = "\xEF\xBB\xBF" + kHead + "C:\\\xE6\x97\xA5\xE6\x9C\xAC\r\n \xC3\xA9t\xC3\xA9 \r\n";
    // Every byte but the line ends, in the system's code page.
    std::string allBytes = kHead;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n') allBytes += static_cast<char>(b);
    allBytes += "\r\n";
    return {
        {"missing", std::nullopt},
        {"empty", std::string()},
        {"three lines", std::string("Lumivane\r\nVersion= 1.0\r\n\r\n")},
        {"twenty lines", twenty},
        {"LF only", lfOnly},
        {"UTF-8 byte-order mark", bom},
        {"one line of 1 MiB", std::string(1 << 20, 'x')},
        {"a slot of 1 MiB", fileWithSlot(0, "C:\\" + std::string((1 << 20) - 3, 'y'))},
        {"a slot of 1,000 characters", fileWithSlot(4, "D:\\" + std::string(997, 'a'))},
        {"a slot of 32,767 characters", fileWithSlot(9, "E:\\" + std::string(32764, 'b'))},
        {"every byte of the code page", allBytes},
        {"random binary bytes", randomBytes(4096, 20261208)},
        {"random binary after the heading", kHead + randomBytes(2048, 7)},
    };
}

} // namespace

TEST_CASE("bad settings files: the hub starts, leaves the file alone and loses nothing on save") {
    win32::Win32FileSystem fs;
    win32::AnsiCodePage codec;
    int index = 0;
    for (const Case& c : badFiles()) {
        CAPTURE(c.name);
        std::string dir = freshFolder(std::to_string(index++));
        std::string path = dir + "\\lumivane.ini";
        if (c.bytes) REQUIRE(fs.replaceFile(path, *c.bytes));

        RealFiles os(dir);
        auto& boxes = os.boxes;
        win32::HubWindow hub(os.services);
        REQUIRE(hub.create(::GetModuleHandleW(nullptr)));
        hub.form().Form_Load();
        CHECK(hub.hwnd() != nullptr);
        CHECK_FALSE(hub.isVisible());
        CHECK(boxes.shown.empty());

        auto onDisk = fs.readFile(path);
        REQUIRE(onDisk);
        CHECK(*onDisk == (c.bytes ? *c.bytes : modINI::DefaultFolderBytes(codec)));

        FolderList expected = modINI::ParseFolders(*onDisk, codec);
        FolderList shown;
        for (int k = 0; k < kFolderSlotCount; ++k) {
            auto slot = static_cast<size_t>(k);
            shown[slot] = hub.slotText(k);
            CHECK(shown[slot].size() == uptoNul(expected[slot]).size());
            CHECK(shown[slot] == uptoNul(expected[slot]));
        }

        REQUIRE(modINI::SaveFolders(path, hub, fs, codec));
        auto saved = fs.readFile(path);
        REQUIRE(saved);
        CHECK(modINI::ParseFolders(*saved, codec) == shown);
        CHECK(*saved == modINI::FormatFolders(shown, codec));
    }
    // Each destroyed hub posted a quit message; none may reach a later loop.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

namespace {
constexpr const wchar_t* kHoldPathVariable = L"LUMIVANE_HOLD_PATH";
constexpr const wchar_t* kHeldEvent = L"Local\\Lumivane.SettingsHeld";
// Starts another program that holds the file open without sharing it.
win32::UniqueHandle holdFile(const std::string& path) {
    ::SetEnvironmentVariableW(kHoldPathVariable, win32::widen(path).c_str());
    win32::UniqueHandle held(::CreateEventW(nullptr, TRUE, FALSE, kHeldEvent));
    ::ResetEvent(held.get());
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" --no-skip --test-case=\"hold settings child\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    REQUIRE(::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    ::CloseHandle(pi.hThread);
    win32::UniqueHandle process(pi.hProcess);
    REQUIRE(::WaitForSingleObject(held.get(), 30000) == WAIT_OBJECT_0);
    return process;
}

void release(win32::UniqueHandle& holder) {
    ::TerminateProcess(holder.get(), 0);
    ::WaitForSingleObject(holder.get(), 30000);
    holder.reset();
}

void dropQuitMessages() {
    // Each destroyed hub posted a quit message; none may reach a later loop.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}
} // namespace

// Not a test of its own: another program that holds the settings file open
// without sharing it, until it is ended.
TEST_CASE("hold settings child" * doctest::skip()) {
    wchar_t path[MAX_PATH] = {};
    ::GetEnvironmentVariableW(kHoldPathVariable, path, MAX_PATH);
    HANDLE file = ::CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    win32::UniqueHandle held(::OpenEventW(EVENT_MODIFY_STATE, FALSE, kHeldEvent));
    if (file == INVALID_HANDLE_VALUE || !held) ::ExitProcess(2);
    ::SetEvent(held.get());
    ::Sleep(INFINITE);
}

TEST_CASE("a settings file another program holds at start-up: the user is told, the file is untouched") {
    win32::Win32FileSystem fs;
    win32::AnsiCodePage codec;
    std::string dir = freshFolder("held");
    std::string path = dir + "\\lumivane.ini";
    const std::string mine = kHead + "E:\\Mine\r\nF:\\Also mine\r\n";
    REQUIRE(fs.replaceFile(path, mine));

    win32::UniqueHandle process = holdFile(path);
    {
        RealFiles os(dir);
        auto& boxes = os.boxes;
        win32::HubWindow hub(os.services);
        REQUIRE(hub.create(::GetModuleHandleW(nullptr)));
        hub.form().Form_Load();
        CHECK(hub.hwnd() != nullptr);
        REQUIRE(boxes.shown.size() == 1);
        CHECK(boxes.shown[0].rfind("The folders could not be read from " + path + ".", 0) == 0);
        // While the file is held a save fails too, and the file stays the user's.
        CHECK_FALSE(modINI::SaveFolders(path, hub, fs, codec));
    }
    release(process);
    auto bytes = fs.readFile(path);
    REQUIRE(bytes);
    CHECK(*bytes == mine);
    dropQuitMessages();
}

TEST_CASE("OK while another program holds the file: told, the dialog and the edit stay; OK again saves") {
    win32::Win32FileSystem fs;
    win32::AnsiCodePage codec;
    std::string dir = freshFolder("ok-held");
    std::string path = dir + "\\lumivane.ini";
    const std::string mine = kHead + "E:\\Mine\r\nF:\\Also mine\r\n";
    REQUIRE(fs.replaceFile(path, mine));
    {
        RealFiles os(dir);
        win32::HubWindow hub(os.services);
        REQUIRE(hub.create(::GetModuleHandleW(nullptr)));
        hub.form().Form_Load();
        hub.form().mnuCustomize_Click();
        REQUIRE(hub.isVisible());
        hub.setSlotText(2, "G:\\New \xC3\xA9t\xC3\xA9");

        win32::UniqueHandle holder = holdFile(path);
        hub.form().cmdOK_Click();
        REQUIRE(os.boxes.shown.size() == 1);
        CHECK(os.boxes.shown[0].rfind("The folders could not be saved to " + path + ".", 0) == 0);
        CHECK(hub.isVisible());
        CHECK(hub.slotText(2) == "G:\\New \xC3\xA9t\xC3\xA9");
        release(holder);
        CHECK(*fs.readFile(path) == mine);

        hub.form().cmdOK_Click();
        CHECK(os.boxes.shown.size() == 1);
        CHECK_FALSE(hub.isVisible());
        FolderList saved = modINI::ParseFolders(*fs.readFile(path), codec);
        CHECK(saved[0] == "E:\\Mine");
        CHECK(saved[1] == "F:\\Also mine");
        CHECK(saved[2] == "G:\\New \xC3\xA9t\xC3\xA9");
    }
    dropQuitMessages();
}

TEST_CASE("the file deleted while the program runs, then Cancel: the saved folders stay and are written back") {
    win32::Win32FileSystem fs;
    win32::AnsiCodePage codec;
    std::string dir = freshFolder("cancel-deleted");
    std::string path = dir + "\\lumivane.ini";
    const std::string mine = kHead + "E:\\Mine\r\n\r\nF:\\Also mine\r\n";
    REQUIRE(fs.replaceFile(path, mine));
    {
        RealFiles os(dir);
        win32::HubWindow hub(os.services);
        REQUIRE(hub.create(::GetModuleHandleW(nullptr)));
        hub.form().Form_Load();
        hub.form().mnuCustomize_Click();
        hub.setSlotText(0, "X:\\Cancelled");
        REQUIRE(::DeleteFileW(win32::widen(path).c_str()));

        hub.form().cmdCancel_Click();
        CHECK_FALSE(hub.isVisible());
        CHECK(hub.slotText(0) == "E:\\Mine");
        CHECK(hub.slotText(2) == "F:\\Also mine");
        auto bytes = fs.readFile(path);
        REQUIRE(bytes);
        FolderList onDisk = modINI::ParseFolders(*bytes, codec);
        CHECK(onDisk == modINI::ParseFolders(mine, codec));
        CHECK(os.boxes.shown.empty());
    }
    dropQuitMessages();
}
