// The tray popup opened and closed a thousand times through the real hub
// window: no crash, and the process's objects and the engine's records stay
// where they were.
#include "coolmenu/win32/cool_menu.h"
#include "fakes/recording.h"
#include "platform/win32/menu_engine.h"
#include "platform/win32/tray.h"
#include "shell/hub_window.h"
#include "shell/mod_systray.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <cstdint>
#include <string>

using namespace lumivane;

namespace {

constexpr int kRounds = 1000;

WNDPROC previousProc = nullptr;
int popupsOpened = 0;
int itemsDrawn = 0;

// Placed over the hub's procedure: every popup is ended as soon as it waits
// for input, the way a user's click elsewhere ends it.
LRESULT CALLBACK closeEveryMenu(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITMENUPOPUP) ++popupsOpened;
    if (msg == WM_DRAWITEM) ++itemsDrawn;
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU) ::PostMessageW(hwnd, WM_CANCELMODE, 0, 0);
    return ::CallWindowProcW(previousProc, hwnd, msg, wParam, lParam);
}

// Live GDI objects of this process. Wine answers 0 to GetGuiResources; its
// per-process GDI handle table, which the process block points to, shows them.
int gdiObjectCount() {
    DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (n) return static_cast<int>(n);
    struct Entry {
        std::uint64_t object;
        std::uint32_t owner;
        std::uint16_t unique;
        std::uint8_t type;
        std::uint8_t flags;
        std::uint64_t user;
    };
    static_assert(sizeof(Entry) == 24);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#endif
    const auto* teb = reinterpret_cast<const std::uint8_t*>(::NtCurrentTeb());
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    const std::uint8_t* peb = *reinterpret_cast<const std::uint8_t* const*>(teb + (sizeof(void*) == 8 ? 0x60 : 0x30));
    const Entry* table = *reinterpret_cast<const Entry* const*>(peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));
    REQUIRE(table != nullptr);
    int live = 0;
    for (int i = 0; i < 0x10000; ++i) live += table[i].type != 0;
    return live;
}

// The real notification area (it shows the popup) and menu engine; everything
// else recorded.
struct PopupOs {
    fakes::FakeOs fake;
    win32::Win32Tray tray;
    win32::CoolMenuEngine engine;
    Services services{fake.instance, fake.boxes, fake.files, fake.codec, "C:\\Tools", tray, engine,
                      fake.processes, fake.desktop, fake.osVersion, fake.drives, fake.mci, fake.turnMonOff,
                      fake.registry, fake.folderPicker, "lumivane.exe", fake.aboutBox};
};

DWORD kernelHandles() {
    DWORD n = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &n);
    return n;
}

} // namespace

TEST_CASE("the popup opened and closed 1,000 times: no crash, objects and records flat") {
    PopupOs os;
    win32::HubWindow hub(os.services);
    REQUIRE(hub.create(::GetModuleHandleW(nullptr)));
    hub.form().Form_Load();
    HWND hwnd = hub.hwnd();
    REQUIRE(hwnd);
    // The program attaches the menu engine at start-up; where it does not
    // (yet), the test does, so every popup is converted, measured and drawn.
    bool attachedHere = false;
    if (!coolmenu::CoolMenuWindow(hwnd))
        attachedHere = coolmenu::AttachCoolMenu(hwnd, true, nullptr, &hub.form().ilsMenu);
    previousProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&closeEveryMenu)));

    auto round = [&] {
        ::SendMessageW(hwnd, modSystray::kTrayCallbackMessage, 0, WM_RBUTTONUP);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    };
    // The first openings make what is kept for the whole run: fonts, glyphs.
    for (int i = 0; i < 3; ++i) round();
    popupsOpened = 0;
    itemsDrawn = 0;
    int gdi = gdiObjectCount();
    DWORD user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    DWORD handles = kernelHandles();

    for (int i = 0; i < kRounds; ++i) round();

    CHECK(popupsOpened == kRounds);
    CHECK(gdiObjectCount() == gdi);
    // Wine counts no handles here (0); Windows does.
    if (handles != 0) CHECK(kernelHandles() == handles);
    if (user != 0) CHECK(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS) == user);
    coolmenu::WndCoolMenu* engine = coolmenu::CoolMenuWindow(hwnd);
    REQUIRE(engine != nullptr);
    CHECK(coolmenu::CoolMenuRegistries()->items.Count() == 0);
    CHECK(engine->CountMenuHeads() <= 2);
    // Every popup was the engine's: its items were drawn by their owner.
    CHECK(itemsDrawn >= kRounds);
    MESSAGE("popups: " << popupsOpened << ", GDI objects " << gdi << " -> " << gdiObjectCount() << ", handles "
                       << handles << " -> " << kernelHandles() << ", items drawn " << itemsDrawn
                       << ", engine attached by " << std::string(attachedHere ? "the test" : "the program"));
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
}
