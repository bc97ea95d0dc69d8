#include "sim/SimInjection.h"

#include "sim/SimText.h"

void SimInjection::SetFailure(const std::wstring& entry, uint32_t status, uint32_t count)
{
    if (status == 0) {
        m_failures.erase(entry);
    } else {
        m_failures[entry] = Rule{status, count};
    }
}

void SimInjection::SetDelay(const std::wstring& entry, uint32_t milliseconds, uint32_t count)
{
    if (milliseconds == 0) {
        m_delays.erase(entry);
    } else {
        m_delays[entry] = Rule{milliseconds, count};
    }
}

std::optional<uint32_t> SimInjection::Take(std::map<std::wstring, Rule>& rules,
                                           const std::wstring& entry)
{
    const auto found = rules.find(entry);
    if (found == rules.end()) {
        return std::nullopt;
    }
    const uint32_t value = found->second.value;
    if (found->second.remaining != kAlways && --found->second.remaining == 0) {
        rules.erase(found);
    }
    return value;
}

std::optional<uint32_t> SimInjection::TakeFailure(const std::wstring& entry)
{
    return Take(m_failures, entry);
}

uint32_t SimInjection::TakeDelay(const std::wstring& entry)
{
    return Take(m_delays, entry).value_or(0);
}

std::wstring SimInjection::Describe() const
{
    std::wstring text;
    for (const auto& [entry, rule] : m_failures) {
        text += L"fail " + entry + SimText::Format(" 0x%08X %u\n", rule.value, rule.remaining);
    }
    for (const auto& [entry, rule] : m_delays) {
        text += L"delay " + entry + SimText::Format(" %u %u\n", rule.value, rule.remaining);
    }
    return text;
}

std::vector<SimInjection::SavedRule> SimInjection::Save() const
{
    std::vector<SavedRule> saved;
    for (const bool failure : {true, false}) {
        for (const auto& [entry, rule] : failure ? m_failures : m_delays) {
            saved.push_back(SavedRule{failure, entry, rule.value, rule.remaining});
        }
    }
    return saved;
}

void SimInjection::Restore(const std::vector<SavedRule>& rules)
{
    m_failures.clear();
    m_delays.clear();
    for (const SavedRule& rule : rules) {
        (rule.failure ? m_failures : m_delays)[rule.entry] = Rule{rule.value, rule.remaining};
    }
}
