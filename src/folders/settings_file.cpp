#include "folders/settings_file.h"

#include "platform/utf8.h"

#include <vector>

namespace lumivane::settings_file {

namespace {

constexpr std::string_view kHeading[] = {"Lumivane", "Version= 1.0", "", "[Folders]"};
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
constexpr size_t kHeadingLines = 4;

// A slot is one line of the file; a pasted line break would shift every slot
// after it, so the text ends where its first line ends.
std::string_view firstLine(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
    }
    return lines;
}

} // namespace

FolderList defaultFolders() {
    FolderList slots;
    slots[0] = "C:\\";
    return slots;
}

std::string formatFolders(const FolderList& slots, const platform::AnsiCodec& codec) {
    std::string ansi;
    bool representable = true;
    for (auto line : kHeading) (ansi += line) += kCrLf;
    for (const auto& slot : slots) {
        auto bytes = codec.toAnsi(firstLine(slot));
        if (!bytes) {
            representable = false;
            break;
        }
        (ansi += *bytes) += kCrLf;
    }
    if (representable) return ansi;

    // Writing '?' for a character would lose the folder for good; UTF-8 keeps it.
    std::string utf8(kUtf8Bom);
    for (auto line : kHeading) (utf8 += line) += kCrLf;
    for (const auto& slot : slots) (utf8 += firstLine(slot)) += kCrLf;
    return utf8;
}

std::string defaultFolderBytes(const platform::AnsiCodec& codec) {
    return formatFolders(defaultFolders(), codec);
}

FolderList parseFolders(std::string_view bytes, const platform::AnsiCodec& codec) {
    // A file saved as "Unicode" by an editor holds the same lines in UTF-16.
    std::string fromUtf16;
    const bool utf16 = bytes.substr(0, 2) == kUtf16LeBom || bytes.substr(0, 2) == kUtf16BeBom;
    if (utf16) {
        fromUtf16 = bytes[0] == kUtf16LeBom[0] ? utf16LeToUtf8(bytes.substr(2)) : utf16BeToUtf8(bytes.substr(2));
        bytes = fromUtf16;
    }
    const bool utf8 = utf16 || bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom;
    if (utf8 && !utf16) bytes.remove_prefix(kUtf8Bom.size());
    auto lines = splitLines(bytes);
    FolderList slots;
    for (size_t k = 0; k < slots.size(); ++k) {
        size_t index = kHeadingLines + k;
        if (index >= lines.size()) break;
        slots[k] = utf8 ? std::string(lines[index]) : codec.fromAnsi(lines[index]);
    }
    return slots;
}

Location settingsFileLocation(const std::string& besideExe, platform::FileSystem& fs) {
    if (fs.mayWrite(besideExe)) return {besideExe, besideExe};
    // Never the working directory or the Windows folder: without a profile
    // folder the copy beside the exe stays, and a save says it failed.
    const std::string profile = fs.roamingAppData();
    if (profile.empty()) return {besideExe, besideExe};
    return {profile + "\\" + std::string(kPerUserFolder) + "\\" + std::string(kFileName), besideExe};
}

std::string fileToRead(const Location& location, platform::FileSystem& fs) {
    if (!location.perUser() || fs.fileExists(location.path)) return location.path;
    return location.besideExe;
}

void makePerUserFile(const Location& location, platform::FileSystem& fs) {
    if (!location.perUser() || fs.fileExists(location.path)) return;
    makeFolderFor(location.path, fs);
    // An administrator's prepared list is kept, byte for byte.
    if (auto prepared = fs.readFile(location.besideExe)) fs.replaceFile(location.path, *prepared);
}

void makeFolderFor(const std::string& file, platform::FileSystem& fs) {
    fs.makeFolder(file.substr(0, file.rfind('\\')));
}

bool settingsFileExists(const std::string& path, platform::FileSystem& fs) {
    return fs.fileExists(path);
}

bool writeDefaultFolders(const std::string& path, platform::FileSystem& fs, const platform::AnsiCodec& codec) {
    return fs.replaceFile(path, defaultFolderBytes(codec));
}

bool loadFolders(const std::string& path, FolderSlots& slots, platform::FileSystem& fs,
                 const platform::AnsiCodec& codec) {
    bool existed = settingsFileExists(path, fs);
    if (!existed) {
        // A folder we may not write to (read-only) fails here; the read below
        // then finds nothing and the default list stays in memory.
        writeDefaultFolders(path, fs, codec);
    }
    auto bytes = fs.readFile(path);
    FolderList list = bytes ? parseFolders(*bytes, codec) : defaultFolders();
    for (int k = 0; k < kFolderSlotCount; ++k) slots.setSlotText(k, list[static_cast<size_t>(k)]);
    return bytes || !existed;
}

bool saveFolders(const std::string& path, const FolderSlots& slots, platform::FileSystem& fs,
                 const platform::AnsiCodec& codec) {
    FolderList list;
    for (int k = 0; k < kFolderSlotCount; ++k) list[static_cast<size_t>(k)] = slots.slotText(k);
    return saveFolders(path, list, fs, codec);
}

bool saveFolders(const std::string& path, const FolderList& list, platform::FileSystem& fs,
                 const platform::AnsiCodec& codec) {
    return fs.replaceFile(path, formatFolders(list, codec));
}

std::optional<FolderList> readFolders(const std::string& path, platform::FileSystem& fs,
                                      const platform::AnsiCodec& codec) {
    if (!settingsFileExists(path, fs)) return defaultFolders();
    auto bytes = fs.readFile(path);
    if (!bytes) return std::nullopt;
    return parseFolders(*bytes, codec);
}

} // namespace lumivane::settings_file
