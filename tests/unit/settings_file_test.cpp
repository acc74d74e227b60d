#include "fakes/recording.h"
#include "folders/settings_file.h"

#include <doctest/doctest.h>

using namespace lumivane;

namespace {
const std::string kHead = "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n";

FolderList slotsOf(std::initializer_list<std::pair<int, std::string>> filled) {
    FolderList s;
    for (auto& [k, v] : filled) s[static_cast<size_t>(k)] = v;
    return s;
}
} // namespace

TEST_CASE("the default file is the heading, C:\\ and nine empty lines, all CR LF") {
    fakes::Latin1Codec codec;
    std::string expected = kHead + "C:\\\r\n";
    for (int i = 0; i < 9; ++i) expected += "\r\n";
    CHECK(modINI::DefaultFolderBytes(codec) == expected);
    size_t pairs = 0;
    for (size_t p = expected.find("\r\n"); p != std::string::npos; p = expected.find("\r\n", p + 2)) ++pairs;
    CHECK(pairs == 14);
}

TEST_CASE("saving writes every slot byte for byte and loading gives them back") {
    fakes::Latin1Codec codec;
    FolderList slots = slotsOf({{0, " C:\\Program Files "}, {3, "D:\\Data\\"}, {9, "E:\\M\xC3\xBCsik"}});
    std::string bytes = modINI::FormatFolders(slots, codec);
    CHECK(bytes == kHead + " C:\\Program Files \r\n\r\n\r\nD:\\Data\\\r\n\r\n\r\n\r\n\r\n\r\nE:\\M\xFCsik\r\n");
    CHECK(modINI::ParseFolders(bytes, codec) == slots);

    FolderList empty;
    std::string tenEmptyLines;
    for (int i = 0; i < 10; ++i) tenEmptyLines += "\r\n";
    CHECK(modINI::FormatFolders(empty, codec) == kHead + tenEmptyLines);
}

TEST_CASE("loading tolerates short, long, LF-only, CR-only and BOM files") {
    fakes::Latin1Codec codec;
    SUBCASE("twenty lines: the first fourteen count") {
        std::string bytes = kHead;
        for (int i = 0; i < 16; ++i) bytes += "P" + std::to_string(i) + "\r\n";
        FolderList s = modINI::ParseFolders(bytes, codec);
        CHECK(s[0] == "P0");
        CHECK(s[9] == "P9");
    }
    SUBCASE("a short file leaves the missing slots empty") {
        FolderList s = modINI::ParseFolders("Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\nC:\\A\r\nC:\\B", codec);
        CHECK(s[0] == "C:\\A");
        CHECK(s[1] == "C:\\B");
        CHECK(s[2].empty());
        CHECK(modINI::ParseFolders("", codec) == FolderList{});
    }
    SUBCASE("LF alone and CR alone end lines as CR LF does") {
        CHECK(modINI::ParseFolders("a\nb\n\nc\nX:\\1\nX:\\2\n", codec)[1] == "X:\\2");
        CHECK(modINI::ParseFolders("a\rb\r\rc\rX:\\1\rX:\\2\r", codec)[1] == "X:\\2");
        // A CR LF pair is one line end, not two.
        CHECK(modINI::ParseFolders("a\r\nb\r\n\r\nc\r\nX:\\1\r\n\r\nX:\\3\r\n", codec)[2] == "X:\\3");
    }
    SUBCASE("a UTF-8 byte-order mark switches the file to UTF-8") {
        std::string bytes = "\xEF\xBB\xBF" + kHead + "C:\\\xE6\x97\xA5\xE6\x9C\xAC\r\n";
        CHECK(modINI::ParseFolders(bytes, codec)[0] == "C:\\\xE6\x97\xA5\xE6\x9C\xAC");
    }
}

TEST_CASE("a path outside the code page makes the whole file UTF-8, never '?'") {
    fakes::Latin1Codec codec;
    FolderList slots = slotsOf({{0, "C:\\caf\xC3\xA9"}, {1, "D:\\\xE6\x97\xA5\xE6\x9C\xAC"}});
    std::string bytes = modINI::FormatFolders(slots, codec);
    CHECK(bytes.rfind("\xEF\xBB\xBF" + kHead, 0) == 0);
    CHECK(bytes.find('?') == std::string::npos);
    CHECK(modINI::ParseFolders(bytes, codec) == slots);
}

TEST_CASE("a line break inside a slot cannot shift the slots after it") {
    fakes::Latin1Codec codec;
    FolderList slots = slotsOf({{0, "C:\\A\r\nC:\\B"}, {1, "D:\\"}});
    FolderList back = modINI::ParseFolders(modINI::FormatFolders(slots, codec), codec);
    CHECK(back[0] == "C:\\A");
    CHECK(back[1] == "D:\\");
}

TEST_CASE("LoadFolders creates the default file when missing, and survives a file it cannot write or read") {
    fakes::FakeOs os;
    fakes::FakeFormHost host(os.log);
    host.boxes[4] = "stale";
    const std::string path = "C:\\Tools\\lumivane.ini";

    SUBCASE("missing: written with defaults, then loaded") {
        CHECK(modINI::LoadFolders(path, host, os.files, os.codec));
        CHECK(os.files.files[path] == modINI::DefaultFolderBytes(os.codec));
        CHECK(host.boxes == modINI::DefaultFolders());
        CHECK(os.log.calls == std::vector<std::string>{"fileExists(" + path + ")", "replaceFile(" + path + ")",
                                                       "readFile(" + path + ")"});
    }
    SUBCASE("read-only folder: defaults stay in memory") {
        os.files.unwritable.insert(path);
        CHECK(modINI::LoadFolders(path, host, os.files, os.codec));
        CHECK(os.files.files.count(path) == 0);
        CHECK(host.boxes == modINI::DefaultFolders());
    }
    SUBCASE("present but unreadable: defaults, the file is not overwritten") {
        os.files.files[path] = kHead + "E:\\\r\n";
        os.files.unreadable.insert(path);
        CHECK_FALSE(modINI::LoadFolders(path, host, os.files, os.codec));
        CHECK(host.boxes == modINI::DefaultFolders());
        CHECK(os.files.files[path] == kHead + "E:\\\r\n");
    }
}

TEST_CASE("SaveFolders reports a refused write and leaves the old file") {
    fakes::FakeOs os;
    fakes::FakeFormHost host(os.log);
    const std::string path = "C:\\Tools\\lumivane.ini";
    os.files.files[path] = "old";
    host.boxes[0] = "D:\\New";
    os.files.unwritable.insert(path);
    CHECK_FALSE(modINI::SaveFolders(path, host, os.files, os.codec));
    CHECK(os.files.files[path] == "old");
    os.files.unwritable.clear();
    CHECK(modINI::SaveFolders(path, host, os.files, os.codec));
    CHECK(modINI::ParseFolders(os.files.files[path], os.codec)[0] == "D:\\New");
}
