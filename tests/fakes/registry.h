#pragma once
// A registry in memory: values keyed by root, subkey and name, with their type
// and raw bytes. Refusals are set per operation; every call lands in the log.
#include "fakes/call_log.h"
#include "platform/registry.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>

namespace lumivane::fakes {

// UTF-8 (ASCII and Latin-1 are enough for the tests) as the UTF-16LE bytes of
// a registry text, with the terminating NUL the system stores.
inline std::string utf16Bytes(std::string_view text, bool terminate = true) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned cp = c;
        if ((c & 0xE0) == 0xC0 && i + 1 < text.size())
            cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3Fu);
        out += static_cast<char>(cp & 0xFF);
        out += static_cast<char>(cp >> 8);
    }
    if (terminate) out.append(2, '\0');
    return out;
}

class FakeRegistry final : public platform::Registry {
public:
    struct Value {
        unsigned type = platform::kRegSz;
        std::string bytes;
    };
    using Key = std::tuple<platform::RegistryRoot, std::string, std::string>;

    explicit FakeRegistry(CallLog& log) : log_(log) {}

    std::map<Key, Value> values;
    std::set<std::pair<platform::RegistryRoot, std::string>> subkeys;
    long refuseSet = platform::kRegSuccess;     // status a write fails with
    long refuseDelete = platform::kRegSuccess;  // status a delete fails with
    bool grewBetweenQueries = false;            // the data read is larger than the size first reported

    void putString(platform::RegistryRoot root, const std::string& subkey, const std::string& name,
                   const std::string& text, unsigned type = platform::kRegSz) {
        subkeys.insert({root, subkey});
        values[{root, subkey, name}] = Value{type, utf16Bytes(text)};
    }
    const Value* find(platform::RegistryRoot root, const std::string& subkey, const std::string& name) const {
        auto it = values.find({root, subkey, name});
        return it == values.end() ? nullptr : &it->second;
    }

    std::unique_ptr<platform::RegistryKey> openKey(platform::RegistryRoot root, const std::string& subkey) override {
        log_.add("regOpen(" + subkey + ")");
        if (!subkeys.count({root, subkey})) return nullptr;
        return std::make_unique<OpenKey>(*this, root, subkey);
    }
    long setString(platform::RegistryRoot root, const std::string& subkey, const std::string& name,
                   const std::string& data) override {
        log_.add("regSet(" + name + "=" + data + ")");
        if (refuseSet != platform::kRegSuccess) return refuseSet;
        putString(root, subkey, name, data);
        return platform::kRegSuccess;
    }
    long deleteValue(platform::RegistryRoot root, const std::string& subkey, const std::string& name) override {
        log_.add("regDelete(" + name + ")");
        if (refuseDelete != platform::kRegSuccess) return refuseDelete;
        return values.erase({root, subkey, name}) ? platform::kRegSuccess : platform::kRegFileNotFound;
    }

private:
    class OpenKey final : public platform::RegistryKey {
    public:
        OpenKey(FakeRegistry& reg, platform::RegistryRoot root, std::string subkey)
            : reg_(reg), root_(root), subkey_(std::move(subkey)) {}
        platform::ValueQuery queryTypeAndSize(const std::string& name) override {
            reg_.log_.add("regQueryInfo(" + name + ")");
            const Value* v = reg_.find(root_, subkey_, name);
            if (!v) return {};
            return {platform::kRegSuccess, v->type, v->bytes.size(), {}};
        }
        platform::ValueQuery queryData(const std::string& name, std::size_t size) override {
            reg_.log_.add("regQueryData(" + name + "," + std::to_string(size) + ")");
            const Value* v = reg_.find(root_, subkey_, name);
            if (!v) return {};
            std::size_t actual = v->bytes.size() + (reg_.grewBetweenQueries ? 2 : 0);
            // ERROR_MORE_DATA, as the system answers a buffer that is too small.
            if (actual > size) return {234, v->type, actual, {}};
            return {platform::kRegSuccess, v->type, v->bytes.size(), v->bytes};
        }

    private:
        FakeRegistry& reg_;
        platform::RegistryRoot root_;
        std::string subkey_;
    };

    CallLog& log_;
};

} // namespace lumivane::fakes
