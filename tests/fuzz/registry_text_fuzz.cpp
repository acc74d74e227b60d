// Registry values as any program may have stored them, read as text: the Run
// value of the start-up entry and the values the About box reads.
#include "about/sys_info.h"
#include "folders/reg_plus.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace lumivane;

namespace {

void require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "registry_text: %s\n", what);
        std::abort();
    }
}

// Decodes strict UTF-8 into code points; false for any malformed, overlong or
// surrogate sequence.
bool decodeUtf8(const std::string& s, std::u32string& out) {
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= s.size()) return false;
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        static const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        out.push_back(cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

// What the UTF-16 units say: pairs joined, lone surrogates as U+FFFD.
std::u32string expectedCodePoints(const std::vector<char16_t>& units) {
    std::u32string out;
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            out.push_back(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00u));
            ++i;
        } else {
            out.push_back(u >= 0xD800 && u <= 0xDFFF ? char32_t{0xFFFD} : u);
        }
    }
    return out;
}

std::vector<char16_t> unitsOf(const std::string& bytes) {
    std::vector<char16_t> units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return units;
}

// A key whose value may change between the size query and the read.
struct ChangingKey final : platform::RegistryKey {
    platform::ValueQuery first, second;
    platform::ValueQuery queryTypeAndSize(const std::string&) override {
        platform::ValueQuery q = first;
        q.bytes.clear();
        return q;
    }
    platform::ValueQuery queryData(const std::string&, std::size_t size) override {
        platform::ValueQuery q = second;
        // Like the system: data larger than the buffer is not returned.
        if (q.status == platform::kRegSuccess && q.bytes.size() > size) {
            q.status = 234;  // ERROR_MORE_DATA
            q.bytes.clear();
        }
        return q;
    }
};

void runValue(FuzzedDataProvider& input) {
    ChangingKey key;
    key.first.status = input.ConsumeBool() ? platform::kRegSuccess : platform::kRegFileNotFound;
    key.first.type = input.ConsumeIntegralInRange<unsigned>(0, 4);
    std::string bytes = input.ConsumeRandomLengthString(512);
    key.first.size = bytes.size();
    key.second = key.first;
    key.second.bytes = bytes;
    if (input.ConsumeBool()) key.second.type = input.ConsumeIntegralInRange<unsigned>(0, 4);

    std::string text = RegPlus::QueryStringValue(key, "Lumivane");
    std::u32string decoded;
    require(decodeUtf8(text, decoded), "the Run value reads as malformed UTF-8");
    require(text.find('\0') == std::string::npos, "the Run value reads with a NUL in it");
    bool readable = key.first.status == platform::kRegSuccess && key.first.type == platform::kRegSz &&
                    key.second.type == platform::kRegSz;
    if (!readable) {
        require(text.empty(), "a value that is not REG_SZ reads as text");
        return;
    }
    std::u32string all = expectedCodePoints(unitsOf(bytes));
    require(decoded == all.substr(0, all.find(U'\0')), "the Run value reads as other characters");
}

void aboutValue(FuzzedDataProvider& input) {
    auto type = input.ConsumeIntegralInRange<std::uint32_t>(0, 5);
    std::string bytes = input.ConsumeRandomLengthString(512);
    std::vector<unsigned char> data(bytes.begin(), bytes.end());
    auto text = about::KeyValueText(type, data);
    if (type != platform::kRegSz && type != platform::kRegDword) {
        require(!text.has_value(), "a value of another type gave text");
        return;
    }
    require(text.has_value(), "a text or number value gave nothing");
    std::u32string decoded;
    require(decodeUtf8(*text, decoded), "the value reads as malformed UTF-8");
    if (type == platform::kRegDword) {
        require(text->rfind("&h", 0) == 0 && text->size() >= 3 && text->size() <= 10, "a number reads oddly");
        return;
    }
    auto units = unitsOf(bytes);
    if (!units.empty() && units.back() == 0) units.pop_back();
    require(decoded == expectedCodePoints(units), "the value reads as other characters");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool())
        runValue(input);
    else
        aboutValue(input);
    return 0;
}
