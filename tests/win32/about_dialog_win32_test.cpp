#include "about/about_dialog.h"
#include "about/about_layout.h"
#include "about/sys_info.h"
#include "fakes/about.h"
#include "fakes/recording.h"
#include "platform/win32/files.h"
#include "platform/win32/process.h"
#include "platform/win32/registry_read.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <functional>

using namespace lumivane;
namespace id = about::control_id;

namespace {
// The About box runs its own modal loop; the dialog manager shows every
// message of that loop to a message filter hook, which drives the box.
struct Driver {
    std::function<void(HWND)> onDialog;
    bool ran = false;
    int calls = 0;
};
Driver* g_driver = nullptr;

std::wstring windowText(HWND hwnd) {
    wchar_t buffer[256] = {};
    ::GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

std::wstring className(HWND hwnd) {
    wchar_t buffer[64] = {};
    ::GetClassNameW(hwnd, buffer, 64);
    return buffer;
}

LRESULT CALLBACK filterHook(int code, WPARAM wParam, LPARAM lParam) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && g_driver && msg->hwnd) {
        HWND root = ::GetAncestor(msg->hwnd, GA_ROOT);
        if (!g_driver->ran && className(root) == L"#32770" && windowText(root) == L"Lumivane") {
            g_driver->ran = true;
            try {
                g_driver->onDialog(root);
            } catch (...) {
                ::EndDialog(root, IDABORT);
            }
        } else if (++g_driver->calls > 20000) {
            // A driver that failed to close the box must not hang the run.
            ::EndDialog(root, IDABORT);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void open(win32::AboutDialog& box, std::int16_t& count, std::function<void(HWND)> onDialog) {
    Driver driver{std::move(onDialog)};
    g_driver = &driver;
    HHOOK hook = ::SetWindowsHookExW(WH_MSGFILTER, &filterHook, nullptr, ::GetCurrentThreadId());
    REQUIRE(hook);
    box.show(count);
    ::UnhookWindowsHookEx(hook);
    g_driver = nullptr;
    CHECK(driver.ran);
}

void pressKey(HWND dialog, WPARAM key) {
    ::PostMessageW(::GetDlgItem(dialog, id::cmdOK), WM_KEYDOWN, key, 1);
}

bool styleVisible(HWND control) {
    return (::GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

about::Rect clientRectOf(HWND control, HWND dialog) {
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

struct Rig {
    fakes::CallLog log;
    fakes::FakeRegistryReader registry{log};
    fakes::FakeFileSystem files{log};
    fakes::FakeProcessStarter processes{log};
    fakes::FakeMessageBoxes boxes{log};
    about::SysInfoServices sysInfo{registry, files, processes, boxes, ""};
    win32::AboutDialog box{::GetModuleHandleW(nullptr), sysInfo, processes};
};
} // namespace

TEST_CASE("the About box is a fixed, unowned dialog with its controls where the layout puts them") {
    Rig rig;
    std::int16_t count = 0;
    auto layout = about::LayOutAbout(win32::SystemDpi());
    open(rig.box, count, [&](HWND dialog) {
        LONG_PTR style = ::GetWindowLongPtrW(dialog, GWL_STYLE);
        CHECK((style & WS_CAPTION) == WS_CAPTION);
        CHECK((style & DS_MODALFRAME) != 0);
        CHECK((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0);
        CHECK(::GetWindow(dialog, GW_OWNER) == nullptr);

        RECT client;
        ::GetClientRect(dialog, &client);
        CHECK(client.right == layout.clientWidth);
        CHECK(client.bottom == layout.clientHeight);

        for (const auto& placed : layout.controls) {
            CAPTURE(placed.control->name);
            HWND control = ::GetDlgItem(dialog, placed.control->id);
            REQUIRE(control);
            CHECK(clientRectOf(control, dialog) == placed.pixels);
            if (placed.control->kind != about::ControlKind::Picture)
                CHECK(win32::narrow(windowText(control)) == placed.control->text);
        }
        CHECK(windowText(::GetDlgItem(dialog, id::lblTitle)) == L"Lumivane By Orrindale");
        CHECK(windowText(::GetDlgItem(dialog, id::cmdSysInfo)) == L"&System Info...");

        // Tab order: the two buttons are the only stops, OK first.
        CHECK(::GetNextDlgTabItem(dialog, nullptr, FALSE) == ::GetDlgItem(dialog, id::cmdOK));
        CHECK(::GetNextDlgTabItem(dialog, ::GetDlgItem(dialog, id::cmdOK), FALSE) == ::GetDlgItem(dialog, id::cmdSysInfo));
        CHECK(LOWORD(::SendMessageW(dialog, DM_GETDEFID, 0, 0)) == id::cmdOK);

        CHECK(::SendDlgItemMessageW(dialog, id::picIcon, STM_GETICON, 0, 0) != 0);
        CHECK(::SendMessageW(dialog, WM_GETICON, ICON_BIG, 0) != 0);

        LOGFONTW secret{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendDlgItemMessageW(dialog, id::Label5, WM_GETFONT, 0, 0)),
                     sizeof(secret), &secret);
        CHECK(secret.lfWeight == FW_BOLD);
        CHECK(secret.lfHeight == layout.secretFontHeight);
        CHECK(std::wstring(secret.lfFaceName) == L"MS Sans Serif");
        CHECK_FALSE(styleVisible(::GetDlgItem(dialog, id::Label5)));

        pressKey(dialog, VK_ESCAPE);
    });
    CHECK(count == 1);
}

TEST_CASE("the links are blue with a hand cursor; the other labels are not") {
    Rig rig;
    std::int16_t count = 0;
    open(rig.box, count, [&](HWND dialog) {
        win32::UniqueMemDC dc(::CreateCompatibleDC(nullptr));
        auto textColour = [&](int control) {
            ::SetTextColor(dc.get(), RGB(1, 2, 3));
            ::SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog, control)));
            return ::GetTextColor(dc.get());
        };
        CHECK(textColour(id::lblWebPage) == RGB(0, 0, 255));
        CHECK(textColour(id::Label2) == RGB(0, 0, 255));
        CHECK(textColour(id::lblTitle) == RGB(0, 0, 0));
        CHECK(textColour(id::lblDisclaimer) == RGB(0, 0, 0));

        HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        ::SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(::GetDlgItem(dialog, id::Label3)),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        CHECK(::GetCursor() != hand);
        CHECK(::SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(::GetDlgItem(dialog, id::Label2)),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)) == TRUE);
        CHECK(::GetCursor() == hand);
        pressKey(dialog, VK_RETURN);
    });
}

TEST_CASE("Escape, Enter and OK close the box; Label5 shows on the eighth opening only") {
    Rig rig;
    // Openings one to six are the counter's business alone (and each closing
    // costs Wine seconds without a window manager): start at the seventh.
    std::int16_t count = 6;
    std::vector<int> secretOn;
    for (int opening = 7; opening <= 9; ++opening) {
        open(rig.box, count, [&](HWND dialog) {
            if (styleVisible(::GetDlgItem(dialog, id::Label5))) secretOn.push_back(opening);
            switch (opening % 3) {
            case 0: pressKey(dialog, VK_ESCAPE); break;
            case 1: pressKey(dialog, VK_RETURN); break;
            default: ::PostMessageW(::GetDlgItem(dialog, id::cmdOK), BM_CLICK, 0, 0); break;
            }
        });
    }
    CHECK(secretOn == std::vector<int>{8});
    CHECK(count == 9);
}

TEST_CASE("System Info and the web link start their programs from the open box, which stays open") {
    Rig rig;
    rig.registry.setText(about::kSysInfoKey, about::kSysInfoValue, "C:\\windows\\system32\\msinfo32.exe");
    rig.processes.startable = {"C:\\windows\\system32\\msinfo32.exe"};
    std::int16_t count = 0;
    bool openAfterClicks = false;
    open(rig.box, count, [&](HWND dialog) {
        ::SendMessageW(::GetDlgItem(dialog, id::cmdSysInfo), BM_CLICK, 0, 0);
        HWND web = ::GetDlgItem(dialog, id::lblWebPage);
        ::SendMessageW(web, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageW(web, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        openAfterClicks = ::IsWindow(dialog) != FALSE;
        pressKey(dialog, VK_ESCAPE);
    });
    CHECK(openAfterClicks);
    auto starts = rig.log.only({"start("});
    REQUIRE(starts.size() >= 2);
    CHECK(starts[0] == "start(C:\\windows\\system32\\msinfo32.exe|1)");
    // However many clicks the static control reports, each one is the web link.
    for (size_t i = 1; i < starts.size(); ++i) CHECK(starts[i] == "start(explorer https://example.org/lumivane|2)");
}

TEST_CASE("the etched rule: a grey line with a white line just below") {
    auto layout = about::LayOutAbout(96);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = layout.clientWidth;
    info.bmiHeader.biHeight = -layout.clientHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    win32::UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    REQUIRE(bitmap);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    std::fill(pixels, pixels + layout.clientWidth * layout.clientHeight, 0x00123456u);
    win32::UniqueMemDC dc(::CreateCompatibleDC(nullptr));
    {
        win32::SelectGuard select(dc.get(), bitmap.get());
        win32::DrawRule(dc.get(), layout);
        ::GdiFlush();
    }
    auto at = [&](int x, int y) { return pixels[y * layout.clientWidth + x]; };
    int y = layout.greyLine.top;
    int left = layout.greyLine.left;
    int right = left + layout.greyLine.width - 1;
    for (int x : {left, layout.clientWidth / 2, right}) {
        CHECK(at(x, y) == 0x00808080u);
        CHECK(at(x, y + 1) == 0x00FFFFFFu);
        CHECK(at(x, y - 1) == 0x00123456u);
        CHECK(at(x, y + 2) == 0x00123456u);
    }
    CHECK(at(left - 1, y) == 0x00123456u);
    CHECK(at(right + 1, y) == 0x00123456u);
}

TEST_CASE("the registry reader opens for reading and hands the stored bytes to the text handling") {
    const wchar_t* key = L"SOFTWARE\\LumivaneAboutTest";
    HKEY raw = nullptr;
    REQUIRE(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr) ==
            ERROR_SUCCESS);
    win32::UniqueKey written(raw);
    const wchar_t twelve[] = L"C:\\MSINFO.EX";
    ::RegSetValueExW(written.get(), L"WithNul", 0, REG_SZ, reinterpret_cast<const BYTE*>(twelve), 26);
    ::RegSetValueExW(written.get(), L"WithoutNul", 0, REG_SZ, reinterpret_cast<const BYTE*>(twelve), 24);
    DWORD number = 0x00010203;
    ::RegSetValueExW(written.get(), L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);

    win32::Win32RegistryReader reader;
    auto withNul = reader.readValue(platform::RegistryRoot::LocalMachine, "SOFTWARE\\LumivaneAboutTest", "WithNul");
    REQUIRE(withNul);
    CHECK(withNul->type == platform::kRegSz);
    CHECK(withNul->data.size() == 26);

    std::string text;
    auto root = platform::RegistryRoot::LocalMachine;
    CHECK(about::GetKeyValue(reader, root, "SOFTWARE\\LumivaneAboutTest", "WithNul", text));
    CHECK(text == "C:\\MSINFO.EX");
    text.clear();
    CHECK(about::GetKeyValue(reader, root, "SOFTWARE\\LumivaneAboutTest", "WithoutNul", text));
    CHECK(text == "C:\\MSINFO.EX");
    CHECK(about::GetKeyValue(reader, root, "SOFTWARE\\LumivaneAboutTest", "Number", text));
    CHECK(text == "&h10203");
    CHECK_FALSE(about::GetKeyValue(reader, root, "SOFTWARE\\LumivaneAboutTest", "Missing", text));
    CHECK(text.empty());
    CHECK_FALSE(about::GetKeyValue(reader, root, "SOFTWARE\\LumivaneNoSuchKey", "PATH", text));
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, key);
}

TEST_CASE("the system directory holds the system information program, and starts report success honestly") {
    win32::Win32FileSystem files;
    std::string dir = win32::systemProgramDirectory();
    REQUIRE_FALSE(dir.empty());
    CHECK(files.fileExists(dir + "\\msinfo32.exe"));

    win32::Win32Processes quiet(win32::Win32Processes::OnFailure::Silent);
    CHECK(quiet.start(dir + "\\cmd.exe /c exit 0", SW_HIDE));
    CHECK_FALSE(quiet.start("C:\\nowhere\\missing.exe", SW_SHOWNORMAL));
    CHECK_FALSE(quiet.start("", SW_SHOWNORMAL));
}

TEST_CASE("About chosen again while the box is open brings it forward without a second box or count") {
    Rig rig;
    std::int16_t count = 0;
    int dialogsDuring = 0;
    open(rig.box, count, [&](HWND dialog) {
        rig.box.show(count);  // returns at once
        CHECK(count == 1);
        for (HWND w = ::FindWindowExW(nullptr, nullptr, L"#32770", L"Lumivane"); w;
             w = ::FindWindowExW(nullptr, w, L"#32770", L"Lumivane"))
            if (::GetWindowThreadProcessId(w, nullptr) == ::GetCurrentThreadId()) ++dialogsDuring;
        pressKey(dialog, VK_ESCAPE);
    });
    CHECK(dialogsDuring == 1);
    open(rig.box, count, [&](HWND dialog) { pressKey(dialog, VK_ESCAPE); });
    CHECK(count == 2);
}

TEST_CASE("the program ending while the box is open ends the box too") {
    Rig rig;
    std::int16_t count = 0;
    open(rig.box, count, [&](HWND) { ::PostQuitMessage(7); });
    // The quit stays queued for the program's own loop.
    MSG msg;
    CHECK(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    CHECK(msg.wParam == 7);
    open(rig.box, count, [&](HWND dialog) { pressKey(dialog, VK_ESCAPE); });
    CHECK(count == 2);
}
