#pragma once
// A registry in memory: values keyed by root, subkey and name, with their type
// and raw bytes. Refusals are set per operation; every call lands in the log.
#include "fakes/call_log.h"
#include "platform/registry.h"
#include "platform/registry_read.h"

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
        unsigned cp = static_cast<unsigned char>(text[i]);
        if ((cp & 0xE0) == 0xC0 && i + 1 < text.size()) cp = ((cp & 0x1Fu) << 6) | (text[++i] & 0x3Fu);
        out += {static_cast<char>(cp & 0xFF), static_cast<char>(cp >> 8)};
    }
    if (terminate) out.append(2, '\0');
    return out;
}

class FakeRegistry final : public platform::Registry, public platform::RegistryReader, Recorder {
public:
    using Recorder::Recorder;
    struct Value {
        unsigned type = platform::kRegSz;
        std::string bytes;
    };
    std::map<std::tuple<platform::RegistryRoot, std::string, std::string>, Value> values;
    std::set<std::pair<platform::RegistryRoot, std::string>> subkeys;
    long refuseSet = platform::kRegSuccess;     // status a write fails with
    long refuseDelete = platform::kRegSuccess;  // status a delete fails with
    bool grewBetweenQueries = false;            // the data read is larger than the size first reported

    void putString(platform::RegistryRoot root, const std::string& subkey, const std::string& name,
                   const std::string& text, unsigned type = platform::kRegSz, bool terminate = true) {
        subkeys.insert({root, subkey});
        values[{root, subkey, name}] = Value{type, utf16Bytes(text, terminate)};
    }
    // A text of the machine's, as the About box reads it.
    void setText(const std::string& key, const std::string& name, const std::string& text, bool terminate = true) {
        putString(platform::RegistryRoot::LocalMachine, key, name, text, platform::kRegSz, terminate);
    }
    const Value* find(platform::RegistryRoot root, const std::string& subkey, const std::string& name) const {
        auto it = values.find({root, subkey, name});
        return it == values.end() ? nullptr : &it->second;
    }

    std::unique_ptr<platform::RegistryKey> openKey(platform::RegistryRoot root, const std::string& subkey) override {
        log.add("regOpen(" + subkey + ")");
        if (!subkeys.count({root, subkey})) return nullptr;
        return std::make_unique<OpenKey>(*this, root, subkey);
    }
    long setString(platform::RegistryRoot root, const std::string& subkey, const std::string& name,
                   const std::string& data) override {
        log.add("regSet(" + name + "=" + data + ")");
        if (refuseSet != platform::kRegSuccess) return refuseSet;
        putString(root, subkey, name, data);
        return platform::kRegSuccess;
    }
    std::optional<platform::RegistryValue> readValue(platform::RegistryRoot root, const std::string& key,
                                                     const std::string& name) override {
        log.add("readValue(" + std::to_string(static_cast<std::uint32_t>(root)) + "|" + key + "|" + name + ")");
        const Value* v = find(root, key, name);
        if (!v) return std::nullopt;
        return platform::RegistryValue{v->type, {v->bytes.begin(), v->bytes.end()}};
    }
    long deleteValue(platform::RegistryRoot root, const std::string& subkey, const std::string& name) override {
        log.add("regDelete(" + name + ")");
        if (refuseDelete != platform::kRegSuccess) return refuseDelete;
        return values.erase({root, subkey, name}) ? platform::kRegSuccess : platform::kRegFileNotFound;
    }

private:
    struct OpenKey final : platform::RegistryKey {
        OpenKey(FakeRegistry& reg, platform::RegistryRoot root, std::string subkey)
            : reg(reg), root(root), subkey(std::move(subkey)) {}
        platform::ValueQuery queryTypeAndSize(const std::string& name) override {
            reg.log.add("regQueryInfo(" + name + ")");
            const Value* v = reg.find(root, subkey, name);
            if (!v) return {};
            return {platform::kRegSuccess, v->type, v->bytes.size(), {}};
        }
        platform::ValueQuery queryData(const std::string& name, std::size_t size) override {
            reg.log.add("regQueryData(" + name + "," + std::to_string(size) + ")");
            const Value* v = reg.find(root, subkey, name);
            if (!v) return {};
            std::size_t actual = v->bytes.size() + (reg.grewBetweenQueries ? 2 : 0);
            // ERROR_MORE_DATA, as the system answers a buffer that is too small.
            if (actual > size) return {234, v->type, actual, {}};
            return {platform::kRegSuccess, v->type, v->bytes.size(), v->bytes};
        }
        FakeRegistry& reg;
        platform::RegistryRoot root;
        std::string subkey;
    };
};

} // namespace lumivane::fakes
