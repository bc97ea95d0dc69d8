#pragma once

#include <memory>
#include <type_traits>
#include <utility>

#include "base/WeakFlag.h"

namespace obase {

// A callable bound weakly to an object: it runs only while the object's weak
// flag is alive and otherwise does nothing, returning a value-initialised
// result for callables that return one.
template <typename F>
class WeakCallback {
public:
    WeakCallback(std::weak_ptr<WeakFlag> flag, F callable)
        : m_flag(std::move(flag)), m_callable(std::move(callable))
    {
    }

    // Re-wraps the callable, for example into a StdClosure, keeping the flag.
    template <typename G>
    requires(!std::is_same_v<F, G> && std::is_constructible_v<F, const G&>)
        WeakCallback(const WeakCallback<G>& other)
        : m_flag(other.m_flag), m_callable(other.m_callable)
    {
    }

    template <typename... Args>
    auto operator()(Args&&... args) const
    {
        using Result = std::invoke_result_t<const F&, Args...>;
        if (m_flag.expired()) {
            if constexpr (std::is_void_v<Result>)
                return;
            else
                return Result{};
        }
        return m_callable(std::forward<Args>(args)...);
    }

    bool Expired() const { return m_flag.expired(); }

private:
    template <typename>
    friend class WeakCallback;

    std::weak_ptr<WeakFlag> m_flag;
    F m_callable;
};

} // namespace obase
