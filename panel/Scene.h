#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// A mixer setup in device terms, keyed by the skin's control names: fader
// levels in dB, switches as 1 (on, muted, locked) or 0, device-volume levels
// and gain steps as numbers. A scene read from a file holds every control a
// scene keeps; the console tool's changes hold only the ones named.
class Scene {
public:
    // Driver volumes are signed 16-bit values in 1/256 dB: the levels a
    // scene can name.
    static constexpr double kLowestDb = -32768 / 256.0;
    static constexpr double kHighestDb = 32767 / 256.0;

    static double DbFromVolume(int16_t volume) { return volume / 256.0; }
    // The nearest driver volume; `db` lies within kLowestDb..kHighestDb.
    static int16_t VolumeFromDb(double db) { return static_cast<int16_t>(std::lround(db * 256.0)); }

    void Set(std::wstring_view name, double value) { m_values[std::wstring(name)] = value; }
    // Null when the scene does not hold the control.
    const double* Find(std::wstring_view name) const
    {
        const auto found = m_values.find(name);
        return found == m_values.end() ? nullptr : &found->second;
    }
    bool Has(std::wstring_view name) const { return Find(name) != nullptr; }
    void Erase(std::wstring_view name)
    {
        if (const auto found = m_values.find(name); found != m_values.end())
            m_values.erase(found);
    }
    size_t Size() const { return m_values.size(); }
    const std::map<std::wstring, double, std::less<>>& Values() const { return m_values; }

    bool operator==(const Scene&) const = default;

private:
    std::map<std::wstring, double, std::less<>> m_values;
};
