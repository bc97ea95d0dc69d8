#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class SimDriver;

// Runs control requests against the simulated driver. A request holds
// commands separated by new lines or ';'; they run in order until one fails.
// The answer starts with "ok" or "error: <what>" and may carry output lines.
class SimCommandInterpreter {
public:
    explicit SimCommandInterpreter(SimDriver& target) : m_driver(target) {}

    std::wstring Execute(std::wstring_view request);
    // The whole state as commands that recreate it.
    std::wstring DescribeState() const;

private:
    struct Command {
        std::vector<std::wstring> words;
        std::wstring rest; // everything after the first word, trimmed
    };
    // Each returns an empty string on success, or what went wrong.
    std::wstring Run(const Command& command);
    std::wstring RunChannelCommand(const Command& command);
    std::wstring RunEntityCommand(const Command& command);
    std::wstring RunAsioCommand(const Command& command);
    std::wstring RunFormatCommand(const Command& command);
    std::wstring RunPropertyCommand(const Command& command);
    std::wstring RunInjectionCommand(const Command& command);

    SimDriver& m_driver;
    std::wstring m_output;
};
