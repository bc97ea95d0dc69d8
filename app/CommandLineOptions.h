#pragma once

#include <string_view>

// The program's command line. The whole string (without the program path)
// is one option, compared case-insensitively: "-hide" starts with the main
// window hidden in the notification area, "-exitall" asks every running
// instance to quit. Anything else, including both options together, is a
// normal start.
class CommandLineOptions {
public:
    explicit CommandLineOptions(std::wstring_view commandLine);

    bool IsExitAll() const { return m_exitAll; }
    bool IsHide() const { return m_hide; }

private:
    bool m_exitAll = false;
    bool m_hide = false;
};
