#pragma once

#include <functional>

namespace obase {

// A task: any callable taking no arguments.
using StdClosure = std::function<void()>;

} // namespace obase
