#include "coolmenu/accessible_name.h"

#include "coolmenu/caption.h"

#include <vector>

namespace lumivane::coolmenu {

namespace {

// The text as drawn with its mnemonic prefixes: "&&" kept, a single "&" left out.
std::string withoutMnemonicPrefixes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '&') {
            out += "&&";
            ++i;
        }
    }
    return out;
}

struct Run {
    std::string_view text;
    size_t blanksBefore = 0;
};

} // namespace

std::string withoutLetterSpacing(std::string_view text) {
    std::vector<Run> runs;
    size_t blanks = 0;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == ' ') {
            ++blanks;
            ++i;
            continue;
        }
        size_t end = text.find(' ', i);
        if (end == std::string_view::npos) end = text.size();
        runs.push_back({text.substr(i, end - i), blanks});
        blanks = 0;
        i = end;
    }
    if (runs.empty()) return {};

    auto isOneCharacter = [](std::string_view run) {
        size_t next = 0;
        nextCodePoint(run, next);
        return next == run.size();
    };
    bool spacedOut = runs.size() >= 2;
    for (const Run& run : runs) spacedOut = spacedOut && isOneCharacter(run.text);

    std::string out(runs.front().text);
    for (size_t k = 1; k < runs.size(); ++k) {
        // Spaced out, one blank parts letters and more part words.
        if (!spacedOut)
            out.append(runs[k].blanksBefore, ' ');
        else if (runs[k].blanksBefore > 1)
            out += ' ';
        out += runs[k].text;
    }
    return out;
}

std::string accessibleName(std::string_view text, bool heading) {
    if (heading) return withoutLetterSpacing(withoutMnemonicPrefixes(text));
    if (!text.empty() && text.front() == '!') text.remove_prefix(1);
    return withoutMnemonicPrefixes(text);
}

} // namespace lumivane::coolmenu
