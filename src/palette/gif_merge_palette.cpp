#include "palette/gif_merge_palette.h"

#include <cmath>
#include <limits>

namespace {

struct Cluster {
    double red, green, blue; // mean
    double weight;           // pixels
    bool alive;
    int partner;        // the cluster cheapest to merge with
    double partnerCost; // the squared error that merge adds
};

double MergeCost(const Cluster& a, const Cluster& b)
{
    const double dr = a.red - b.red, dg = a.green - b.green, db = a.blue - b.blue;
    return a.weight * b.weight / (a.weight + b.weight) * (dr * dr + dg * dg + db * db);
}

// Finds the cheapest partner of cluster `i` among the living clusters; ties
// go to the lowest index so that the result never depends on anything else.
void FindPartner(std::vector<Cluster>& clusters, int i)
{
    Cluster& c = clusters[i];
    c.partner = -1;
    c.partnerCost = std::numeric_limits<double>::infinity();
    for (int j = 0; j < int(clusters.size()); ++j) {
        if (j == i || !clusters[j].alive)
            continue;
        const double cost = MergeCost(c, clusters[j]);
        if (cost < c.partnerCost) {
            c.partnerCost = cost;
            c.partner = j;
        }
    }
}

unsigned char Channel(double value)
{
    const long rounded = std::lround(value);
    return static_cast<unsigned char>(rounded < 0 ? 0 : rounded > 255 ? 255 : rounded);
}

} // namespace

std::vector<GifRgb> GifMergePalette(const std::vector<GifWeightedColour>& colours, int maxColours)
{
    std::vector<Cluster> clusters;
    clusters.reserve(colours.size());
    for (const GifWeightedColour& colour : colours)
        clusters.push_back({double(colour.rgb >> 16), double((colour.rgb >> 8) & 0xFF),
                            double(colour.rgb & 0xFF), double(colour.count), true, -1, 0});
    for (int i = 0; i < int(clusters.size()); ++i)
        FindPartner(clusters, i);

    for (int living = int(clusters.size()); living > maxColours; --living) {
        int a = -1;
        for (int i = 0; i < int(clusters.size()); ++i)
            if (clusters[i].alive && clusters[i].partner >= 0 &&
                (a < 0 || clusters[i].partnerCost < clusters[a].partnerCost))
                a = i;
        const int b = clusters[a].partner;
        Cluster& keep = clusters[a];
        const Cluster& gone = clusters[b];
        const double weight = keep.weight + gone.weight;
        keep.red = (keep.red * keep.weight + gone.red * gone.weight) / weight;
        keep.green = (keep.green * keep.weight + gone.green * gone.weight) / weight;
        keep.blue = (keep.blue * keep.weight + gone.blue * gone.weight) / weight;
        keep.weight = weight;
        clusters[b].alive = false;
        // Ward's costs are reducible: after the cheapest merge no cluster
        // finds the merged one cheaper than its partner, so only the merged
        // cluster and those whose partner was a or b search again.
        for (int i = 0; i < int(clusters.size()); ++i)
            if (clusters[i].alive && (i == a || clusters[i].partner == a || clusters[i].partner == b))
                FindPartner(clusters, i);
    }

    std::vector<GifRgb> palette;
    for (const Cluster& c : clusters)
        if (c.alive)
            palette.push_back({Channel(c.red), Channel(c.green), Channel(c.blue)});
    return palette;
}
