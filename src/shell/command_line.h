#pragma once
#include "folders/folder_slots.h"
#include "platform/system_info.h"
#include "shell/action.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The program's command line: lumivane.exe COMMAND [ARGUMENT], each command
// written /name, -name or --name, in any case.
namespace lumivane::command_line {

// No command: the tray (or "Already running").
struct StartTray {
    bool operator==(const StartTray&) const = default;
};
// /? or /help.
struct ShowHelp {
    bool operator==(const ShowHelp&) const = default;
};
struct BadInput {
    std::string problem;  // what was wrong, in the user's words where they came from
    bool operator==(const BadInput&) const = default;
};
using Request = std::variant<StartTray, ShowHelp, BadInput, Action>;

// args: the words after the program's name, as the system splits the command
// line, in UTF-8.
Request parse(const std::vector<std::string>& args);

// What keeps a well-formed action from running on this computer: the door of a
// drive that is not a CD drive, a folder row that is empty. folders are those
// the settings file holds; when it could not be read, the rows are not judged.
std::optional<std::string> problemOnThisComputer(const Action& action, platform::DriveInfo& drives,
                                                 const std::optional<FolderList>& folders);

// The commands, for /? and under every bad input.
extern const std::string kUsage;

// What a second copy hands to the running one: the words of its command line,
// each followed by a NUL; the running copy parses them as its own.
std::string handOverText(const std::vector<std::string>& args);
// The action of a hand-over's text; nothing for a text that is not a command.
std::optional<Action> actionFromHandOver(std::string_view text);

} // namespace lumivane::command_line
