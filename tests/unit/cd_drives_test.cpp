#include "actions/cd_drives.h"
#include "fakes/recording.h"
#include "shell/frm_folder_browse.h"

#include <doctest/doctest.h>

using namespace lumivane;
using namespace std::string_literals;

namespace {
using List = std::vector<std::string>;

struct Hub {
    fakes::FakeOs os;
    fakes::FakeFormHost host{os.log};
    frmFolderBrowse form{host, os.services};
};

List cdCaptions(const PopupMenu& menu) {
    List out;
    for (const auto& item : menu.items())
        if (item.name == "mnuCDEject") out.push_back(std::to_string(item.index) + " " + item.caption);
    return out;
}
} // namespace

TEST_CASE("NUL splitting: every NUL ends an item, text after the last is none, blanks are compacted") {
    CHECK(modMain::SplitList("A:\\\0C:\\\0D:\\\0"s, modMain::kNul, true) == List{"A:\\", "C:\\", "D:\\"});
    CHECK(modMain::SplitList("C:\\\0\0D:\\\0"s, modMain::kNul, false) == List{"C:\\", "", "D:\\"});
    CHECK(modMain::SplitList("C:\\\0\0D:\\\0"s, modMain::kNul, true) == List{"C:\\", "D:\\"});
    CHECK(modMain::SplitList("C:\\\0D:\\"s, modMain::kNul, true) == List{"C:\\"});
    CHECK(modMain::SplitList("no delimiter", modMain::kNul, true).empty());
    CHECK(modMain::SplitList("", modMain::kNul, true).empty());
}

TEST_CASE("compaction drops items blank after trimming spaces and keeps the others untrimmed, in order") {
    List list{"", " a ", "   ", "b", "", "\t"};
    modMain::CompactList(list);
    CHECK(list == List{" a ", "b", "\t"});
}

TEST_CASE("the CD filter keeps CD-ROM drives in the system's order and upper-cases them") {
    fakes::CallLog log;
    fakes::FakeDriveInfo drives(log);
    drives.strings = "a:\\\0c:\\\0e:\\\0d:\\\0"s;
    drives.types = {{"e:\\", 5}, {"d:\\", 5}, {"a:\\", 2}};
    auto list = modMain::GetDriveList(drives);
    CHECK(list == List{"a:\\", "c:\\", "e:\\", "d:\\"});
    CHECK(modMain::GetCDDrives(list, drives) == List{"E:\\", "D:\\"});
    // Each drive asked once, by the root the system reported.
    CHECK(log.only({"driveType"}) == List{"driveType(a:\\)", "driveType(c:\\)", "driveType(e:\\)", "driveType(d:\\)"});
}

TEST_CASE("start-up adds Open and Close for every CD drive behind the heading, before the folders") {
    Hub hub;
    hub.os.drives.strings = "C:\\\0D:\\\0e:\\\0"s;
    hub.os.drives.types = {{"D:\\", 5}, {"e:\\", 5}};
    hub.form.Form_Load();
    CHECK(cdCaptions(hub.form.mnuPopup) ==
          List{"0 - CD Drives", "1 Open [D:]", "2 Close [D:]", "3 Open [E:]", "4 Close [E:]"});
    const auto& items = hub.form.mnuPopup.items();
    CHECK(items[4].caption == "Close [E:]");
    CHECK(items[4].visible);
    CHECK(items[5].name == "zmnuSep2");
    // The drives are listed before the settings file is read.
    auto order = hub.os.log.only({"logicalDriveStrings", "fileExists", "hide"});
    CHECK(order.front() == "logicalDriveStrings()");
    CHECK(order.back() == "hide()");
}

TEST_CASE("no CD drive, or a failed drive query, leaves the heading alone") {
    Hub hub;
    hub.os.drives.strings = "C:\\\0"s;
    hub.form.Form_Load();
    CHECK(cdCaptions(hub.form.mnuPopup) == List{"0 - CD Drives"});

    Hub failed;
    failed.form.Form_Load();
    CHECK(cdCaptions(failed.form.mnuPopup) == List{"0 - CD Drives"});
    CHECK_FALSE(failed.os.log.contains("driveType"));
}

TEST_CASE("choosing a door item sends the two MCI strings for its drive; the heading sends nothing") {
    Hub hub;
    hub.os.drives.strings = "D:\\\0E:\\\0"s;
    hub.os.drives.types = {{"D:\\", 5}, {"E:\\", 5}};
    hub.form.Form_Load();
    hub.os.log.calls.clear();

    hub.form.onMenuCommand(menu_id::kCDEjectBase + 0);
    CHECK(hub.os.log.calls.empty());

    hub.form.onMenuCommand(menu_id::kCDEjectBase + 1);
    hub.form.onMenuCommand(menu_id::kCDEjectBase + 2);
    hub.form.onMenuCommand(menu_id::kCDEjectBase + 4);
    CHECK(hub.os.log.calls == List{"mci(Open D: Alias DriveD Type CDAudio)", "mci(Set DriveD Door Open)",
                                   "mci(Open D: Alias DriveD Type CDAudio)", "mci(Set DriveD Door Closed)",
                                   "mci(Open E: Alias DriveE Type CDAudio)", "mci(Set DriveE Door Closed)"});
    // Captions stay as they were.
    CHECK(hub.form.mnuPopup.find("mnuCDEject", 1)->caption == "Open [D:]");
}

TEST_CASE("the caption decides: first letter O in either case opens, the letter before the first colon") {
    fakes::CallLog log;
    fakes::FakeMediaControl mci(log);
    modMain::DoorCommandFromCaption("open [F:]", mci);
    modMain::DoorCommandFromCaption("Close [G:] :", mci);
    // No letter before a colon: nothing is sent rather than a wrong drive.
    modMain::DoorCommandFromCaption("Open", mci);
    modMain::DoorCommandFromCaption(":Open", mci);
    CHECK(log.calls == List{"mci(Open F: Alias DriveF Type CDAudio)", "mci(Set DriveF Door Open)",
                            "mci(Open G: Alias DriveG Type CDAudio)", "mci(Set DriveG Door Closed)"});
}
