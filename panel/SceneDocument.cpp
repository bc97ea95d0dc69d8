#include "panel/SceneDocument.h"

#include <cstring>

#include "panel/ChannelMap.h"
#include "panel/DecimalText.h"
#include "ui/markup/MarkupDocument.h"
#include "ui/markup/TextEncoding.h"

namespace {

constexpr wchar_t kRoot[] = L"scene";
constexpr char kClosingTag[] = "</scene";

struct KindSyntax {
    ControlKind kind;
    const wchar_t* element;
    const wchar_t* attribute;
    const wchar_t* description; // "a fader", for messages
};

constexpr KindSyntax kSyntax[] = {
    {ControlKind::kFader, L"fader", L"db", L"a fader"},
    {ControlKind::kMute, L"mute", L"on", L"a mute switch"},
    {ControlKind::kLock, L"lock", L"on", L"a stereo lock"},
    {ControlKind::kDeviceVolume, L"devicevolume", L"level", L"a device volume"},
    {ControlKind::kGain, L"gain", L"step", L"a gain knob"},
    {ControlKind::kInvert, L"invert", L"on", L"the invert switch"},
    {ControlKind::kPhantomPower, L"phantom", L"on", L"phantom power"},
};

const KindSyntax* SyntaxOf(ControlKind kind)
{
    for (const KindSyntax& syntax : kSyntax) {
        if (syntax.kind == kind)
            return &syntax;
    }
    return nullptr;
}

const KindSyntax* SyntaxOfElement(std::wstring_view element)
{
    for (const KindSyntax& syntax : kSyntax) {
        if (element == syntax.element)
            return &syntax;
    }
    return nullptr;
}

std::wstring Quoted(std::wstring_view text)
{
    constexpr size_t kShown = 40;
    std::wstring shown(text.substr(0, kShown));
    if (text.size() > kShown)
        shown += L"...";
    return L"\"" + shown + L"\"";
}

std::optional<double> ParseInteger(std::wstring_view text, double low, double high)
{
    const std::optional<double> value = ParseDecimal(text);
    if (!value || *value != static_cast<double>(static_cast<long long>(*value)) || *value < low ||
        *value > high)
        return std::nullopt;
    return value;
}

// The value of one entry, or an error naming the control.
std::optional<double> ParseValue(const KindSyntax& syntax, std::wstring_view name,
                                 std::wstring_view text, std::wstring& error)
{
    const std::wstring who(name);
    switch (syntax.kind) {
    case ControlKind::kFader: {
        const std::optional<double> db = ParseDecimal(text);
        if (!db) {
            error = who + L": " + Quoted(text) + L" is not a level in dB";
        } else if (*db < Scene::kLowestDb || *db > Scene::kHighestDb) {
            error = who + L": " + Quoted(text) + L" dB is outside -128..127.99 dB";
        } else {
            // The driver's 1/256 dB steps are all a level can be.
            return Scene::DbFromVolume(Scene::VolumeFromDb(*db));
        }
        return std::nullopt;
    }
    case ControlKind::kDeviceVolume:
        if (auto level = ParseInteger(text, 0, 255))
            return level;
        error = who + L": " + Quoted(text) + L" is not a level from 0 to 255";
        return std::nullopt;
    case ControlKind::kGain:
        if (auto step = ParseInteger(text, 0, 15))
            return step;
        error = who + L": " + Quoted(text) + L" is not a gain step from 0 to 15";
        return std::nullopt;
    default:
        if (text == L"true")
            return 1.0;
        if (text == L"false")
            return 0.0;
        error = who + L": " + Quoted(text) + L" is neither true nor false";
        return std::nullopt;
    }
}

// "1" or "1.3": the major version, or nothing for a malformed version.
std::optional<int> FormatMajor(std::wstring_view version)
{
    const size_t dot = version.find(L'.');
    const std::wstring_view major = version.substr(0, dot);
    const std::wstring_view minor =
        dot == std::wstring_view::npos ? std::wstring_view(L"0") : version.substr(dot + 1);
    const auto digits = [](std::wstring_view part) {
        return !part.empty() && part.size() <= 6 &&
               part.find_first_not_of(L"0123456789") == std::wstring_view::npos;
    };
    if (!digits(major) || !digits(minor))
        return std::nullopt;
    return std::stoi(std::wstring(major));
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The document must end with the root's closing tag: a file cut short can
// still be well-formed as far as it goes.
bool EndsWithClosingTag(const uint8_t* data, size_t size)
{
    size_t end = size;
    while (end > 0 && IsSpace(static_cast<char>(data[end - 1])))
        --end;
    if (end == 0 || data[end - 1] != '>')
        return false;
    --end;
    while (end > 0 && IsSpace(static_cast<char>(data[end - 1])))
        --end;
    const size_t tag = sizeof(kClosingTag) - 1;
    return end >= tag && std::memcmp(data + end - tag, kClosingTag, tag) == 0;
}

std::wstring Escaped(std::wstring_view text)
{
    std::wstring escaped;
    for (const wchar_t c : text) {
        switch (c) {
        case L'&':
            escaped += L"&amp;";
            break;
        case L'<':
            escaped += L"&lt;";
            break;
        case L'>':
            escaped += L"&gt;";
            break;
        case L'"':
            escaped += L"&quot;";
            break;
        default:
            // The markup has no character references: control characters
            // would not come back as written, so they become spaces.
            escaped += c < 0x20 ? L' ' : c;
        }
    }
    return escaped;
}

SceneDocument::ReadResult Failure(std::wstring error)
{
    SceneDocument::ReadResult result;
    result.error = std::move(error);
    return result;
}

} // namespace

bool SceneDocument::Keeps(std::wstring_view control)
{
    const MixerControl* found = ChannelMap::FindControl(control);
    return found != nullptr && found->kind != ControlKind::kPhantomPower;
}

SceneDocument::ReadResult SceneDocument::Read(const uint8_t* data, size_t size)
{
    if (size == 0)
        return Failure(L"the file is empty");
    if (size > kMaxFileSize) {
        return Failure(L"the file is too large to be a scene (" + std::to_wstring(size) +
                       L" bytes; a scene has at most " + std::to_wstring(kMaxFileSize) + L")");
    }
    if (std::memchr(data, 0, size) != nullptr)
        return Failure(L"it is not a scene file (it is not text)");
    ui::MarkupDocument document;
    if (!document.LoadFromFileData(data, size)) {
        std::wstring error =
            L"it is not well-formed XML (" + std::wstring(document.GetErrorMessage());
        if (document.GetErrorLocation()[0] != L'\0')
            error += L" at " + Quoted(document.GetErrorLocation());
        return Failure(error + L")");
    }
    const ui::MarkupNode root = document.GetRoot();
    if (!root.IsValid())
        return Failure(L"it is not a scene file (it holds no element)");
    if (std::wstring_view(root.GetName()) != kRoot) {
        return Failure(L"it is not a scene file (its root element is <" +
                       std::wstring(root.GetName()) + L">, not <scene>)");
    }
    if (!EndsWithClosingTag(data, size))
        return Failure(L"the file is incomplete: it does not end with </scene>");
    if (!root.HasAttribute(L"format"))
        return Failure(L"it names no format version (<scene format=\"1.0\">)");
    const std::wstring_view version = root.GetAttributeValue(L"format");
    const std::optional<int> major = FormatMajor(version);
    if (!major)
        return Failure(L"its format version " + Quoted(version) + L" is not a version number");
    if (*major != kFormatMajor) {
        return Failure(L"it is written in format " + std::wstring(version) +
                       L", which this version cannot read (it reads format " +
                       std::to_wstring(kFormatMajor) + L".x)");
    }

    ReadResult result;
    result.title = root.GetAttributeValue(L"title");
    Scene scene;
    for (ui::MarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        const KindSyntax* syntax = SyntaxOfElement(node.GetName());
        if (syntax == nullptr)
            continue;
        const std::wstring_view name = node.GetAttributeValue(L"name");
        if (name.empty())
            return Failure(L"a <" + std::wstring(syntax->element) + L"> entry has no name");
        const MixerControl* control = ChannelMap::FindControl(name);
        if (control == nullptr || control->kind == ControlKind::kPhantomPower ||
            syntax->kind == ControlKind::kPhantomPower) {
            continue; // a control of a newer panel, or one a scene never sets
        }
        if (control->kind != syntax->kind) {
            return Failure(std::wstring(name) + L" is " + SyntaxOf(control->kind)->description +
                           L", not " + syntax->description);
        }
        if (scene.Has(name))
            return Failure(std::wstring(name) + L" appears twice");
        if (!node.HasAttribute(syntax->attribute)) {
            return Failure(std::wstring(name) + L" has no " + syntax->attribute + L" value");
        }
        std::wstring error;
        const std::optional<double> value =
            ParseValue(*syntax, name, node.GetAttributeValue(syntax->attribute), error);
        if (!value)
            return Failure(error);
        scene.Set(name, *value);
    }
    for (const MixerControl& control : ChannelMap::Controls()) {
        if (Keeps(control.name) && !scene.Has(control.name))
            return Failure(std::wstring(control.name) + L" is missing");
    }
    result.scene = std::move(scene);
    return result;
}

std::string SceneDocument::Write(const Scene& scene, std::wstring_view title)
{
    std::wstring text =
        L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        L"<!-- A KorVane Controls mixer scene. Levels are in dB; phantom power "
        L"is never part of a scene. -->\n";
    text += L"<scene format=\"" + std::to_wstring(kFormatMajor) + L"." +
            std::to_wstring(kFormatMinor) + L"\" title=\"" + Escaped(title) + L"\">\n";
    for (const MixerControl& control : ChannelMap::Controls()) {
        const double* value = scene.Find(control.name);
        if (value == nullptr || !Keeps(control.name))
            continue;
        const KindSyntax& syntax = *SyntaxOf(control.kind);
        std::wstring shown;
        if (syntax.attribute == std::wstring_view(L"on"))
            shown = *value != 0.0 ? L"true" : L"false";
        else
            shown = FormatDecimal(*value);
        text += L"  <" + std::wstring(syntax.element) + L" name=\"" + std::wstring(control.name) +
                L"\" " + syntax.attribute + L"=\"" + shown + L"\"/>\n";
    }
    text += L"</scene>\n";
    return ui::TextEncoding::WideToUtf8(text);
}
