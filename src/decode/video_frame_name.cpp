#include "decode/video_frame_name.h"

#include <cmath>

namespace {
const wxString kTimeMarker = "#t=";
const wxString kRateMarker = "&fps=";

// Clips longer than this (about 11.5 days) are not named: their times would
// not survive a round trip through a double of seconds in other tools.
constexpr long long kMaxClipMs = 1000LL * 1000 * 1000;

bool IsDigits(const wxString& text)
{
    if (text.empty())
        return false;
    for (wxUniChar c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// Seconds with up to three decimals, in milliseconds.
bool ParseSeconds(const wxString& text, long long& ms)
{
    wxString whole = text;
    wxString fraction;
    const int dot = text.Find('.');
    if (dot != wxNOT_FOUND) {
        whole = text.Left(dot);
        fraction = text.Mid(dot + 1);
        if (fraction.length() > 3 || (!fraction.empty() && !IsDigits(fraction)))
            return false;
    }
    if (!IsDigits(whole) || whole.length() > 10)
        return false;
    unsigned long long seconds = 0;
    whole.ToULongLong(&seconds);
    long long thousandths = 0;
    for (size_t i = 0; i < 3; ++i)
        thousandths = thousandths * 10 + (i < fraction.length() ? fraction[i].GetValue() - '0' : 0);
    ms = static_cast<long long>(seconds) * 1000 + thousandths;
    return ms <= kMaxClipMs;
}

bool ParseRate(const wxString& text, double& fps)
{
    long long milli = 0;
    if (!ParseSeconds(text, milli) || milli == 0)
        return false;
    fps = milli / 1000.0;
    return true;
}
} // namespace

bool ParseClipTime(const wxString& text, long long& ms)
{
    long long total = 0;
    wxString rest = text;
    for (int part = 0; part < 2 && rest.Contains(":"); ++part) {
        const wxString head = rest.BeforeFirst(':');
        if (!IsDigits(head) || head.length() > 6)
            return false;
        unsigned long long value = 0;
        head.ToULongLong(&value);
        total = (total + static_cast<long long>(value)) * 60;
        rest = rest.AfterFirst(':');
    }
    long long seconds = 0;
    if (!ParseSeconds(rest, seconds) || (text.Contains(":") && seconds >= 60000))
        return false;
    ms = total * 1000 + seconds;
    return ms <= kMaxClipMs;
}

wxString FormatClipTime(long long ms)
{
    wxString text = wxString::Format("%lld", ms / 1000);
    if (ms % 1000 != 0) {
        wxString fraction = wxString::Format("%03lld", ms % 1000);
        while (fraction.EndsWith("0"))
            fraction.RemoveLast();
        text << "." << fraction;
    }
    return text;
}

bool ParseClipName(const wxString& name, ClipName& out)
{
    const size_t marker = name.rfind(kTimeMarker);
    if (marker == wxString::npos || marker == 0)
        return false;
    ClipName clip;
    clip.file = name.Left(marker);
    wxString fragment = name.Mid(marker + kTimeMarker.length());
    wxString rate;
    const size_t rateAt = fragment.find(kRateMarker);
    if (rateAt != wxString::npos) {
        rate = fragment.Mid(rateAt + kRateMarker.length());
        fragment = fragment.Left(rateAt);
        if (!ParseRate(rate, clip.fps))
            return false;
    }
    const int comma = fragment.Find(',');
    if (comma != wxNOT_FOUND) {
        if (rateAt == wxString::npos || !ParseSeconds(fragment.Mid(comma + 1), clip.toMs))
            return false;
        fragment = fragment.Left(comma);
    }
    if (!ParseSeconds(fragment, clip.fromMs) || (clip.toMs >= 0 && clip.toMs <= clip.fromMs))
        return false;
    out = clip;
    return true;
}

wxString ClipFrameName(const wxString& file, long long ms)
{
    return file + kTimeMarker + FormatClipTime(ms);
}

wxString ClipRangeName(const wxString& file, long long fromMs, long long toMs, double fps)
{
    wxString name = file + kTimeMarker + FormatClipTime(fromMs);
    if (toMs >= 0)
        name << "," << FormatClipTime(toMs);
    return name << kRateMarker << FormatClipTime(std::llround(fps * 1000));
}
