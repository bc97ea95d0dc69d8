#pragma once

#include "ui/markup/FontInfo.h"
#include "ui/markup/GlobalBlock.h"
#include "ui/markup/LanguageStrings.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace ui {

class Control;
class IRenderFactory;
using CreateControlCallback =
    std::function<std::unique_ptr<Control>(const std::wstring& className)>;

// Process-wide UI resources shared by every skinned window: resource root,
// skin archive, language strings, fonts, text colours and global classes.
// UI thread only; filled at start-up and read afterwards.
class GlobalManager {
public:
    static void Startup(const std::wstring& resourcePath, const CreateControlCallback& callback,
                        const std::wstring& themeFolder, const std::wstring& languageFolder);
    // Destroys the fonts and empties every table (the archive stays open),
    // then stops GDI+ and drops the render factory.
    static void Shutdown();
    // The drawing back end installed by Startup; null before it.
    static IRenderFactory* GetRenderFactory();

    static void SetResourcePath(const std::wstring& path);
    static const std::wstring& GetResourcePath();
    static const std::wstring& GetLanguageFolder();
    static const CreateControlCallback& GetCreateControlCallback();
    static LanguageStrings& GetLanguageStrings();

    // Skin archive over memory that outlives it (the THEME/134 resource).
    static uint32_t OpenArchive(const uint8_t* data, size_t size, std::string_view password);
    static uint32_t OpenThemeResource(HMODULE module);
    static uint32_t CloseArchive();
    static bool IsArchiveInUse();
    static uint32_t GetLastArchiveResult();
    // The archive entry for a skin path, or an empty block (also for an
    // entry of more than 64 MiB).
    static GlobalBlock GetData(const std::wstring& path);

    // Reads "global.xml"; false when it cannot be loaded.
    static bool LoadGlobalResources();
    static void AddFont(const std::wstring& id, const std::wstring& faceName, int size, bool bold,
                        bool underline, bool italic, bool isDefault);
    // An empty id means the default font; null for an unknown id. The font
    // is made for the current scale (Get font with a scale: for that one).
    static const FontInfo* GetFont(const std::wstring& id);
    static const FontInfo* GetFont(const std::wstring& id, int scale);
    static const std::wstring& GetDefaultFontId();
    static void RemoveAllFonts();
    // value is "#AARRGGBB"; an empty name or value is ignored.
    static void AddTextColor(const std::wstring& name, const std::wstring& value);
    // ARGB; 0 (transparent, paints nothing) for an unknown name.
    static uint32_t GetTextColor(const std::wstring& name);
    static void AddClass(const std::wstring& name, const std::wstring& attributes);
    static const std::wstring& GetClassAttributes(const std::wstring& name);
    static void SetDefaultTextColor(const std::wstring& name);
    static const std::wstring& GetDefaultTextColor();
    static void SetDefaultDisabledTextColor(const std::wstring& name);
    static const std::wstring& GetDefaultDisabledTextColor();
};

} // namespace ui
