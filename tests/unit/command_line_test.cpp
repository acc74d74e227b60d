#include "fakes/recording.h"
#include "shell/command_line.h"

#include <doctest/doctest.h>

using namespace lumivane;
using namespace lumivane::command_line;
using Args = std::vector<std::string>;

namespace {
// What a command line comes to on a computer whose only CD drive is D: and
// whose folder row 3 is empty.
Request outcome(const Args& args) {
    fakes::CallLog log;
    fakes::FakeDriveInfo drives(log);
    drives.types = {{"D:\\", platform::kDriveCdRom}, {"Q:\\", 1}};
    FolderList folders{"C:\\", "D:\\Music", "", "E:\\4", "E:\\5", "E:\\6", "E:\\7", "E:\\8", "E:\\9", "E:\\10"};
    Request request = parse(args);
    if (const auto* action = std::get_if<Action>(&request))
        if (auto problem = problemOnThisComputer(*action, drives, folders)) return BadInput{*problem};
    return request;
}

std::string joined(const Args& args) {
    std::string text;
    for (const auto& arg : args) text += "[" + arg + "]";
    return text;
}
} // namespace

TEST_CASE("the command line: every command in its three forms and any case, and every kind of bad input") {
    const std::string notADrive = " is not a drive; write it as D, D: or D:\\.";
    const std::vector<std::pair<Args, Request>> table = {
        {{}, StartTray{}},
        {{"/monitoroff"}, Action{TurnMonitorOff{}}},
        {{"-MonitorOff"}, Action{TurnMonitorOff{}}},
        {{"--MONITOROFF"}, Action{TurnMonitorOff{}}},
        {{"/screensaver"}, Action{RunScreenSaver{}}},
        {{"/eject", "D:"}, Action{CdDoor{'D', true}}},
        {{"-Eject", "d"}, Action{CdDoor{'D', true}}},
        {{"--close", "d:\\"}, Action{CdDoor{'D', false}}},
        {{"/folder", "1"}, Action{OpenFolder{0}}},
        {{"-FOLDER", "10"}, Action{OpenFolder{9}}},
        {{"/customize"}, Action{Customize{}}},
        {{"/About"}, Action{About{}}},
        {{"/startup", "on"}, Action{SetStartWithWindows{true}}},
        {{"--startup", "OFF"}, Action{SetStartWithWindows{false}}},
        {{"/exit"}, Action{Exit{}}},
        {{"-Menu"}, Action{OpenMenu{}}},
        {{"/?"}, ShowHelp{}},
        {{"-?"}, ShowHelp{}},
        {{"--Help"}, ShowHelp{}},
        // Bad input, named.
        {{"/no-such-switch"}, BadInput{"\"/no-such-switch\" is not a command."}},
        {{"monitoroff"}, BadInput{"\"monitoroff\" is not a command."}},
        {{"/"}, BadInput{"\"/\" is not a command."}},
        {{"---about"}, BadInput{"\"---about\" is not a command."}},
        {{"/monitor off"}, BadInput{"\"/monitor off\" is not a command."}},
        {{"/eject"}, BadInput{"/eject needs a drive, such as D:."}},
        {{"/eject", "Q:"}, BadInput{"Q: is not a CD drive."}},
        {{"/close", "c"}, BadInput{"C: is not a CD drive."}},
        {{"/eject", "D:x"}, BadInput{"\"D:x\"" + notADrive}},
        {{"/eject", "D:/"}, BadInput{"\"D:/\"" + notADrive}},
        {{"/close", "1:"}, BadInput{"\"1:\"" + notADrive}},
        {{"/eject", ""}, BadInput{"\"\"" + notADrive}},
        {{"-folder"}, BadInput{"-folder needs a row number from 1 to 10."}},
        {{"/folder", "11"}, BadInput{"\"11\" is not a row number from 1 to 10."}},
        {{"/folder", "0"}, BadInput{"\"0\" is not a row number from 1 to 10."}},
        {{"/folder", "x"}, BadInput{"\"x\" is not a row number from 1 to 10."}},
        {{"/folder", "-1"}, BadInput{"\"-1\" is not a row number from 1 to 10."}},
        {{"/folder", "3"}, BadInput{"Row 3 of the folders is empty."}},
        {{"/startup"}, BadInput{"/startup needs on or off."}},
        {{"/startup", "maybe"}, BadInput{"\"maybe\" is neither on nor off."}},
        {{"/about", "now"}, BadInput{"Too much on the command line: \"now\"."}},
        {{"/eject", "D:", "E:"}, BadInput{"Too much on the command line: \"E:\"."}},
        {{"/menu", "D:"}, BadInput{"Too much on the command line: \"D:\"."}},
        {{"/exit", "/about"}, BadInput{"Too much on the command line: \"/about\"."}},
    };
    for (const auto& [args, expected] : table) {
        CAPTURE(joined(args));
        const Request got = outcome(args);
        const auto* bad = std::get_if<BadInput>(&got);
        const std::string said = bad ? bad->problem : "(no problem)";
        CAPTURE(said);
        CHECK(got == expected);
        // Handed over to a running copy, each command is the same action there.
        if (const auto* action = std::get_if<Action>(&expected)) CHECK(actionFromHandOver(handOverText(args)) == *action);
    }

    // Unreadable folders leave the row to the copy that runs it; a text that
    // is no command runs nothing there.
    fakes::CallLog log;
    fakes::FakeDriveInfo drives(log);
    CHECK_FALSE(problemOnThisComputer(OpenFolder{2}, drives, std::nullopt));
    CHECK(handOverText({"/eject", "d:"}) == std::string("/eject\0d:\0", 10));
    for (std::string_view text : {std::string_view(""), std::string_view("/about"), std::string_view("/nothing\0", 9),
                                  std::string_view("/folder\0" "11\0", 11)})
        CHECK_FALSE(actionFromHandOver(text));
}
