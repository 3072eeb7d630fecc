#include "printbook/pagetables.h"

#include <algorithm>

namespace printbook {
namespace {

int Scaled(int size, double ratio) {
    return static_cast<int>(size * ratio);  // truncated toward zero
}

}  // namespace

std::vector<int> PageStarts(const std::vector<int>& sizes, int fixedCount, double ratio,
                            int printable, bool drawFixedArea, int capacity, bool* truncated) {
    const int count = static_cast<int>(sizes.size());
    fixedCount = std::clamp(fixedCount, 0, count);
    int fixedLength = 0;
    if (drawFixedArea) {
        for (int k = 0; k < fixedCount; ++k)
            fixedLength += Scaled(sizes[static_cast<size_t>(k)], ratio);
    }
    std::vector<int> starts;
    auto start = [&](int index) {
        if (static_cast<int>(starts.size()) >= capacity) {
            if (truncated)
                *truncated = true;
            return false;
        }
        starts.push_back(index);
        return true;
    };
    int index = drawFixedArea ? fixedCount : 0;
    if (!start(index))
        return starts;
    int length = 0;
    int firstOfPage = index;
    while (index < count) {
        length += Scaled(sizes[static_cast<size_t>(index)], ratio);
        if (length + fixedLength < printable) {
            ++index;
            continue;
        }
        int next = index + 1;
        if (length + fixedLength > printable && index != firstOfPage)
            next = index;  // the size moves on to the next page
        // (Exact fit, or a size longer than a page standing alone: the next page starts after.)
        if (!start(next))
            return starts;
        index = next;
        firstOfPage = next;
        length = 0;
    }
    return starts;
}

PageTables CalcPageTables(const std::vector<int>& rowHeights, const std::vector<int>& colWidths,
                          int fixedRows, int fixedColumns, double ratioDown, double ratioAcross,
                          int printableHeight, int printableWidth, bool drawFixedArea) {
    PageTables tables;
    tables.rowPageStart = PageStarts(rowHeights, fixedRows, ratioDown, printableHeight,
                                     drawFixedArea, PageTables::kMaxRowPages, &tables.truncated);
    tables.columnPageStart =
        PageStarts(colWidths, fixedColumns, ratioAcross, printableWidth, drawFixedArea,
                   PageTables::kMaxColumnPages, &tables.truncated);
    return tables;
}

}  // namespace printbook
