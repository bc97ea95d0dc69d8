#pragma once

#include <memory>
#include <type_traits>
#include <utility>

#include "base/WeakCallback.h"
#include "base/WeakFlag.h"

namespace obase {

// Base of objects that hand out weak callbacks. The flag is made on first use
// and released with the object, which turns every callback bound to it into a
// no-op. A copy gets a flag of its own: callbacks bound to the original must
// not stay alive through a copy.
class SupportWeakCallback {
public:
    virtual ~SupportWeakCallback() = default;

    std::weak_ptr<WeakFlag> GetWeakFlag();

    template <typename F>
    WeakCallback<std::decay_t<F>> ToWeakCallback(F&& callable)
    {
        return WeakCallback<std::decay_t<F>>(GetWeakFlag(), std::forward<F>(callable));
    }

protected:
    SupportWeakCallback() = default;
    SupportWeakCallback(const SupportWeakCallback&) {}
    SupportWeakCallback& operator=(const SupportWeakCallback&) { return *this; }

private:
    std::shared_ptr<WeakFlag> m_flag;
};

} // namespace obase
