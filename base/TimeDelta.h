#pragma once

#include <compare>
#include <cstdint>

namespace obase {

// A signed span of time in microseconds; every task delay is one of these.
class TimeDelta {
public:
    constexpr TimeDelta() = default;

    static constexpr TimeDelta FromMicroseconds(int64_t us) { return TimeDelta(us); }
    static constexpr TimeDelta FromMilliseconds(int64_t ms) { return TimeDelta(ms * 1000); }
    static constexpr TimeDelta FromSeconds(int64_t s) { return TimeDelta(s * 1000000); }

    constexpr int64_t ToMicroseconds() const { return m_us; }
    constexpr int64_t ToMilliseconds() const { return m_us / 1000; }

    constexpr TimeDelta operator+(TimeDelta other) const { return TimeDelta(m_us + other.m_us); }
    constexpr TimeDelta operator-(TimeDelta other) const { return TimeDelta(m_us - other.m_us); }
    constexpr auto operator<=>(const TimeDelta&) const = default;

private:
    constexpr explicit TimeDelta(int64_t us) : m_us(us) {}

    int64_t m_us = 0;
};

} // namespace obase
