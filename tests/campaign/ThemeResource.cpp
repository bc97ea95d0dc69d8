#include "tests/campaign/ThemeResource.h"

namespace campaign {
namespace {

constexpr WORD kThemeId = 134;

// A resource identifier: a number or a name.
struct ResourceId {
    std::wstring text;
    WORD number = 0;
    explicit ResourceId(LPCWSTR id)
    {
        if (IS_INTRESOURCE(id))
            number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(id));
        else
            text = id;
    }
    LPCWSTR Get() const { return text.empty() ? MAKEINTRESOURCEW(number) : text.c_str(); }
};

struct Resource {
    ResourceId type;
    ResourceId name;
    WORD language = 0;
    std::vector<char> bytes;
};

BOOL CALLBACK CollectLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language,
                              LONG_PTR list)
{
    const ResourceId typeId(type);
    const ResourceId nameId(name);
    if (typeId.text == L"THEME" && nameId.number == kThemeId)
        return TRUE;
    HRSRC found = ::FindResourceExW(module, type, name, language);
    HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
    const auto* data =
        static_cast<const char*>(loaded != nullptr ? ::LockResource(loaded) : nullptr);
    if (data == nullptr)
        return TRUE;
    Resource resource{typeId, nameId, language, {}};
    resource.bytes.assign(data, data + ::SizeofResource(module, found));
    reinterpret_cast<std::vector<Resource>*>(list)->push_back(std::move(resource));
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR list)
{
    ::EnumResourceLanguagesW(module, type, name, CollectLanguage, list);
    return TRUE;
}

BOOL CALLBACK CollectType(HMODULE module, LPWSTR type, LONG_PTR list)
{
    ::EnumResourceNamesW(module, type, CollectName, list);
    return TRUE;
}

} // namespace

bool CopyWithTheme(const std::wstring& source, const std::wstring& target,
                   const std::vector<char>& archive)
{
    if (!::CopyFileW(source.c_str(), target.c_str(), FALSE))
        return false;
    // Every other resource is copied over into an empty resource table
    // (deleting single resources is not reliable under Wine).
    std::vector<Resource> kept;
    if (HMODULE module = ::LoadLibraryExW(source.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        ::EnumResourceTypesW(module, CollectType, reinterpret_cast<LONG_PTR>(&kept));
        ::FreeLibrary(module);
    }
    HANDLE update = ::BeginUpdateResourceW(target.c_str(), TRUE);
    if (update == nullptr)
        return false;
    BOOL done = TRUE;
    for (Resource& resource : kept)
        done = done && ::UpdateResourceW(update, resource.type.Get(), resource.name.Get(),
                                         resource.language, resource.bytes.data(),
                                         static_cast<DWORD>(resource.bytes.size()));
    // The resource compiler files resources under US English.
    if (!archive.empty())
        done = done && ::UpdateResourceW(update, L"THEME", MAKEINTRESOURCEW(kThemeId),
                                         MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                         const_cast<char*>(archive.data()),
                                         static_cast<DWORD>(archive.size()));
    return ::EndUpdateResourceW(update, !done) && done;
}

} // namespace campaign
