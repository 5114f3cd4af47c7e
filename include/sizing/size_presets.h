#pragma once

#include <wx/string.h>

#include <cstddef>
#include <vector>

class wxConfigBase;

// A destination with a limit on the file size and, where it has one, on the
// longer side of the picture (0 = none). The built-in numbers are what each
// service states (docs/size-limits.md names the sources); services change
// them, so the user can edit, add and delete presets, kept in the program's
// configuration for the window and gifmaker-cli alike.
struct SizePreset {
    wxString name; // what --preset takes (case does not matter)
    long long bytes = 0;
    int maxSide = 0;

    bool operator==(const SizePreset& other) const
    {
        return name == other.name && bytes == other.bytes && maxSide == other.maxSide;
    }
    bool operator!=(const SizePreset& other) const { return !(*this == other); }
};

const std::vector<SizePreset>& BuiltInSizePresets();

// The user's presets as stored in `config`, or the built-in ones when the
// user has none of their own (or there is no configuration). Stored entries
// that are not valid presets are passed over.
std::vector<SizePreset> LoadSizePresets(const wxConfigBase* config);
// Keeps `presets` as the user's. A list equal to the built-in one is not
// kept, so that corrected built-in numbers reach the user in a later version.
void SaveSizePresets(wxConfigBase& config, const std::vector<SizePreset>& presets);

// The preset of that name (case does not matter), or null.
const SizePreset* FindSizePreset(const std::vector<SizePreset>& presets, const wxString& name);
// What the window lists: "GitHub (10 MB)", "Discord-emoji (256 KB, 128 px)".
wxString SizePresetLabel(const SizePreset& preset);
// The limit as a field shows it, read back by ParseSizeLimit to the same
// bytes: "10M", "256K", "4096".
wxString ExactSizeLimitText(long long bytes);
// A limit as the window's limit field shows one that no preset has, with its
// side limit when there is one: "10M", "256K, 128 px". A project made with a
// preset the user has since deleted keeps its side limit this way.
wxString SizeLimitText(long long bytes, int maxSide);
// Reads SizeLimitText's forms (and whatever ParseSizeLimit reads, for the
// bytes); false for anything else.
bool ParseSizeLimitText(const wxString& text, long long& bytes, int& maxSide);

enum class SizePresetProblem { None, NoName, NameTaken, BadLimit, BadSide };

// Reads a preset from the texts of its fields into `preset`: a name no other
// preset has (the one at `editing` aside; presets.size() for a new one), a
// limit as ParseSizeLimit reads it, a side of whole pixels (empty or 0: none).
SizePresetProblem ReadSizePreset(const wxString& name, const wxString& limit, const wxString& side,
                                 const std::vector<SizePreset>& presets, std::size_t editing,
                                 SizePreset& preset);
