#include "reports/pagination.h"

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

} // namespace fennick
