#include "shell/command_line.h"

#include "actions/cd_drives.h"

namespace lumivane::command_line {

namespace {

enum class Argument { none, drive, row, onOff };

// One command: its name, what it takes, its line in the usage text (empty:
// told on the line of the command before it), what is said when its argument
// is missing, and the action it asks for (an argument completes it; nothing
// for the help).
struct Command {
    std::string_view name;
    Argument argument;
    std::string_view usage;
    std::string_view needs;
    std::optional<Action> action;
};

constexpr Command kCommands[] = {
    {"monitoroff", Argument::none, "/monitoroff \xE2\x80\x94 Turn Monitor Off", {}, TurnMonitorOff{}},
    {"screensaver", Argument::none, "/screensaver \xE2\x80\x94 Run Screen Saver", {}, RunScreenSaver{}},
    {"eject", Argument::drive, "/eject D: \xE2\x80\x94 open the door of CD drive D:", " needs a drive, such as D:.",
     CdDoor{0, true}},
    {"close", Argument::drive, "/close D: \xE2\x80\x94 close the door of CD drive D:", " needs a drive, such as D:.",
     CdDoor{0, false}},
    {"folder", Argument::row, "/folder N \xE2\x80\x94 open folder N (1 to 10) of Customize",
     " needs a row number from 1 to 10.", OpenFolder{}},
    {"customize", Argument::none, "/customize \xE2\x80\x94 Customize", {}, Customize{}},
    {"about", Argument::none, "/about \xE2\x80\x94 About", {}, About{}},
    {"menu", Argument::none, "/menu \xE2\x80\x94 the menu, at the mouse pointer", {}, OpenMenu{}},
    {"startup", Argument::onOff, "/startup on, /startup off \xE2\x80\x94 Load at Startup, Don't Load at Startup",
     " needs on or off.", SetStartWithWindows{}},
    {"exit", Argument::none, "/exit \xE2\x80\x94 end the running Lumivane", {}, Exit{}},
    {"?", Argument::none, "/?, /help \xE2\x80\x94 this list", {}, std::nullopt},
    {"help", Argument::none, {}, {}, std::nullopt},
};

std::string usageText() {
    std::string text = "lumivane.exe COMMAND does what the menu item does, in the running Lumivane when there is one:\n\n";
    for (const Command& command : kCommands)
        if (!command.usage.empty()) (text += command.usage) += '\n';
    return text + "\nA command may also begin with - or --.";
}

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

// The row's action, completed by its argument.
Request withArgument(const Command& command, std::string_view argument) {
    if (command.argument == Argument::drive) {
        auto letter = driveLetter(argument);
        if (!letter) return bad("\"", argument, "\" is not a drive; write it as D, D: or D:\\.");
        CdDoor door = std::get<CdDoor>(*command.action);
        door.drive = *letter;
        return Action{door};
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

std::string_view switchName(std::string_view word) {
    for (std::string_view prefix : {"--", "-", "/"})
        if (word.size() > prefix.size() && word.substr(0, prefix.size()) == prefix) return word.substr(prefix.size());
    return {};
}

} // namespace

const std::string kUsage = usageText();

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
    if (command->argument == Argument::none) {
        if (command->action) return *command->action;
        return ShowHelp{};
    }
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
