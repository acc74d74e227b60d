#pragma once
// Recording fakes of the registry reads and program starts the About box uses.
#include "fakes/recording.h"
#include "platform/process.h"
#include "platform/registry_read.h"

#include <map>
#include <set>
#include <string>
#include <utility>

namespace lumivane::fakes {

class FakeRegistryReader final : public platform::RegistryReader {
public:
    explicit FakeRegistryReader(CallLog& log) : log_(log) {}
    // Keyed by key path and value name; the root is always the machine's.
    std::map<std::pair<std::string, std::string>, platform::RegistryValue> values;

    void setText(const std::string& key, const std::string& name, const std::string& ascii, bool withNul = true) {
        platform::RegistryValue v{platform::kRegSz, {}};
        for (char c : ascii) {
            v.data.push_back(static_cast<unsigned char>(c));
            v.data.push_back(0);
        }
        if (withNul) v.data.insert(v.data.end(), {0, 0});
        values[{key, name}] = v;
    }

    std::optional<platform::RegistryValue> readValue(platform::RegistryRoot root, const std::string& keyPath,
                                                     const std::string& valueName) override {
        log_.add("readValue(" + std::to_string(static_cast<std::uint32_t>(root)) + "|" + keyPath + "|" + valueName + ")");
        auto it = values.find({keyPath, valueName});
        if (it == values.end()) return std::nullopt;
        return it->second;
    }

private:
    CallLog& log_;
};

class FakeProcessStarter final : public platform::Processes {
public:
    explicit FakeProcessStarter(CallLog& log) : log_(log) {}
    // Command lines that start; every other one fails, as a missing program does.
    std::set<std::string> startable;

    bool start(const std::string& commandLine, int showCommand) override {
        log_.add("start(" + commandLine + "|" + std::to_string(showCommand) + ")");
        return startable.count(commandLine) != 0;
    }

private:
    CallLog& log_;
};

} // namespace lumivane::fakes
