// The benchmark's instruments, checked where they run: the timing counters
// read from outside through their named section, and the GDI object count
// read from a process's handle table.
#ifndef LUMIVANE_TIMING
#define LUMIVANE_TIMING
#endif
#include "platform/win32/timing.h"
#include "bench/gdi_objects.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace timing = lumivane::timing;

namespace {

void spin(double milliseconds) {
    LARGE_INTEGER f, start, now;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&start);
    do {
        ::QueryPerformanceCounter(&now);
    } while (static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart) <
             milliseconds);
}

// The counters as the meter sees them: a second view opened by name.
const timing::Counters* outsideView() {
    std::wstring name = L"LumivaneTiming." + std::to_wstring(::GetCurrentProcessId());
    HANDLE mapping = ::OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
    REQUIRE(mapping != nullptr);
    auto* view = static_cast<const timing::Counters*>(::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    REQUIRE(view != nullptr);
    return view;
}

} // namespace

TEST_CASE("timing counters are readable from outside and count nested engine time once") {
    timing::counters();
    const timing::Counters* seen = outsideView();
    CHECK(seen->frequency > 0);
    const timing::Counters before = *seen;

    timing::countMessage();
    timing::countMessage();
    timing::countWindowMessage();
    CHECK(seen->messages == before.messages + 2);
    CHECK(seen->windowMessages == before.windowMessages + 1);

    {
        timing::Scope convert(timing::Section::convert);
        spin(2);
        {
            timing::Scope measure(timing::Section::measure);
            spin(2);
        }
        {
            timing::Scope draw(timing::Section::draw);
            spin(2);
        }
    }
    const int c = static_cast<int>(timing::Section::convert);
    const int m = static_cast<int>(timing::Section::measure);
    const int d = static_cast<int>(timing::Section::draw);
    CHECK(seen->sectionCalls[c] == before.sectionCalls[c] + 1);
    CHECK(seen->sectionCalls[m] == before.sectionCalls[m] + 1);
    CHECK(seen->sectionCalls[d] == before.sectionCalls[d] + 1);
    long long convertTicks = seen->sectionTicks[c] - before.sectionTicks[c];
    long long measureTicks = seen->sectionTicks[m] - before.sectionTicks[m];
    long long drawTicks = seen->sectionTicks[d] - before.sectionTicks[d];
    long long engineTicks = seen->engineTicks - before.engineTicks;
    // Only the outermost section adds to the engine's time: nothing twice.
    CHECK(engineTicks == convertTicks);
    CHECK(measureTicks + drawTicks < convertTicks);
    CHECK(static_cast<double>(convertTicks) * 1000.0 / static_cast<double>(seen->frequency) >= 6.0);

    {
        timing::Scope draw(timing::Section::draw);
    }
    CHECK(seen->engineTicks - before.engineTicks >= engineTicks);
    CHECK(seen->sectionCalls[d] == before.sectionCalls[d] + 2);
}

TEST_CASE("GDI objects of a process are counted from its handle table") {
    HANDLE self = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ::GetCurrentProcessId());
    REQUIRE(self != nullptr);
    long start = lumivane::bench::gdiObjects(self);
    REQUIRE(start > 0);

    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 25; ++i) brushes.push_back(::CreateSolidBrush(RGB(i, 0, 0)));
    HFONT font = ::CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    CHECK(lumivane::bench::gdiObjects(self) == start + 26);

    for (HBRUSH b : brushes) ::DeleteObject(b);
    ::DeleteObject(font);
    CHECK(lumivane::bench::gdiObjects(self) == start);
    ::CloseHandle(self);
}
