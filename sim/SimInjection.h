#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Failures and delays injected into named entry points. A rule with a count
// applies that many times and then lapses; a count of 0 keeps it for good.
class SimInjection {
public:
    static constexpr uint32_t kAlways = 0;

    // Status 0 removes the entry's failure rule.
    void SetFailure(const std::wstring& entry, uint32_t status, uint32_t count);
    // 0 ms removes the entry's delay rule.
    void SetDelay(const std::wstring& entry, uint32_t milliseconds, uint32_t count);

    // The status this call must answer instead of running, if any.
    std::optional<uint32_t> TakeFailure(const std::wstring& entry);
    // How long this call must wait before it runs.
    uint32_t TakeDelay(const std::wstring& entry);

    // The rules as commands, one per line.
    std::wstring Describe() const;

    // Every rule, for handing the rules to another process.
    struct SavedRule {
        bool failure = false; // a failure rule, else a delay
        std::wstring entry;
        uint32_t value = 0;
        uint32_t remaining = kAlways;
    };
    std::vector<SavedRule> Save() const;
    // Replaces every rule.
    void Restore(const std::vector<SavedRule>& rules);

private:
    struct Rule {
        uint32_t value = 0;
        uint32_t remaining = kAlways;
    };
    static std::optional<uint32_t> Take(std::map<std::wstring, Rule>& rules,
                                        const std::wstring& entry);

    std::map<std::wstring, Rule> m_failures;
    std::map<std::wstring, Rule> m_delays;
};
