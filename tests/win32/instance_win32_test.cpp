#include "platform/win32/instance.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <string>

using namespace lumivane;

namespace {
constexpr const wchar_t* kLockName = L"Local\\Lumivane.InstanceTest";

// Runs this test program again as a second process that only asks the lock;
// its exit code says what it saw: 3 another instance, 0 none.
DWORD askFromAnotherProcess() {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --no-skip --test-case=\"instance lock child\"";
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    BOOL started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    REQUIRE(started);
    ::WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 99;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return code;
}
} // namespace

// Not a test of its own: the body of the second process above.
TEST_CASE("instance lock child" * doctest::skip()) {
    win32::NamedMutexInstanceLock lock(kLockName);
    ::ExitProcess(lock.anotherInstanceRunning() ? 3 : 0);
}

TEST_CASE("a second process sees the first copy, and not once it has ended") {
    {
        win32::NamedMutexInstanceLock first(kLockName);
        REQUIRE_FALSE(first.anotherInstanceRunning());
        CHECK(askFromAnotherProcess() == 3);
    }
    CHECK(askFromAnotherProcess() == 0);
}
