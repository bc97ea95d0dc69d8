// Reads arbitrary bytes as a scene file. A file that is accepted must hold
// exactly the controls a scene keeps, each within its kind's values, and
// must read back the same once written again; a refused one must say why.
#include "tests/fuzz/FuzzCheck.h"
#include "panel/ChannelMap.h"
#include "panel/SceneDocument.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using fuzz::Check;

bool InRange(ControlKind kind, double value)
{
    switch (kind) {
    case ControlKind::kFader:
        return value >= Scene::kLowestDb && value <= Scene::kHighestDb;
    case ControlKind::kDeviceVolume:
        return value >= 0 && value <= 255;
    case ControlKind::kGain:
        return value >= 0 && value <= 15;
    default:
        return value == 0 || value == 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const SceneDocument::ReadResult read = SceneDocument::Read(data, size);
    if (!read.scene) {
        Check(!read.error.empty());
        return 0;
    }
    size_t kept = 0;
    for (const MixerControl& control : ChannelMap::Controls()) {
        const double* value = read.scene->Find(control.name);
        Check((value != nullptr) == SceneDocument::Keeps(control.name));
        if (value != nullptr) {
            Check(InRange(control.kind, *value));
            ++kept;
        }
    }
    Check(kept == read.scene->Size());
    const std::string again = SceneDocument::Write(*read.scene, read.title);
    const SceneDocument::ReadResult reread =
        SceneDocument::Read(reinterpret_cast<const uint8_t*>(again.data()), again.size());
    Check(reread.scene.has_value() && *reread.scene == *read.scene);
    return 0;
}
