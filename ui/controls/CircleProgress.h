#pragma once

#include "ui/controls/IndicatorImage.h"
#include "ui/controls/Progress.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace ui {

// A progress drawn as a ring: the whole ring in the background colour and
// the value as an arc from 12 o'clock in the foreground colour, or in a
// vertical gradient towards the gradient colour when one is set. An
// indicator image may ride on the ring, turned with the value.
class CircleProgress : public Progress {
public:
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void PaintStateImages(IRenderContext& context) override;
    void RescaleDpi(int from, int to) override;

    bool IsCircular() const { return m_circular; }
    void SetCircular(bool circular);
    bool IsClockwise() const { return m_clockwise; }
    void SetClockwise(bool clockwise);
    int32_t GetCircleWidth() const { return m_circleWidth; }
    void SetCircleWidth(int32_t width);
    // ARGB colours.
    void SetBackgroundColor(uint32_t argb);
    void SetForegroundColor(uint32_t argb);
    void SetGradientColor(uint32_t argb);
    // A skin path, made absolute like image paths; a file that does not
    // exist on disk leaves no indicator.
    void SetIndicator(const std::wstring& path);
    bool HasIndicator() const { return m_indicator != nullptr; }

protected:
    // Knobs draw a pointer line instead of the ring and the value arc: its
    // outer end for a line of the given length from the centre.
    virtual std::optional<UiPoint> GetPointerEnd(UiPoint center, int length) const;

    bool m_circular = true;
    bool m_clockwise = true;
    int32_t m_circleWidth = 1;
    uint32_t m_backgroundColor = 0;
    uint32_t m_foregroundColor = 0;
    uint32_t m_gradientColor = 0;
    std::unique_ptr<IndicatorImage> m_indicator;
};

} // namespace ui
