#pragma once
#include <windows.h>
#include <utility>

namespace lumivane::win32 {

// One owner for one OS handle: move-only, so a handle is never freed twice.
// Traits give the handle type, its "no handle" value and how to free it.
template <typename Traits>
class Unique {
public:
    using T = typename Traits::Type;
    Unique() = default;
    explicit Unique(T value) : value_(value) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : value_(std::exchange(other.value_, Traits::invalid())) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(std::exchange(other.value_, Traits::invalid()));
        return *this;
    }
    ~Unique() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::invalid(); }
    T release() { return std::exchange(value_, Traits::invalid()); }
    void reset(T value = Traits::invalid()) {
        T old = std::exchange(value_, value);
        if (old != Traits::invalid()) Traits::close(old);
    }
    // For out-parameters of creating calls.
    T* put() { reset(); return &value_; }

private:
    T value_ = Traits::invalid();
};

template <typename H, auto Close>
struct NullTraits {
    using Type = H;
    static constexpr H invalid() { return nullptr; }
    static void close(H h) { Close(h); }
};

namespace detail {
inline void closeHandle(HANDLE h) { ::CloseHandle(h); }
inline void deleteObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void destroyMenu(HMENU h) { ::DestroyMenu(h); }
inline void destroyIcon(HICON h) { ::DestroyIcon(h); }
inline void regCloseKey(HKEY h) { ::RegCloseKey(h); }
inline void deleteDC(HDC h) { ::DeleteDC(h); }
inline void destroyWindow(HWND h) { ::DestroyWindow(h); }
inline void findClose(HANDLE h) { ::FindClose(h); }
} // namespace detail

// A reference to a COM object, released once.
template <typename Interface>
struct ComTraits {
    using Type = Interface*;
    static constexpr Interface* invalid() { return nullptr; }
    static void close(Interface* object) { object->Release(); }
};

struct FileTraits {
    using Type = HANDLE;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { ::CloseHandle(h); }
};

// A file search of FindFirstFileW.
struct FindTraits {
    using Type = HANDLE;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { detail::findClose(h); }
};

using UniqueHandle = Unique<NullTraits<HANDLE, detail::closeHandle>>;
using UniqueFind = Unique<FindTraits>;
using UniqueFile = Unique<FileTraits>;
using UniqueFont = Unique<NullTraits<HFONT, detail::deleteObject>>;
using UniqueBrush = Unique<NullTraits<HBRUSH, detail::deleteObject>>;
using UniqueBitmap = Unique<NullTraits<HBITMAP, detail::deleteObject>>;
using UniquePen = Unique<NullTraits<HPEN, detail::deleteObject>>;
using UniqueMenu = Unique<NullTraits<HMENU, detail::destroyMenu>>;
using UniqueIcon = Unique<NullTraits<HICON, detail::destroyIcon>>;
using UniqueKey = Unique<NullTraits<HKEY, detail::regCloseKey>>;
using UniqueMemDC = Unique<NullTraits<HDC, detail::deleteDC>>;
using UniqueWindow = Unique<NullTraits<HWND, detail::destroyWindow>>;
template <typename Interface>
using UniqueCom = Unique<ComTraits<Interface>>;

// A DC from GetDC, released to its window.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() { if (dc_) ::ReleaseDC(hwnd_, dc_); }
    HDC get() const { return dc_; }
private:
    HWND hwnd_;
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? ::SelectObject(dc, obj) : nullptr) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { if (old_) ::SelectObject(dc_, old_); }
private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace lumivane::win32
