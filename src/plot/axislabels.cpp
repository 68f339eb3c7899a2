#include "plot/axislabels.h"

#include "core/numbers.h"
#include "plot/drawscans.h"

#include <cmath>
#include <optional>

namespace ws {

std::vector<AxisLabel> frequencyLabels(const View &view, int areaWidth,
                                       const TextWidth &textWidth)
{
    const std::optional<GridRange> grid = gridRange(view.first(), view.last());
    if (!grid || areaWidth <= 0)
        return {};
    const FrequencyScale scale = view.scale();
    // The column the grid line is drawn in (PlotWidget::snap).
    const auto columnOf = [&](int mhz) {
        return int(std::floor((mhz - scale.left) / scale.width * areaWidth));
    };
    for (const int step : {100, 200, 500}) {
        std::vector<AxisLabel> labels;
        bool roomy = true;
        int previousEnd = 0;
        const int from = step * int(std::ceil(grid->first / double(step)));
        for (int mhz = from; mhz <= grid->last && roomy; mhz += step) {
            const QString text = formatNumber(mhz);
            const int width = textWidth(text);
            const int centre = columnOf(mhz);
            const int start = centre - width / 2;
            if (start < 0 || start + width > areaWidth)
                continue;
            roomy = labels.empty() || start - previousEnd >= kFrequencyLabelGap;
            labels.push_back({double(mhz), text, centre, start});
            previousEnd = start + width;
        }
        if (roomy)
            return labels;
    }
    return {};
}

ValueAxis ValueAxis::levels(const PlotRange &range)
{
    return {range.maxLevel, range.levelSpan()};
}

ValueAxis ValueAxis::differences(const PlotRange &range)
{
    return {range.levelSpan(), 2 * range.levelSpan()};
}

std::vector<AxisLabel> valueLabels(const ValueAxis &axis, int areaHeight, int textHeight,
                                   const std::vector<Rows> &taken)
{
    if (areaHeight <= 0 || textHeight <= 0 || !(axis.height > 0) || !std::isfinite(axis.height)
        || !std::isfinite(axis.top))
        return {};
    // The smallest round step that is at least this many units.
    const double least = 2.0 * textHeight * axis.height / areaHeight;
    double step = 1;
    if (least > 1) {
        const double magnitude = std::pow(10.0, std::floor(std::log10(least)));
        for (const double m : {1.0, 2.0, 5.0, 10.0}) {
            step = m * magnitude;
            if (step >= least)
                break;
        }
    }
    const auto clear = [&](int first, int last) {
        for (const Rows &rows : taken) {
            if (last + kValueLabelGap >= rows.first && first - kValueLabelGap <= rows.last)
                return false;
        }
        return true;
    };
    std::vector<AxisLabel> labels;
    const double bottom = axis.top - axis.height;
    const double highest = std::floor(axis.top / step);
    // No more values than rows: at levels far beyond 2^53 a step of 1 would
    // not even move k.
    for (int i = 0; i <= areaHeight; ++i) {
        const double k = highest - i;
        if (k * step < bottom)
            break;
        const double value = k == 0 ? 0 : k * step; // never "-0"
        // The row the plot draws the value in (PlotWidget::snap).
        const int centre = int(std::floor((axis.top - value) / axis.height * areaHeight));
        const int start = centre - textHeight / 2;
        const int last = start + textHeight - 1;
        if (start >= 0 && last < areaHeight && clear(start, last))
            labels.push_back({value, formatNumber(value), centre, start});
    }
    return labels;
}

} // namespace ws
