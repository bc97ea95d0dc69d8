#include "ui/core/ElementTable.h"

#include "ui/core/ChildBox.h"
#include "ui/core/HBox.h"
#include "ui/core/ScrollBar.h"
#include "ui/core/TabBox.h"
#include "ui/core/TileBox.h"
#include "ui/core/VBox.h"

namespace ui {

namespace {

template <typename T>
ElementTable::Factory Make()
{
    return [] { return std::make_unique<T>(); };
}

} // namespace

std::map<std::wstring, ElementTable::Factory>& ElementTable::Entries()
{
    static std::map<std::wstring, Factory> entries = {
        {L"Box", Make<Box>()},         {L"HBox", Make<HBox>()},
        {L"VBox", Make<VBox>()},       {L"TileBox", Make<TileBox>()},
        {L"TabBox", Make<TabBox>()},   {L"ChildBox", Make<ChildBox>()},
        {L"Control", Make<Control>()}, {L"ScrollBar", Make<ScrollBar>()},
    };
    return entries;
}

void ElementTable::Register(const std::wstring& element, Factory factory)
{
    Entries()[element] = std::move(factory);
}

std::unique_ptr<Control> ElementTable::Create(const std::wstring& element)
{
    const auto& entries = Entries();
    const auto found = entries.find(element);
    return found != entries.end() ? found->second() : nullptr;
}

} // namespace ui
