// Feeds arbitrary text to the control language, then replays the resulting
// state: neither may crash, and the replay must reproduce the state.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sim/SimCommandInterpreter.h"
#include "sim/SimDriver.h"
#include "sim/SimText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SimDriver driver;
    SimCommandInterpreter interpreter(driver);
    interpreter.Execute(
        SimText::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size)));

    const std::wstring state = interpreter.DescribeState();
    SimDriver copy;
    SimCommandInterpreter replay(copy);
    if (replay.Execute(state).rfind(L"ok", 0) != 0 || replay.DescribeState() != state) {
        std::abort();
    }
    return 0;
}
