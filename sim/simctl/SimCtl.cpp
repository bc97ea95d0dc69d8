// simctl: sends one control request to the simulated driver of a running
// program and prints the answer.
//   simctl [-p PIPE] COMMAND [ARGUMENTS...]
// Words are joined with spaces; ';' separates several commands. The exit
// code is 0 for "ok", 1 for an error answer and 2 when nothing answered.
#include <windows.h>

#include <string>

#include "sim/SimText.h"
#include "sim/simctl/SimControlClient.h"

namespace {

void Print(HANDLE stream, const std::wstring& text)
{
    const std::string bytes = SimText::ToUtf8(text);
    DWORD written = 0;
    ::WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
    std::wstring pipe = SimControlClient::kDefaultPipe;
    int first = 1;
    if (argc > 2 && std::wstring(argv[1]) == L"-p") {
        pipe = argv[2];
        first = 3;
    }
    std::wstring request;
    for (int i = first; i < argc; ++i) {
        request += (request.empty() ? L"" : L" ") + std::wstring(argv[i]);
    }
    if (request.empty()) {
        Print(err,
              L"usage: simctl [-p PIPE] COMMAND [ARGUMENTS...]\n"
              L"  for example: simctl unplug | simctl volume in 1 -2560 | simctl state\n");
        return 2;
    }
    std::wstring reply;
    const uint32_t status = SimControlClient(pipe).Send(request, reply);
    if (status != 0) {
        Print(err, L"simctl: no simulated driver answers on " + pipe +
                       SimText::Format(" (error %u)\n", status));
        return 2;
    }
    Print(reply.rfind(L"ok", 0) == 0 ? out : err, reply);
    return reply.rfind(L"ok", 0) == 0 ? 0 : 1;
}
