#pragma once
// Benchmark counters, compiled in only with the build option LUMIVANE_TIMING
// (never in a shipped build): messages taken from the queue and messages that
// reach the main window's procedure (sent ones too, which never pass through
// the queue), and the time the
// menu engine spends converting, measuring and drawing a popup. The counters
// live in a named shared section ("LumivaneTiming.<process id>") so the
// benchmark reads them from outside without sending the program a message,
// which would itself be counted and would wake an idle program.
// Without the option every call here compiles to nothing.
#ifdef LUMIVANE_TIMING
#include <windows.h>

#include <string>
#endif

namespace lumivane::timing {

enum class Section { convert = 0, measure = 1, draw = 2 };
inline constexpr int kSectionCount = 3;

// Moments of the start-up, for the benchmark to split it in phases.
enum class Mark { entered = 0, windowCreated = 1, loaded = 2 };
inline constexpr int kMarkCount = 3;

// Layout shared with bench/meter.cpp; plain 64-bit fields, one writer.
struct Counters {
    long long frequency;                   // performance-counter ticks a second
    long long messages;                    // taken from the queue by the message loop
    long long windowMessages;              // calls of the main window's procedure, sent or posted
    long long sectionTicks[kSectionCount]; // summed per section
    long long sectionCalls[kSectionCount];
    long long engineTicks;                 // outermost sections only: nothing counted twice
    long long marks[kMarkCount];           // performance counter at each Mark, 0 until reached
};

// The two variants live in different inline namespaces, so a file compiled
// with the option and one without never clash at link time.
#ifdef LUMIVANE_TIMING
inline namespace timed {

inline Counters& counters() {
    static Counters* shared = [] {
        std::wstring name = L"LumivaneTiming." + std::to_wstring(::GetCurrentProcessId());
        // The section stays mapped for the life of the process: it is the report.
        HANDLE mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              sizeof(Counters), name.c_str());
        void* view = mapping ? ::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(Counters)) : nullptr;
        static Counters local{};
        Counters* c = view ? static_cast<Counters*>(view) : &local;
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        c->frequency = frequency.QuadPart;
        return c;
    }();
    return *shared;
}

inline void countMessage() { ++counters().messages; }
inline void countWindowMessage() { ++counters().windowMessages; }

inline void mark(Mark moment) {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    counters().marks[static_cast<int>(moment)] = now.QuadPart;
}

// Times one section of engine work from construction to destruction.
class Scope {
public:
    explicit Scope(Section section) : section_(static_cast<int>(section)) {
        ++depth();
        ::QueryPerformanceCounter(&start_);
    }
    ~Scope() {
        LARGE_INTEGER end;
        ::QueryPerformanceCounter(&end);
        long long ticks = end.QuadPart - start_.QuadPart;
        Counters& c = counters();
        c.sectionTicks[section_] += ticks;
        ++c.sectionCalls[section_];
        if (--depth() == 0) c.engineTicks += ticks;
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    static int& depth() {
        static int value = 0;
        return value;
    }
    int section_;
    LARGE_INTEGER start_;
};

} // namespace timed
#else
inline namespace untimed {

inline void countMessage() {}
inline void countWindowMessage() {}
inline void mark(Mark) {}

class Scope {
public:
    explicit Scope(Section) {}
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};

} // namespace untimed
#endif

} // namespace lumivane::timing
