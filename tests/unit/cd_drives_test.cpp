#include "actions/cd_drives.h"
#include "fakes/recording.h"

#include <doctest/doctest.h>

using namespace lumivane;
using namespace std::string_literals;
using List = std::vector<std::string>;

namespace {
List cdCaptions(const PopupMenu& menu) {
    List out;
    for (const auto& item : menu.items())
        if (item.name == "mnuCDEject") out.push_back(std::to_string(item.index) + " " + item.caption);
    return out;
}
} // namespace

TEST_CASE("start-up puts Open and Close of every CD drive behind the heading, and each sends its drive's commands") {
    fakes::FakeHub hub;
    hub.os.drives.strings = "a:\\\0C:\\\0e:\\\0D:\\\0"s;
    hub.os.drives.types = {{"a:\\", 2}, {"e:\\", 5}, {"D:\\", 5}};
    hub.form.Form_Load();
    // In the system's order, upper-cased, before the folder heading; listed before the file is read.
    CHECK(cdCaptions(hub.form.mnuPopup) ==
          List{"0 - CD Drives", "1 Open [E:]", "2 Close [E:]", "3 Open [D:]", "4 Close [D:]"});
    CHECK(hub.form.mnuPopup.items()[5].name == "zmnuSep2");
    CHECK(hub.os.log.only({"logicalDriveStrings", "fileExists"}).front() == "logicalDriveStrings()");

    hub.os.log.calls.clear();
    for (unsigned index : {0u, 1u, 4u}) hub.form.onMenuCommand(menu_id::kCDEjectBase + index);
    CHECK(hub.os.log.calls == List{"mci(Open E: Alias DriveE Type CDAudio)", "mci(Set DriveE Door Open)",
                                   "mci(Open D: Alias DriveD Type CDAudio)", "mci(Set DriveD Door Closed)"});
}

TEST_CASE("no CD drive, or no drive list at all, leaves the heading alone") {
    fakes::FakeHub hub;
    hub.os.drives.strings = "C:\\\0"s;
    hub.form.Form_Load();
    CHECK(cdCaptions(hub.form.mnuPopup) == List{"0 - CD Drives"});

    fakes::FakeHub failed;
    failed.form.Form_Load();
    CHECK(cdCaptions(failed.form.mnuPopup) == List{"0 - CD Drives"});
    CHECK_FALSE(failed.os.log.contains("driveType"));
}

TEST_CASE("a door caption: O in either case opens, the drive is the letter before the first colon, or nothing") {
    fakes::CallLog log;
    fakes::FakeMediaControl mci(log);
    for (const char* caption : {"open [F:]", "Close [G:] :", "Open", ":Open"}) modMain::DoorCommandFromCaption(caption, mci);
    CHECK(log.calls == List{"mci(Open F: Alias DriveF Type CDAudio)", "mci(Set DriveF Door Open)",
                            "mci(Open G: Alias DriveG Type CDAudio)", "mci(Set DriveG Door Closed)"});
}
