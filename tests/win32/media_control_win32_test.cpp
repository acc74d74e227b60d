// The multimedia library costs start-up time, so the program loads it only
// when a door command is first sent.
#include "platform/win32/media_control.h"

#include <doctest/doctest.h>
#include <windows.h>

TEST_CASE("the multimedia library is loaded by the first door command, not before") {
    CHECK(::GetModuleHandleW(L"winmm.dll") == nullptr);
    lumivane::win32::Win32MediaControl mci;
    // No such device here: the command fails quietly, as every MCI error does.
    mci.sendString("Set NoSuchAlias Door Open");
    CHECK(::GetModuleHandleW(L"winmm.dll") != nullptr);
    mci.sendString("Set NoSuchAlias Door Closed");
}
