#pragma once
#include <windows.h>

namespace lumivane::win32 {

// COM's library, loaded from the system folder when first needed rather than
// with the program: most runs never need it, and it lengthens every start.
// nullptr if it cannot be loaded.
HMODULE ole32();

// Puts the calling thread, the UI thread, in a single-threaded apartment: the
// first call enters it, later calls only tell. The apartment is left at exit.
// False when COM refuses.
bool enterComApartment();

// Gives back memory the shell allocated for a result (CoTaskMemFree).
void freeComMemory(void* memory);

} // namespace lumivane::win32
