#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceManager.h"
#include "tests/sim/SimTestEnvironment.h"

// A device manager bound to the simulated driver library, configured per test.
class SimulatedDeviceTest : public ::testing::Test {
protected:
    void Bind(std::wstring_view configuration = {})
    {
        m_sim = std::make_unique<SimTestEnvironment>(configuration);
        ASSERT_EQ(0u, m_manager->api.Load(SimTestEnvironment::LibraryPath()));
    }
    void TearDown() override
    {
        if (m_manager) {
            m_manager->CloseDevice();
        }
    }

    std::wstring Control(std::wstring_view request) const { return m_sim->Control(request); }
    std::vector<std::wstring> Calls(std::wstring_view entry) const { return m_sim->Calls(entry); }
    // The journal lines written since the last call.
    std::vector<std::wstring> NewJournal()
    {
        std::vector<std::wstring> all = m_sim->Journal();
        std::vector<std::wstring> fresh(
            all.begin() + static_cast<std::ptrdiff_t>(std::min(m_seen, all.size())), all.end());
        m_seen = all.size();
        return fresh;
    }
    std::wstring OpenHandles() const
    {
        const std::wstring state = m_sim->Control(L"state");
        const size_t at = state.find(L"# open handles ");
        return at == std::wstring::npos ? L"?"
                                        : state.substr(at + 15, state.find(L'\n', at) - at - 15);
    }

    std::unique_ptr<SimTestEnvironment> m_sim;
    // Declared after the environment so that the library is unloaded first.
    std::unique_ptr<DeviceManager> m_manager = std::make_unique<DeviceManager>();
    size_t m_seen = 0;
};
