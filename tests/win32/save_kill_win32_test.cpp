// A process killed at random moments while it saves the settings file: the file
// must always hold the complete old or the complete new content.
#include "folders/settings_file.h"
#include "platform/win32/files.h"
#include "platform/win32/text_codec.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <random>
#include <string>

using namespace lumivane;

namespace {

constexpr const wchar_t* kPathVariable = L"LUMIVANE_SAVE_KILL_PATH";
constexpr const wchar_t* kStartedEvent = L"Local\\Lumivane.SaveKillStarted";
constexpr int kRounds = 50;

struct Slots final : FolderSlots {
    FolderList list;
    std::string slotText(int k) const override { return list[static_cast<size_t>(k)]; }
    void setSlotText(int k, const std::string& t) override { list[static_cast<size_t>(k)] = t; }
};

// Two contents large enough that a write takes a while; one of them UTF-8, so
// both encodings are interrupted.
Slots contentA() {
    Slots s;
    for (int k = 0; k < kFolderSlotCount; ++k)
        s.list[static_cast<size_t>(k)] = "C:\\A" + std::to_string(k) + "\\" + std::string(3000, 'a');
    return s;
}
Slots contentB() {
    Slots s;
    for (int k = 0; k < kFolderSlotCount; ++k)
        s.list[static_cast<size_t>(k)] = "D:\\\xE6\x97\xA5" + std::to_string(k) + "\\" + std::string(2000, 'b');
    return s;
}

std::string folderForRounds() {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    std::string dir = win32::narrow(base) + "lmv-save-kill";
    ::CreateDirectoryW(win32::widen(dir).c_str(), nullptr);
    return dir;
}

int leftoverTemporaryFiles(const std::string& dir) {
    int count = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(win32::widen(dir + "\\lmv*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        ++count;
        ::DeleteFileW(win32::widen(dir + "\\" + win32::narrow(found.cFileName)).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return count;
}

} // namespace

// Not a test of its own: the body of the saving process, which alternates the
// two contents until it is killed.
TEST_CASE("save kill child" * doctest::skip()) {
    wchar_t path[MAX_PATH] = {};
    ::GetEnvironmentVariableW(kPathVariable, path, MAX_PATH);
    win32::Win32FileSystem fs;
    win32::AnsiCodePage codec;
    Slots a = contentA();
    Slots b = contentB();
    win32::UniqueHandle started(::OpenEventW(EVENT_MODIFY_STATE, FALSE, kStartedEvent));
    for (unsigned n = 0;; ++n) {
        modINI::SaveFolders(win32::narrow(path), n % 2 ? b : a, fs, codec);
        if (n == 1 && started) ::SetEvent(started.get());
    }
}

TEST_CASE("killed at random moments during saves, the file is always whole") {
    win32::Win32FileSystem fs;
    win32::AnsiCodePage codec;
    std::string dir = folderForRounds();
    std::string path = dir + "\\lumivane.ini";
    const std::string bytesA = modINI::FormatFolders(contentA().list, codec);
    const std::string bytesB = modINI::FormatFolders(contentB().list, codec);
    REQUIRE(bytesA.size() > 30000);
    REQUIRE(bytesB.rfind("\xEF\xBB\xBF", 0) == 0);
    REQUIRE(fs.replaceFile(path, bytesA));
    ::SetEnvironmentVariableW(kPathVariable, win32::widen(path).c_str());

    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --no-skip --test-case=\"save kill child\"";
    win32::UniqueHandle started(::CreateEventW(nullptr, TRUE, FALSE, kStartedEvent));
    REQUIRE(started);

    std::mt19937 random(4711);
    int oldSeen = 0, newSeen = 0, leftovers = 0;
    for (int round = 0; round < kRounds; ++round) {
        CAPTURE(round);
        ::ResetEvent(started.get());
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        std::wstring line = commandLine;
        REQUIRE(::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        win32::UniqueHandle process(pi.hProcess);
        win32::UniqueHandle thread(pi.hThread);
        REQUIRE(::WaitForSingleObject(started.get(), 30000) == WAIT_OBJECT_0);
        ::Sleep(static_cast<DWORD>(random() % 40));
        ::TerminateProcess(process.get(), 9);
        REQUIRE(::WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0);

        auto bytes = fs.readFile(path);
        REQUIRE(bytes);
        bool whole = *bytes == bytesA || *bytes == bytesB;
        CHECK(whole);
        if (*bytes == bytesA) ++oldSeen;
        if (*bytes == bytesB) ++newSeen;
        leftovers += leftoverTemporaryFiles(dir);
    }
    MESSAGE("whole A: " << oldSeen << ", whole B: " << newSeen << ", temporary files left by the kills: " << leftovers);
    // The rounds only prove something if the kills hit both states.
    CHECK(oldSeen > 0);
    CHECK(newSeen > 0);
}
