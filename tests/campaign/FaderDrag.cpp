// fader_drag: drags the mixer faders of a running KorVaneControls.exe by
// posting mouse messages to its window, for the soak campaign.
//   fader_drag.exe SECONDS [SEED]
// The fader geometry comes from the same skin laid out in this process
// (MainFormTestHost against a private simulator, closed again before the
// drags). Every drag grabs the thumb where it stands, moves it in four
// steps to a table point and lets go; locked stereo pairs move together.
// At the end the running simulator's volumes are compared with the points
// dragged to. Prints "drags=N matched=M of K" on stdout.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "device/DeviceManager.h"
#include "device/VolumeScale.h"
#include "panel/ChannelMap.h"
#include "panel/MainForm.h"
#include "sim/simctl/SimControlClient.h"
#include "tests/panel/MainFormTestHost.h"
#include "ui/controls/Slider.h"
#include "ui/controls/SliderGeometry.h"

namespace {

constexpr int kPoints = VolumeScale::kTablePoints;

// Thumb centres of one fader for each table point (at the point plus a
// half, so that the slider reads the point back whatever the rounding).
struct FaderTrack {
    std::wstring name;
    std::vector<POINT> centres;
    int value = 0;
};

std::vector<FaderTrack> ReadTracks()
{
    MainFormTestHost host;
    std::vector<FaderTrack> tracks;
    host.OnUi([&](MainForm& form) {
        for (const MixerFader& fader : ChannelMap::Faders()) {
            auto* slider = dynamic_cast<ui::Slider*>(form.FindControl(std::wstring(fader.name)));
            if (!slider)
                continue;
            FaderTrack track{std::wstring(fader.name), {}, static_cast<int>(slider->GetValue())};
            for (int point = 0; point < kPoints; ++point) {
                const ui::UiRect r = ui::SliderGeometry::ThumbRect(
                    slider->GetRect(), slider->GetThumbSize(), slider->IsHorizontal(),
                    slider->GetMinValue(), slider->GetMaxValue(), point + 0.5);
                track.centres.push_back({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            }
            tracks.push_back(std::move(track));
        }
    });
    return tracks;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: fader_drag SECONDS [SEED]\n");
        return 2;
    }
    const ULONGLONG seconds = std::strtoull(argv[1], nullptr, 10);
    std::mt19937 random(argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1);
    std::vector<FaderTrack> tracks = ReadTracks();
    if (tracks.empty()) {
        std::fprintf(stderr, "fader_drag: no faders found in the skin\n");
        return 1;
    }
    HWND window = nullptr;
    for (int tries = 0; tries < 50 && window == nullptr; ++tries) {
        window = ::FindWindowW(MainForm::kClassName, nullptr);
        if (window == nullptr)
            ::Sleep(100);
    }
    if (window == nullptr) {
        std::fprintf(stderr, "fader_drag: no running panel\n");
        return 1;
    }
    std::map<std::wstring, FaderTrack*> byName;
    for (FaderTrack& track : tracks)
        byName[track.name] = &track;

    long long drags = 0;
    const ULONGLONG end = ::GetTickCount64() + seconds * 1000;
    while (::GetTickCount64() < end && ::IsWindow(window)) {
        FaderTrack& track = tracks[random() % tracks.size()];
        const int target = static_cast<int>(random() % kPoints);
        const POINT from = track.centres[track.value];
        const POINT to = track.centres[target];
        const auto post = [&](UINT message, WPARAM keys, POINT at) {
            ::PostMessageW(window, message, keys, MAKELPARAM(at.x, at.y));
        };
        post(WM_MOUSEMOVE, 0, from);
        post(WM_LBUTTONDOWN, MK_LBUTTON, from);
        for (int step = 1; step <= 4; ++step) {
            post(WM_MOUSEMOVE, MK_LBUTTON,
                 POINT{from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
            ::Sleep(10);
        }
        post(WM_LBUTTONUP, 0, to);
        ::Sleep(20);
        track.value = target;
        if (const MixerFader* fader = ChannelMap::FindFader(track.name); fader && fader->IsStereo())
            byName[std::wstring(fader->partner)]->value = target;
        ++drags;
    }
    ::Sleep(500);

    std::wstring state;
    if (SimControlClient().Send(L"state", state) != 0) {
        std::fprintf(stderr, "fader_drag: the simulator did not answer\n");
        return 1;
    }
    int matched = 0;
    for (const FaderTrack& track : tracks) {
        const MixerFader* fader = ChannelMap::FindFader(track.name);
        const std::wstring key = std::wstring(L"\nvolume ") + (fader->isInput ? L"in " : L"out ") +
                                 std::to_wstring(fader->channel) + L" " +
                                 std::to_wstring(VolumeScale::TableVolume(track.value)) + L"\n";
        matched += state.find(key) != std::wstring::npos;
    }
    std::printf("drags=%lld matched=%d of %zu\n", drags, matched, tracks.size());
    return 0;
}
