#include "app/CommandLineOptions.h"

#include <windows.h>

namespace {

bool EqualsIgnoringCase(std::wstring_view text, std::wstring_view option)
{
    return ::CompareStringOrdinal(text.data(), static_cast<int>(text.size()), option.data(),
                                  static_cast<int>(option.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

CommandLineOptions::CommandLineOptions(std::wstring_view commandLine)
    : m_exitAll(EqualsIgnoringCase(commandLine, L"-exitall")),
      m_hide(EqualsIgnoringCase(commandLine, L"-hide"))
{
}
