// Registry values as any program may have stored them, read as the Run value and the About box's texts.
#include "about/sys_info.h"
#include "platform/registry.h"

#include <cassert>
#include <fuzzer/FuzzedDataProvider.h>

using namespace lumivane;

namespace {
// The first `units` UTF-16LE units as the UTF-8 they must read as: pairs joined, lone surrogates U+FFFD.
std::string expectedText(const std::string& bytes, size_t units) {
    auto unit = [&](size_t i) { return char32_t(std::uint8_t(bytes[2 * i]) | std::uint8_t(bytes[2 * i + 1]) << 8); };
    std::string out;
    for (size_t i = 0; i < units; ++i) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        static const char32_t lead[] = {0, 0xC0, 0xE0, 0xF0};
        int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;  // continuation bytes
        out += char(lead[extra] | c >> 6 * extra);
        for (int k = extra - 1; k >= 0; --k) out += char(0x80 | (c >> 6 * k & 0x3F));
    }
    return out;
}

// A key whose value may change between the size query and the read.
struct ChangingKey final : platform::RegistryKey {
    platform::ValueQuery first, second;
    platform::ValueQuery queryTypeAndSize(const std::string&) override {
        return {first.status, first.type, first.size, {}};
    }
    platform::ValueQuery queryData(const std::string&, std::size_t size) override {
        // Like the system: data larger than the buffer is not returned (ERROR_MORE_DATA).
        bool tooLarge = second.status == platform::kRegSuccess && second.bytes.size() > size;
        return tooLarge ? platform::ValueQuery{234, second.type, second.size, {}} : second;
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool()) {
        // The Run value: text only from REG_SZ, exactly its characters up to the first NUL.
        ChangingKey key;
        key.first.status = input.ConsumeBool() ? platform::kRegSuccess : platform::kRegFileNotFound;
        key.first.type = input.ConsumeIntegralInRange<unsigned>(0, 4);
        std::string bytes = input.ConsumeRandomLengthString(512);
        key.first.size = bytes.size();
        key.second = key.first;
        key.second.bytes = bytes;
        if (input.ConsumeBool()) key.second.type = input.ConsumeIntegralInRange<unsigned>(0, 4);
        std::string text = platform::queryStringValue(key, "Lumivane");
        bool readable = key.first.status == platform::kRegSuccess && key.first.type == platform::kRegSz &&
                        key.second.type == platform::kRegSz;
        size_t units = 0;
        while (readable && 2 * units + 1 < bytes.size() && (bytes[2 * units] || bytes[2 * units + 1])) ++units;
        assert((text == (readable ? expectedText(bytes, units) : "")) && "the Run value reads as other characters");
        return 0;
    }
    // The About box's values: REG_SZ exactly its characters (one stored final
    // NUL dropped), REG_DWORD "&h" and hexadecimal digits, any other type nothing.
    auto type = input.ConsumeIntegralInRange<std::uint32_t>(0, 5);
    std::string bytes = input.ConsumeRandomLengthString(512);
    auto text = about::keyValueText(type, std::vector<unsigned char>(bytes.begin(), bytes.end()));
    if (type == platform::kRegDword) {
        assert(text && text->rfind("&h", 0) == 0 && text->size() >= 3 && text->size() <= 10 &&
               text->find_first_not_of("0123456789ABCDEF", 2) == std::string::npos && "a number reads oddly");
    } else if (type == platform::kRegSz) {
        size_t units = bytes.size() / 2;
        if (units > 0 && !bytes[2 * units - 2] && !bytes[2 * units - 1]) --units;
        assert(text == expectedText(bytes, units) && "the value reads as other characters");
    } else {
        assert(!text && "a value of another type gave text");
    }
    return 0;
}
