// Median-cut palette for 8-bit icon images.
#include "palette.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>

namespace dilmora::artgen {

namespace {

constexpr int kVisibleEntries = 255; // entry 0 stays black for masked pixels

struct WeightedColour {
    std::array<int, 3> rgb;
    int count;
};

using Box = std::vector<WeightedColour>;

int channelRange(const Box& box, int channel)
{
    int low = 255;
    int high = 0;
    for (const WeightedColour& colour : box) {
        low = std::min(low, colour.rgb[channel]);
        high = std::max(high, colour.rgb[channel]);
    }
    return high - low;
}

QRgb average(const Box& box)
{
    std::array<long long, 3> sum{};
    long long total = 0;
    for (const WeightedColour& colour : box) {
        for (int channel = 0; channel < 3; ++channel)
            sum[channel] += static_cast<long long>(colour.rgb[channel]) * colour.count;
        total += colour.count;
    }
    auto mean = [&](int channel) { return int((sum[channel] + total / 2) / total); };
    return qRgb(mean(0), mean(1), mean(2));
}

// Splits boxes at the weighted median of their widest channel until there are
// enough boxes, always taking the box with the widest channel (first one on ties).
std::vector<QRgb> medianCut(Box colours)
{
    std::vector<Box> boxes{std::move(colours)};
    while (int(boxes.size()) < kVisibleEntries) {
        int widest = -1;
        int widestRange = 0;
        int widestChannel = 0;
        for (int i = 0; i < int(boxes.size()); ++i) {
            if (boxes[i].size() < 2)
                continue;
            for (int channel = 0; channel < 3; ++channel) {
                const int range = channelRange(boxes[i], channel);
                if (range > widestRange) {
                    widest = i;
                    widestRange = range;
                    widestChannel = channel;
                }
            }
        }
        if (widest < 0)
            break;

        Box& box = boxes[widest];
        std::stable_sort(box.begin(), box.end(),
                         [&](const WeightedColour& a, const WeightedColour& b) {
                             return a.rgb[widestChannel] < b.rgb[widestChannel];
                         });
        long long total = 0;
        for (const WeightedColour& colour : box)
            total += colour.count;
        long long running = 0;
        std::size_t cut = 1;
        for (; cut < box.size(); ++cut) {
            running += box[cut - 1].count;
            if (2 * running >= total)
                break;
        }
        cut = std::clamp<std::size_t>(cut, 1, box.size() - 1);
        Box upper(box.begin() + std::ptrdiff_t(cut), box.end());
        box.erase(box.begin() + std::ptrdiff_t(cut), box.end());
        boxes.push_back(std::move(upper));
    }

    std::vector<QRgb> result;
    for (const Box& box : boxes)
        result.push_back(average(box));
    return result;
}

int squaredDistance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

} // namespace

IndexedImage toIndexed(const QImage& artwork)
{
    const QImage image = artwork.convertToFormat(QImage::Format_ARGB32);
    IndexedImage result;
    result.width = image.width();
    result.height = image.height();

    // Distinct visible colours with their pixel counts, in colour order so that the
    // palette does not depend on the order of the pixels.
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) >= 128)
                ++counts[qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel))];
        }
    }

    std::vector<QRgb> visible;
    if (int(counts.size()) <= kVisibleEntries) {
        for (const auto& [colour, count] : counts)
            visible.push_back(colour);
    } else {
        Box box;
        for (const auto& [colour, count] : counts)
            box.push_back({{qRed(colour), qGreen(colour), qBlue(colour)}, count});
        visible = medianCut(std::move(box));
    }

    result.palette.assign(256, qRgb(0, 0, 0));
    std::copy(visible.begin(), visible.end(), result.palette.begin() + 1);

    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) < 128) {
                result.indexes.push_back(0);
                result.masked.push_back(true);
                continue;
            }
            int best = 1;
            int bestDistance = std::numeric_limits<int>::max();
            for (int i = 1; i <= int(visible.size()); ++i) {
                const int distance = squaredDistance(pixel, result.palette[i]);
                if (distance < bestDistance) {
                    best = i;
                    bestDistance = distance;
                }
            }
            result.indexes.push_back(std::uint8_t(best));
            result.masked.push_back(false);
        }
    }
    return result;
}

} // namespace dilmora::artgen
