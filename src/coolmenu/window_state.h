#pragma once
#include "coolmenu/help_callback.h"
#include "coolmenu/image_source.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane::coolmenu {

// Per-window settings and state of the engine. Handles are held as plain
// numbers so the record stays free of the Win32 headers; the Win32 layer
// supplies how fonts are deleted and rebuilt.
class WndCoolMenu {
public:
    using FontHandle = void*;
    using FontDeleter = void (*)(FontHandle font);
    // Rebuilds MenuFont from FontName and FontSize at once.
    using FontBuilder = void (*)(WndCoolMenu& window);

    explicit WndCoolMenu(FontDeleter deleter = nullptr, FontBuilder builder = nullptr)
        : deleteFont_(deleter), buildFont_(builder) {}
    ~WndCoolMenu();
    WndCoolMenu(const WndCoolMenu&) = delete;
    WndCoolMenu& operator=(const WndCoolMenu&) = delete;

    std::uintptr_t hwnd = 0;
    std::intptr_t PrevProc = 0;
    const MenuImages* ilHandle = nullptr;  // the host's; it outlives the window's attachment
    const HelpCallBack* HelpObj = nullptr; // the host's; none means no help reports
    bool ComplexChecks = true;
    bool ColorEmbossed = true;  // kept for the host only; no drawing reads it
    bool RightToLeft = false;
    std::uint32_t SelectColor = 0;
    bool FullSelect = true;
    std::uint32_t ForeColor = 0;
    // The menu bar the watch last saw; 0 and -1 mean "nothing to watch".
    std::intptr_t SCMainMenu = 0;

    // Menu heads: the popups converted for this window, each once.
    int CountMenuHeads() const { return static_cast<int>(heads_.size()) - 1; }
    void AddMenuHead(std::uintptr_t hMenu);
    void RemoveMenuHead(std::uintptr_t hMenu);
    std::uintptr_t GetMenuHead(int headIndex) const;

    // Which menu-bar item carries the raised frame: -1 none, -2 a popup is open.
    std::string MainPopedIndex() const { return std::to_string(mainPopedIndex_); }
    // Text that is not a 16-bit number leaves the value as it was.
    void MainPopedIndex(std::string_view text);
    int mainPopedIndex() const { return mainPopedIndex_; }
    void setMainPopedIndex(int index) { mainPopedIndex_ = static_cast<std::int16_t>(index); }

    int FontSize() const { return fontSize_; }
    void FontSize(int points);
    const std::string& FontName() const { return fontName_; }
    void FontName(std::string name);
    // Stores the name without rebuilding, for the font builder itself.
    void assignFontName(std::string name) { fontName_ = std::move(name); }

    // Both fonts are owned: a replaced font and the last ones are deleted.
    FontHandle MenuFont() const { return menuFont_; }
    void MenuFont(FontHandle font);
    FontHandle MenuFontSep() const { return menuFontSep_; }
    void MenuFontSep(FontHandle font);

private:
    void dropFont(FontHandle font) const;

    FontDeleter deleteFont_;
    FontBuilder buildFont_;
    std::vector<std::uintptr_t> heads_{0};
    std::int16_t mainPopedIndex_ = -1;
    int fontSize_ = 8;
    std::string fontName_;
    FontHandle menuFont_ = nullptr;
    FontHandle menuFontSep_ = nullptr;
};

} // namespace lumivane::coolmenu
