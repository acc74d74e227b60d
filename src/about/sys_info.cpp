#include "about/sys_info.h"

#include "platform/utf8.h"
#include "shell/frm_folder_browse.h"

namespace lumivane::about {

namespace {
constexpr int kSwShowNormal = 1;

std::string utf16ToUtf8(const std::vector<char16_t>& units) {
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        std::uint32_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00u));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            AppendUtf8(out, 0xFFFD);  // a lone surrogate has no UTF-8 form
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

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

std::optional<std::string> KeyValueText(std::uint32_t type, const std::vector<unsigned char>& data) {
    if (type == platform::kRegSz) {
        std::vector<char16_t> units;
        for (size_t i = 0; i + 1 < data.size(); i += 2)
            units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
        // Values are stored with or without their terminating NUL.
        if (!units.empty() && units.back() == 0) units.pop_back();
        return utf16ToUtf8(units);
    }
    if (type == platform::kRegDword) {
        // All four bytes count, a zero high byte included.
        std::uint32_t n = 0;
        for (size_t i = 0; i < 4 && i < data.size(); ++i) n |= static_cast<std::uint32_t>(data[i]) << (8 * i);
        return "&h" + hexDigits(n);
    }
    return std::nullopt;
}

bool GetKeyValue(platform::RegistryReader& registry, platform::RegistryRoot KeyRoot, const std::string& KeyName,
                 const std::string& SubKeyRef, std::string& KeyVal) {
    auto value = registry.readValue(KeyRoot, KeyName, SubKeyRef);
    if (!value) {
        KeyVal.clear();
        return false;
    }
    if (auto text = KeyValueText(value->type, value->data)) KeyVal = *text;
    return true;
}

std::string ProgramCommandLine(const std::string& path) {
    if (path.find(' ') == std::string::npos || path.front() == '"') return path;
    return "\"" + path + "\"";
}

void StartSysInfo(SysInfoServices& os) {
    using platform::RegistryRoot;
    std::string path;
    if (GetKeyValue(os.registry, RegistryRoot::LocalMachine, kSysInfoKey, kSysInfoValue, path)) {
        if (os.processes.start(ProgramCommandLine(path), kSwShowNormal)) return;
    } else if (GetKeyValue(os.registry, RegistryRoot::LocalMachine, kSysInfoLocationKey, kSysInfoLocationValue, path)) {
        std::string program = path + "\\MSINFO32.EXE";
        if (os.files.fileExists(program) && os.processes.start(ProgramCommandLine(program), kSwShowNormal)) return;
    }
    // The registry can name a program that no longer exists; current systems
    // keep it in the system directory.
    if (!os.systemDirectory.empty()) {
        std::string program = os.systemDirectory + "\\msinfo32.exe";
        if (os.files.fileExists(program) && os.processes.start(ProgramCommandLine(program), kSwShowNormal)) return;
    }
    os.boxes.show(kSysInfoUnavailable, kAppTitle, platform::kMbOk);
}

} // namespace lumivane::about
