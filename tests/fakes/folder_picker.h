#pragma once
#include "fakes/call_log.h"
#include "platform/folder_picker.h"

#include <cstdint>
#include <string>

namespace lumivane::fakes {

// Answers with the folder the test chose; "" stands for a cancelled picker.
class FakeFolderPicker final : public platform::FolderPicker {
public:
    explicit FakeFolderPicker(CallLog& log) : log_(log) {}
    std::string answer;
    std::string BrowseForFolder(void* owner) override {
        log_.add("browseForFolder(" + std::to_string(reinterpret_cast<std::uintptr_t>(owner)) + ")");
        return answer;
    }

private:
    CallLog& log_;
};

} // namespace lumivane::fakes
