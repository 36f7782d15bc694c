#pragma once

#include <QRectF>
#include <optional>
#include <utility>
#include <vector>

namespace fennick {

// Pagination of a report table for printing. All sizes are single-precision
// points (1/72 inch): the paper and its margins as the page setup gives them,
// and the table's own units, one of which prints as one point at 100 %.

struct PrintMetrics {
    float paperHeight = 0;
    float topMargin = 0;
    float bottomMargin = 0;
    float rowHeight = 0;
    // 1.0 is 100 %. Absent, zero, negative or not a number means 100 %.
    std::optional<float> scale;
};

// The scale that printing uses: the given one when it is a positive finite
// number, else 1.
float effectiveScale(std::optional<float> scale);

// Height of table content that one page holds: the whole rows that fit on the
// unscaled usable paper height, divided by the scale. A page always holds at
// least one row, even when the paper is too small for it. 0 when the row
// height is not a positive number (there is nothing to paginate by).
float calculatePrintHeight(const PrintMetrics& metrics);

// The whole rows that a page of this height holds, at least one. At a scale
// other than 100 % the page height need not be a whole number of rows; the
// printed page then holds only the rows that fit entirely.
int rowsPerPage(float pageHeight, float rowHeight);

// Pages needed for a table of this height: ceil(tableHeight / pageHeight),
// at least 1. A page height that is not positive gives 1.
int pageCount(float tableHeight, float pageHeight);

// The part of the table that page `page` (from 1) prints: the bounds' full
// width, pageHeight high, starting (page - 1) pages below the bounds' top.
QRectF rectForPage(const QRectF& bounds, float pageHeight, int page);

// Inclusive page ranges (first, last), as a print dialog chooses them.
using PageSpans = std::vector<std::pair<int, int>>;

// The pages to print, in printing order: those of `spans` that the report of
// `pageCount` pages has (every page when there are no spans), last page first
// when asked. Empty when none of the chosen pages exists: nothing is printed
// rather than a blank page.
std::vector<int> pagesToPrint(const PageSpans& spans, int pageCount, bool lastPageFirst);

// Width of the left (key) column of a printed table `width` wide whose
// columns need `keyNeed` and `dataNeed` for their widest texts. When both fit,
// the key column gets `share` of the width as far as both keep their needs;
// when not, the short keys (dates, punch times) keep theirs, up to 75 % of the
// width, and the right column's texts are shortened.
float keyColumnWidth(float width, float keyNeed, float dataNeed, float share);

// The scale at which a table `needed` wide fits a page `width` wide: 1 when it
// fits already, never below `floor`.
float fitWidthScale(float width, float needed, float floor);

} // namespace fennick
