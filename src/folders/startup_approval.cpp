#include "folders/startup_approval.h"

namespace lumivane::startup {

namespace {
constexpr unsigned char kEnabled = 2;
// Windows also writes 6 and 7, the same pair with one more flag bit set.
constexpr unsigned char kDisabled = 3;
constexpr unsigned char kDisabledOther = 7;
} // namespace

bool MarksDisabled(unsigned type, std::string_view data) {
    if (type != platform::kRegBinary || data.size() != kApprovalMarkSize) return false;
    const auto flag = static_cast<unsigned char>(data[0]);
    return flag == kDisabled || flag == kDisabledOther;
}

bool MarksDisabled(const platform::ValueQuery& answer) {
    return answer.status == platform::kRegSuccess && answer.size == answer.bytes.size() &&
           MarksDisabled(answer.type, answer.bytes);
}

std::string EnabledMark() {
    std::string mark(kApprovalMarkSize, '\0');
    mark[0] = static_cast<char>(kEnabled);
    return mark;
}

const char* MarkSubkeyFor(bool ownViewIs32BitOn64) {
    return ownViewIs32BitOn64 ? kApprovedRun32Subkey : kApprovedRunSubkey;
}

namespace {
platform::ValueQuery readMark(platform::Registry& registry, platform::RegistryRoot root, const char* subkey,
                              const std::string& valueName) {
    // One byte more than a mark: a longer value then answers "more data" and
    // counts as no mark, without reading what it holds.
    return registry.queryValue(root, subkey, valueName, kApprovalMarkSize + 1, platform::RegistryView::Native);
}
} // namespace

bool RunValueMarkedDisabled(platform::Registry& registry, platform::RegistryRoot root,
                            const std::string& valueName) {
    return MarksDisabled(readMark(registry, root, MarkSubkeyFor(registry.ownViewIs32BitOn64()), valueName));
}

long ClearDisabledMark(platform::Registry& registry, platform::RegistryRoot root, const std::string& valueName) {
    const char* subkey = MarkSubkeyFor(registry.ownViewIs32BitOn64());
    if (!MarksDisabled(readMark(registry, root, subkey, valueName))) return platform::kRegSuccess;
    return registry.setBinary(root, subkey, valueName, EnabledMark(), platform::RegistryView::Native);
}

} // namespace lumivane::startup
