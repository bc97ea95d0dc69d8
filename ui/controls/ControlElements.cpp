#include "ui/controls/ControlElements.h"

#include "ui/controls/ButtonTemplate.h"
#include "ui/controls/CheckBoxTemplate.h"
#include "ui/controls/CircleSlider.h"
#include "ui/controls/Combo.h"
#include "ui/controls/LabelTemplate.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/ListContainerElement.h"
#include "ui/controls/OptionTemplate.h"
#include "ui/controls/RichEdit.h"
#include "ui/controls/Slider.h"
#include "ui/core/ElementTable.h"
#include "ui/core/HLayout.h"
#include "ui/core/TileLayout.h"
#include "ui/core/VLayout.h"

namespace ui {

namespace {

template <typename T>
void Enter(const wchar_t* element)
{
    ElementTable::Register(element, [] { return std::make_unique<T>(); });
}

template <typename LayoutType>
void EnterList(const wchar_t* element)
{
    ElementTable::Register(
        element, [] { return std::make_unique<ListBox>(std::make_unique<LayoutType>()); });
}

} // namespace

void RegisterControlElements()
{
    Enter<Label>(L"Label");
    Enter<LabelBox>(L"LabelBox");
    Enter<Button>(L"Button");
    Enter<ButtonBox>(L"ButtonBox");
    Enter<CheckBox>(L"CheckBox");
    Enter<CheckBoxBox>(L"CheckBoxBox");
    Enter<Option>(L"Option");
    Enter<OptionBox>(L"OptionBox");
    EnterList<Layout>(L"ListBox");
    EnterList<HLayout>(L"HListBox");
    EnterList<VLayout>(L"VListBox");
    EnterList<TileLayout>(L"TileListBox");
    Enter<ListContainerElement>(L"ListContainerElement");
    Enter<Progress>(L"Progress");
    Enter<Slider>(L"Slider");
    Enter<CircleProgress>(L"CircleProgress");
    Enter<CircleSlider>(L"CircleSlider");
    Enter<Combo>(L"Combo");
    Enter<RichEdit>(L"RichEdit");
}

} // namespace ui
