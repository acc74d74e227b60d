#include "about/sys_info.h"

#include "platform/app_title.h"
#include "platform/utf8.h"

namespace lumivane::about {

namespace {
constexpr int kSwShowNormal = 1;
// Values read here are program paths; anything longer is not one.
constexpr std::size_t kMaxValueBytes = 1024 * 2;

std::string hexDigits(std::uint32_t n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), digits[n & 0xF]);
        n >>= 4;
    } while (n != 0);
    return out;
}
} // namespace

std::optional<std::string> keyValueText(std::uint32_t type, const std::vector<unsigned char>& data) {
    if (type == platform::kRegSz) {
        std::string text = utf16LeToUtf8({reinterpret_cast<const char*>(data.data()), data.size()});
        // Values are stored with or without their terminating NUL.
        if (!text.empty() && text.back() == '\0') text.pop_back();
        return text;
    }
    if (type == platform::kRegDword) {
        // All four bytes count, a zero high byte included.
        std::uint32_t n = 0;
        for (size_t i = 0; i < 4 && i < data.size(); ++i) n |= static_cast<std::uint32_t>(data[i]) << (8 * i);
        return "&h" + hexDigits(n);
    }
    return std::nullopt;
}

std::optional<std::string> readKeyText(platform::Registry& registry, platform::RegistryRoot root,
                                       const std::string& keyPath, const std::string& valueName) {
    auto value = registry.queryValue(root, keyPath, valueName, kMaxValueBytes, platform::RegistryView::Own);
    if (value.status != platform::kRegSuccess) return std::nullopt;
    return keyValueText(value.type, {value.bytes.begin(), value.bytes.end()}).value_or(std::string());
}

std::string programCommandLine(const std::string& path) {
    if (path.find(' ') == std::string::npos || path.front() == '"') return path;
    return "\"" + path + "\"";
}

void startSysInfo(SysInfoServices& os) {
    using platform::RegistryRoot;
    if (auto path = readKeyText(os.registry, RegistryRoot::LocalMachine, kSysInfoKey, kSysInfoValue)) {
        if (os.processes.start(programCommandLine(*path), kSwShowNormal)) return;
    } else if (auto folder = readKeyText(os.registry, RegistryRoot::LocalMachine, kSysInfoLocationKey,
                                         kSysInfoLocationValue)) {
        std::string program = *folder + "\\MSINFO32.EXE";
        if (os.files.fileExists(program) && os.processes.start(programCommandLine(program), kSwShowNormal)) return;
    }
    // The registry can name a program that no longer exists; current systems
    // keep it in the system directory.
    if (!os.systemDirectory.empty()) {
        std::string program = os.systemDirectory + "\\msinfo32.exe";
        if (os.files.fileExists(program) && os.processes.start(programCommandLine(program), kSwShowNormal)) return;
    }
    os.boxes.show(kSysInfoUnavailable, kAppTitle, platform::kMbOk);
}

} // namespace lumivane::about
