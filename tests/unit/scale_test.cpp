// The menu's pictures made at each size when first needed, and the tray icon
// following the notification area's size.
#include "fakes/recording.h"
#include "shell/menu_images.h"
#include "shell/tray_icon.h"

#include <doctest/doctest.h>

#include <map>
#include <utility>
#include <vector>

using namespace lumivane;
using Calls = std::vector<std::string>;

namespace {
// Stands for the icon resources: one distinct address per picture and size,
// and a record of what was asked for.
struct FakeLoader final : PictureLoader {
    std::map<std::pair<int, int>, int> made;
    std::vector<std::pair<int, int>> asked;
    void* load(int index, int size) override {
        asked.emplace_back(index, size);
        return &made[{index, size}];
    }
    void* picture(int index, int size) { return &made[{index, size}]; }
};

constexpr int kTurn = 15;  // the tray's picture in the table
} // namespace

TEST_CASE("a filled image list asks its loader for a picture only when it is needed, at the size needed") {
    FakeLoader loader;
    ImageList list;
    list.add("OLD", "Old", nullptr);
    list.fill(loader);
    CHECK(loader.asked.empty());  // nothing made at start-up
    REQUIRE(list.count() == 19);
    CHECK(list.key(16) == "TURN");
    CHECK(list.tag(2) == "1.");
    CHECK(std::vector<int>(list.sizes().begin(), list.sizes().end()) == std::vector<int>{16, 20, 24, 32});

    CHECK(list.icon(2, 24) == loader.picture(1, 24));
    CHECK(list.icon(2) == loader.picture(1, 16));  // the engine's plain call is the 16 pixel one
    CHECK(list.iconOf("turn", 20) == loader.picture(kTurn, 20));
    CHECK(loader.asked == std::vector<std::pair<int, int>>{{1, 24}, {1, 16}, {kTurn, 20}});
    CHECK(list.icon(0, 16) == nullptr);
    CHECK(list.icon(20, 16) == nullptr);
    CHECK(loader.asked.size() == 3);

    // Added images keep their one icon at any size, and hold only 16 pixels.
    ImageList added;
    int picture = 0;
    added.add("TURN", "Turn", &picture);
    CHECK(added.iconOf("TURN", 32) == &picture);
    CHECK(std::vector<int>(added.sizes().begin(), added.sizes().end()) == std::vector<int>{16});
    added.fill(loader);
    added.clear();
    CHECK(added.count() == 0);
    CHECK(added.sizes().size() == 1);  // the loader went with the images
}

TEST_CASE("the tray icon is the picture at the notification area's size, and changes with it") {
    FakeLoader loader;
    fakes::FakeHub hub;
    hub.logic.menuImages.fill(loader);
    hub.os.tray.size = 24;  // 150 %
    hub.logic.start();
    REQUIRE(hub.os.tray.added.size() == 1);
    CHECK(hub.os.tray.added[0].icon == loader.picture(kTurn, 24));

    // A change that leaves the size as it was replaces nothing.
    hub.os.log.calls.clear();
    hub.logic.onDisplayChange();
    CHECK(hub.os.log.calls.empty());

    // The taskbar's monitor went to 200 %: the shown icon takes the 32 pixel picture.
    hub.os.tray.size = 32;
    hub.logic.onDisplayChange();
    CHECK(hub.os.log.calls == Calls{"trayModify()"});
    REQUIRE(hub.os.tray.modified.size() == 1);
    const platform::TrayRecord& record = hub.os.tray.modified[0];
    CHECK(record.icon == loader.picture(kTurn, 32));
    CHECK(record.window == fakes::FakeHubHost::kWindow);
    CHECK(record.id == tray_icon::kIconId);
    CHECK(record.flags == platform::kNifIcon);  // the picture only: the tip and the callback stay as they are
    hub.logic.onDisplayChange();
    CHECK(hub.os.tray.modified.size() == 1);

    // A change the shell refused is tried again at the next: the size is noted only once taken.
    hub.os.tray.size = 20;
    hub.os.tray.acceptsModify = false;
    hub.logic.onDisplayChange();
    hub.os.tray.acceptsModify = true;
    hub.logic.onDisplayChange();
    CHECK(hub.os.tray.modified.size() == 3);
    CHECK(hub.os.tray.modified.back().icon == loader.picture(kTurn, 20));

    // "TaskbarCreated" for a change of scale, the icon still there: the add
    // fails and the icon takes the picture for the new scale.
    hub.os.tray.size = 24;
    hub.os.log.calls.clear();
    hub.logic.onTaskbarCreated();
    CHECK(hub.os.log.calls == Calls{"trayAdd()", "trayModify()"});
    CHECK(hub.os.tray.modified.back().icon == loader.picture(kTurn, 24));
    hub.logic.onDisplayChange();
    CHECK(hub.os.tray.modified.size() == 4);

    // A taskbar made again (Explorer restarted) adds the icon at its size of the moment.
    hub.os.tray.iconShown = false;
    hub.os.tray.size = 20;
    hub.logic.onTaskbarCreated();
    CHECK(hub.os.tray.added.back().icon == loader.picture(kTurn, 20));
    hub.logic.onDisplayChange();
    CHECK(hub.os.tray.modified.size() == 4);

    // No icon shown (gone with the window): nothing to change.
    hub.logic.onWindowGone();
    hub.os.tray.size = 16;
    hub.logic.onDisplayChange();
    CHECK(hub.os.tray.modified.size() == 4);
}
