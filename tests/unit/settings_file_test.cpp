#include "fakes/recording.h"
#include "folders/settings_file.h"

#include <doctest/doctest.h>

using namespace lumivane;

namespace {
const std::string kHead = "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n";
const std::string kPath = "C:\\Tools\\lumivane.ini";
const fakes::Latin1Codec codec;
std::string emptyLines(int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += "\r\n";
    return out;
}
} // namespace

TEST_CASE("the file is the heading and ten slot lines, CR LF, in the code page; UTF-8 with its mark when needed") {
    CHECK(modINI::DefaultFolderBytes(codec) == kHead + "C:\\\r\n" + emptyLines(9));
    CHECK(modINI::FormatFolders(FolderList{}, codec) == kHead + emptyLines(10));
    FolderList slots;
    slots[0] = " C:\\Program Files ";
    slots[3] = "D:\\Data\\";
    slots[9] = "E:\\M\xC3\xBCsik";
    std::string bytes = modINI::FormatFolders(slots, codec);
    CHECK(bytes == kHead + " C:\\Program Files \r\n\r\n\r\nD:\\Data\\\r\n\r\n\r\n\r\n\r\n\r\nE:\\M\xFCsik\r\n");
    CHECK(modINI::ParseFolders(bytes, codec) == slots);

    slots[1] = "D:\\\xE6\x97\xA5\xE6\x9C\xAC";  // outside the code page
    bytes = modINI::FormatFolders(slots, codec);
    CHECK(bytes.rfind("\xEF\xBB\xBF" + kHead + " C:\\Program Files \r\nD:\\\xE6\x97\xA5\xE6\x9C\xAC\r\n", 0) == 0);
    CHECK(modINI::ParseFolders(bytes, codec) == slots);
}

TEST_CASE("loading takes lines 5 to 14 of any file: short, long, LF or CR alone, with a byte-order mark") {
    std::string twenty = kHead;
    for (int i = 0; i < 16; ++i) twenty += "P" + std::to_string(i) + "\r\n";
    CHECK(modINI::ParseFolders(twenty, codec)[9] == "P9");
    FolderList shortFile = modINI::ParseFolders(kHead + "C:\\A\r\nC:\\B", codec);
    CHECK(shortFile[1] == "C:\\B");
    CHECK(shortFile[2].empty());
    CHECK(modINI::ParseFolders("a\nb\n\nc\nX:\\1\nX:\\2\n", codec)[1] == "X:\\2");
    CHECK(modINI::ParseFolders("a\rb\r\rc\rX:\\1\rX:\\2\r", codec)[1] == "X:\\2");
    CHECK(modINI::ParseFolders("a\r\nb\r\n\r\nc\r\nX:\\1\r\n\r\nX:\\3\r\n", codec)[2] == "X:\\3");  // CR LF is one end
    CHECK(modINI::ParseFolders("\xEF\xBB\xBF" + kHead + "C:\\\xE6\x97\xA5\r\n", codec)[0] == "C:\\\xE6\x97\xA5");
}

TEST_CASE("a missing file is created with the defaults; a file that cannot be written or read is never lost") {
    fakes::FakeOs os;
    fakes::FakeFormHost host(os.log);
    host.boxes[4] = "stale";
    SUBCASE("missing: written with the defaults, then loaded") {
        CHECK(modINI::LoadFolders(kPath, host, os.files, os.codec));
        CHECK(os.files.files[kPath] == modINI::DefaultFolderBytes(os.codec));
        CHECK(host.boxes == modINI::DefaultFolders());
        CHECK(os.log.calls == std::vector<std::string>{"fileExists(" + kPath + ")", "replaceFile(" + kPath + ")",
                                                       "readFile(" + kPath + ")"});
    }
    SUBCASE("missing in a read-only folder: the defaults in memory") {
        os.files.unwritable.insert(kPath);
        CHECK(modINI::LoadFolders(kPath, host, os.files, os.codec));
        CHECK(os.files.files.count(kPath) == 0);
        CHECK(host.boxes == modINI::DefaultFolders());
    }
    SUBCASE("present but unreadable: the defaults, the file not overwritten, and the caller told") {
        os.files.files[kPath] = kHead + "E:\\\r\n";
        os.files.unreadable.insert(kPath);
        CHECK_FALSE(modINI::LoadFolders(kPath, host, os.files, os.codec));
        CHECK(os.files.files[kPath] == kHead + "E:\\\r\n");
        CHECK(host.boxes == modINI::DefaultFolders());
    }
    SUBCASE("a refused save is reported and leaves the old file") {
        os.files.files[kPath] = "old";
        os.files.unwritable.insert(kPath);
        CHECK_FALSE(modINI::SaveFolders(kPath, host, os.files, os.codec));
        CHECK(os.files.files[kPath] == "old");
        os.files.unwritable.clear();
        CHECK(modINI::SaveFolders(kPath, host, os.files, os.codec));
        CHECK(modINI::ParseFolders(os.files.files[kPath], os.codec)[4] == "stale");
    }
}
