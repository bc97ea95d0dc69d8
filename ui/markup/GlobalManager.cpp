#include "ui/markup/GlobalManager.h"

#include "ui/markup/ArchivePath.h"
#include "ui/markup/ColorText.h"
#include "ui/markup/DpiManager.h"
#include "ui/markup/MarkupNode.h"
#include "ui/markup/TextEncoding.h"
#include "ui/markup/WindowBuilder.h"
#include "ui/markup/ZipArchive.h"
#include "ui/render/GdiPlusSession.h"
#include "ui/render/RenderFactory_GdiPlus.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <map>
#include <utility>

namespace ui {
namespace {

constexpr int kThemeResourceId = 134;
constexpr UINT kBlockFlags = GMEM_MOVEABLE | GMEM_NODISCARD;
constexpr LONG kMaxFontWeight = 1000;
// Skin entries are small (layouts are limited to 4 MiB, images to 16 M
// pixels); an entry claiming more is damaged or hostile (an inflation bomb)
// and is refused before memory is committed or time spent inflating it.
constexpr uint32_t kMaxEntrySize = 64u * 1024 * 1024;

struct State {
    std::wstring resourcePath;
    std::wstring languageFolder;
    CreateControlCallback createControl;
    LanguageStrings languageStrings;
    std::unique_ptr<ZipArchive> archive;
    uint32_t lastArchiveResult = ZipArchive::kOk;
    std::map<std::wstring, FontInfo> fonts;
    // The fonts of the table made again for other scales, by scale and id.
    std::map<std::pair<int, std::wstring>, FontInfo> scaledFonts;
    std::wstring defaultFontId;
    std::map<std::wstring, uint32_t> textColors;
    std::map<std::wstring, std::wstring> classes;
    std::wstring defaultTextColor = L"textdefaultcolor";
    std::wstring defaultDisabledTextColor = L"textdefaultdisablecolor";
    std::unique_ptr<IRenderFactory> renderFactory;
    std::unique_ptr<GdiPlusSession> gdiplus;
};

State& GetState()
{
    static State state;
    return state;
}

// "system" stands for the UI face of the running Windows version.
const std::wstring& SystemFaceName()
{
    static const std::wstring face = [] {
        OSVERSIONINFOEXW version = {};
        version.dwOSVersionInfoSize = sizeof version;
        version.dwMajorVersion = 6;
        version.dwMinorVersion = 0;
        version.wServicePackMajor = 0;
        ULONGLONG mask = VerSetConditionMask(0, VER_MAJORVERSION, VER_GREATER_EQUAL);
        mask = VerSetConditionMask(mask, VER_MINORVERSION, VER_GREATER_EQUAL);
        mask = VerSetConditionMask(mask, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
        const bool vistaOrLater =
            VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR,
                               mask) != FALSE;
        return std::wstring(vistaOrLater ? L"\u5FAE\u8F6F\u96C5\u9ED1" : L"\u65B0\u5B8B\u4F53");
    }();
    return face;
}

// Makes the GDI font of a font record for a scale (percent); false when
// the system cannot make it.
bool MakeFont(FontInfo& info, int scale)
{
    info.scale = scale;
    info.size = DpiManager::ScaleBy(info.designSize, scale);
    LOGFONTW& font = info.logFont;
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    const size_t faceLength = std::min<size_t>(info.faceName.size(), LF_FACESIZE - 1);
    std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), L'\0');
    std::copy_n(info.faceName.begin(), faceLength, font.lfFaceName);
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfHeight = -info.size;
    if (info.bold) {
        // GDI weights end at 1000.
        font.lfWeight = std::min<LONG>(font.lfWeight + FW_BOLD, kMaxFontWeight);
    }
    if (info.underline) {
        font.lfUnderline = TRUE;
    }
    if (info.italic) {
        font.lfItalic = TRUE;
    }
    info.handle.reset(CreateFontIndirectW(&font));
    return info.handle != nullptr;
}

void LoadLanguageStrings(const std::wstring& path)
{
    State& state = GetState();
    if (state.archive) {
        const GlobalBlock block = GlobalManager::GetData(path);
        if (block) {
            const uint8_t* bytes = block.Lock();
            state.languageStrings.LoadFromMemory(bytes, block.GetSize());
            block.Unlock();
            return;
        }
    }
    state.languageStrings.LoadFromFile(path);
}

} // namespace

void GlobalManager::Startup(const std::wstring& resourcePath, const CreateControlCallback& callback,
                            const std::wstring& themeFolder, const std::wstring& languageFolder)
{
    State& state = GetState();
    // The drawing back end comes first, before anything below can create a
    // render object.
    state.renderFactory = std::make_unique<RenderFactory_GdiPlus>();
    SetResourcePath(resourcePath + themeFolder);
    state.createControl = callback;
    state.languageFolder = languageFolder;
    LoadGlobalResources();
    LoadLanguageStrings(resourcePath + languageFolder + L"\\gdstrings.ini");
    state.gdiplus = std::make_unique<GdiPlusSession>();
    InitCommonControls();
}

void GlobalManager::Shutdown()
{
    State& state = GetState();
    RemoveAllFonts();
    state.defaultFontId.clear();
    state.textColors.clear();
    state.classes.clear();
    state.defaultTextColor = L"textdefaultcolor";
    state.defaultDisabledTextColor = L"textdefaultdisablecolor";
    state.languageStrings.Clear();
    state.gdiplus.reset();
    state.renderFactory.reset();
}

IRenderFactory* GlobalManager::GetRenderFactory()
{
    return GetState().renderFactory.get();
}

void GlobalManager::SetResourcePath(const std::wstring& path)
{
    std::wstring& root = GetState().resourcePath;
    root = path;
    if (!root.empty() && root.back() != L'\\' && root.back() != L'/') {
        root.push_back(L'\\');
    }
}

const std::wstring& GlobalManager::GetResourcePath()
{
    return GetState().resourcePath;
}

const std::wstring& GlobalManager::GetLanguageFolder()
{
    return GetState().languageFolder;
}

const CreateControlCallback& GlobalManager::GetCreateControlCallback()
{
    return GetState().createControl;
}

LanguageStrings& GlobalManager::GetLanguageStrings()
{
    return GetState().languageStrings;
}

uint32_t GlobalManager::OpenArchive(const uint8_t* data, size_t size, std::string_view password)
{
    State& state = GetState();
    CloseArchive();
    state.archive = ZipArchive::Open(data, size, password, state.lastArchiveResult);
    return state.lastArchiveResult;
}

uint32_t GlobalManager::OpenThemeResource(HMODULE module)
{
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(kThemeResourceId), L"THEME");
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        CloseArchive();
        return GetState().lastArchiveResult = ZipArchive::kCannotOpen;
    }
    return OpenArchive(static_cast<const uint8_t*>(data), SizeofResource(module, resource), "");
}

uint32_t GlobalManager::CloseArchive()
{
    State& state = GetState();
    if (!state.archive) {
        return ZipArchive::kNoArchive;
    }
    state.archive->Close();
    state.archive.reset();
    return ZipArchive::kOk;
}

bool GlobalManager::IsArchiveInUse()
{
    return GetState().archive != nullptr;
}

uint32_t GlobalManager::GetLastArchiveResult()
{
    return GetState().lastArchiveResult;
}

GlobalBlock GlobalManager::GetData(const std::wstring& path)
{
    State& state = GetState();
    const std::wstring name = ArchivePath::Normalize(path);
    if (!state.archive || name.empty()) {
        return {};
    }
    uint32_t index = 0;
    state.lastArchiveResult = state.archive->FindEntry(TextEncoding::WideToUtf8(name), index);
    if (state.lastArchiveResult != ZipArchive::kOk) {
        return {};
    }
    ZipEntryInfo info;
    state.lastArchiveResult = state.archive->GetEntryInfo(index, info);
    if (state.lastArchiveResult != ZipArchive::kOk) {
        return {};
    }
    if (info.uncompressedSize > kMaxEntrySize) {
        state.lastArchiveResult = ZipArchive::kBufferTooSmall;
        return {};
    }
    GlobalBlock block(GlobalAlloc(kBlockFlags, info.uncompressedSize));
    if (!block) {
        // No memory for the size the archive claims.
        state.lastArchiveResult = ZipArchive::kBufferTooSmall;
        return {};
    }
    auto* bytes = static_cast<uint8_t*>(GlobalLock(block.Get()));
    state.lastArchiveResult = state.archive->UnzipToMemory(index, bytes, info.uncompressedSize);
    GlobalUnlock(block.Get());
    if (state.lastArchiveResult != ZipArchive::kOk) {
        return {};
    }
    return block;
}

bool GlobalManager::LoadGlobalResources()
{
    WindowBuilder builder;
    if (!builder.LoadLayout(L"global.xml")) {
        return false;
    }
    const MarkupNode root = builder.GetRoot();
    if (std::wcscmp(root.GetName(), L"Global") != 0) {
        return false;
    }
    builder.ApplyGlobalRoot(root);
    return true;
}

void GlobalManager::AddFont(const std::wstring& id, const std::wstring& faceName, int size,
                            bool bold, bool underline, bool italic, bool isDefault)
{
    State& state = GetState();
    const std::wstring fontId = id.empty() ? std::to_wstring(state.fonts.size()) : id;
    FontInfo info;
    info.faceName = (faceName == L"system") ? SystemFaceName() : faceName;
    info.designSize = size;
    info.bold = bold;
    info.underline = underline;
    info.italic = italic;
    if (!MakeFont(info, DpiManager::GetInstance().GetEffectiveScale())) {
        return;
    }
    // The first font under an id stays; a later one is dropped.
    state.fonts.try_emplace(fontId, std::move(info));
    if (isDefault) {
        state.defaultFontId = fontId;
    }
}

const FontInfo* GlobalManager::GetFont(const std::wstring& id)
{
    return GetFont(id, DpiManager::GetInstance().GetEffectiveScale());
}

const FontInfo* GlobalManager::GetFont(const std::wstring& id, int scale)
{
    State& state = GetState();
    const std::wstring& fontId = id.empty() ? state.defaultFontId : id;
    const auto found = state.fonts.find(fontId);
    if (found == state.fonts.end()) {
        return nullptr;
    }
    const FontInfo& definition = found->second;
    if (definition.scale == scale) {
        return &definition;
    }
    const auto key = std::make_pair(scale, fontId);
    if (const auto made = state.scaledFonts.find(key); made != state.scaledFonts.end()) {
        return &made->second;
    }
    FontInfo scaled;
    scaled.faceName = definition.faceName;
    scaled.designSize = definition.designSize;
    scaled.bold = definition.bold;
    scaled.underline = definition.underline;
    scaled.italic = definition.italic;
    // A font the system cannot make at this size stays at its own.
    if (!MakeFont(scaled, scale)) {
        return &definition;
    }
    return &state.scaledFonts.emplace(key, std::move(scaled)).first->second;
}

const std::wstring& GlobalManager::GetDefaultFontId()
{
    return GetState().defaultFontId;
}

void GlobalManager::RemoveAllFonts()
{
    GetState().scaledFonts.clear();
    GetState().fonts.clear();
}

void GlobalManager::AddTextColor(const std::wstring& name, const std::wstring& value)
{
    if (name.empty() || value.empty()) {
        return;
    }
    GetState().textColors[name] = ColorText::Parse(value);
}

uint32_t GlobalManager::GetTextColor(const std::wstring& name)
{
    const State& state = GetState();
    const auto found = state.textColors.find(name);
    return found != state.textColors.end() ? found->second : 0;
}

void GlobalManager::AddClass(const std::wstring& name, const std::wstring& attributes)
{
    if (!name.empty()) {
        GetState().classes[name] = attributes;
    }
}

const std::wstring& GlobalManager::GetClassAttributes(const std::wstring& name)
{
    static const std::wstring empty;
    const State& state = GetState();
    const auto found = state.classes.find(name);
    return found != state.classes.end() ? found->second : empty;
}

void GlobalManager::SetDefaultTextColor(const std::wstring& name)
{
    GetState().defaultTextColor = name;
}

const std::wstring& GlobalManager::GetDefaultTextColor()
{
    return GetState().defaultTextColor;
}

void GlobalManager::SetDefaultDisabledTextColor(const std::wstring& name)
{
    GetState().defaultDisabledTextColor = name;
}

const std::wstring& GlobalManager::GetDefaultDisabledTextColor()
{
    return GetState().defaultDisabledTextColor;
}

} // namespace ui
