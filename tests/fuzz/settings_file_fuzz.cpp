// The settings-file loader on any bytes, and the write/read round trip of any ten slot texts.
#include "fakes/recording.h"
#include "folders/settings_file.h"

#include <algorithm>
#include <cassert>
#include <fuzzer/FuzzedDataProvider.h>

using namespace lumivane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fakes::Latin1Codec codec;
    // Whatever a file holds, the slots read from it are written and read back as they are.
    FolderList slots = settings_file::parseFolders(std::string_view(reinterpret_cast<const char*>(data), size), codec);
    for (const auto& slot : slots) assert(slot.find_first_of("\r\n") == std::string::npos && "line end in a slot");
    std::string written = settings_file::formatFolders(slots, codec);
    assert(settings_file::parseFolders(written, codec) == slots && "slots read from a file do not survive a save");

    // Any ten slot texts come back as their first lines, no character written as '?', in fourteen lines.
    FuzzedDataProvider input(data, size);
    FolderList expected;
    long questionMarks = 0;
    for (size_t k = 0; k < slots.size(); ++k) {
        slots[k] = input.ConsumeRandomLengthString(4096);
        expected[k] = slots[k].substr(0, slots[k].find_first_of("\r\n"));
        questionMarks += std::count(expected[k].begin(), expected[k].end(), '?');
    }
    written = settings_file::formatFolders(slots, codec);
    auto count = [&](char c) { return std::count(written.begin(), written.end(), c); };
    assert(settings_file::parseFolders(written, codec) == expected && "saved slots do not read back");
    assert(count('?') == questionMarks && "a character was written as a question mark");
    assert(count('\r') == 14 && count('\n') == 14 && "the file does not have fourteen lines");
    return 0;
}
