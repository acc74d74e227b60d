#include "shell/command_line.h"

#include "actions/cd_drives.h"

namespace lumivane::command_line {

const std::string_view kUsage =
    "lumivane.exe COMMAND does what the menu item does, in the running Lumivane when there is one:\n\n"
    "/monitoroff \xE2\x80\x94 Turn Monitor Off\n"
    "/screensaver \xE2\x80\x94 Run Screen Saver\n"
    "/eject D: \xE2\x80\x94 open the door of CD drive D:\n"
    "/close D: \xE2\x80\x94 close the door of CD drive D:\n"
    "/folder N \xE2\x80\x94 open folder N (1 to 10) of Customize\n"
    "/customize \xE2\x80\x94 Customize\n"
    "/about \xE2\x80\x94 About\n"
    "/startup on, /startup off \xE2\x80\x94 Load at Startup, Don't Load at Startup\n"
    "/exit \xE2\x80\x94 end the running Lumivane\n"
    "/?, /help \xE2\x80\x94 this list\n\n"
    "A command may also begin with - or --.";

namespace {

enum class Argument { none, drive, row, onOff };

struct Command {
    std::string_view name;
    Argument argument;
    std::string_view needs;  // said when the argument is missing
};

constexpr Command kCommands[] = {
    {"monitoroff", Argument::none, {}},
    {"screensaver", Argument::none, {}},
    {"eject", Argument::drive, " needs a drive, such as D:."},
    {"close", Argument::drive, " needs a drive, such as D:."},
    {"folder", Argument::row, " needs a row number from 1 to 10."},
    {"customize", Argument::none, {}},
    {"about", Argument::none, {}},
    {"startup", Argument::onOff, " needs on or off."},
    {"exit", Argument::none, {}},
    {"?", Argument::none, {}},
    {"help", Argument::none, {}},
};

BadInput bad(std::string_view before, std::string_view word, std::string_view after) {
    std::string text(before);
    text += word;
    text += after;
    return BadInput{std::move(text)};
}

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// "D", "D:" and "D:\" name drive D; the letter comes back in upper case.
std::optional<char> driveLetter(std::string_view word) {
    if (word.empty() || word.size() > 3) return std::nullopt;
    char letter = lowerAscii(word.substr(0, 1))[0];
    if (letter < 'a' || letter > 'z') return std::nullopt;
    if (word.size() >= 2 && word[1] != ':') return std::nullopt;
    if (word.size() == 3 && word[2] != '\\') return std::nullopt;
    return static_cast<char>(letter - 'a' + 'A');
}

// 1 to 10, in decimal digits only.
std::optional<int> rowNumber(std::string_view word) {
    if (word.empty() || word.size() > 2) return std::nullopt;
    int row = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return std::nullopt;
        row = row * 10 + (c - '0');
    }
    if (row < 1 || row > kFolderSlotCount) return std::nullopt;
    return row;
}

Request withArgument(const Command& command, std::string_view argument) {
    if (command.argument == Argument::drive) {
        auto letter = driveLetter(argument);
        if (!letter) return bad("\"", argument, "\" is not a drive; write it as D, D: or D:\\.");
        return Action{CdDoor{*letter, command.name == "eject"}};
    }
    if (command.argument == Argument::row) {
        auto row = rowNumber(argument);
        if (!row) return bad("\"", argument, "\" is not a row number from 1 to 10.");
        return Action{OpenFolder{*row - 1}};
    }
    std::string onOff = lowerAscii(argument);
    if (onOff != "on" && onOff != "off") return bad("\"", argument, "\" is neither on nor off.");
    return Action{SetStartWithWindows{onOff == "on"}};
}

Request withoutArgument(std::string_view name) {
    if (name == "monitoroff") return Action{TurnMonitorOff{}};
    if (name == "screensaver") return Action{RunScreenSaver{}};
    if (name == "customize") return Action{Customize{}};
    if (name == "about") return Action{About{}};
    if (name == "exit") return Action{Exit{}};
    return ShowHelp{};
}

std::string_view switchName(std::string_view word) {
    for (std::string_view prefix : {"--", "-", "/"})
        if (word.size() > prefix.size() && word.substr(0, prefix.size()) == prefix) return word.substr(prefix.size());
    return {};
}

} // namespace

Request parse(const std::vector<std::string>& args) {
    if (args.empty()) return StartTray{};
    const std::string& written = args[0];
    const std::string name = lowerAscii(switchName(written));
    const Command* command = nullptr;
    for (const Command& c : kCommands)
        if (c.name == name) command = &c;
    if (!command) return bad("\"", written, "\" is not a command.");

    const size_t wanted = command->argument == Argument::none ? 1 : 2;
    if (args.size() > wanted) return bad("Too much on the command line: \"", args[wanted], "\".");
    if (command->argument == Argument::none) return withoutArgument(name);
    if (args.size() < wanted) return bad("", written, command->needs);
    return withArgument(*command, args[1]);
}

std::optional<std::string> problemOnThisComputer(const Action& action, platform::DriveInfo& drives,
                                                 const std::optional<FolderList>& folders) {
    if (const auto* door = std::get_if<CdDoor>(&action)) {
        const char root[] = {door->drive, ':', '\\', '\0'};
        if (drives.driveType(root) != platform::kDriveCdRom)
            return bad("", std::string_view(root, 2), " is not a CD drive.").problem;
    }
    if (const auto* folder = std::get_if<OpenFolder>(&action)) {
        if (folders && (*folders)[static_cast<size_t>(folder->slot)].empty())
            return bad("Row ", std::to_string(folder->slot + 1), " of the folders is empty.").problem;
    }
    return std::nullopt;
}

std::string handOverText(const std::vector<std::string>& args) {
    std::string text;
    for (const auto& arg : args) (text += arg) += '\0';
    return text;
}

std::optional<Action> actionFromHandOver(std::string_view text) {
    Request request = parse(cd_drives::splitList(text, cd_drives::kNul, false));
    if (const auto* action = std::get_if<Action>(&request)) return *action;
    return std::nullopt;
}

} // namespace lumivane::command_line
