#include "folders/startup_approval.h"

namespace lumivane::startup_approval {

namespace {
constexpr unsigned char kEnabled = 2;
// Windows also writes 6 and 7, the same pair with one more flag bit set.
constexpr unsigned char kDisabled = 3;
constexpr unsigned char kDisabledOther = 7;
} // namespace

bool marksDisabled(unsigned type, std::string_view data) {
    if (type != platform::kRegBinary || data.size() != kApprovalMarkSize) return false;
    const auto flag = static_cast<unsigned char>(data[0]);
    return flag == kDisabled || flag == kDisabledOther;
}

bool marksDisabled(const platform::ValueQuery& answer) {
    return answer.status == platform::kRegSuccess && answer.size == answer.bytes.size() &&
           marksDisabled(answer.type, answer.bytes);
}

std::string enabledMark() {
    std::string mark(kApprovalMarkSize, '\0');
    mark[0] = static_cast<char>(kEnabled);
    return mark;
}

const char* markSubkeyFor(platform::RegistryRoot root, bool ownViewIs32BitOn64) {
    const bool redirected = ownViewIs32BitOn64 && root == platform::RegistryRoot::LocalMachine;
    return redirected ? kApprovedRun32Subkey : kApprovedRunSubkey;
}

namespace {
platform::ValueQuery readMark(platform::Registry& registry, platform::RegistryRoot root, const char* subkey,
                              const std::string& valueName) {
    // One byte more than a mark: a longer value then answers "more data" and
    // counts as no mark, without reading what it holds.
    return registry.queryValue(root, subkey, valueName, kApprovalMarkSize + 1, platform::RegistryView::Native);
}
} // namespace

bool runValueMarkedDisabled(platform::Registry& registry, platform::RegistryRoot root,
                            const std::string& valueName) {
    return marksDisabled(readMark(registry, root, markSubkeyFor(root, registry.ownViewIs32BitOn64()), valueName));
}

long clearDisabledMark(platform::Registry& registry, platform::RegistryRoot root, const std::string& valueName) {
    const char* subkey = markSubkeyFor(root, registry.ownViewIs32BitOn64());
    if (!marksDisabled(readMark(registry, root, subkey, valueName))) return platform::kRegSuccess;
    return registry.setBinary(root, subkey, valueName, enabledMark(), platform::RegistryView::Native);
}

} // namespace lumivane::startup_approval
