// The settings file on the real file system: bad files read by the real hub
// window, a file another program holds, and saves killed half-way. The file
// must always hold one whole content, and nothing read may be lost.
#include "fakes/recording.h"
#include "folders/settings_file.h"
#include "platform/win32/files.h"
#include "platform/win32/text_codec.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"
#include "shell/hub_window.h"
#include "support.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace lumivane;

namespace {

const std::string kHead = "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n";

std::string freshFolder(const std::string& name) {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    std::string dir = win32::narrow(base) + "lmv-" + name;
    ::CreateDirectoryW(win32::widen(dir).c_str(), nullptr);
    ::DeleteFileW(win32::widen(dir + "\\lumivane.ini").c_str());
    return dir;
}

bool temporaryFileLeft(const std::string& dir) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(win32::widen(dir + "\\lmv*.tmp").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
    return search != INVALID_HANDLE_VALUE;
}

// The real hub window on the real file system and code page; the rest recorded.
struct RealHub {
    explicit RealHub(std::string dir)
        : services{fake.boxes, fs, codec, std::move(dir), fake.tray, fake.menuEngine, fake.processes,
                   fake.desktop, fake.osVersion, fake.drives, fake.mci, fake.cover, fake.registry,
                   fake.folderPicker, "lumivane.exe", fake.aboutBox, fake.background, fake.hotKeys} {
        REQUIRE(hub.create(::GetModuleHandleW(nullptr)));
        hub.logic().start();
    }
    struct DropQuit {
        ~DropQuit() { testing::dropQuitMessages(); }
    } dropQuit;  // first, so it goes last
    fakes::FakeOs fake;
    win32::Win32FileSystem fs;
    win32::AnsiCodePage codec;
    Services services;
    win32::HubWindow hub{services};
};

} // namespace

TEST_CASE("bad settings files: the hub starts quietly, leaves the file alone, and saves back exactly what it shows") {
    std::string allBytes = kHead;  // every byte but the line ends, in the system's code page
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n') allBytes += static_cast<char>(b);
    std::string randomBytes = kHead;
    std::mt19937 random(7);
    for (int i = 0; i < 2048; ++i) randomBytes += static_cast<char>(random() & 0xFF);
    // Notepad's "Unicode", either byte order, with a folder outside every code page.
    auto utf16 = [](bool bigEndian) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (wchar_t unit : win32::widen(kHead + "C:\\\xC3\x9C" "ber\r\nD:\\\xE6\x97\xA5\r\n")) {
            const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    };
    const struct {
        const char* name;
        std::optional<std::string> bytes;  // nothing: no file at all
        FolderList shows{};                // what the rows show, where the case says
    } cases[] = {
        {"missing", std::nullopt},
        {"one line of 1 MiB", std::string(1 << 20, 'x')},
        {"a slot of 1 MiB", kHead + "C:\\" + std::string(1 << 20, 'y') + "\r\nD:\\\r\n"},
        {"every byte of the code page", allBytes + "\r\n"},
        {"random binary after the heading", randomBytes},
        {"UTF-16LE", utf16(false), {"C:\\\xC3\x9C" "ber", "D:\\\xE6\x97\xA5"}},
        {"UTF-16BE", utf16(true), {"C:\\\xC3\x9C" "ber", "D:\\\xE6\x97\xA5"}},
    };
    int index = 0;
    for (const auto& c : cases) {
        CAPTURE(c.name);
        std::string dir = freshFolder("bad-" + std::to_string(index++));
        std::string path = dir + "\\lumivane.ini";
        win32::Win32FileSystem fs;
        win32::AnsiCodePage codec;
        if (c.bytes) REQUIRE(fs.replaceFile(path, *c.bytes));
        RealHub os(dir);
        CHECK_FALSE(os.hub.isVisible());
        CHECK_FALSE(os.fake.log.contains("messageBox"));
        auto onDisk = fs.readFile(path);
        REQUIRE(onDisk);
        CHECK(*onDisk == (c.bytes ? *c.bytes : settings_file::defaultFolderBytes(codec)));

        FolderList expected = settings_file::parseFolders(*onDisk, codec), shown;
        for (size_t k = 0; k < shown.size(); ++k) {
            shown[k] = os.hub.slotText(static_cast<int>(k));
            CHECK(shown[k] == expected[k].substr(0, expected[k].find('\0')));  // a path box ends at a NUL
        }
        if (!c.shows[0].empty()) CHECK(shown == c.shows);
        REQUIRE(settings_file::saveFolders(path, os.hub, fs, codec));
        CHECK(fs.readFile(path) == settings_file::formatFolders(shown, codec));
    }
}

namespace {
constexpr const wchar_t* kPathVariable = L"LUMIVANE_SETTINGS_TEST_PATH";
constexpr const wchar_t* kReadyEvent = L"Local\\Lumivane.SettingsTestReady";

std::wstring pathFromParent() {
    wchar_t path[MAX_PATH] = {};
    ::GetEnvironmentVariableW(kPathVariable, path, MAX_PATH);
    return path;
}

// Runs this program again, only the named test case (marked skip, so that it
// runs nowhere else), on the file; returns once the child has begun.
win32::UniqueHandle startChild(const wchar_t* testCase, const std::string& path, HANDLE ready) {
    ::SetEnvironmentVariableW(kPathVariable, win32::widen(path).c_str());
    ::ResetEvent(ready);
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" --no-skip --test-case=\"" + testCase + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    REQUIRE(::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    ::CloseHandle(pi.hThread);
    win32::UniqueHandle child(pi.hProcess);
    REQUIRE(::WaitForSingleObject(ready, 30000) == WAIT_OBJECT_0);
    return child;
}
} // namespace

// Not a test of its own: another program that holds the file open without
// sharing it, until it is ended.
TEST_CASE("hold settings child" * doctest::skip()) {
    HANDLE file = ::CreateFileW(pathFromParent().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    win32::UniqueHandle ready(::OpenEventW(EVENT_MODIFY_STATE, FALSE, kReadyEvent));
    if (file == INVALID_HANDLE_VALUE || !ready) ::ExitProcess(2);
    ::SetEvent(ready.get());
    ::Sleep(INFINITE);
}

TEST_CASE("a settings file another program holds: told at start-up, a save fails cleanly, the file is not touched") {
    win32::Win32FileSystem fs;
    win32::AnsiCodePage codec;
    std::string dir = freshFolder("held");
    std::string path = dir + "\\lumivane.ini";
    const std::string mine = kHead + "E:\\Mine\r\nF:\\Also mine\r\n";
    REQUIRE(fs.replaceFile(path, mine));
    win32::UniqueHandle ready(::CreateEventW(nullptr, TRUE, FALSE, kReadyEvent));
    win32::UniqueHandle holder = startChild(L"hold settings child", path, ready.get());
    {
        RealHub os(dir);
        auto boxes = os.fake.log.only({"messageBox("});
        REQUIRE(boxes.size() == 1);
        CHECK(boxes[0].rfind("messageBox(The folders could not be read from " + path + ".", 0) == 0);
        CHECK_FALSE(settings_file::saveFolders(path, os.hub, fs, codec));
        CHECK_FALSE(temporaryFileLeft(dir));
        // Held for a moment is not forbidden: the file stays where it is.
        CHECK(fs.mayWrite(path));
    }
    ::TerminateProcess(holder.get(), 0);
    ::WaitForSingleObject(holder.get(), 30000);
    CHECK(fs.readFile(path) == mine);
}

TEST_CASE("whether the program may write its settings file there: asked without a trace, refused for a read-only "
          "file or a missing folder; the profile's folder") {
    win32::Win32FileSystem fs;
    std::string dir = freshFolder("may-write");
    std::string path = dir + "\\lumivane.ini";
    CHECK(fs.mayWrite(path));
    REQUIRE(fs.replaceFile(path, kHead));
    auto lastWrite = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        REQUIRE(::GetFileAttributesExW(win32::widen(path).c_str(), GetFileExInfoStandard, &data));
        return (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    };
    const auto written = lastWrite();
    CHECK(fs.mayWrite(path));
    CHECK(lastWrite() == written);
    CHECK(fs.readFile(path) == kHead);
    CHECK_FALSE(temporaryFileLeft(dir));
    REQUIRE(::SetFileAttributesW(win32::widen(path).c_str(), FILE_ATTRIBUTE_READONLY));
    CHECK_FALSE(fs.mayWrite(path));
    ::SetFileAttributesW(win32::widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    CHECK_FALSE(fs.mayWrite(dir + "\\missing\\lumivane.ini"));

    const std::string profile = fs.roamingAppData();
    REQUIRE(fs.folderExists(profile));
    const std::string made = profile + "\\Lumivane-test";
    CHECK(fs.makeFolder(made));
    CHECK(fs.makeFolder(made));  // there already
    CHECK(fs.folderExists(made));
    ::RemoveDirectoryW(win32::widen(made).c_str());
}

namespace {
// Two contents large enough that a write takes a while; one of them UTF-8, so
// both encodings are interrupted.
FolderList content(char which) {
    FolderList list;
    for (size_t k = 0; k < list.size(); ++k)
        list[k] = which == 'A' ? "C:\\A" + std::to_string(k) + "\\" + std::string(3000, 'a')
                               : "D:\\\xE6\x97\xA5" + std::to_string(k) + "\\" + std::string(2000, 'b');
    return list;
}
} // namespace

// Not a test of its own: saves the two contents in turn until it is killed.
TEST_CASE("save kill child" * doctest::skip()) {
    win32::Win32FileSystem fs;
    win32::AnsiCodePage codec;
    const std::string path = win32::narrow(pathFromParent());
    win32::UniqueHandle ready(::OpenEventW(EVENT_MODIFY_STATE, FALSE, kReadyEvent));
    for (unsigned n = 0;; ++n) {
        settings_file::saveFolders(path, content(n % 2 ? 'B' : 'A'), fs, codec);
        if (n == 1 && ready) ::SetEvent(ready.get());
    }
}

TEST_CASE("killed at random moments while saving, the file always holds one whole content; the next save removes "
          "what a cut one left") {
    win32::Win32FileSystem fs;
    win32::AnsiCodePage codec;
    std::string dir = freshFolder("save-kill");
    std::string path = dir + "\\lumivane.ini";
    const std::string bytesA = settings_file::formatFolders(content('A'), codec);
    const std::string bytesB = settings_file::formatFolders(content('B'), codec);
    REQUIRE(bytesA.size() > 30000);
    REQUIRE(bytesB.rfind("\xEF\xBB\xBF", 0) == 0);
    REQUIRE(fs.replaceFile(path, bytesA));
    win32::UniqueHandle ready(::CreateEventW(nullptr, TRUE, FALSE, kReadyEvent));

    std::mt19937 random(4711);
    int seenA = 0, seenB = 0;
    for (int round = 0; round < 40; ++round) {
        CAPTURE(round);
        win32::UniqueHandle saver = startChild(L"save kill child", path, ready.get());
        ::Sleep(static_cast<DWORD>(random() % 40));
        ::TerminateProcess(saver.get(), 9);
        REQUIRE(::WaitForSingleObject(saver.get(), 30000) == WAIT_OBJECT_0);
        auto bytes = fs.readFile(path);
        REQUIRE(bytes);
        CHECK((*bytes == bytesA || *bytes == bytesB));
        seenA += *bytes == bytesA;
        seenB += *bytes == bytesB;
    }
    // The rounds only prove something if the kills hit both states.
    CHECK(seenA > 0);
    CHECK(seenB > 0);

    // What a cut save left goes with the next save: files of the temporary
    // name only, and only in the settings file's folder.
    const std::string below = dir + "\\keep";
    ::CreateDirectoryW(win32::widen(below).c_str(), nullptr);
    const std::string left[] = {"lmv1.tmp", "lmvBEEF.TMP", "lmv0a9f.tmp"};
    const std::string kept[] = {"lmv12345.tmp", "lmvx.tmp", "lmv1.tmp.txt", "lmv.tmp", "notes.tmp", "keep\\lmv2.tmp"};
    auto make = [&](const std::string& name) {
        win32::UniqueFile file(::CreateFileW(win32::widen(dir + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, 0, nullptr));
        REQUIRE(file);
    };
    for (const auto& name : left) make(name);
    for (const auto& name : kept) make(name);
    REQUIRE(settings_file::saveFolders(path, content('A'), fs, codec));
    for (const auto& name : left) CHECK_FALSE(fs.fileExists(dir + "\\" + name));
    for (const auto& name : kept) CHECK(fs.fileExists(dir + "\\" + name));
    CHECK(fs.readFile(path) == bytesA);
}
