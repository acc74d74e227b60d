#pragma once
#include <functional>
#include <string>

namespace lumivane::coolmenu {

// Created by the host and handed to the engine, which reports through it the
// help text of the item under the mouse.
class HelpCallback {
public:
    // The event: the host sets it when it wants the help text. Arguments are
    // taken by value so a handler cannot change what the engine holds.
    std::function<void(std::string menuText, std::string menuHelp, bool enabled)> onHelp;

    void report(std::string menuText, std::string menuHelp, bool enabled) const {
        if (onHelp) onHelp(std::move(menuText), std::move(menuHelp), enabled);
    }
};

} // namespace lumivane::coolmenu
