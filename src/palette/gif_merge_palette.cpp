#include "palette/gif_merge_palette.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <queue>
#include <tuple>

namespace {

// A merged-away cluster moves this far out of the colour cube, so that the
// search for partners needs no test for it: its cost with any living
// cluster is larger than any real one.
constexpr double kGone = 1e30;

// The clusters as arrays per field, which the partner search reads in one
// straight pass.
struct Clusters {
    std::vector<double> red, green, blue; // means
    std::vector<double> weight;           // pixels
    std::vector<int> partner;             // the cluster cheapest to merge with
    std::vector<double> partnerCost;      // the squared error that merge adds
    std::vector<double> costs;            // scratch: costs against one cluster
};

// Finds the cheapest partner of cluster `i` among the living clusters; ties
// go to the lowest index so that the result never depends on anything else.
void FindPartner(Clusters& c, int i)
{
    const int count = int(c.red.size());
    const double red = c.red[i], green = c.green[i], blue = c.blue[i], weight = c.weight[i];
    double* costs = c.costs.data();
    for (int j = 0; j < count; ++j) {
        const double dr = red - c.red[j], dg = green - c.green[j], db = blue - c.blue[j];
        costs[j] = weight * c.weight[j] / (weight + c.weight[j]) * (dr * dr + dg * dg + db * db);
    }
    costs[i] = std::numeric_limits<double>::infinity();
    int partner = -1;
    double best = std::numeric_limits<double>::infinity();
    for (int j = 0; j < count; ++j)
        if (costs[j] < best) {
            best = costs[j];
            partner = j;
        }
    // Only gone clusters are left: none to merge with.
    if (partner >= 0 && c.red[partner] == kGone) {
        partner = -1;
        best = std::numeric_limits<double>::infinity();
    }
    c.partner[i] = partner;
    c.partnerCost[i] = best;
}

// Keeps the living clusters alone, in their order, so that later searches
// pass over fewer; the partners follow their clusters.
void DropGone(Clusters& c, std::vector<bool>& alive)
{
    const int count = int(alive.size());
    std::vector<int> moved(count, -1);
    int living = 0;
    for (int i = 0; i < count; ++i)
        if (alive[i]) {
            moved[i] = living;
            c.red[living] = c.red[i];
            c.green[living] = c.green[i];
            c.blue[living] = c.blue[i];
            c.weight[living] = c.weight[i];
            c.partner[living] = c.partner[i];
            c.partnerCost[living] = c.partnerCost[i];
            ++living;
        }
    for (std::vector<double>* field : {&c.red, &c.green, &c.blue, &c.weight, &c.partnerCost, &c.costs})
        field->resize(living);
    c.partner.resize(living);
    for (int& partner : c.partner)
        if (partner >= 0)
            partner = moved[partner];
    alive.assign(living, true);
}

unsigned char Channel(double value)
{
    const long rounded = std::lround(value);
    return static_cast<unsigned char>(rounded < 0 ? 0 : rounded > 255 ? 255 : rounded);
}

} // namespace

std::vector<GifRgb> GifMergePalette(const std::vector<GifWeightedColour>& colours, int maxColours)
{
    int count = int(colours.size());
    Clusters c;
    for (const GifWeightedColour& colour : colours) {
        c.red.push_back(double(colour.rgb >> 16));
        c.green.push_back(double((colour.rgb >> 8) & 0xFF));
        c.blue.push_back(double(colour.rgb & 0xFF));
        c.weight.push_back(double(colour.count));
    }
    c.partner.assign(count, -1);
    c.partnerCost.assign(count, 0);
    c.costs.resize(count);
    std::vector<bool> alive(count, true);
    // The cheapest merge comes first, of equal ones the lowest cluster's;
    // entries made stale by a later search are passed over.
    using Entry = std::tuple<double, int, std::uint32_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> cheapest;
    std::vector<std::uint32_t> searches(count, 0);
    const auto search = [&](int i) {
        FindPartner(c, i);
        ++searches[i];
        if (c.partner[i] >= 0)
            cheapest.emplace(c.partnerCost[i], i, searches[i]);
    };
    for (int i = 0; i < count; ++i)
        search(i);

    for (int living = count; living > maxColours && !cheapest.empty(); --living) {
        if (2 * living <= count) {
            // Half the clusters are gone: the queue is made again for the
            // living ones, in the same order.
            DropGone(c, alive);
            count = living;
            cheapest = {};
            searches.assign(count, 0);
            for (int i = 0; i < count; ++i)
                if (c.partner[i] >= 0)
                    cheapest.emplace(c.partnerCost[i], i, searches[i]);
        }
        const auto [cost, a, made] = cheapest.top();
        cheapest.pop();
        if (!alive[a] || made != searches[a]) {
            ++living;
            continue;
        }
        const int b = c.partner[a];
        const double weight = c.weight[a] + c.weight[b];
        c.red[a] = (c.red[a] * c.weight[a] + c.red[b] * c.weight[b]) / weight;
        c.green[a] = (c.green[a] * c.weight[a] + c.green[b] * c.weight[b]) / weight;
        c.blue[a] = (c.blue[a] * c.weight[a] + c.blue[b] * c.weight[b]) / weight;
        c.weight[a] = weight;
        alive[b] = false;
        c.red[b] = c.green[b] = c.blue[b] = kGone;
        // Ward's costs are reducible: after the cheapest merge no cluster
        // finds the merged one cheaper than its partner, so only the merged
        // cluster and those whose partner was a or b search again.
        for (int i = 0; i < count; ++i)
            if (alive[i] && (i == a || c.partner[i] == a || c.partner[i] == b))
                search(i);
    }

    std::vector<GifRgb> palette;
    for (int i = 0; i < count; ++i)
        if (alive[i])
            palette.push_back({Channel(c.red[i]), Channel(c.green[i]), Channel(c.blue[i])});
    return palette;
}
