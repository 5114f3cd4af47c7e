#include "sizing/size_presets.h"

#include "format/gif_format.h"
#include "sizing/size_limit.h"

#include <wx/config.h>

namespace {

// The configuration's group for the user's presets: Count, then 1/Name,
// 1/Bytes, 1/Side and so on.
const char kGroup[] = "/SizePresets";
const char kCount[] = "/SizePresets/Count";

wxString EntryKey(std::size_t index, const char* field)
{
    return wxString::Format("%s/%zu/%s", kGroup, index + 1, field);
}

bool ValidBytes(long long bytes)
{
    // ParseSizeLimit's range: a stored number is checked as a typed one is.
    long long parsed = 0;
    return ParseSizeLimit(wxString::Format("%lld", bytes), parsed) && parsed == bytes;
}

bool ValidSide(long side)
{
    return side >= 0 && side <= kGifMaxField;
}

} // namespace

const std::vector<SizePreset>& BuiltInSizePresets()
{
    // Sources and dates in docs/size-limits.md. Limits stated as "10MB" are
    // taken in decimal units, which stays under the limit whichever unit the
    // service means.
    static const std::vector<SizePreset> presets = {
        {"GitHub", 10000000, 0},
        {"Discord", 10000000, 0},
        {"X", 15000000, 0},
        {"Discord-emoji", 256000, 128},
        {"Slack-emoji", 128000, 128},
    };
    return presets;
}

std::vector<SizePreset> LoadSizePresets(const wxConfigBase* config)
{
    long count = 0;
    if (!config || !config->Read(kCount, &count) || count < 0)
        return BuiltInSizePresets();
    std::vector<SizePreset> presets;
    for (long i = 0; i < count; ++i) {
        SizePreset preset;
        long side = 0;
        wxLongLong_t bytes = 0;
        if (!config->Read(EntryKey(i, "Name"), &preset.name) || !config->Read(EntryKey(i, "Bytes"), &bytes))
            continue;
        config->Read(EntryKey(i, "Side"), &side);
        preset.name.Trim(true).Trim(false);
        if (preset.name.empty() || !ValidBytes(bytes) || !ValidSide(side) || FindSizePreset(presets, preset.name))
            continue;
        preset.bytes = bytes;
        preset.maxSide = int(side);
        presets.push_back(preset);
    }
    return presets;
}

void SaveSizePresets(wxConfigBase& config, const std::vector<SizePreset>& presets)
{
    config.DeleteGroup(kGroup);
    if (presets == BuiltInSizePresets())
        return;
    config.Write(kCount, long(presets.size()));
    for (std::size_t i = 0; i < presets.size(); ++i) {
        config.Write(EntryKey(i, "Name"), presets[i].name);
        config.Write(EntryKey(i, "Bytes"), static_cast<wxLongLong_t>(presets[i].bytes));
        config.Write(EntryKey(i, "Side"), long(presets[i].maxSide));
    }
}

const SizePreset* FindSizePreset(const std::vector<SizePreset>& presets, const wxString& name)
{
    for (const SizePreset& preset : presets)
        if (name.CmpNoCase(preset.name) == 0)
            return &preset;
    return nullptr;
}

wxString ExactSizeLimitText(long long bytes)
{
    if (bytes % 1000000 == 0)
        return wxString::Format("%lldM", bytes / 1000000);
    if (bytes % 1000 == 0)
        return wxString::Format("%lldK", bytes / 1000);
    return wxString::Format("%lld", bytes);
}

wxString SizeLimitText(long long bytes, int maxSide)
{
    const wxString limit = ExactSizeLimitText(bytes);
    return maxSide > 0 ? wxString::Format("%s, %d px", limit, maxSide) : limit;
}

bool ParseSizeLimitText(const wxString& text, long long& bytes, int& maxSide)
{
    const int comma = text.Find(',', true);
    long side = 0;
    if (comma != wxNOT_FOUND) {
        wxString pixels = text.Mid(comma + 1).Strip(wxString::both).Lower();
        if (!pixels.EndsWith("px", &pixels))
            return false;
        pixels = pixels.Strip(wxString::trailing);
        if (pixels.empty() || pixels.find_first_not_of("0123456789") != wxString::npos || !pixels.ToLong(&side) ||
            side < 1 || !ValidSide(side))
            return false;
    }
    long long limit = 0;
    if (!ParseSizeLimit(comma == wxNOT_FOUND ? text : text.Left(comma), limit))
        return false;
    bytes = limit;
    maxSide = int(side);
    return true;
}

wxString SizePresetLabel(const SizePreset& preset)
{
    // Exact figures: "10 MB", not the rounded "10.0 MB" of a file's size.
    wxString size;
    if (preset.bytes % 1000000 == 0)
        size = wxString::Format("%lld MB", preset.bytes / 1000000);
    else if (preset.bytes % 1000 == 0)
        size = wxString::Format("%lld KB", preset.bytes / 1000);
    else
        size = wxString::Format("%lld B", preset.bytes);
    if (preset.maxSide > 0)
        return wxString::Format("%s (%s, %d px)", preset.name, size, preset.maxSide);
    return wxString::Format("%s (%s)", preset.name, size);
}

SizePresetProblem ReadSizePreset(const wxString& name, const wxString& limit, const wxString& side,
                                 const std::vector<SizePreset>& presets, std::size_t editing,
                                 SizePreset& preset)
{
    SizePreset read;
    read.name = wxString(name).Trim(true).Trim(false);
    if (read.name.empty())
        return SizePresetProblem::NoName;
    for (std::size_t i = 0; i < presets.size(); ++i)
        if (i != editing && read.name.CmpNoCase(presets[i].name) == 0)
            return SizePresetProblem::NameTaken;
    if (!ParseSizeLimit(limit, read.bytes))
        return SizePresetProblem::BadLimit;
    const wxString sideText = wxString(side).Trim(true).Trim(false);
    long pixels = 0;
    if (!sideText.empty() &&
        (sideText.find_first_not_of("0123456789") != wxString::npos || !sideText.ToLong(&pixels) || !ValidSide(pixels)))
        return SizePresetProblem::BadSide;
    read.maxSide = int(pixels);
    preset = read;
    return SizePresetProblem::None;
}
