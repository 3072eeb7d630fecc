#pragma once

#include <vector>

namespace printbook {

// How a grid is cut into printer pages: the first grid row of each row page and the first
// grid column of each column page. Pages run down first, then across.
struct PageTables {
    static constexpr int kMaxRowPages = 1000;
    static constexpr int kMaxColumnPages = 100;

    std::vector<int> rowPageStart;     // row page k (from 0) starts at this grid row
    std::vector<int> columnPageStart;  // column page k starts at this grid column
    // More pages were needed than the tables hold; the last pages were not laid out.
    bool truncated = false;

    int RowPages() const { return static_cast<int>(rowPageStart.size()); }
    int ColumnPages() const { return static_cast<int>(columnPageStart.size()); }
    int TotalPages() const { return RowPages() * ColumnPages(); }
    // The page number of (column page, row page), both from 1.
    int PageNumber(int columnPage, int rowPage) const {
        return RowPages() * (columnPage - 1) + rowPage;
    }
};

// One direction of the walk: the sizes in grid pixels, how many leading ones are fixed, the
// printer-to-grid ratio and the printable length in printer pixels. A page ends where the
// next size would pass the printable length; a size longer than a page stands alone on it;
// an exact fit after the last size starts one more, empty page.
std::vector<int> PageStarts(const std::vector<int>& sizes, int fixedCount, double ratio,
                            int printable, bool drawFixedArea, int capacity, bool* truncated);

// Both directions.
PageTables CalcPageTables(const std::vector<int>& rowHeights, const std::vector<int>& colWidths,
                          int fixedRows, int fixedColumns, double ratioDown, double ratioAcross,
                          int printableHeight, int printableWidth, bool drawFixedArea);

}  // namespace printbook
