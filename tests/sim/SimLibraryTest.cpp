#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "device/DeviceMessages.h"
#include "device/TUsbAudioApiDll.h"
#include "sim/SimStatus.h"
#include "sim/SimText.h"
#include "tests/sim/ClassesRootOverride.h"
#include "tests/sim/SimTestEnvironment.h"

namespace {

class SimLibraryTest : public ::testing::Test {
protected:
    void Bind(std::wstring_view configuration = {})
    {
        m_sim = std::make_unique<SimTestEnvironment>(configuration);
        ASSERT_EQ(0u, m_api.Load(SimTestEnvironment::LibraryPath()));
    }
    uint32_t Open()
    {
        uint32_t handle = 0;
        EXPECT_EQ(0u, m_api.TUSBAUDIO_EnumerateDevices());
        EXPECT_EQ(0u, m_api.TUSBAUDIO_OpenDeviceByIndex(0, &handle));
        return handle;
    }

    std::unique_ptr<SimTestEnvironment> m_sim;
    TUsbAudioApiDll m_api;
};

// Runs simctl with `arguments`; returns its exit code and what it printed.
DWORD RunSimctl(const std::wstring& arguments, std::string& output)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return 0xFFFFFFFF;
    }
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    std::wstring command =
        L"\"" + SimTestEnvironment::LibraryPath(L"simctl.exe") + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE,
                                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    ::CloseHandle(writeEnd);
    DWORD exitCode = 0xFFFFFFFF;
    if (started) {
        char chunk[4096];
        DWORD read = 0;
        while (::ReadFile(readEnd, chunk, sizeof chunk, &read, nullptr) && read != 0) {
            output.append(chunk, read);
        }
        ::WaitForSingleObject(process.hProcess, 10000);
        ::GetExitCodeProcess(process.hProcess, &exitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(readEnd);
    return exitCode;
}

TEST_F(SimLibraryTest, EntriesThePanelNeverCallsAnswerNotSupportedSafely)
{
    Bind();
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_OpenDeviceByChannelIdString(nullptr, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetDeviceContainerIdString(0, nullptr, 0));
    EXPECT_EQ(kSimNotSupported,
              m_api.TUSBAUDIO_GetChannelIndexForChannelIdString(0, nullptr, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetChannelIdString(0, 0, nullptr, 0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetSupportedClockSources(0, 0, nullptr, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetClockSourceStatus(0, 0, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetCurrentClockSource(0, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_SetCurrentClockSource(0, 0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetStreamFormatSelectionMode(0, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_SetSoundDeviceProfile(0, 0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetControlPanelOptions(0, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetChannelProperties(0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetChannelInfo(0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetUsbConfigDescriptor(0, nullptr, 0, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetUsbStringDescriptorString(0, 0, 0, nullptr, 0));
    EXPECT_EQ(kSimNotSupported,
              m_api.TUSBAUDIO_ClassVendorRequestOut(0, 0, 0, 0, 0, 0, nullptr, 0, nullptr, 0));
    EXPECT_EQ(kSimNotSupported,
              m_api.TUSBAUDIO_ClassVendorRequestIn(0, 0, 0, 0, 0, 0, nullptr, 0, nullptr, 0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetASIOInstanceDetails(0, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetASIORelation(0, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetASIOInstanceAllowed(0, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_SetPreferredASIODevice(0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_ClearPreferredASIODevice());
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetClientInfo(0, nullptr, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetDeviceStreamingMode(0, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_SetDeviceStreamingMode(0, 0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_LoadFirmwareImageFromBuffer(nullptr, 0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_LoadFirmwareImageFromFile(nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetFirmwareImageSize(nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_UnloadFirmwareImage());
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetFirmwareImage(nullptr, 0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_StartDfuDownload(0, 0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_StartDfuUpload(0, 0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_StartDfuRevertToFactoryImage(0, 0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetDfuStatus(0, nullptr, nullptr, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_EndDfuProc(0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetDspProperty(0, 0, nullptr, 0, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_SetDspProperty(0, 0, nullptr, 0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetExtendedInfo(0, nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_SetHwChannelHiddenFlags(0, 0, 0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_GetCustomString(0, 0, nullptr, 0));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_QueryDriverStatistics(nullptr));
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_ResetDriverStatistics());
    EXPECT_EQ(kSimNotSupported, m_api.TUSBAUDIO_QueryDeviceStatistics(0, nullptr));
    EXPECT_STREQ(L"not supported", m_api.TUSBAUDIO_StatusCodeStringW(kSimNotSupported));
    EXPECT_STREQ("invalid handle", m_api.TUSBAUDIO_StatusCodeStringA(kSimInvalidHandle));

    // Entries it does call refuse null outputs instead of writing through them.
    EXPECT_EQ(kSimInvalidParameter, m_api.TUSBAUDIO_OpenDeviceByIndex(0, nullptr));
    const uint32_t handle = Open();
    EXPECT_EQ(kSimInvalidParameter, m_api.TUSBAUDIO_GetVolume(handle, 1, 0, nullptr));
    EXPECT_EQ(kSimInvalidParameter,
              m_api.TUSBAUDIO_ReadDeviceNotification(handle, nullptr, nullptr, 0, nullptr));
    EXPECT_EQ(kSimInvalidParameter, m_api.TUSBAUDIO_GetDriverInfo(nullptr));
    EXPECT_EQ(kSimInvalidParameter, m_api.TUSBAUDIO_AudioControlRequestGet(
                                        handle, 10, 1, 20, 0, nullptr, 8, nullptr, 1000));
}

TEST_F(SimLibraryTest, JournalRecordsEveryCallWithItsArgumentsAndResults)
{
    Bind(L"volume in 3 -2560");
    const uint32_t handle = Open();
    int16_t volume = 0;
    uint8_t gains[] = {2, 9};
    uint8_t block[8] = {};
    uint32_t transferred = 0;
    m_api.TUSBAUDIO_GetVolume(handle, 1, 3, &volume);
    m_api.TUSBAUDIO_SetVolume(handle, 0, 2, -7168);
    m_api.TUSBAUDIO_AudioControlRequestSet(handle, 10, 1, 19, 0, gains, 2, nullptr, 1000);
    m_api.TUSBAUDIO_AudioControlRequestGet(handle, 10, 1, 20, 0, block, 8, &transferred, 1000);
    m_api.TUSBAUDIO_RegisterPnpNotification(nullptr, nullptr, reinterpret_cast<HWND>(0x1A2B),
                                            WM_DEVICE_CHANGE, 0);
    m_api.TUSBAUDIO_SetASIOBufferPreferredSize(0, 1, 512, 0x10000);
    m_api.TUSBAUDIO_CloseDevice(handle);
    m_api.TUSBAUDIO_CloseDevice(handle);

    const std::vector<std::wstring> expected = {
        L"TUSBAUDIO_GetApiVersion() = 0x00050009",
        L"TUSBAUDIO_CheckApiVersion(5,9) = 0x00000001",
        L"TUSBAUDIO_EnumerateDevices() = 0x00000000",
        L"TUSBAUDIO_OpenDeviceByIndex(0,&) = 0x00000000 handle=1",
        L"TUSBAUDIO_GetVolume(1,1,3,&) = 0x00000000 volume=-2560",
        L"TUSBAUDIO_SetVolume(1,0,2,-7168) = 0x00000000",
        L"TUSBAUDIO_AudioControlRequestSet(1,10,1,19,0,[02 09],2,0,1000) = 0x00000000",
        L"TUSBAUDIO_AudioControlRequestGet(1,10,1,20,0,&,8,&,1000) = 0x00000000 data=[64 64 64 32 "
        L"32 32 46 00]",
        L"TUSBAUDIO_RegisterPnpNotification(0,0,0x1A2B,0x00000466,0) = 0x00000000",
        L"TUSBAUDIO_SetASIOBufferPreferredSize(0,1,512,0x00010000) = 0x00000000",
        L"TUSBAUDIO_CloseDevice(1) = 0x00000000",
        L"TUSBAUDIO_CloseDevice(1) = 0xEE000002",
    };
    EXPECT_EQ(expected, m_sim->Journal());
    EXPECT_EQ(8u, transferred);
}

TEST_F(SimLibraryTest, InjectedFailuresAnswerInsteadOfTheDriverAndAreMarked)
{
    Bind(L"fail TUSBAUDIO_GetMute 0xEE000050 1");
    const uint32_t handle = Open();
    uint32_t mute = 12345;
    EXPECT_EQ(0xEE000050u, m_api.TUSBAUDIO_GetMute(handle, 0, 1, &mute));
    EXPECT_EQ(12345u, mute); // the output was not touched
    EXPECT_EQ(0u, m_api.TUSBAUDIO_GetMute(handle, 0, 1, &mute));
    const std::vector<std::wstring> expected = {
        L"TUSBAUDIO_GetMute(1,0,1,&) = 0xEE000050 (injected)",
        L"TUSBAUDIO_GetMute(1,0,1,&) = 0x00000000 mute=0",
    };
    EXPECT_EQ(expected, m_sim->Calls(L"TUSBAUDIO_GetMute"));

    EXPECT_EQ(L"ok\n", m_sim->Control(L"delay TUSBAUDIO_GetDeviceCount 200 1"));
    const ULONGLONG start = ::GetTickCount64();
    EXPECT_EQ(1u, m_api.TUSBAUDIO_GetDeviceCount());
    EXPECT_GE(::GetTickCount64() - start, 180u);
}

TEST_F(SimLibraryTest, ChangesFromElsewhereSetTheRegisteredEventAndQueueOneNotificationEach)
{
    Bind();
    const uint32_t handle = Open();
    const HANDLE event = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ASSERT_EQ(0u, m_api.TUSBAUDIO_RegisterDeviceNotification(handle, 0xFFFFFFFF, event, 0));
    EXPECT_EQ(L"ok\n", m_sim->Control(L"volume out 1 -256; mute out 1 1; invert 1"));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(event, 1000));
    std::vector<uint32_t> categories;
    uint32_t category = 0;
    uint8_t data[64];
    uint32_t size = 0;
    while (m_api.TUSBAUDIO_ReadDeviceNotification(handle, &category, data, sizeof data, &size) ==
           0) {
        categories.push_back(category);
    }
    EXPECT_EQ((std::vector<uint32_t>{3, 4, 5}), categories);
    EXPECT_EQ(kSimNoMoreItems,
              m_api.TUSBAUDIO_ReadDeviceNotification(handle, &category, data, sizeof data, &size));
    ::CloseHandle(event);
}

TEST_F(SimLibraryTest, NoEventIsSetAfterItsRegistrationWasRemoved)
{
    // The change's events are delivered late, as by a slow driver.
    Bind(L"delay signals 500 1");
    const uint32_t handle = Open();
    const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_EQ(0u, m_api.TUSBAUDIO_RegisterDeviceNotification(handle, 0xFFFFFFFF, event, 0));
    std::thread change([&] { m_api.TUSBAUDIO_SetVolume(handle, 1, 1, -256); });
    // The change's call has ended in the driver; its event is about to be set.
    ASSERT_TRUE(m_sim->WaitForJournal(
        [](const std::vector<std::wstring>& lines) {
            return std::any_of(lines.begin(), lines.end(), [](const std::wstring& line) {
                return line.rfind(L"TUSBAUDIO_SetVolume(", 0) == 0;
            });
        },
        20000));
    // Once unregistering has returned, the owner may close or reuse the event.
    ASSERT_EQ(0u, m_api.TUSBAUDIO_RegisterDeviceNotification(handle, 0, nullptr, 0));
    ::ResetEvent(event);
    change.join();
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), ::WaitForSingleObject(event, 0));
    ::CloseHandle(event);
}

TEST_F(SimLibraryTest, PlugAndPlayIsPostedToTheRegisteredWindow)
{
    Bind();
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    ASSERT_EQ(
        0u, m_api.TUSBAUDIO_RegisterPnpNotification(nullptr, nullptr, window, WM_DEVICE_CHANGE, 0));
    const uint32_t handle = Open();

    const auto nextChange = [window]() -> WPARAM {
        MSG message;
        for (int i = 0; i < 200; ++i) {
            if (::PeekMessageW(&message, window, WM_DEVICE_CHANGE, WM_DEVICE_CHANGE, PM_REMOVE)) {
                return message.wParam;
            }
            ::Sleep(5);
        }
        return 0;
    };
    EXPECT_EQ(L"ok\n", m_sim->Control(L"unplug"));
    EXPECT_EQ(kDeviceRemoved, nextChange());
    int16_t volume = 0;
    EXPECT_EQ(kSimInvalidHandle, m_api.TUSBAUDIO_GetVolume(handle, 1, 0, &volume));
    m_api.TUSBAUDIO_EnumerateDevices();
    EXPECT_EQ(0u, m_api.TUSBAUDIO_GetDeviceCount());

    EXPECT_EQ(L"ok\n", m_sim->Control(L"plug"));
    EXPECT_EQ(kDeviceArrived, nextChange());
    m_api.TUSBAUDIO_EnumerateDevices();
    EXPECT_EQ(1u, m_api.TUSBAUDIO_GetDeviceCount());

    m_api.TUSBAUDIO_UnregisterPnpNotification();
    EXPECT_EQ(L"ok\n", m_sim->Control(L"unplug"));
    ::Sleep(50);
    MSG message;
    EXPECT_FALSE(::PeekMessageW(&message, window, WM_DEVICE_CHANGE, WM_DEVICE_CHANGE, PM_REMOVE));
    ::DestroyWindow(window);
}

TEST_F(SimLibraryTest, ConfigurationFileIsReadAtFirstUse)
{
    wchar_t directory[MAX_PATH + 1] = {};
    const std::wstring path = std::wstring(directory, ::GetTempPathW(MAX_PATH + 1, directory)) +
                              SimText::Format("kvsim-config-%lu.txt", ::GetCurrentProcessId());
    const std::string text =
        "\xEF\xBB\xBF# a comment\r\napi 5.8\r\nusbmode 1\r\nmanufacturer M\xC3\xBCller\r\n";
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);

    SimTestEnvironment environment(L"usbmode 2"); // the environment's commands come after the file
    ::SetEnvironmentVariableW(L"KVSIM_CONFIG", path.c_str());
    ASSERT_EQ(0u, m_api.Load(SimTestEnvironment::LibraryPath()));
    ::SetEnvironmentVariableW(L"KVSIM_CONFIG", nullptr);
    EXPECT_EQ(0x00050008u, m_api.ApiVersion());
    const std::wstring state = environment.Control(L"state");
    EXPECT_NE(std::wstring::npos, state.find(L"usbmode 2\n"));
    EXPECT_NE(std::wstring::npos, state.find(L"manufacturer M\u00FCller\n"));
    ::DeleteFileW(path.c_str());
}

TEST_F(SimLibraryTest, SimctlTalksToTheRunningLibrary)
{
    Bind();
    std::string output;
    EXPECT_EQ(0u, RunSimctl(L"-p " + m_sim->PipeName() + L" volume in 5 -1280 ; state", output));
    EXPECT_NE(std::string::npos, output.find("volume in 5 -1280\n")) << output;
    output.clear();
    EXPECT_EQ(1u, RunSimctl(L"-p " + m_sim->PipeName() + L" explode", output));
    EXPECT_EQ(0u, output.rfind("error: unknown command", 0)) << output;
    output.clear();
    EXPECT_EQ(2u, RunSimctl(L"-p \\\\.\\pipe\\KvUsbAudioSimNobody state", output));
    EXPECT_EQ(2u, RunSimctl(L"", output));
}

TEST_F(SimLibraryTest, LibraryUnloadsCleanlyWhileItsControlPipeIsServed)
{
    for (int round = 0; round < 10; ++round) {
        SimTestEnvironment environment;
        ASSERT_EQ(0u, m_api.Load(SimTestEnvironment::LibraryPath()));
        ASSERT_EQ(L"ok\n", environment.Control(L"phantom 1")) << "round " << round;
        m_api.Unload();
        ASSERT_EQ(nullptr, ::GetModuleHandleW(L"tusbaudioapi.dll"));
        EXPECT_EQ(0u, environment.Control(L"state").rfind(L"transport error", 0));
    }
}

TEST_F(SimLibraryTest, SelfRegistrationWritesAndRemovesTheClassEntry)
{
    ClassesRootOverride classes;
    ASSERT_TRUE(classes.Active());
    SimTestEnvironment environment;
    const std::wstring path = SimTestEnvironment::LibraryPath();
    const HMODULE module = ::LoadLibraryW(path.c_str());
    ASSERT_NE(nullptr, module);
    using Registration = HRESULT(WINAPI*)();
    const auto registerServer = reinterpret_cast<Registration>(
        reinterpret_cast<void (*)()>(::GetProcAddress(module, "DllRegisterServer")));
    const auto unregisterServer = reinterpret_cast<Registration>(
        reinterpret_cast<void (*)()>(::GetProcAddress(module, "DllUnregisterServer")));
    ASSERT_NE(nullptr, registerServer);
    ASSERT_NE(nullptr, unregisterServer);

    EXPECT_EQ(S_OK, registerServer());
    EXPECT_EQ(0, ::lstrcmpiW(path.c_str(), classes.RegisteredLibrary().c_str()))
        << classes.RegisteredLibrary();
    EXPECT_EQ(0u, m_api.LoadFromRegistry());
    m_api.Unload();
    EXPECT_EQ(S_OK, unregisterServer());
    EXPECT_TRUE(classes.RegisteredLibrary().empty());
    EXPECT_EQ(S_OK, unregisterServer()); // nothing left to remove is fine
    EXPECT_EQ(2u, m_api.LoadFromRegistry());
    ::FreeLibrary(module);
}

} // namespace
