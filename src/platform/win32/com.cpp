#include "platform/win32/com.h"

#include "platform/win32/system_library.h"

#include <objbase.h>

namespace lumivane::win32 {

namespace {

using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID reserved, DWORD flags);
using CoUninitializeFn = void(WINAPI*)();
using CoTaskMemFreeFn = void(WINAPI*)(LPVOID memory);

class Apartment {
public:
    Apartment() {
        auto initialize = systemFunction<CoInitializeExFn>(ole32(), "CoInitializeEx");
        // S_FALSE (already in an apartment of this kind) counts too: each success is undone once.
        entered_ = initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }
    ~Apartment() {
        if (!entered_) return;
        if (auto uninitialize = systemFunction<CoUninitializeFn>(ole32(), "CoUninitialize")) uninitialize();
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
    bool entered() const { return entered_; }

private:
    bool entered_ = false;
};

} // namespace

HMODULE ole32() {
    static const HMODULE module = loadSystemLibrary(L"ole32.dll");
    return module;
}

bool enterComApartment() {
    // Made on the first call, destroyed after the program's windows are gone.
    static const Apartment apartment;
    return apartment.entered();
}

void freeComMemory(void* memory) {
    if (auto free = systemFunction<CoTaskMemFreeFn>(ole32(), "CoTaskMemFree")) free(memory);
}

} // namespace lumivane::win32
