#include "reports/pagination.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace fennick {

namespace {

bool positive(float value) {
    return std::isfinite(value) && value > 0;
}

// Counts are whole numbers in float; keep them inside the int range before
// converting, so absurd sizes give a large count instead of undefined values.
int toCount(float value) {
    constexpr float largest = 1e9f;
    if (!(value >= 1))
        return 1;
    return value >= largest ? int(largest) : int(value);
}

} // namespace

float effectiveScale(std::optional<float> scale) {
    return scale && positive(*scale) ? *scale : 1.0f;
}

float calculatePrintHeight(const PrintMetrics& m) {
    if (!positive(m.rowHeight))
        return 0;
    const float usable = m.paperHeight - m.topMargin - m.bottomMargin;
    float rows = std::trunc(usable / m.rowHeight);
    if (!(rows >= 1))
        rows = 1;
    else if (!std::isfinite(rows))
        return 0;
    return m.rowHeight * rows / effectiveScale(m.scale);
}

int rowsPerPage(float pageHeight, float rowHeight) {
    if (!positive(pageHeight) || !positive(rowHeight))
        return 1;
    // A hair of tolerance so 646 / 17 counts as 38 even after rounding.
    return toCount(std::floor(pageHeight / rowHeight + 1e-4f));
}

int pageCount(float tableHeight, float pageHeight) {
    if (!positive(pageHeight) || !positive(tableHeight))
        return 1;
    // The same tolerance: a table of exactly two pages must not get a third.
    return toCount(std::ceil(tableHeight / pageHeight - 1e-4f));
}

QRectF rectForPage(const QRectF& bounds, float pageHeight, int page) {
    const float y = float(bounds.y()) + float(page - 1) * pageHeight;
    return QRectF(bounds.x(), y, bounds.width(), pageHeight);
}

std::vector<int> pagesToPrint(const PageSpans& spans, int pageCount, bool lastPageFirst) {
    std::vector<int> pages;
    for (int page = 1; page <= pageCount; ++page) {
        const auto chosen = [page](const auto& s) { return s.first <= page && page <= s.second; };
        if (spans.empty() || std::any_of(spans.begin(), spans.end(), chosen))
            pages.push_back(page);
    }
    if (lastPageFirst)
        std::reverse(pages.begin(), pages.end());
    return pages;
}

float keyColumnWidth(float width, float keyNeed, float dataNeed, float share) {
    if (!positive(width))
        return 0;
    if (keyNeed + dataNeed <= width)
        return std::clamp(width * share, keyNeed, width - dataNeed);
    return std::min(keyNeed, std::max(width - dataNeed, width * 0.75f));
}

float fitWidthScale(float width, float needed, float floor) {
    if (!positive(width) || !positive(needed) || needed <= width)
        return 1;
    return std::max(width / needed, floor);
}

} // namespace fennick
