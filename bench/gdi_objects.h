#pragma once
// Counts the live GDI objects of a process from its GDI handle table, which
// the process's PEB points to (GdiSharedHandleTable). GetGuiResources is a
// stub that answers 0 under Wine; the table is what Wine itself keeps.
#include <windows.h>
#include <winternl.h>

#include <vector>

namespace lumivane::bench {

// -1 when the table cannot be read. Entries are 24 bytes, the object type in
// byte 14 (0 for a free entry), the same on 32- and 64-bit Wine.
inline long gdiObjects(HANDLE process) {
    PROCESS_BASIC_INFORMATION info{};
    ULONG length = 0;
    if (::NtQueryInformationProcess(process, ProcessBasicInformation, &info, sizeof(info), &length) != 0 ||
        !info.PebBaseAddress)
        return -1;
    const SIZE_T tableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    void* table = nullptr;
    SIZE_T got = 0;
    if (!::ReadProcessMemory(process, reinterpret_cast<const char*>(info.PebBaseAddress) + tableOffset, &table,
                             sizeof(table), &got) ||
        !table)
        return -1;
    constexpr size_t kEntries = 16384, kEntrySize = 24, kTypeByte = 14;
    std::vector<unsigned char> entries(kEntries * kEntrySize);
    if (!::ReadProcessMemory(process, table, entries.data(), entries.size(), &got)) return -1;
    long live = 0;
    for (size_t i = 0; i < kEntries; ++i)
        if (entries[i * kEntrySize + kTypeByte] != 0) ++live;
    return live;
}

} // namespace lumivane::bench
