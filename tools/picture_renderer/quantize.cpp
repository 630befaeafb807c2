#include "quantize.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace picture_renderer {
namespace {

constexpr float kKeep = 0.85f;   // dither damping: an error does not crawl far
constexpr float kLimit = 0.04f;  // at most a few shades of correction per pixel

// Oklab: distances in it follow what the eye sees, so clusters and dither errors do too.
struct Lab {
    float l = 0, a = 0, b = 0;
    Lab operator+(const Lab& o) const { return {l + o.l, a + o.a, b + o.b}; }
    Lab operator-(const Lab& o) const { return {l - o.l, a - o.a, b - o.b}; }
    Lab operator*(float k) const { return {l * k, a * k, b * k}; }
};

float distance2(const Lab& x, const Lab& y)
{
    const float dl = x.l - y.l, da = x.a - y.a, db = x.b - y.b;
    return dl * dl + da * da + db * db;
}

const std::array<float, 256>& linearTable()
{
    static const std::array<float, 256> table = [] {
        std::array<float, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t[static_cast<std::size_t>(i)] = static_cast<float>(c <= 0.04045 ? c / 12.92
                                                                             : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return t;
    }();
    return table;
}

Lab toLab(Rgb c)
{
    const auto& lin = linearTable();
    const double r = lin[c.r], g = lin[c.g], b = lin[c.b];
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {static_cast<float>(0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s),
            static_cast<float>(1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s),
            static_cast<float>(0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s)};
}

std::uint8_t toByte(double linear)
{
    linear = std::clamp(linear, 0.0, 1.0);
    const double c = linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return static_cast<std::uint8_t>(std::lround(std::clamp(c, 0.0, 1.0) * 255));
}

Rgb toRgb(const Lab& c)
{
    const double l = std::pow(c.l + 0.3963377774 * c.a + 0.2158037573 * c.b, 3);
    const double m = std::pow(c.l - 0.1055613458 * c.a - 0.0638541728 * c.b, 3);
    const double s = std::pow(c.l - 0.0894841775 * c.a - 1.2914855480 * c.b, 3);
    return {toByte(4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s),
            toByte(-1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s),
            toByte(-0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s)};
}

std::uint32_t key(Rgb c)
{
    return (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
}
Rgb fromKey(std::uint32_t k)
{
    return {static_cast<std::uint8_t>(k >> 16), static_cast<std::uint8_t>(k >> 8), static_cast<std::uint8_t>(k)};
}

struct Colour {
    std::uint32_t rgb = 0;
    std::uint32_t count = 0;
    Lab lab;
    float weight = 0;  // sqrt(count): a small eye counts for more than its share of pixels
};

int nearest(const std::vector<Lab>& palette, const Lab& c)
{
    int best = 0;
    float bestDistance = std::numeric_limits<float>::max();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const float d = distance2(palette[i], c);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

Lab weightedMean(const std::vector<const Colour*>& members)
{
    double l = 0, a = 0, b = 0, w = 0;
    for (const Colour* c : members) {
        l += c->lab.l * c->weight;
        a += c->lab.a * c->weight;
        b += c->lab.b * c->weight;
        w += c->weight;
    }
    return {static_cast<float>(l / w), static_cast<float>(a / w), static_cast<float>(b / w)};
}

// Median cut: split the box with the largest weighted error along its widest axis.
std::vector<Lab> medianCut(const std::vector<const Colour*>& colours, int boxes)
{
    struct Box {
        std::vector<const Colour*> members;
        double error = 0;
    };
    auto measure = [](Box& box) {
        const Lab mean = weightedMean(box.members);
        box.error = 0;
        for (const Colour* c : box.members)
            box.error += c->weight * distance2(c->lab, mean);
    };
    std::vector<Box> all{{colours, 0}};
    measure(all[0]);
    while (static_cast<int>(all.size()) < boxes) {
        auto widest = std::max_element(all.begin(), all.end(), [](const Box& x, const Box& y) {
            const double ex = x.members.size() > 1 ? x.error : -1, ey = y.members.size() > 1 ? y.error : -1;
            return ex < ey;
        });
        if (widest->members.size() < 2 || widest->error <= 0)
            break;
        Box& box = *widest;
        const Lab mean = weightedMean(box.members);
        std::array<double, 3> spread{};
        for (const Colour* c : box.members) {
            const Lab d = c->lab - mean;
            spread[0] += c->weight * d.l * d.l;
            spread[1] += c->weight * d.a * d.a;
            spread[2] += c->weight * d.b * d.b;
        }
        const int axis = static_cast<int>(std::max_element(spread.begin(), spread.end()) - spread.begin());
        auto along = [axis](const Colour* c) { return axis == 0 ? c->lab.l : axis == 1 ? c->lab.a : c->lab.b; };
        std::sort(box.members.begin(), box.members.end(), [&](const Colour* x, const Colour* y) {
            return along(x) != along(y) ? along(x) < along(y) : x->rgb < y->rgb;
        });
        double total = 0;
        for (const Colour* c : box.members)
            total += c->weight;
        double run = 0;
        std::size_t cut = 1;
        for (; cut < box.members.size() - 1; ++cut) {
            run += box.members[cut - 1]->weight;
            if (run >= total / 2)
                break;
        }
        Box upper{std::vector<const Colour*>(box.members.begin() + static_cast<std::ptrdiff_t>(cut), box.members.end()),
                  0};
        box.members.resize(cut);
        measure(box);
        measure(upper);
        all.push_back(std::move(upper));
    }
    std::vector<Lab> centres;
    for (const Box& box : all)
        centres.push_back(weightedMean(box.members));
    return centres;
}

std::vector<Rgb> choosePalette(const std::vector<Colour>& colours, int maxColours, std::uint64_t totalPixels)
{
    std::vector<Rgb> palette;
    if (static_cast<int>(colours.size()) <= maxColours) {
        for (const Colour& c : colours)
            palette.push_back(fromKey(c.rgb));
        return palette;
    }
    // Colours covering an area keep their exact value; `colours` is sorted by count.
    const int pinBudget = std::max(1, maxColours / 2);
    const std::uint64_t pinMinimum = std::max<std::uint64_t>(3, totalPixels / 1000);
    std::size_t pinned = 0;
    while (pinned < colours.size() && static_cast<int>(pinned) < pinBudget && colours[pinned].count >= pinMinimum) {
        palette.push_back(fromKey(colours[pinned].rgb));
        ++pinned;
    }
    std::vector<const Colour*> rest;
    for (std::size_t i = pinned; i < colours.size(); ++i)
        rest.push_back(&colours[i]);
    const int free = maxColours - static_cast<int>(pinned);
    if (static_cast<int>(rest.size()) <= free) {
        for (const Colour* c : rest)
            palette.push_back(fromKey(c->rgb));
        return palette;
    }

    std::vector<Lab> fixed;
    for (const Rgb& c : palette)
        fixed.push_back(toLab(c));
    std::vector<Lab> centres = medianCut(rest, free);

    // A few rounds of k-means on the remaining colours, the exact ones held in place.
    for (int round = 0; round < 8; ++round) {
        std::vector<Lab> all = fixed;
        all.insert(all.end(), centres.begin(), centres.end());
        std::vector<std::vector<const Colour*>> members(centres.size());
        for (const Colour* c : rest) {
            const int at = nearest(all, c->lab) - static_cast<int>(fixed.size());
            if (at >= 0)
                members[static_cast<std::size_t>(at)].push_back(c);
        }
        bool moved = false;
        for (std::size_t i = 0; i < centres.size(); ++i) {
            if (members[i].empty())
                continue;
            const Lab mean = weightedMean(members[i]);
            if (distance2(mean, centres[i]) > 1e-10f)
                moved = true;
            centres[i] = mean;
        }
        if (!moved)
            break;
    }
    for (const Lab& c : centres)
        palette.push_back(toRgb(c));
    return palette;
}

}  // namespace

IndexedPicture quantize(const Picture& picture, int maxColours, Rgb transparentColour)
{
    IndexedPicture out{picture.width, picture.height, {}, std::vector<std::uint8_t>(picture.pixels.size(), 0), -1};
    const bool hasTransparent = picture.hasTransparentPixels();
    const int colourSlots = maxColours - (hasTransparent ? 1 : 0);

    std::unordered_map<std::uint32_t, std::uint32_t> histogram;
    std::uint64_t opaquePixels = 0;
    for (const Rgba& p : picture.pixels) {
        if (p.a == 0)
            continue;
        ++histogram[key(Rgb{p.r, p.g, p.b})];
        ++opaquePixels;
    }
    std::vector<Colour> colours;
    colours.reserve(histogram.size());
    for (const auto& [rgb, count] : histogram) {
        colours.push_back({rgb, count, toLab(fromKey(rgb)), std::sqrt(static_cast<float>(count))});
    }
    std::sort(colours.begin(), colours.end(),
              [](const Colour& x, const Colour& y) { return x.count != y.count ? x.count > y.count : x.rgb < y.rgb; });

    out.palette = choosePalette(colours, colourSlots, opaquePixels);
    std::vector<Lab> paletteLab;
    std::unordered_map<std::uint32_t, int> exact;
    for (std::size_t i = 0; i < out.palette.size(); ++i) {
        paletteLab.push_back(toLab(out.palette[i]));
        exact.emplace(key(out.palette[i]), static_cast<int>(i));
    }
    if (hasTransparent) {
        out.transparentIndex = static_cast<int>(out.palette.size());
        out.palette.push_back(transparentColour);
    }

    // Serpentine Floyd-Steinberg, only through pixels that have no exact entry; an exact
    // pixel takes its own colour and swallows the error that reaches it.
    const int w = picture.width;
    std::vector<Lab> errorRow(static_cast<std::size_t>(w) + 2), nextRow(static_cast<std::size_t>(w) + 2);
    auto clampLab = [](Lab c) {
        return Lab{std::clamp(c.l, -kLimit, kLimit), std::clamp(c.a, -kLimit, kLimit),
                   std::clamp(c.b, -kLimit, kLimit)};
    };
    for (int y = 0; y < picture.height; ++y) {
        std::fill(nextRow.begin(), nextRow.end(), Lab{});
        const int step = (y % 2 == 0) ? 1 : -1;
        for (int i = 0; i < w; ++i) {
            const int x = step > 0 ? i : w - 1 - i;
            const std::size_t at = static_cast<std::size_t>(y) * w + x;
            const Rgba& p = picture.pixels[at];
            if (p.a == 0) {
                out.indices[at] = static_cast<std::uint8_t>(out.transparentIndex);
                continue;
            }
            const Rgb rgb{p.r, p.g, p.b};
            if (auto hit = exact.find(key(rgb)); hit != exact.end()) {
                out.indices[at] = static_cast<std::uint8_t>(hit->second);
                continue;
            }
            // The error rows carry one spare column on each side.
            const std::size_t col = static_cast<std::size_t>(x) + 1;
            const int aheadColumn = x + 1 + step, behindColumn = x + 1 - step;
            const std::size_t ahead = static_cast<std::size_t>(aheadColumn);
            const std::size_t behind = static_cast<std::size_t>(behindColumn);
            const Lab wanted = toLab(rgb) + clampLab(errorRow[col]);
            const int index = nearest(paletteLab, wanted);
            out.indices[at] = static_cast<std::uint8_t>(index);
            const Lab error = (wanted - paletteLab[static_cast<std::size_t>(index)]) * kKeep;
            errorRow[ahead] = errorRow[ahead] + error * (7.0f / 16);
            nextRow[behind] = nextRow[behind] + error * (3.0f / 16);
            nextRow[col] = nextRow[col] + error * (5.0f / 16);
            nextRow[ahead] = nextRow[ahead] + error * (1.0f / 16);
        }
        std::swap(errorRow, nextRow);
    }
    return out;
}

}  // namespace picture_renderer
