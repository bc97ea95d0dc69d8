// Runs the setup program and its uninstaller silently in a fresh Wine prefix
// and checks what they leave on the machine, with the panel running.
#include <windows.h>
// clang-format off
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
// clang-format on

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace {

const std::wstring kVersion = L"" KV_VERSION;
const wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KorVaneControls";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kDriverKey[] = L"CLSID\\{D47F9B6B-E6C3-46FA-858F-E692150E9166}\\InprocServer32";

std::wstring BinDir()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

std::wstring KnownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)))
        result = path;
    CoTaskMemFree(path);
    return result;
}

const std::wstring kInstallDir = KnownFolder(FOLDERID_ProgramFiles) + L"\\KorVane Controls";
const std::wstring kProgram = kInstallDir + L"\\KorVaneControls.exe";
const std::wstring kSimulator = kInstallDir + L"\\tusbaudioapi.dll";
const std::wstring kShortcut = KnownFolder(FOLDERID_CommonPrograms) + L"\\KorVane Controls.lnk";

std::optional<std::wstring> RegString(HKEY root, const wchar_t* key, const wchar_t* name)
{
    wchar_t value[1024] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

std::optional<DWORD> RegDword(HKEY root, const wchar_t* key, const wchar_t* name)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueW(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitUntil(const std::function<bool()>& condition, int seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

// Starts a command line; the caller owns the returned process handle.
HANDLE Start(std::wstring commandLine)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

// Exit code of a command line run to its end; -1 when it did not start or end.
DWORD RunToEnd(const std::wstring& commandLine)
{
    HANDLE process = Start(commandLine);
    DWORD code = DWORD(-1);
    if (process && WaitForSingleObject(process, 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    if (process)
        CloseHandle(process);
    return code;
}

DWORD Install(const std::wstring& options)
{
    return RunToEnd(L"\"" + BinDir() + L"KorVaneControls-Setup-" + kVersion + L".exe\" /S " +
                    options);
}

// Runs the uninstall entry's quiet command. The uninstaller continues from a
// copy of itself, so completion shows as its entry being gone.
void UninstallQuietly()
{
    const auto command = RegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString");
    ASSERT_TRUE(command);
    ASSERT_EQ(RunToEnd(*command), 0u);
    ASSERT_TRUE(
        WaitUntil([] { return !RegDword(HKEY_LOCAL_MACHINE, kUninstallKey, L"NoModify"); }, 60));
}

std::wstring ShortcutTarget(const std::wstring& link)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    wchar_t target[MAX_PATH] = {};
    IShellLinkW* shell = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shell)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)))
                shell->GetPath(target, MAX_PATH, nullptr, 0);
            file->Release();
        }
        shell->Release();
    }
    CoUninitialize();
    return target;
}

std::wstring FileVersion(const std::wstring& path)
{
    std::string block(GetFileVersionInfoSizeW(path.c_str(), nullptr), '\0');
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    if (block.empty() || !GetFileVersionInfoW(path.c_str(), 0, DWORD(block.size()), block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &size))
        return L"";
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
           std::to_wstring(HIWORD(info->dwFileVersionLS));
}

LONGLONG FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return LONGLONG(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// Makes a file longer, so that replacing it shows.
void Lengthen(const std::wstring& path)
{
    std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::app)
        << "not yet replaced";
}

std::string ReadText(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::wstring TempPath(const wchar_t* name)
{
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

// Starts the panel exactly as the log-in entry does, with the simulated
// interface journaling to the returned file, and waits for its window.
HANDLE StartFromLogin(const std::wstring& journal)
{
    const auto command = RegString(HKEY_CURRENT_USER, kRunKey, L"KorVaneControls");
    if (!command)
        return nullptr;
    SetEnvironmentVariableW(L"KVSIM_COMMANDS", (L"journal " + journal).c_str());
    HANDLE panel = Start(*command);
    SetEnvironmentVariableW(L"KVSIM_COMMANDS", nullptr);
    WaitUntil([] { return FindWindowW(L"KorVaneControls", nullptr) != nullptr; }, 15);
    return panel;
}

DWORD EndedWith(HANDLE process)
{
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(process, 5000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
}

} // namespace

TEST(Installer, InstallsRunsHiddenReplacesWhileRunningAndUninstallsEverything)
{
    ASSERT_EQ(Install(L""), 0u);
    EXPECT_TRUE(Exists(kProgram));
    EXPECT_TRUE(Exists(kInstallDir + L"\\kvctl.exe")) << "the console tool beside the panel";
    EXPECT_TRUE(Exists(kInstallDir + L"\\Uninstall.exe"));
    EXPECT_EQ(ShortcutTarget(kShortcut), kProgram);
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), L"KorVane Controls");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), kVersion);
    EXPECT_EQ(FileVersion(kProgram), kVersion);
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"), L"KorVane");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayIcon"), kProgram + L",0");
    EXPECT_GT(RegDword(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize").value_or(0), 100u);
    const std::wstring uninstaller = L"\"" + kInstallDir + L"\\Uninstall.exe\"";
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"), uninstaller);
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString"),
              uninstaller + L" /S");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kRunKey, L"KorVaneControls"),
              L"\"" + kProgram + L"\" -hide");
    // The simulated interface is off unless chosen.
    EXPECT_FALSE(Exists(kSimulator));
    EXPECT_FALSE(RegString(HKEY_CLASSES_ROOT, kDriverKey, nullptr));

    ASSERT_EQ(Install(L"/SIMULATOR"), 0u);
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, kDriverKey, nullptr), kSimulator);
    const LONGLONG programSize = FileSize(kProgram);
    const LONGLONG simulatorSize = FileSize(kSimulator);
    Lengthen(kProgram);
    Lengthen(kSimulator);

    const std::wstring journal = TempPath(L"installer-journal.txt");
    HANDLE panel = StartFromLogin(journal);
    ASSERT_NE(panel, nullptr);
    HWND window = FindWindowW(L"KorVaneControls", nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    const auto journalHas = [&](const char* text) {
        return WaitUntil([&] { return ReadText(journal).find(text) != std::string::npos; }, 10);
    };
    EXPECT_TRUE(journalHas("TUSBAUDIO_CheckApiVersion(5,9)"))
        << "the panel did not bind the simulated interface";
    // A plain start shows the running panel, which then connects.
    EXPECT_EQ(RunToEnd(L"\"" + kProgram + L"\""), 0u);
    EXPECT_TRUE(journalHas("TUSBAUDIO_OpenDeviceByIndex(0,&) = 0x00000000"));
    EXPECT_TRUE(IsWindowVisible(window));

    // Installing again ends the running panel through "-exitall" first.
    ASSERT_EQ(Install(L"/NOAUTOSTART"), 0u);
    EXPECT_EQ(EndedWith(panel), 0u);
    EXPECT_EQ(FileSize(kProgram), programSize);
    EXPECT_EQ(FileSize(kSimulator), simulatorSize) << "an installed simulator stays chosen";
    EXPECT_FALSE(RegString(HKEY_CURRENT_USER, kRunKey, L"KorVaneControls"));

    UninstallQuietly();
    EXPECT_FALSE(Exists(kInstallDir));
    EXPECT_FALSE(Exists(kShortcut));
    EXPECT_FALSE(RegString(HKEY_CLASSES_ROOT, kDriverKey, nullptr));
}

TEST(Installer, LeavesAnExistingDriverAndEverythingNotItsOwn)
{
    // A driver library registered before, here a copy of the simulated one.
    const std::wstring vendorDir = KnownFolder(FOLDERID_ProgramFiles) + L"\\Vendor";
    const std::wstring vendorDriver = vendorDir + L"\\tusbaudioapi.dll";
    CreateDirectoryW(vendorDir.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((BinDir() + L"tusbaudioapi.dll").c_str(), vendorDriver.c_str(), FALSE));
    ASSERT_EQ(RunToEnd(L"regsvr32 /s \"" + vendorDriver + L"\""), 0u);
    HKEY run = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_WRITE, nullptr, &run,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(run, L"OtherTool", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"other.exe"),
                   sizeof(L"other.exe"));
    RegCloseKey(run);

    ASSERT_EQ(Install(L"/SIMULATOR"), 0u);
    EXPECT_FALSE(Exists(kSimulator));
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, kDriverKey, nullptr), vendorDriver);
    std::ofstream(std::filesystem::path(kInstallDir + L"\\notes.txt")) << "the user's own file";
    HANDLE panel = StartFromLogin(TempPath(L"vendor-journal.txt"));
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(FindWindowW(L"KorVaneControls", nullptr), nullptr);

    UninstallQuietly();
    EXPECT_EQ(EndedWith(panel), 0u) << "the uninstaller ends the panel through \"-exitall\"";
    EXPECT_FALSE(Exists(kProgram));
    EXPECT_FALSE(Exists(kInstallDir + L"\\Uninstall.exe"));
    EXPECT_TRUE(Exists(kInstallDir + L"\\notes.txt"));
    EXPECT_FALSE(Exists(kShortcut));
    EXPECT_FALSE(RegString(HKEY_CURRENT_USER, kRunKey, L"KorVaneControls"));
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kRunKey, L"OtherTool"), L"other.exe");
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, kDriverKey, nullptr), vendorDriver);
    EXPECT_TRUE(Exists(vendorDriver));
}

TEST(Installer, ChangesNothingWhileAPanelCannotBeClosed)
{
    // Without a driver the panel waits in its "Can't find driver!" box: it
    // holds the instance mutex but has no main window for "-exitall" to reach.
    ASSERT_EQ(Install(L""), 0u);
    Lengthen(kProgram);
    const LONGLONG size = FileSize(kProgram);
    HANDLE panel = Start(L"\"" + kProgram + L"\" -hide");
    ASSERT_NE(panel, nullptr);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindWindowW(L"#32770", nullptr)) != nullptr; }, 15));

    EXPECT_EQ(Install(L""), 3u);
    EXPECT_EQ(FileSize(kProgram), size);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(EndedWith(panel), 2u);
}
