#pragma once
// A recording menu engine: attachments land in the shared log.
#include "fakes/call_log.h"
#include "platform/menu_engine.h"

#include <string>

namespace lumivane::fakes {

class FakeMenuEngine final : public platform::MenuEngine {
public:
    explicit FakeMenuEngine(CallLog& log) : log_(log) {}
    const coolmenu::HelpCallBack* helpObj = nullptr;
    const coolmenu::MenuImages* images = nullptr;

    bool AttachCoolMenu(void* hwnd, bool subClass, const coolmenu::HelpCallBack* help,
                        const coolmenu::MenuImages* list) override {
        log_.add(std::string("AttachCoolMenu(") + (subClass ? "true" : "false") + ")");
        helpObj = help;
        images = list;
        return true;
    }
    bool CoolMenuComplexChecks(void* hwnd, bool value) override {
        log_.add(std::string("CoolMenuComplexChecks(") + (value ? "true" : "false") + ")");
        return value;
    }

private:
    CallLog& log_;
};

} // namespace lumivane::fakes
