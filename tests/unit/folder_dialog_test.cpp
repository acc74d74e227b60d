#include "fakes/recording.h"
#include "folders/folder_dialog_layout.h"
#include "folders/settings_file.h"
#include "shell/frm_folder_browse.h"

#include <doctest/doctest.h>

using namespace lumivane;

namespace {
const std::string kIni = "C:\\Tools\\lumivane.ini";

struct Dialog {
    fakes::FakeOs os;
    fakes::FakeFormHost host{os.log};
    frmFolderBrowse form{host, os.services};
    Dialog() {
        os.files.files[kIni] =
            "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\nC:\\\r\nD:\\Music\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
        form.Form_Load();
        form.InitMenu();
        host.visible = true;  // "Customize"
        os.log.calls.clear();
    }
};
} // namespace

TEST_CASE("Clear empties its own row only") {
    Dialog d;
    d.form.cmdClear_Click(1);
    CHECK(d.host.boxes[1].empty());
    CHECK(d.host.boxes[0] == "C:\\");
    CHECK(d.host.visible);
}

TEST_CASE("Browse asks the picker over the dialog's window and fills the row") {
    Dialog d;
    SUBCASE("a folder chosen") {
        d.os.folderPicker.answer = "D:\\Pictures";
        d.form.cmdBrowse_Click(2);
        CHECK(d.host.boxes[2] == "D:\\Pictures");
    }
    SUBCASE("the picker cancelled keeps the row's text") {
        d.form.cmdBrowse_Click(1);
        CHECK(d.host.boxes[1] == "D:\\Music");
    }
    CHECK(d.os.log.calls == std::vector<std::string>{"browseForFolder(68140)"});
    CHECK_FALSE(d.os.files.files.empty());
}

TEST_CASE("OK saves, then hides, then rebuilds the folder items") {
    Dialog d;
    d.form.cmdClear_Click(0);
    d.form.mnuPopup.folder(5).visible = true;  // must be put right by the rebuild
    d.form.cmdOK_Click();
    auto order = d.os.log.only({"replaceFile", "hide"});
    CHECK(order == std::vector<std::string>{"replaceFile(" + kIni + ")", "hide()"});
    CHECK(d.os.files.files[kIni] ==
          "Lumivane\r\nVersion= 1.0\r\n\r\n[Folders]\r\n\r\nD:\\Music\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    CHECK_FALSE(d.host.visible);
    CHECK_FALSE(d.form.mnuPopup.folder(0).visible);
    CHECK_FALSE(d.form.mnuPopup.folder(0).enabled);
    CHECK(d.form.mnuPopup.folder(1).caption == "1. Music");
    CHECK_FALSE(d.form.mnuPopup.folder(5).visible);
}

TEST_CASE("OK rebuilds the menu from the boxes only after the file is written and the window hidden") {
    // A window whose box reads are logged, to see when the menu is rebuilt.
    struct ReadLoggingHost final : FormHost {
        fakes::CallLog& log;
        FolderList boxes;
        explicit ReadLoggingHost(fakes::CallLog& l) : log(l) {}
        std::string slotText(int slot) const override {
            log.add("read(" + std::to_string(slot) + ")");
            return boxes[static_cast<size_t>(slot)];
        }
        void setSlotText(int slot, const std::string& text) override { boxes[static_cast<size_t>(slot)] = text; }
        void setVisible(bool v) override { log.add(v ? "show()" : "hide()"); }
        bool isVisible() const override { return true; }
        void unload() override {}
        void* hWnd() const override { return nullptr; }
    };
    fakes::FakeOs os;
    ReadLoggingHost host(os.log);
    frmFolderBrowse form(host, os.services);
    form.Form_Load();
    os.log.calls.clear();
    form.cmdOK_Click();
    auto order = os.log.only({"read", "replaceFile", "hide"});
    std::vector<std::string> expected;
    for (int pass = 0; pass < 2; ++pass) {
        for (int k = 0; k < 10; ++k) expected.push_back("read(" + std::to_string(k) + ")");
        if (pass == 0) {
            expected.push_back("replaceFile(" + kIni + ")");
            expected.push_back("hide()");
        }
    }
    CHECK(order == expected);
}

TEST_CASE("OK with an unwritable file says so and keeps the dialog and its edits") {
    Dialog d;
    d.os.files.unwritable.insert(kIni);
    d.host.boxes[3] = "E:\\typed";
    d.form.cmdOK_Click();
    CHECK(d.host.visible);
    CHECK(d.host.boxes[3] == "E:\\typed");
    CHECK_FALSE(d.os.log.contains("hide"));
    CHECK(d.form.mnuPopup.folder(3).visible == false);  // the menu was not rebuilt from unsaved edits
    auto boxes = d.os.log.only({"messageBox"});
    REQUIRE(boxes.size() == 1);
    CHECK(boxes[0].find("could not be saved to " + kIni) != std::string::npos);
    CHECK(boxes[0].find("|Lumivane|48)") != std::string::npos);
}

TEST_CASE("Cancel hides, then reloads the saved list; the file stays as it was") {
    Dialog d;
    std::string before = d.os.files.files[kIni];
    d.form.cmdClear_Click(0);
    d.host.boxes[4] = "typed";
    d.form.cmdCancel_Click();
    auto order = d.os.log.only({"hide", "readFile", "replaceFile"});
    CHECK(order == std::vector<std::string>{"hide()", "readFile(" + kIni + ")"});
    CHECK(d.host.boxes[0] == "C:\\");
    CHECK(d.host.boxes[4].empty());
    CHECK(d.os.files.files[kIni] == before);

    SUBCASE("and writes the saved list, not the default one, when the file has gone") {
        d.os.files.files.erase(kIni);
        d.host.visible = true;
        d.host.boxes[1] = "x";
        d.form.cmdCancel_Click();
        CHECK(d.host.boxes[1] == "D:\\Music");
        CHECK(d.os.files.files[kIni] == before);
    }
}

TEST_CASE("Cancel after the file was deleted or held: the folders as last saved, never the defaults") {
    Dialog d;
    d.host.boxes[0] = "E:\\Edited";  // an edit the user then cancels
    SUBCASE("deleted while the program ran: written back") {
        d.os.files.files.erase(kIni);
        d.form.cmdCancel_Click();
        CHECK_FALSE(d.host.visible);
        CHECK(d.host.boxes[0] == "C:\\");
        CHECK(d.host.boxes[1] == "D:\\Music");
        REQUIRE(d.os.files.files.count(kIni) == 1);
        FolderList onDisk = modINI::ParseFolders(d.os.files.files[kIni], d.os.codec);
        CHECK(onDisk[0] == "C:\\");
        CHECK(onDisk[1] == "D:\\Music");
    }
    SUBCASE("held by another program: the boxes go back, the file is not touched") {
        d.os.files.unreadable.insert(kIni);
        d.form.cmdCancel_Click();
        CHECK(d.host.boxes[0] == "C:\\");
        CHECK(d.host.boxes[1] == "D:\\Music");
        CHECK_FALSE(d.os.log.contains("replaceFile"));
    }
    SUBCASE("after a save, the saved folders are the ones that come back") {
        d.form.cmdOK_Click();
        d.host.visible = true;
        d.host.boxes[0] = "F:\\Cancelled";
        d.os.files.files.erase(kIni);
        d.form.cmdCancel_Click();
        CHECK(d.host.boxes[0] == "E:\\Edited");
        CHECK(modINI::ParseFolders(d.os.files.files[kIni], d.os.codec)[0] == "E:\\Edited");
    }
}

TEST_CASE("layout at 96 dpi: 15 twips to the pixel, rows inside the frame") {
    auto l = folder_dialog::LayoutFor(96);
    CHECK(l.clientWidth == 376);
    CHECK(l.clientHeight == 357);
    CHECK(l.frame == folder_dialog::Rect{8, 8, 361, 297});
    for (size_t i = 0; i < 10; ++i) {
        int top = 8 + 24 + 25 * static_cast<int>(i);
        CAPTURE(i);
        CHECK(l.label[i] == folder_dialog::Rect{8 + 16, top, 25, 25});
        CHECK(l.text[i] == folder_dialog::Rect{8 + 48, top, 185, 25});
        CHECK(l.browse[i] == folder_dialog::Rect{8 + 240, top, 49, 25});
        CHECK(l.clear[i] == folder_dialog::Rect{8 + 296, top, 49, 25});
    }
    // The last row ends inside the frame.
    CHECK(l.text[9].top + l.text[9].height <= l.frame.top + l.frame.height);
    CHECK(l.ok == folder_dialog::Rect{200, 320, 65, 25});
    CHECK(l.cancel == folder_dialog::Rect{288, 320, 65, 25});
    CHECK(l.formFontHeight == 11);
    CHECK(l.rowFontHeight == 13);
}

TEST_CASE("layout scales with the resolution and rows tile without gaps") {
    auto big = folder_dialog::LayoutFor(144);
    CHECK(big.clientWidth == 564);
    CHECK(big.clientHeight == 536);  // 535.5 rounds up
    CHECK(big.frame.left == 12);
    CHECK(big.text[0].top == 48);
    CHECK(big.formFontHeight == 17);  // 16.5 rounds up
    CHECK(big.rowFontHeight == 20);   // 19.5 rounds up

    for (int dpi : {96, 120, 144, 168, 192}) {
        auto l = folder_dialog::LayoutFor(dpi);
        CAPTURE(dpi);
        for (size_t i = 0; i + 1 < 10; ++i) CHECK(l.text[i].top + l.text[i].height == l.text[i + 1].top);
        for (size_t i = 0; i < 10; ++i) {
            CHECK(l.label[i].left + l.label[i].width <= l.text[i].left);
            CHECK(l.text[i].left + l.text[i].width < l.browse[i].left);
            CHECK(l.browse[i].left + l.browse[i].width < l.clear[i].left);
            CHECK(l.clear[i].left + l.clear[i].width <= l.frame.left + l.frame.width);
        }
        CHECK(l.cancel.left + l.cancel.width <= l.clientWidth);
        CHECK(l.ok.top + l.ok.height <= l.clientHeight);
    }
    CHECK(folder_dialog::TwipsToPixels(375, 120) == 31);
}
