#pragma once

#include <string>
#include <vector>

namespace ui {

// The image sets a skin may carry beside its 100 % images: each image drawn
// again for a larger display scale, named with the scale before the
// extension ("fader_thumb@150.png" for "fader_thumb.png"). Skins name only
// the 100 % image; a skin without sets is drawn stretched.
class ImageScaleSet {
public:
    // The scales a set may be drawn for, in percent, ascending.
    static const std::vector<int>& Scales();
    // The name of an image's set for a scale (the name itself at 100 %).
    static std::wstring VariantName(const std::wstring& name, int scale);
    // The sets to look for at a display scale, best first: the scale's own
    // and then the larger ones (scaled down when used), then the smaller
    // ones from the largest down (stretched when drawn). Empty at 100 %.
    static std::vector<int> Candidates(int scale);
};

} // namespace ui
