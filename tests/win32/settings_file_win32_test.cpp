#include "folders/settings_file.h"
#include "platform/win32/files.h"
#include "platform/win32/text_codec.h"
#include "platform/win32/wide.h"

#include <doctest/doctest.h>
#include <windows.h>

using namespace lumivane;

namespace {
std::string tempFolder(const char* name) {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    std::string dir = win32::narrow(base) + name;
    ::CreateDirectoryW(win32::widen(dir).c_str(), nullptr);
    return dir;
}

struct Slots final : FolderSlots {
    FolderList list;
    std::string slotText(int k) const override { return list[static_cast<size_t>(k)]; }
    void setSlotText(int k, const std::string& t) override { list[static_cast<size_t>(k)] = t; }
};
} // namespace

TEST_CASE("the real file system: default file, save and load round trip") {
    win32::Win32FileSystem fs;
    win32::AnsiCodePage codec;
    std::string path = tempFolder("lmv-settings") + "\\lumivane.ini";
    ::DeleteFileW(win32::widen(path).c_str());

    Slots slots;
    modINI::LoadFolders(path, slots, fs, codec);
    CHECK(slots.list == modINI::DefaultFolders());
    auto bytes = fs.readFile(path);
    REQUIRE(bytes);
    CHECK(*bytes == "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\nC:\\\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");

    slots.list[2] = " D:\\My Pictures ";
    slots.list[9] = "C:\\\xE6\x97\xA5\xE6\x9C\xAC";  // outside any Western code page
    REQUIRE(modINI::SaveFolders(path, slots, fs, codec));
    Slots back;
    modINI::LoadFolders(path, back, fs, codec);
    CHECK(back.list == slots.list);
}

TEST_CASE("a failed replace leaves the old file whole and no temporary file behind") {
    win32::Win32FileSystem fs;
    std::string dir = tempFolder("lmv-replace");
    std::string path = dir + "\\lumivane.ini";
    REQUIRE(fs.replaceFile(path, "old content"));

    // A reader holding the file without delete sharing makes the swap fail.
    HANDLE lock = ::CreateFileW(win32::widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(lock != INVALID_HANDLE_VALUE);
    CHECK_FALSE(fs.replaceFile(path, "new content"));
    ::CloseHandle(lock);
    CHECK(*fs.readFile(path) == "old content");

    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(win32::widen(dir + "\\lmv*.tmp").c_str(), &found);
    CHECK(search == INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);

    CHECK(fs.replaceFile(path, "new content"));
    CHECK(*fs.readFile(path) == "new content");
}

TEST_CASE("folder and file existence are told apart") {
    win32::Win32FileSystem fs;
    std::string dir = tempFolder("lmv-exists");
    std::string file = dir + "\\a.txt";
    REQUIRE(fs.replaceFile(file, "x"));
    CHECK(fs.folderExists(dir));
    CHECK_FALSE(fs.fileExists(dir));
    CHECK(fs.fileExists(file));
    CHECK_FALSE(fs.folderExists(file));
    CHECK_FALSE(fs.folderExists(""));
    CHECK_FALSE(fs.folderExists("Q:\\nowhere"));
}
