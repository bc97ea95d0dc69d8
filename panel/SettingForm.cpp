#include "panel/SettingForm.h"

#include "device/DeviceManager.h"
#include "device/DeviceMessages.h"
#include "device/DeviceProperties.h"
#include "device/DriverInfo.h"
#include "device/DriverRecordBuffer.h"
#include "device/StreamFormatRecord.h"
#include "panel/SettingFormTexts.h"
#include "ui/controls/CheckBoxTemplate.h"
#include "ui/controls/Combo.h"
#include "ui/controls/LabelTemplate.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/ListContainerElement.h"
#include "ui/controls/RichEdit.h"

#include <algorithm>

namespace {

constexpr uint32_t kInput = 1;
constexpr uint32_t kOutput = 0;
constexpr int32_t kEntryHeight = 30;

template <typename T>
T* Bind(ui::Window& window, const wchar_t* name)
{
    return dynamic_cast<T*>(window.FindControl(std::wstring(name)));
}

} // namespace

SettingForm::SettingForm(DeviceManager& manager) : m_manager(manager) {}

LRESULT SettingForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (message == WM_DEVICE_NOTIFICATION) {
        Refresh();
        handled = true;
        return 0;
    }
    // Escape closes as the close button does (an open drop-down takes it
    // first: it has the focus).
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        Close(1);
        handled = true;
        return 0;
    }
    // On close (the framework's own processing then closes the window), or
    // when the window goes without one (its owner was destroyed).
    if ((message == WM_CLOSE || message == WM_DESTROY) && m_subscribed) {
        m_manager.notifyWindows.Remove(GetHWND());
        m_subscribed = false;
    }
    return WindowImplBase::HandleMessage(message, wParam, lParam, handled);
}

void SettingForm::InitWindow()
{
    m_sampleRate = Bind<ui::Label>(*this, L"samplerate_text");
    m_bufferCombo = Bind<ui::Combo>(*this, L"combo_buffer");
    m_safeMode = Bind<ui::CheckBox>(*this, L"safe mode");
    m_inputCombo = Bind<ui::Combo>(*this, L"input format");
    m_outputCombo = Bind<ui::Combo>(*this, L"output format");
    m_asioStatus = Bind<ui::RichEdit>(*this, L"asio_status");
    m_deviceInfo = Bind<ui::RichEdit>(*this, L"device_info");
    m_driverInfo = Bind<ui::RichEdit>(*this, L"driver_info");

    // On the lists, after each combo's own handler: the combo's selection
    // is already the picked entry.
    if (m_bufferCombo != nullptr) {
        m_bufferCombo->GetListBox().AddEventHandler(ui::kEventSelect, [this](const ui::EventArgs&) {
            ApplyBufferSettings();
            return true;
        });
    }
    if (m_safeMode != nullptr) {
        for (const ui::EventType type : {ui::kEventSelect, ui::kEventUnSelect}) {
            m_safeMode->AddEventHandler(type, [this](const ui::EventArgs&) {
                ApplyBufferSettings();
                return true;
            });
        }
    }
    for (ui::Combo* combo : {m_inputCombo, m_outputCombo}) {
        if (combo == nullptr)
            continue;
        const bool isInput = combo == m_inputCombo;
        combo->GetListBox().AddEventHandler(ui::kEventSelect,
                                            [this, isInput](const ui::EventArgs&) {
                                                SelectFormat(isInput);
                                                return true;
                                            });
    }
    Refresh();
    m_manager.notifyWindows.Append(GetHWND());
    m_subscribed = true;
}

void SettingForm::ApplyBufferSettings()
{
    if (m_bufferCombo == nullptr)
        return;
    const int selected = m_bufferCombo->GetCurSel();
    if (selected < 0 || static_cast<size_t>(selected) >= m_bufferSizes.size())
        return;
    uint32_t options = m_asioInfo.options & ~AsioInfo::kSafeModeOption;
    if (m_safeMode != nullptr && m_safeMode->IsSelected())
        options |= AsioInfo::kSafeModeOption;
    if (const auto set = m_manager.api.TUSBAUDIO_SetASIOBufferPreferredSize)
        set(m_asioInstance, m_asioInfo.bufferReference,
            m_bufferSizes[static_cast<size_t>(selected)], options);
}

void SettingForm::SelectFormat(bool isInput)
{
    ui::Combo* combo = isInput ? m_inputCombo : m_outputCombo;
    const std::vector<uint32_t>& ids = isInput ? m_inputFormatIds : m_outputFormatIds;
    const int selected = combo->GetCurSel();
    const uint32_t handle = m_manager.deviceHandle;
    const auto set = m_manager.api.TUSBAUDIO_SetCurrentStreamFormat;
    if (selected < 0 || static_cast<size_t>(selected) >= ids.size() || handle == 0 ||
        set == nullptr)
        return;
    set(handle, isInput ? kInput : kOutput, ids[static_cast<size_t>(selected)]);
}

void SettingForm::Refresh()
{
    const AsioInfo asioInfo = RefreshBuffer();
    RefreshFormats(true);
    RefreshFormats(false);
    RefreshTexts(asioInfo);
    RefreshDriverText();
}

std::unique_ptr<ui::Control> SettingForm::NewEntry(const std::wstring& text) const
{
    auto entry = std::make_unique<ui::ListContainerElement>();
    entry->SetAttribute(L"class", L"listitem");
    entry->SetFixedHeight(kEntryHeight, false, true);
    entry->SetTextColor(ui::kControlStateNormal, L"white");
    entry->SetTextPadding(ui::UiRect(6, 0, 6, 0), true);
    entry->SetText(text);
    return entry;
}

AsioInfo SettingForm::RefreshBuffer()
{
    AsioInfo info;
    if (m_bufferCombo != nullptr)
        m_bufferCombo->RemoveAll();
    m_bufferSizes.clear();
    if (m_manager.deviceHandle != 0) {
        const auto get = m_manager.api.TUSBAUDIO_GetASIOInstanceInfo;
        DriverRecordBuffer<AsioInfo> record;
        if (get == nullptr || get(0, record.Data()) != 0)
            return info;
        info = record.At();
    }
    m_bufferSizes = SettingFormTexts::BufferSizes(info);
    if (m_bufferCombo != nullptr) {
        for (const uint32_t size : m_bufferSizes)
            m_bufferCombo->Add(NewEntry(SettingFormTexts::BufferSize(size)));
    }
    if (m_bufferCombo != nullptr) {
        const auto current = std::find(m_bufferSizes.begin(), m_bufferSizes.end(), info.bufferSize);
        if (current != m_bufferSizes.end())
            m_bufferCombo->SelectItem(static_cast<int>(current - m_bufferSizes.begin()));
        m_bufferCombo->Invalidate();
    }
    if (m_safeMode != nullptr)
        m_safeMode->Selected((info.options & AsioInfo::kSafeModeOption) != 0, false);
    m_asioInfo = info;
    if (m_sampleRate != nullptr)
        m_sampleRate->SetText(SettingFormTexts::SampleRate(info.sampleRate));
    return info;
}

void SettingForm::RefreshFormats(bool isInput)
{
    ui::Combo* combo = isInput ? m_inputCombo : m_outputCombo;
    std::vector<uint32_t>& ids = isInput ? m_inputFormatIds : m_outputFormatIds;
    ids.clear();
    if (combo == nullptr)
        return;
    combo->RemoveAll();
    const uint32_t direction = isInput ? kInput : kOutput;
    const uint32_t handle = m_manager.deviceHandle;
    const auto getSupported = m_manager.api.TUSBAUDIO_GetSupportedStreamFormats;
    DriverRecordBuffer<StreamFormatRecord> formats(StreamFormatRecord::kMaxPerDirection);
    uint32_t count = 0;
    if (handle == 0 || getSupported == nullptr ||
        getSupported(handle, direction, StreamFormatRecord::kMaxPerDirection, formats.Data(),
                     &count) != 0) {
        combo->SetEnabled(false);
        return;
    }
    count = std::min(count, StreamFormatRecord::kMaxPerDirection);
    for (uint32_t i = 0; i < count; ++i) {
        const StreamFormatRecord format = formats.At(i);
        ids.push_back(format.formatId);
        combo->Add(NewEntry(SettingFormTexts::StreamFormat(format)));
    }
    DriverRecordBuffer<StreamFormatRecord> current;
    const auto getCurrent = m_manager.api.TUSBAUDIO_GetCurrentStreamFormat;
    if (getCurrent != nullptr && getCurrent(handle, direction, current.Data()) == 0) {
        const auto found = std::find(ids.begin(), ids.end(), current.At().formatId);
        if (found != ids.end())
            combo->SelectItem(static_cast<int>(found - ids.begin()));
    }
    combo->Invalidate();
    if (count < 2)
        combo->SetEnabled(false);
}

void SettingForm::RefreshTexts(const AsioInfo& asioInfo)
{
    std::wstring asioText;
    std::wstring deviceText;
    const uint32_t handle = m_manager.deviceHandle;
    const auto getProperties = m_manager.api.TUSBAUDIO_GetDeviceProperties;
    DriverRecordBuffer<DeviceProperties> properties;
    if (handle != 0 && getProperties != nullptr && getProperties(handle, properties.Data()) == 0) {
        asioText = SettingFormTexts::AsioStatus(asioInfo);
        deviceText = SettingFormTexts::DeviceIdentity(properties.At());
    }
    if (m_asioStatus != nullptr)
        m_asioStatus->SetText(asioText);
    if (m_deviceInfo != nullptr)
        m_deviceInfo->SetText(deviceText);
}

void SettingForm::RefreshDriverText()
{
    DriverRecordBuffer<DriverInfo> info;
    const auto get = m_manager.api.TUSBAUDIO_GetDriverInfo;
    if (get == nullptr || get(info.Data()) != 0)
        return;
    if (m_driverInfo != nullptr)
        m_driverInfo->SetText(SettingFormTexts::DriverVersion(info.At()));
}
