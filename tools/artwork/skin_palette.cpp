#include "skin_palette.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace skinart {

namespace {

uint32_t Key(Rgba c)
{
    return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}

Rgba FromKey(uint32_t key)
{
    return Rgba{uint8_t(key >> 16), uint8_t(key >> 8), uint8_t(key), 255};
}

int Channel(uint32_t key, int channel)
{
    return int(key >> (16 - 8 * channel)) & 0xFF;
}

struct Entry {
    uint32_t colour;
    uint32_t count;
};

// A box of the median cut: a run of the entries vector.
struct Box {
    size_t begin, end;
};

int WidestChannel(const std::vector<Entry>& entries, Box box, int& range)
{
    int best = 0;
    range = -1;
    for (int channel = 0; channel < 3; ++channel) {
        int lo = 255, hi = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            lo = std::min(lo, Channel(entries[i].colour, channel));
            hi = std::max(hi, Channel(entries[i].colour, channel));
        }
        if (hi - lo > range) {
            range = hi - lo;
            best = channel;
        }
    }
    return best;
}

Rgba Average(const std::vector<Entry>& entries, Box box)
{
    uint64_t sum[3] = {0, 0, 0};
    uint64_t total = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
        for (int channel = 0; channel < 3; ++channel)
            sum[channel] += uint64_t(Channel(entries[i].colour, channel)) * entries[i].count;
        total += entries[i].count;
    }
    Rgba c;
    c.r = uint8_t((sum[0] + total / 2) / total);
    c.g = uint8_t((sum[1] + total / 2) / total);
    c.b = uint8_t((sum[2] + total / 2) / total);
    return c;
}

std::vector<Rgba> MedianCut(std::vector<Entry> entries, int boxes)
{
    std::vector<Box> cut{{0, entries.size()}};
    while (int(cut.size()) < boxes) {
        // Split the box with the widest channel range (the first such box).
        int bestRange = 0;
        size_t bestBox = 0;
        int bestChannel = 0;
        for (size_t b = 0; b < cut.size(); ++b) {
            if (cut[b].end - cut[b].begin < 2)
                continue;
            int range = 0;
            const int channel = WidestChannel(entries, cut[b], range);
            if (range > bestRange) {
                bestRange = range;
                bestBox = b;
                bestChannel = channel;
            }
        }
        if (bestRange == 0)
            break;
        const Box box = cut[bestBox];
        std::sort(entries.begin() + box.begin, entries.begin() + box.end,
                  [bestChannel](const Entry& x, const Entry& y) {
                      const int cx = Channel(x.colour, bestChannel);
                      const int cy = Channel(y.colour, bestChannel);
                      return cx != cy ? cx < cy : x.colour < y.colour;
                  });
        uint64_t total = 0;
        for (size_t i = box.begin; i < box.end; ++i)
            total += entries[i].count;
        uint64_t running = 0;
        size_t split = box.begin + 1;
        for (size_t i = box.begin; i < box.end - 1; ++i) {
            running += entries[i].count;
            split = i + 1;
            if (2 * running >= total)
                break;
        }
        cut[bestBox] = {box.begin, split};
        cut.push_back({split, box.end});
    }
    std::vector<Rgba> palette;
    for (const Box& box : cut)
        palette.push_back(Average(entries, box));
    return palette;
}

int Distance(Rgba x, Rgba y)
{
    const int dr = x.r - y.r, dg = x.g - y.g, db = x.b - y.b;
    return dr * dr + dg * dg + db * db;
}

} // namespace

IndexedImage Reduce(const Image& image, int maxColours, const std::vector<Rgba>& pinnedList)
{
    std::map<uint32_t, uint32_t> histogram;
    for (const Rgba& p : image.pixels)
        ++histogram[Key(p)];

    std::vector<uint32_t> pinned; // only those the picture uses, in list order
    for (const Rgba& c : pinnedList)
        if (histogram.count(Key(c)) && std::find(pinned.begin(), pinned.end(), Key(c)) == pinned.end())
            pinned.push_back(Key(c));
    if (int(pinned.size()) > maxColours)
        throw std::runtime_error("more pinned colours than the palette holds");

    std::vector<Rgba> palette;
    std::map<uint32_t, uint8_t> exact; // colour -> palette index
    if (int(histogram.size()) <= maxColours) {
        for (uint32_t p : pinned) {
            exact[p] = uint8_t(palette.size());
            palette.push_back(FromKey(p));
        }
        for (const auto& [colour, count] : histogram)
            if (!exact.count(colour)) {
                exact[colour] = uint8_t(palette.size());
                palette.push_back(FromKey(colour));
            }
    } else {
        if (int(pinned.size()) >= maxColours)
            throw std::runtime_error("the pinned colours leave no room in the palette");
        std::vector<Entry> rest;
        for (const auto& [colour, count] : histogram)
            if (std::find(pinned.begin(), pinned.end(), colour) == pinned.end())
                rest.push_back({colour, count});
        for (uint32_t p : pinned) {
            exact[p] = uint8_t(palette.size());
            palette.push_back(FromKey(p));
        }
        for (const Rgba& c : MedianCut(rest, maxColours - int(pinned.size()))) {
            // An average that happens to equal a pinned colour is nudged off it.
            Rgba entry = c;
            while (exact.count(Key(entry)) || std::any_of(palette.begin() + pinned.size(), palette.end(),
                                                          [&](Rgba q) { return SameColour(q, entry); }))
                entry.b = uint8_t(entry.b ^ 1);
            palette.push_back(entry);
        }
    }

    IndexedImage out;
    out.width = image.width;
    out.height = image.height;
    out.palette = palette;
    out.indices.reserve(image.pixels.size());
    std::map<uint32_t, uint8_t> nearest = exact;
    for (const Rgba& p : image.pixels) {
        const uint32_t key = Key(p);
        auto found = nearest.find(key);
        if (found == nearest.end()) {
            size_t best = pinned.size();
            for (size_t i = pinned.size(); i < palette.size(); ++i)
                if (Distance(palette[i], p) < Distance(palette[best], p))
                    best = i;
            found = nearest.emplace(key, uint8_t(best)).first;
        }
        out.indices.push_back(found->second);
    }
    return out;
}

} // namespace skinart
