#pragma once
#include "coolmenu/help_callback.h"
#include "coolmenu/image_source.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumivane::coolmenu {

// Per-window settings and state of the engine. Handles are held as plain
// numbers so the record stays free of the Win32 headers; the Win32 layer
// supplies how fonts are deleted and rebuilt.
class WindowState {
public:
    using FontHandle = void*;
    using FontDeleter = void (*)(FontHandle font);
    // Rebuilds MenuFont from FontName and FontSize at once.
    using FontBuilder = void (*)(WindowState& window);

    explicit WindowState(FontDeleter deleter = nullptr, FontBuilder builder = nullptr)
        : deleteFont_(deleter), buildFont_(builder) {}
    ~WindowState();
    WindowState(const WindowState&) = delete;
    WindowState& operator=(const WindowState&) = delete;

    std::uintptr_t hwnd = 0;
    std::intptr_t previousProc = 0;
    const MenuImages* images = nullptr;  // the host's; it outlives the window's attachment
    const HelpCallback* help = nullptr;  // the host's; none means no help reports
    bool complexChecks = true;
    bool colorEmbossed = true;  // kept for the host only; no drawing reads it
    bool rightToLeft = false;
    std::uint32_t selectColor = 0;
    bool fullSelect = true;
    std::uint32_t foreColor = 0;
    // The menu bar the watch last saw; 0 and -1 mean "nothing to watch".
    std::intptr_t watchedMenuBar = 0;

    // Menu heads: the popups converted for this window, each once.
    int headCount() const { return static_cast<int>(heads_.size()) - 1; }
    void addHead(std::uintptr_t hMenu);
    void removeHead(std::uintptr_t hMenu);
    std::uintptr_t head(int headIndex) const;

    // Which menu-bar item carries the raised frame: -1 none, -2 a popup is open.
    int raisedBarItem() const { return raisedBarItem_; }
    void setRaisedBarItem(int index) { raisedBarItem_ = index; }

    int fontSize() const { return fontSize_; }
    void setFontSize(int points);
    const std::string& fontName() const { return fontName_; }
    void setFontName(std::string name);
    // Stores the name without rebuilding, for the font builder itself.
    void assignFontName(std::string name) { fontName_ = std::move(name); }

    // Both fonts are owned: a replaced font and the last ones are deleted.
    FontHandle menuFont() const { return menuFont_; }
    void setMenuFont(FontHandle font);
    FontHandle headingFont() const { return headingFont_; }
    void setHeadingFont(FontHandle font);

private:
    void dropFont(FontHandle font) const;

    FontDeleter deleteFont_;
    FontBuilder buildFont_;
    std::vector<std::uintptr_t> heads_{0};
    int raisedBarItem_ = -1;
    int fontSize_ = 8;
    std::string fontName_;
    FontHandle menuFont_ = nullptr;
    FontHandle headingFont_ = nullptr;
};

} // namespace lumivane::coolmenu
