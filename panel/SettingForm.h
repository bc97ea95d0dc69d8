#pragma once

#include "device/AsioInfo.h"
#include "ui/core/WindowImplBase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class DeviceManager;

namespace ui {
class Combo;
class RichEdit;
template <typename InheritType>
class CheckBoxTemplate;
template <typename InheritType>
class LabelTemplate;
} // namespace ui

// The settings window: sample rate, ASIO buffer size and safe mode, the
// input and output stream formats, and the ASIO status, device identity and
// driver version texts. Everything is read fresh from the driver when it
// opens and after every device notification. Escape closes it. Made with
// new; it deletes itself with its native window.
class SettingForm : public ui::WindowImplBase {
public:
    static constexpr wchar_t kClassName[] = L"KorVaneAudioSetting";

    explicit SettingForm(DeviceManager& manager);

    std::wstring GetWindowClassName() const override { return kClassName; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void InitWindow() override;
    std::wstring GetSkinFolder() override { return L"ControlPanel"; }
    std::wstring GetSkinFile() override { return L"SettingsForm.xml"; }

    // Reads everything from the driver and fills every control.
    void Refresh();
    // Sends the chosen buffer size with the stored options and the safe-mode bit.
    void ApplyBufferSettings();

private:
    ~SettingForm() override = default;

    // The record as read: zero when no device is open or the read failed.
    AsioInfo RefreshBuffer();
    void RefreshFormats(bool isInput);
    void RefreshTexts(const AsioInfo& asioInfo);
    void RefreshDriverText();
    void SelectFormat(bool isInput);
    std::unique_ptr<ui::Control> NewEntry(const std::wstring& text) const;

    DeviceManager& m_manager;
    ui::LabelTemplate<ui::Control>* m_sampleRate = nullptr;
    ui::Combo* m_bufferCombo = nullptr;
    ui::CheckBoxTemplate<ui::Control>* m_safeMode = nullptr;
    ui::Combo* m_inputCombo = nullptr;
    ui::Combo* m_outputCombo = nullptr;
    ui::RichEdit* m_asioStatus = nullptr;
    ui::RichEdit* m_deviceInfo = nullptr;
    ui::RichEdit* m_driverInfo = nullptr;
    // The first argument of every buffer-size request.
    uint32_t m_asioInstance = 0;
    AsioInfo m_asioInfo;
    std::vector<uint32_t> m_bufferSizes;
    std::vector<uint32_t> m_inputFormatIds;
    std::vector<uint32_t> m_outputFormatIds;
    bool m_subscribed = false;
};
