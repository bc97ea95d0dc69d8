#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "device/DeviceStatus.h"
#include "device/TUsbAudioApiDll.h"
#include "tests/sim/ClassesRootOverride.h"
#include "tests/sim/SimTestEnvironment.h"

namespace {

constexpr size_t kEntryCount = 75;
const wchar_t kServerKey[] = L"CLSID\\{D47F9B6B-E6C3-46FA-858F-E692150E9166}\\InprocServer32";
static_assert(sizeof(TUsbAudioEntryTable) == kEntryCount * sizeof(void*));

// How many of the table's entries are set.
size_t ResolvedEntries(const TUsbAudioApiDll& api)
{
    void* entries[kEntryCount];
    std::memcpy(entries, static_cast<const TUsbAudioEntryTable*>(&api), sizeof entries);
    size_t count = 0;
    for (void* entry : entries) {
        count += entry != nullptr ? 1 : 0;
    }
    return count;
}

std::wstring TempDirectory()
{
    wchar_t path[MAX_PATH + 1] = {};
    return std::wstring(path, ::GetTempPathW(MAX_PATH + 1, path));
}

class TUsbAudioApiDllTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_classes.Active()) << "HKEY_CLASSES_ROOT cannot be redirected";
    }

    ClassesRootOverride m_classes;
    TUsbAudioApiDll m_api;
};

TEST_F(TUsbAudioApiDllTest, MissingRegistrationGivesFileNotFound)
{
    EXPECT_EQ(2u, m_api.LoadFromRegistry());
    EXPECT_EQ(nullptr, m_api.Module());
}

TEST_F(TUsbAudioApiDllTest, RegisteredButDeletedLibraryGivesFileNotFound)
{
    const std::wstring copy = TempDirectory() + L"kv-deleted-tusbaudioapi.dll";
    ASSERT_TRUE(::CopyFileW(SimTestEnvironment::LibraryPath().c_str(), copy.c_str(), FALSE));
    ASSERT_TRUE(::DeleteFileW(copy.c_str()));
    ASSERT_EQ(ERROR_SUCCESS, m_classes.RegisterLibrary(copy));
    EXPECT_EQ(2u, m_api.LoadFromRegistry());
    // A missing folder counts as a missing file too.
    ASSERT_EQ(ERROR_SUCCESS,
              m_classes.RegisterLibrary(TempDirectory() + L"kv-no-such-folder\\tusbaudioapi.dll"));
    EXPECT_EQ(2u, m_api.LoadFromRegistry());
}

TEST_F(TUsbAudioApiDllTest, RegistrationOfTheWrongTypeGivesBadFormat)
{
    const DWORD number = 42;
    ASSERT_EQ(ERROR_SUCCESS, m_classes.RegisterValue(REG_DWORD, &number, sizeof number));
    EXPECT_EQ(static_cast<uint32_t>(ERROR_BAD_FORMAT), m_api.LoadFromRegistry());
    EXPECT_EQ(nullptr, m_api.Module());
}

TEST_F(TUsbAudioApiDllTest, ExpandableStringIsUsedAsItIs)
{
    SimTestEnvironment sim;
    const std::wstring path = SimTestEnvironment::LibraryPath();
    ASSERT_EQ(ERROR_SUCCESS,
              m_classes.RegisterValue(REG_EXPAND_SZ, path.c_str(),
                                      static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t))));
    EXPECT_EQ(0u, m_api.LoadFromRegistry());

    // Not expanded: a variable in the value stays a literal part of the path.
    TUsbAudioApiDll other;
    const std::wstring unexpanded = L"%SystemRoot%\\kv-not-there.dll";
    ASSERT_EQ(ERROR_SUCCESS, m_classes.RegisterValue(
                                 REG_EXPAND_SZ, unexpanded.c_str(),
                                 static_cast<DWORD>((unexpanded.size() + 1) * sizeof(wchar_t))));
    EXPECT_EQ(2u, other.LoadFromRegistry());
}

// Stores `text` without a terminator. The registry adds one itself when the
// character after the data is NUL, so the stored copy is followed by another.
LSTATUS RegisterUnterminated(ClassesRootOverride& classes, const std::wstring& text)
{
    const std::wstring followed = text + L'?';
    return classes.RegisterValue(REG_SZ, followed.data(),
                                 static_cast<DWORD>(text.size() * sizeof(wchar_t)));
}

TEST_F(TUsbAudioApiDllTest, ValueFillingTheWholeBufferWithoutTerminatorOverflows)
{
    const std::wstring full(260, L'x');
    ASSERT_EQ(ERROR_SUCCESS, RegisterUnterminated(m_classes, full));
    EXPECT_EQ(static_cast<uint32_t>(ERROR_BUFFER_OVERFLOW), m_api.LoadFromRegistry());

    // With its terminator the same value does not fit at all.
    ASSERT_EQ(ERROR_SUCCESS, m_classes.RegisterLibrary(full));
    EXPECT_EQ(static_cast<uint32_t>(ERROR_MORE_DATA), m_api.LoadFromRegistry());
}

TEST_F(TUsbAudioApiDllTest, ShorterValueWithoutTerminatorIsTerminatedAndLoaded)
{
    SimTestEnvironment sim;
    // A copy of the library whose full path is exactly 259 characters long.
    const std::wstring name = L"\\tusbaudioapi.dll";
    std::wstring folder = TempDirectory() + L"kv-long-";
    folder.append(259 - folder.size() - name.size(), L'p');
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr) ||
                ::GetLastError() == ERROR_ALREADY_EXISTS);
    const std::wstring path = folder + name;
    ASSERT_EQ(259u, path.size());
    ASSERT_TRUE(::CopyFileW(SimTestEnvironment::LibraryPath().c_str(), path.c_str(), FALSE));

    ASSERT_EQ(ERROR_SUCCESS, RegisterUnterminated(m_classes, path));
    DWORD stored = 0;
    ASSERT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CLASSES_ROOT, kServerKey, nullptr,
                                            RRF_RT_ANY | RRF_NOEXPAND, nullptr, nullptr, &stored));
    ASSERT_EQ(259 * sizeof(wchar_t), stored) << "the value must be stored without its terminator";
    EXPECT_EQ(0u, m_api.LoadFromRegistry());
    m_api.Unload();
    ::DeleteFileW(path.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

TEST_F(TUsbAudioApiDllTest, CurrentLibraryResolvesEveryEntry)
{
    SimTestEnvironment sim;
    ASSERT_EQ(ERROR_SUCCESS, m_classes.RegisterLibrary(SimTestEnvironment::LibraryPath()));
    ASSERT_EQ(0u, m_api.LoadFromRegistry());
    EXPECT_NE(nullptr, m_api.Module());
    EXPECT_EQ(0x00050009u, m_api.ApiVersion());
    EXPECT_EQ(kEntryCount, ResolvedEntries(m_api));
    // The binding accepted the library by asking for 5.9.
    EXPECT_EQ(1u, sim.Calls(L"TUSBAUDIO_CheckApiVersion").size());
    EXPECT_EQ(L"TUSBAUDIO_CheckApiVersion(5,9) = 0x00000001",
              sim.Calls(L"TUSBAUDIO_CheckApiVersion")[0]);

    EXPECT_EQ(1u, m_api.Load(SimTestEnvironment::LibraryPath()));
}

TEST_F(TUsbAudioApiDllTest, OlderMajorVersionIsRefusedAndStaysLoaded)
{
    SimTestEnvironment sim(L"api 4.2");
    EXPECT_EQ(kStatusApiVersionRefused, m_api.Load(SimTestEnvironment::LibraryPath()));
    EXPECT_NE(nullptr, m_api.Module());
    EXPECT_EQ(0x00040002u, m_api.ApiVersion());
    // Only the two version entries were looked up.
    EXPECT_EQ(2u, ResolvedEntries(m_api));
    EXPECT_EQ(1u, m_api.Load(SimTestEnvironment::LibraryPath()));
}

TEST_F(TUsbAudioApiDllTest, EntriesNewerThanTheLibraryStayNull)
{
    SimTestEnvironment sim(L"api 5.8");
    ASSERT_EQ(0u, m_api.Load(SimTestEnvironment::LibraryPath()));
    EXPECT_EQ(nullptr, m_api.TUSBAUDIO_GetASIOInstanceCount);
    EXPECT_EQ(nullptr, m_api.TUSBAUDIO_GetASIOInstanceDetails);
    EXPECT_EQ(nullptr, m_api.TUSBAUDIO_GetASIORelation);
    EXPECT_EQ(nullptr, m_api.TUSBAUDIO_GetASIOInstanceAllowed);
    EXPECT_NE(nullptr, m_api.TUSBAUDIO_GetCustomString);
    EXPECT_NE(nullptr, m_api.TUSBAUDIO_GetASIOInstanceInfo);
    EXPECT_EQ(kEntryCount - 4, ResolvedEntries(m_api));
}

TEST_F(TUsbAudioApiDllTest, VersionGroupsFollowTheReportedMinorVersion)
{
    SimTestEnvironment sim(L"api 5.3");
    ASSERT_EQ(0u, m_api.Load(SimTestEnvironment::LibraryPath()));
    EXPECT_NE(nullptr, m_api.TUSBAUDIO_SetPreferredASIODevice);   // 5.1
    EXPECT_NE(nullptr, m_api.TUSBAUDIO_ClearPreferredASIODevice); // 5.1
    EXPECT_NE(nullptr, m_api.TUSBAUDIO_QueryDeviceStatistics);    // 5.2
    EXPECT_EQ(nullptr, m_api.TUSBAUDIO_GetControlPanelOptions);   // 5.4
    EXPECT_EQ(nullptr, m_api.TUSBAUDIO_GetExtendedInfo);          // 5.5
    EXPECT_EQ(nullptr, m_api.TUSBAUDIO_SetSoundDeviceProfile);    // 5.6
    EXPECT_EQ(nullptr, m_api.TUSBAUDIO_SetHwChannelHiddenFlags);  // 5.7
    EXPECT_EQ(nullptr, m_api.TUSBAUDIO_GetCustomString);          // 5.8
    EXPECT_EQ(kEntryCount - 9, ResolvedEntries(m_api));
}

TEST_F(TUsbAudioApiDllTest, LibraryLackingAnEntryIsUnloadedWithTheLookupError)
{
    SimTestEnvironment sim;
    EXPECT_EQ(static_cast<uint32_t>(ERROR_PROC_NOT_FOUND),
              m_api.Load(SimTestEnvironment::LibraryPath(L"tusbaudioapi_incomplete.dll")));
    EXPECT_EQ(nullptr, m_api.Module());
    EXPECT_EQ(0u, m_api.ApiVersion());
    EXPECT_EQ(0u, ResolvedEntries(m_api));
    EXPECT_EQ(nullptr, ::GetModuleHandleW(L"tusbaudioapi_incomplete.dll"));
}

TEST_F(TUsbAudioApiDllTest, UnloadClearsEverythingAndAllowsLoadingAgain)
{
    SimTestEnvironment sim;
    ASSERT_EQ(0u, m_api.Load(SimTestEnvironment::LibraryPath()));
    m_api.Unload();
    EXPECT_EQ(nullptr, m_api.Module());
    EXPECT_EQ(0u, m_api.ApiVersion());
    EXPECT_EQ(0u, ResolvedEntries(m_api));
    EXPECT_EQ(nullptr, ::GetModuleHandleW(L"tusbaudioapi.dll"));
    m_api.Unload(); // a second unload does nothing
    EXPECT_EQ(0u, m_api.Load(SimTestEnvironment::LibraryPath()));
    EXPECT_EQ(kEntryCount, ResolvedEntries(m_api));
}

} // namespace
