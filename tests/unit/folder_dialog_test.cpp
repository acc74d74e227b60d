#include "fakes/recording.h"
#include "folders/folder_dialog_layout.h"
#include "folders/settings_file.h"

#include <doctest/doctest.h>

using namespace lumivane;

namespace {
const std::string kIni = "C:\\Tools\\lumivane.ini";
const std::string kSaved =
    "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\nC:\\\r\nD:\\Music\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";

// The dialog shown by "Customize" over a file with two folders.
struct Dialog : fakes::FakeHub {
    Dialog() {
        os.files.files[kIni] = kSaved;
        form.Form_Load();
        host.visible = true;
        os.log.calls.clear();
    }
    std::string onDisk(int slot) { return modINI::ParseFolders(os.files.files[kIni], os.codec)[size_t(slot)]; }
};
} // namespace

TEST_CASE("Clear and Browse change their own row only; Browse asks over the dialog's window") {
    Dialog d;
    d.form.cmdClear_Click(1);
    d.os.folderPicker.answer = "D:\\Pictures";
    d.form.cmdBrowse_Click(2);
    d.os.folderPicker.answer = "";  // cancelled
    d.form.cmdBrowse_Click(0);
    CHECK(d.host.boxes[0] == "C:\\");
    CHECK(d.host.boxes[1].empty());
    CHECK(d.host.boxes[2] == "D:\\Pictures");
    CHECK(d.os.log.calls == std::vector<std::string>(2, "browseForFolder(68140)"));
    CHECK(d.host.visible);
}

TEST_CASE("OK saves the boxes, hides the dialog and rebuilds the folder items; a refused save keeps it all") {
    Dialog d;
    d.form.cmdClear_Click(0);
    SUBCASE("saved") {
        d.form.cmdOK_Click();
        CHECK(d.os.log.only({"replaceFile", "hide"}) == std::vector<std::string>{"replaceFile(" + kIni + ")", "hide()"});
        CHECK(d.os.files.files[kIni] ==
              "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n\r\nD:\\Music\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
        CHECK_FALSE(d.form.mnuPopup.folder(0).visible);
        CHECK(d.form.mnuPopup.folder(1).caption == "1. Music");
    }
    SUBCASE("refused") {
        d.os.files.unwritable.insert(kIni);
        d.host.boxes[3] = "E:\\typed";
        d.form.cmdOK_Click();
        CHECK(d.host.visible);
        CHECK(d.host.boxes[3] == "E:\\typed");
        CHECK(d.form.mnuPopup.folder(0).visible);  // not rebuilt from unsaved edits
        CHECK_FALSE(d.form.mnuPopup.folder(3).visible);
        auto boxes = d.os.log.only({"messageBox"});
        REQUIRE(boxes.size() == 1);
        CHECK(boxes[0].rfind("messageBox(The folders could not be saved to " + kIni, 0) == 0);
        CHECK(boxes[0].find("|Lumivane|48)") != std::string::npos);
        CHECK(d.os.files.files[kIni] == kSaved);
    }
}

TEST_CASE("Cancel hides and brings back the folders last saved, never the defaults") {
    Dialog d;
    d.host.boxes[0] = "E:\\Edited";
    d.host.boxes[4] = "typed";
    std::string saved = "C:\\";
    SUBCASE("the file as it was") {
        d.form.cmdCancel_Click();
        CHECK(d.os.log.only({"hide", "readFile", "replaceFile"}) ==
              std::vector<std::string>{"hide()", "readFile(" + kIni + ")"});
        CHECK(d.host.boxes[4].empty());
    }
    SUBCASE("the file deleted while the program ran: written back") {
        d.os.files.files.erase(kIni);
        d.form.cmdCancel_Click();
        CHECK(d.os.files.files[kIni] == kSaved);
    }
    SUBCASE("the file held by another program: left alone") {
        d.os.files.unreadable.insert(kIni);
        d.form.cmdCancel_Click();
        CHECK_FALSE(d.os.log.contains("replaceFile"));
    }
    SUBCASE("after a save and the file deleted, the saved folders come back") {
        d.form.cmdOK_Click();
        d.host.boxes[0] = "F:\\Cancelled";
        d.os.files.files.erase(kIni);
        d.form.cmdCancel_Click();
        saved = "E:\\Edited";
        CHECK(d.onDisk(0) == saved);
    }
    CHECK_FALSE(d.host.visible);
    CHECK(d.host.boxes[0] == saved);
    CHECK(d.host.boxes[1] == "D:\\Music");
}

TEST_CASE("the dialog's layout: the design's twips at each resolution, rows tiling inside the frame") {
    auto l = folder_dialog::LayoutFor(96);
    CHECK(l.frame == folder_dialog::Rect{8, 8, 361, 297});
    CHECK(l.text[0] == folder_dialog::Rect{56, 32, 185, 25});
    CHECK(l.clear[9] == folder_dialog::Rect{304, 257, 49, 25});
    CHECK(folder_dialog::LayoutFor(144).clientHeight == 536);  // 535.5 rounds up
    CHECK(folder_dialog::LayoutFor(144).formFontHeight == 17);
    for (int dpi : {96, 120, 144, 168, 192}) {
        CAPTURE(dpi);
        l = folder_dialog::LayoutFor(dpi);
        for (size_t i = 0; i < 10; ++i) {
            if (i > 0) CHECK(l.text[i - 1].top + l.text[i - 1].height == l.text[i].top);
            CHECK(l.label[i].left + l.label[i].width <= l.text[i].left);
            CHECK(l.text[i].left + l.text[i].width < l.browse[i].left);
            CHECK(l.browse[i].left + l.browse[i].width < l.clear[i].left);
            CHECK(l.clear[i].left + l.clear[i].width <= l.frame.left + l.frame.width);
        }
        CHECK(l.text[9].top + l.text[9].height <= l.frame.top + l.frame.height);
        CHECK(l.cancel.left + l.cancel.width <= l.clientWidth);
        CHECK(l.ok.top + l.ok.height <= l.clientHeight);
    }
}
