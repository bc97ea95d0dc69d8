#include "app/kvctl/KvctlArguments.h"

#include "panel/ChannelMap.h"
#include "panel/ControlValue.h"

namespace {

struct CommandWord {
    const wchar_t* word;
    KvctlArguments::Command command;
};

constexpr CommandWord kCommands[] = {
    {L"status", KvctlArguments::Command::kStatus}, {L"get", KvctlArguments::Command::kGet},
    {L"set", KvctlArguments::Command::kSet},       {L"save", KvctlArguments::Command::kSave},
    {L"load", KvctlArguments::Command::kLoad},
};

bool IsHelp(const std::wstring& word)
{
    return word == L"--help" || word == L"-h" || word == L"/?" || word == L"help";
}

std::wstring CheckOperands(KvctlArguments& parsed, const std::vector<std::wstring>& operands)
{
    using Command = KvctlArguments::Command;
    switch (parsed.command) {
    case Command::kStatus:
        return operands.empty() ? std::wstring() : L"status takes no arguments";
    case Command::kGet:
        for (const std::wstring& name : operands) {
            if (ChannelMap::FindControl(name) == nullptr)
                return L"there is no control named '" + name + L"' (see kvctl get)";
        }
        parsed.names = operands;
        return {};
    case Command::kSet:
        if (operands.empty())
            return L"set needs at least one NAME=VALUE";
        for (const std::wstring& assignment : operands) {
            std::wstring error = ControlValue::Parse(assignment, parsed.changes);
            if (!error.empty())
                return error;
            parsed.names.push_back(assignment.substr(0, assignment.find(L'=')));
        }
        return {};
    default: // save, load
        if (operands.size() != 1 || operands[0].empty()) {
            return std::wstring(parsed.command == Command::kSave ? L"save" : L"load") +
                   L" needs exactly one FILE";
        }
        parsed.file = operands[0];
        return {};
    }
}

} // namespace

KvctlArguments KvctlArguments::Parse(const std::vector<std::wstring>& arguments)
{
    KvctlArguments parsed;
    std::vector<std::wstring> operands;
    bool help = false;
    bool named = false;
    for (const std::wstring& argument : arguments) {
        if (argument == L"--json") {
            parsed.json = true;
        } else if (IsHelp(argument)) {
            help = true;
        } else if (!named) {
            named = true;
            for (const CommandWord& command : kCommands) {
                if (argument == command.word)
                    parsed.command = command.command;
            }
            if (parsed.command == Command::kNone) {
                parsed.error = L"unknown command '" + argument + L"' (see kvctl --help)";
                return parsed;
            }
        } else {
            operands.push_back(argument);
        }
    }
    if (help) {
        parsed.command = Command::kHelp;
        return parsed;
    }
    if (parsed.command == Command::kNone) {
        parsed.error = L"no command given (see kvctl --help)";
        return parsed;
    }
    parsed.error = CheckOperands(parsed, operands);
    if (!parsed.error.empty()) {
        parsed.changes = Scene();
        parsed.names.clear();
    }
    return parsed;
}
