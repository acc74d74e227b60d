// The settings-file loader on any bytes, and the write/read round trip on any
// ten slot texts.
#include "fakes/recording.h"
#include "folders/settings_file.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstdio>

using namespace lumivane;

namespace {

const fakes::Latin1Codec codec;

void require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "settings_file: %s\n", what);
        std::abort();
    }
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

size_t count(const std::string& text, char c) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), c));
}

// Whatever a file holds, the slots read from it are written and read back as
// they are, and writing them again gives the same bytes.
void loadAnyFile(std::string_view bytes) {
    FolderList slots = modINI::ParseFolders(bytes, codec);
    for (const auto& slot : slots) require(slot.find_first_of("\r\n") == std::string::npos, "line end in a slot");
    std::string written = modINI::FormatFolders(slots, codec);
    require(modINI::ParseFolders(written, codec) == slots, "slots read from a file do not survive a save");
    require(modINI::FormatFolders(modINI::ParseFolders(written, codec), codec) == written, "a second save differs");
}

// Any ten slot texts come back as their first lines; no character is replaced.
void saveAnySlots(FuzzedDataProvider& data) {
    FolderList slots;
    FolderList expected;
    size_t questionMarks = 0;
    for (size_t k = 0; k < slots.size(); ++k) {
        slots[k] = data.ConsumeRandomLengthString(4096);
        expected[k] = firstLine(slots[k]);
        questionMarks += count(expected[k], '?');
    }
    std::string written = modINI::FormatFolders(slots, codec);
    require(modINI::ParseFolders(written, codec) == expected, "saved slots do not read back");
    require(count(written, '?') == questionMarks, "a character was written as '?'");
    size_t lineEnds = 0;
    for (size_t p = written.find("\r\n"); p != std::string::npos; p = written.find("\r\n", p + 2)) ++lineEnds;
    require(lineEnds == 14, "the file does not have fourteen lines");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    loadAnyFile(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider provider(data, size);
    saveAnySlots(provider);
    return 0;
}
