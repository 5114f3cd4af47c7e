#include "sizing/gif_fit_summary.h"

#include <wx/intl.h>

wxString GifFitSummary(const GifEncodeSettings& asked, const GifFitResult& result, std::size_t count)
{
    wxArrayString changes;
    if (result.step.quality != asked.quality)
        // TRANSLATORS: what fitting under a size limit changed, e.g. "quality 62"
        changes.Add(wxString::Format(_("quality %d"), result.step.quality));
    if (result.step.width != asked.width || result.step.height != asked.height)
        changes.Add(wxString::Format("%dx%d", result.step.width, result.step.height));
    if (result.frameCount != count)
        // TRANSLATORS: frames kept after fitting under a size limit, e.g. "24 of 48 frames"
        changes.Add(wxString::Format(_("%zu of %zu frames"), result.frameCount, count));
    if (changes.empty())
        return _("nothing changed");
    wxString summary = changes[0];
    for (size_t i = 1; i < changes.size(); ++i)
        summary += ", " + changes[i];
    return summary;
}
