#include "ui/markup/MarkupDocument.h"

#include "ui/markup/GlobalManager.h"

#include <windows.h>

#include <shlwapi.h>

#include <memory>
#include <vector>

namespace ui {
namespace {

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};

} // namespace

bool MarkupDocument::LoadFromFile(const std::wstring& path)
{
    Release();
    const std::wstring fullPath =
        PathIsRelativeW(path.c_str()) ? GlobalManager::GetResourcePath() + path : path;
    HANDLE opened = CreateFileW(fullPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return Fail(L"Error opening file", nullptr);
    }
    const std::unique_ptr<void, HandleCloser> file(opened);
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.get(), &size)) {
        return Fail(L"Could not read file", nullptr);
    }
    if (size.QuadPart == 0) {
        return Fail(L"File is empty", nullptr);
    }
    if (size.QuadPart > static_cast<LONGLONG>(kMaxFileSize)) {
        return Fail(L"File too large", nullptr);
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read < bytes.size()) {
        return Fail(L"Could not read file", nullptr);
    }
    return LoadFromFileData(bytes.data(), bytes.size());
}

} // namespace ui
