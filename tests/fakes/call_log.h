#pragma once
#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace lumivane::fakes {

struct CallLog {
    std::vector<std::string> calls;
    void add(std::string call) { calls.push_back(std::move(call)); }
    bool contains(const std::string& prefix) const {
        return std::any_of(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    }
    // The calls that begin with one of the given prefixes, in order.
    std::vector<std::string> only(std::initializer_list<std::string> prefixes) const {
        std::vector<std::string> out;
        for (const auto& c : calls)
            if (std::any_of(prefixes.begin(), prefixes.end(), [&](const std::string& p) { return c.rfind(p, 0) == 0; }))
                out.push_back(c);
        return out;
    }
};

// The part every recording fake shares: the log its calls land in.
struct Recorder {
    explicit Recorder(CallLog& log) : log(log) {}
    CallLog& log;
    // Logs the call and gives the fake's answer to it.
    template <class T>
    T note(std::string call, T answer) {
        log.add(std::move(call));
        return answer;
    }
};

} // namespace lumivane::fakes
