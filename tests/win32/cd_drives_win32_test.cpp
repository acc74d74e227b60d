#include "actions/cd_drives.h"
#include "fakes/recording.h"
#include "platform/win32/media_control.h"
#include "platform/win32/system_info.h"
#include "platform/win32/wide.h"
#include "shell/frm_folder_browse.h"

#include <doctest/doctest.h>
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace lumivane;

namespace {
// The mount manager's own request for defining a drive letter on a Unix
// folder, with a drive type; it also writes the drive's registry entry.
struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDev;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

bool defineCdDrive(wchar_t letter, const std::string& unixFolder) {
    HANDLE manager = ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    std::string buffer(sizeof(UnixDriveRequest) + unixFolder.size() + 1, '\0');
    UnixDriveRequest request{};
    request.size = static_cast<ULONG>(buffer.size());
    request.type = DRIVE_CDROM;
    request.letter = letter;
    request.mountPointOffset = sizeof(UnixDriveRequest);
    memcpy(buffer.data(), &request, sizeof(request));
    memcpy(buffer.data() + sizeof(request), unixFolder.c_str(), unixFolder.size() + 1);
    DWORD got = 0;
    BOOL ok = ::DeviceIoControl(manager, kDefineUnixDrive, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, 0,
                                &got, nullptr);
    ::CloseHandle(manager);
    return ok != FALSE;
}

struct RealDrivesHub {
    fakes::FakeOs os;
    win32::Win32DriveInfo drives;
    win32::Win32MediaControl mci;
    Services services{os.instance, os.boxes, os.files, os.codec, "C:\\Tools", os.tray, os.menuEngine, os.processes, os.desktop,
                      os.osVersion, drives, mci, os.turnMonOff, os.registry, os.folderPicker, "lumivane.exe", os.aboutBox};
    fakes::FakeFormHost host{os.log};
    frmFolderBrowse form{host, services};
};
} // namespace

TEST_CASE("a CD drive declared in the prefix gives its two items, and choosing them with no disc returns") {
    const char* prefix = std::getenv("LUMIVANE_TEST_PREFIX");
    REQUIRE_MESSAGE(prefix, "runs in its own Wine prefix");
    ::CreateDirectoryW(L"C:\\cdrom", nullptr);
    REQUIRE(defineCdDrive(L'd', std::string(prefix) + "/drive_c/cdrom"));

    win32::Win32DriveInfo info;
    auto drives = modMain::GetDriveList(info);
    CAPTURE(drives.size());
    REQUIRE(std::find(drives.begin(), drives.end(), "D:\\") != drives.end());
    CHECK(std::find(drives.begin(), drives.end(), "C:\\") != drives.end());
    CHECK(modMain::GetCDDrives(drives, info) == std::vector<std::string>{"D:\\"});

    RealDrivesHub hub;
    hub.form.Form_Load();
    std::vector<std::string> captions;
    for (const auto& item : hub.form.mnuPopup.items())
        if (item.name == "mnuCDEject") captions.push_back(item.caption);
    CHECK(captions == std::vector<std::string>{"- CD Drives", "Open [D:]", "Close [D:]"});

    // No disc: both commands fail quietly and promptly; the second choice
    // repeats the Open on an alias that is still open.
    ULONGLONG started = ::GetTickCount64();
    hub.form.onMenuCommand(menu_id::kCDEjectBase + 1);
    hub.form.onMenuCommand(menu_id::kCDEjectBase + 2);
    hub.form.onMenuCommand(menu_id::kCDEjectBase + 1);
    CHECK(::GetTickCount64() - started < 10000);
    CHECK_FALSE(hub.os.log.contains("messageBox"));
}
