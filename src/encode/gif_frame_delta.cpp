#include "encode/gif_frame_delta.h"

#include "palette/gif_colour_index.h"
#include "palette/gif_same_pixels.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

bool SameRgb(const GifRgb& colour, const std::uint8_t* rgb)
{
    return colour.red == rgb[0] && colour.green == rgb[1] && colour.blue == rgb[2];
}

bool Changed(const std::uint8_t* source, const std::uint8_t* reference, int threshold)
{
    if (threshold == 0)
        return std::memcmp(source, reference, 3) != 0;
    for (int c = 0; c < 3; ++c)
        if (std::abs(int(source[c]) - int(reference[c])) > threshold)
            return true;
    return false;
}

void Put(std::uint8_t* rgb, const GifRgb& colour)
{
    rgb[0] = colour.red;
    rgb[1] = colour.green;
    rgb[2] = colour.blue;
}

GifFramePlan PlanFirst(const std::uint8_t* source, GifIndexedFrame& reduced, GifShownPicture& picture,
                       bool keepShown, bool deferShown)
{
    GifFramePlan plan;
    plan.width = reduced.width;
    plan.height = reduced.height;
    plan.localTable = reduced.palette;
    if (!deferShown && keepShown) {
        const std::size_t pixels = reduced.indices.size();
        picture.shown.resize(pixels * 3);
        for (std::size_t p = 0; p < pixels; ++p)
            Put(&picture.shown[p * 3], reduced.palette[reduced.indices[p]]);
        picture.reference.assign(source, source + pixels * 3);
        picture.globalTable = reduced.palette;
    }
    plan.localIndices = std::move(reduced.indices);
    return plan;
}

// One way of writing the rectangle: a table, the index of each reduced
// colour in it (-1 when missing), and its transparent index.
struct Candidate {
    const std::vector<GifRgb>* table = nullptr;
    std::vector<int> indexOf;
    int mask = -1;
    std::vector<std::uint8_t>* out = nullptr;
    int last = -1; // the index written before, in this row
    // The index of the colour most kept pixels show (-1 for none), and the
    // indices with every kept pixel of that colour written with it.
    int background = -1;
    std::vector<std::uint8_t> withBackground;
    // Runs of one index in either way of writing, as the stream goes.
    std::size_t runs = 0;
    std::size_t backgroundRuns = 0;
    int previous = -1;
    int backgroundPrevious = -1;
};

// A majority vote (Boyer-Moore) among the colours kept pixels show, in one
// pass with the search for the rectangle: a colour that more than 5/8 of
// them show ends the vote with at least a quarter of them as votes.
class BackgroundVote {
public:
    void Add(const std::uint8_t* rgb)
    {
        ++m_kept;
        if (m_votes == 0)
            m_colour = {rgb[0], rgb[1], rgb[2]};
        if (SameRgb(m_colour, rgb))
            ++m_votes;
        else
            --m_votes;
    }

    // Add for `count` pixels of one colour at once.
    void AddSame(const std::uint8_t* rgb, std::size_t count)
    {
        m_kept += count;
        if (m_votes == 0 || SameRgb(m_colour, rgb)) {
            if (m_votes == 0)
                m_colour = {rgb[0], rgb[1], rgb[2]};
            m_votes += count;
        } else if (count <= m_votes) {
            m_votes -= count;
        } else {
            // The votes run out and the colour takes over with what is left.
            m_colour = {rgb[0], rgb[1], rgb[2]};
            m_votes = count - m_votes;
        }
    }

    // Add for each of `count` pixels, run by run of one colour.
    void AddAll(const std::uint8_t* rgb, std::size_t count);

    // The colour most kept pixels show, when it is clearly most.
    bool Clear(GifRgb& colour) const
    {
        colour = m_colour;
        return m_kept > 0 && m_votes * 4 >= m_kept;
    }

private:
    GifRgb m_colour{0, 0, 0};
    std::size_t m_votes = 0;
    std::size_t m_kept = 0;
};

void BackgroundVote::AddAll(const std::uint8_t* rgb, std::size_t count)
{
    for (std::size_t i = 0; i < count;) {
        // A run is as long as each pixel is the one before it.
        const std::size_t run = 1 + GifSamePixels(rgb + (i + 1) * 3, rgb + i * 3, count - i - 1);
        AddSame(rgb + i * 3, run);
        i += run;
    }
}

// The first index of a table with `slots` entries that no changed pixel uses.
int FreeIndex(const std::vector<bool>& used, int slots)
{
    for (int i = 0; i < slots; ++i)
        if (!used[i])
            return i;
    return -1;
}

} // namespace

GifFramePlan PlanGifFrame(const std::uint8_t* source, GifIndexedFrame& reduced, GifShownPicture& picture,
                          bool first, bool keepShown, int changeThreshold, bool deferShown)
{
    if (first)
        return PlanFirst(source, reduced, picture, keepShown, deferShown);

    const int width = reduced.width;
    const int height = reduced.height;
    const std::vector<GifRgb>& palette = reduced.palette;
    const std::uint8_t* indices = reduced.indices.data();
    std::uint8_t* shown = picture.shown.data();
    std::uint8_t* reference = picture.reference.data();

    // Pass 1: the rectangle of pixels whose shown colour changes, and the
    // palette entries they use.
    int left = width, right = -1, top = height, bottom = -1;
    std::size_t changing = 0;
    std::vector<bool> paletteUsed(palette.size(), false);
    // Per pixel, 1 where its shown colour changes: pass 2 then need not
    // compare again (the references it set here then match their sources).
    std::vector<std::uint8_t> shownChanges(std::size_t(width) * height, 0);
    BackgroundVote vote;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t p = std::size_t(y) * width + x;
            // Stretches whose source is exactly the reference (most of a
            // screen recording) are kept whole.
            if (std::memcmp(source + p * 3, reference + p * 3, 3) == 0) {
                const std::size_t same = GifSamePixels(source + p * 3, reference + p * 3, std::size_t(width - x));
                vote.AddAll(shown + p * 3, same);
                x += int(same) - 1;
                continue;
            }
            if (!Changed(source + p * 3, reference + p * 3, changeThreshold)) {
                vote.Add(shown + p * 3);
                continue;
            }
            if (SameRgb(palette[indices[p]], shown + p * 3)) {
                // What is shown now stands for the new source.
                std::memcpy(reference + p * 3, source + p * 3, 3);
                vote.Add(shown + p * 3);
                continue;
            }
            ++changing;
            shownChanges[p] = 1;
            paletteUsed[indices[p]] = true;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }

    GifFramePlan plan;
    if (right < 0) {
        // Nothing to show: one transparent pixel carries the frame's delay.
        left = top = right = bottom = 0;
    }
    plan.left = left;
    plan.top = top;
    plan.width = right - left + 1;
    plan.height = bottom - top + 1;
    const std::size_t area = std::size_t(plan.width) * plan.height;
    const bool needMask = changing < area;

    // The local table holds the colours used, in palette order.
    Candidate local;
    local.table = &plan.localTable;
    local.out = &plan.localIndices;
    local.indexOf.assign(palette.size(), -1);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if (paletteUsed[i]) {
            local.indexOf[i] = int(plan.localTable.size());
            plan.localTable.push_back(palette[i]);
        }
    }
    if (needMask && plan.localTable.size() < std::size_t(kGifMaxColours)) {
        local.mask = int(plan.localTable.size());
        plan.localTable.push_back({0, 0, 0});
    }
    if (plan.localTable.empty())
        plan.localTable.push_back({0, 0, 0});

    // The global table serves when it has every colour used, and a spare
    // index for transparency when the rectangle needs one.
    Candidate global;
    global.table = &picture.globalTable;
    global.out = &plan.globalIndices;
    {
        const std::vector<GifRgb>& table = picture.globalTable;
        const GifColourIndex lookup(table.data(), int(table.size()));
        const int slots = 1 << GifBitsPerPixel(int(table.size()));
        std::vector<bool> used(slots, false);
        plan.hasGlobal = true;
        global.indexOf.assign(palette.size(), -1);
        for (std::size_t i = 0; i < palette.size() && plan.hasGlobal; ++i) {
            if (!paletteUsed[i])
                continue;
            global.indexOf[i] = lookup.Find(palette[i].red, palette[i].green, palette[i].blue);
            plan.hasGlobal = global.indexOf[i] >= 0;
            if (plan.hasGlobal)
                used[global.indexOf[i]] = true;
        }
        if (plan.hasGlobal && needMask) {
            global.mask = FreeIndex(used, slots);
            plan.hasGlobal = global.mask >= 0;
        }
    }
    // Without a spare index in either table, kept pixels are written with
    // the frame's own colour where theirs is missing: they then show that.
    const bool localFallback = needMask && local.mask < 0 && !plan.hasGlobal;
    const bool useLocal = !(needMask && local.mask < 0 && plan.hasGlobal);
    plan.localMask = local.mask;
    plan.globalMask = global.mask;
    std::vector<Candidate*> candidates;
    if (useLocal)
        candidates.push_back(&local);
    if (plan.hasGlobal)
        candidates.push_back(&global);
    if (!useLocal)
        plan.localTable.clear();
    for (Candidate* candidate : candidates)
        candidate->out->resize(area);
    plan.flags.resize(area);
    plan.under.resize(area * 3);
    const GifColourIndex localLookup(plan.localTable.data(), int(plan.localTable.size()));
    // Kept pixels that show the frame's background colour may be written
    // with its index where the table has it: with the changed pixels of that
    // colour (a pointer moving off it) they then make one run instead of two
    // interleaved ones. Over kept content of other colours (older text) the
    // transparent index makes the longer runs; the way with fewer runs is kept.
    GifRgb background;
    if (needMask && vote.Clear(background)) {
        local.background = localLookup.Find(background.red, background.green, background.blue);
        if (plan.hasGlobal)
            global.background = GifColourIndex(picture.globalTable.data(), int(picture.globalTable.size()))
                                    .Find(background.red, background.green, background.blue);
    }
    for (Candidate* candidate : candidates) {
        if (candidate->mask < 0)
            candidate->background = -1;
        if (candidate->background >= 0)
            candidate->withBackground.resize(area);
    }

    // Pass 2: the indices of the rectangle; the shown picture follows.
    std::size_t at = 0;
    for (int y = plan.top; y < plan.top + plan.height; ++y) {
        for (Candidate* candidate : candidates)
            candidate->last = -1;
        for (int x = plan.left; x < plan.left + plan.width; ++x, ++at) {
            const std::size_t p = std::size_t(y) * width + x;
            std::uint8_t* now = shown + p * 3;
            const bool changes = shownChanges[p] != 0;
            const int wanted = indices[p];
            bool fallback = false;
            for (Candidate* candidate : candidates) {
                int index;
                if (changes) {
                    index = candidate->indexOf[wanted];
                } else if (candidate->last >= 0 && candidate->last != candidate->mask &&
                           SameRgb((*candidate->table)[candidate->last], now)) {
                    index = candidate->last;
                } else if (candidate->mask >= 0) {
                    index = candidate->mask;
                } else {
                    // Only the local table without spare index gets here.
                    index = localLookup.Find(now[0], now[1], now[2]);
                    if (index < 0) {
                        index = candidate->indexOf[wanted];
                        fallback = localFallback;
                    }
                }
                (*candidate->out)[at] = static_cast<std::uint8_t>(index);
                candidate->last = index;
                if (candidate->background < 0)
                    continue;
                const int other =
                    !changes && SameRgb((*candidate->table)[candidate->background], now) ? candidate->background
                                                                                        : index;
                candidate->withBackground[at] = static_cast<std::uint8_t>(other);
                candidate->runs += index != candidate->previous;
                candidate->backgroundRuns += other != candidate->backgroundPrevious;
                candidate->previous = index;
                candidate->backgroundPrevious = other;
            }
            plan.flags[at] = std::uint8_t((changes ? kGifPixelLoose : 0) |
                                          (changes || fallback ? kGifPixelTakesSource : 0));
            std::memcpy(&plan.under[at * 3], now, 3);
            if (deferShown)
                continue;
            if (changes || fallback)
                Put(now, palette[wanted]);
            if (changes || fallback)
                std::memcpy(reference + p * 3, source + p * 3, 3);
        }
    }
    for (Candidate* candidate : candidates)
        if (candidate->background >= 0 && candidate->backgroundRuns < candidate->runs)
            candidate->out->swap(candidate->withBackground);
    if (!keepShown && !deferShown) {
        picture.shown.clear();
        picture.reference.clear();
    }
    return plan;
}

void GifApplyFramePlan(const GifFramePlan& plan, const std::uint8_t* indices, const std::vector<GifRgb>& table,
                       int mask, const std::uint8_t* source, int width, GifShownPicture& picture, bool first,
                       bool keepShown)
{
    if (first) {
        picture.globalTable = table;
        if (keepShown) {
            picture.shown.resize(std::size_t(plan.width) * plan.height * 3);
            picture.reference.assign(source, source + picture.shown.size());
        }
    }
    if (!keepShown) {
        picture.shown.clear();
        picture.reference.clear();
        return;
    }
    std::size_t at = 0;
    for (int y = plan.top; y < plan.top + plan.height; ++y) {
        for (int x = plan.left; x < plan.left + plan.width; ++x, ++at) {
            const std::size_t p = (std::size_t(y) * width + x) * 3;
            if (indices[at] != mask)
                Put(&picture.shown[p], table[indices[at]]);
            if (!first && (plan.flags[at] & kGifPixelTakesSource))
                std::memcpy(&picture.reference[p], source + p, 3);
        }
    }
}
