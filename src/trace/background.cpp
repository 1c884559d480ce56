#include "trace/background.h"

#include <algorithm>
#include <vector>

namespace {

// Eight levels a channel: JPEG noise and grain rarely move a colour out of its group, and an anti-aliased
// edge, being a mixture, spreads over many.
std::uint32_t group(std::uint32_t argb)
{
    return ((argb >> 21) & 0x7) << 6 | ((argb >> 13) & 0x7) << 3 | ((argb >> 5) & 0x7);
}

} // namespace

std::uint32_t commonestColour(const PixelView &picture, QRect area, int spacing)
{
    area &= QRect(0, 0, picture.width, picture.height);
    if (area.isEmpty())
        return 0xffffffff;
    spacing = std::max(1, spacing);
    std::vector<int> counts(512, 0);
    for (int y = area.top(); y <= area.bottom(); y += spacing) {
        for (int x = area.left(); x <= area.right(); x += spacing)
            ++counts[group(picture.at(x, y))];
    }
    const auto best = std::uint32_t(std::max_element(counts.begin(), counts.end()) - counts.begin());
    long long sum[3] = {0, 0, 0};
    long long n = 0;
    for (int y = area.top(); y <= area.bottom(); y += spacing) {
        for (int x = area.left(); x <= area.right(); x += spacing) {
            const std::uint32_t p = picture.at(x, y);
            if (group(p) != best)
                continue;
            sum[0] += (p >> 16) & 0xff;
            sum[1] += (p >> 8) & 0xff;
            sum[2] += p & 0xff;
            ++n;
        }
    }
    const auto mean = [&](int i) { return std::uint32_t((sum[i] + n / 2) / n); };
    return 0xff000000u | mean(0) << 16 | mean(1) << 8 | mean(2);
}
