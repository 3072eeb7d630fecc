#include "printbook/gridprinter.h"

#include <QFontMetrics>

#include <QPainter>

#include <cmath>

namespace printbook {

QString PrintGrid::Cell(int column, int row) const {
    if (row < 0 || row >= static_cast<int>(cells.size()))
        return {};
    const auto& r = cells[static_cast<size_t>(row)];
    return column >= 0 && column < static_cast<int>(r.size()) ? r[static_cast<size_t>(column)]
                                                              : QString();
}

void TQelSGridPrinter::SetNormalGridWidth(int width) {
    if (width >= 1)
        normalGridWidth_ = width;
}

void TQelSGridPrinter::SetFixedGridWidth(int width) {
    if (width >= 1)
        fixedGridWidth_ = width;
}

void TQelSGridPrinter::CalcPages() {
    if (!TargetGrid)
        return;
    ratioX_ = static_cast<double>(printer_.dpiX) / TargetGrid->dpiX;
    ratioY_ = static_cast<double>(printer_.dpiY) / TargetGrid->dpiY;
    marginLeft_ = static_cast<int>(LeftMargin / 25.4 * printer_.dpiX);
    marginRight_ = static_cast<int>(RightMargin / 25.4 * printer_.dpiX);
    marginTop_ = static_cast<int>(TopMargin / 25.4 * printer_.dpiY);
    marginBottom_ = static_cast<int>(BottomMargin / 25.4 * printer_.dpiY);
    const int printableWidth = printer_.size.width() - marginLeft_ - marginRight_;
    const int printableHeight = printer_.size.height() - marginTop_ - marginBottom_;
    tables_ = CalcPageTables(TargetGrid->rowHeights, TargetGrid->columnWidths,
                             TargetGrid->fixedRows, TargetGrid->fixedColumns, ratioY_, ratioX_,
                             printableHeight, printableWidth, DrawFixedArea);
    columnPage_ = std::min(columnPage_, std::max(tables_.ColumnPages(), 1));
    rowPage_ = std::min(rowPage_, std::max(tables_.RowPages(), 1));
}

int TQelSGridPrinter::MMToPixelX(double mm) const {
    return static_cast<int>(mm / 25.4 * printer_.dpiX * scaleX_);
}

int TQelSGridPrinter::MMToPixelY(double mm) const {
    return static_cast<int>(mm / 25.4 * printer_.dpiY * scaleY_);
}

QRect TQelSGridPrinter::PageRect() const {
    return QRect(0, 0, static_cast<int>(printer_.size.width() * scaleX_),
                 static_cast<int>(printer_.size.height() * scaleY_));
}

QImage TQelSGridPrinter::Preview(int screenDpiX, int screenDpiY) {
    if (!TargetGrid)
        return {};
    CalcPages();
    const int previewDpiX = screenDpiX * ScreenRatioX / 1000;
    const int previewDpiY = screenDpiY * ScreenRatioY / 1000;
    scaleX_ = static_cast<double>(previewDpiX) / printer_.dpiX;
    scaleY_ = static_cast<double>(previewDpiY) / printer_.dpiY;
    QImage picture(PageRect().size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    columnPage_ = 1;
    rowPage_ = 1;
    ClearAndDraw(picture);
    return picture;
}

void TQelSGridPrinter::ClearAndDraw(QImage& picture) {
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::TextAntialiasing);
    canvas_ = &p;
    DrawPage(columnPage_, rowPage_);
    canvas_ = nullptr;
}

bool TQelSGridPrinter::NextPage(QImage& picture) {
    ++rowPage_;
    if (rowPage_ > tables_.RowPages()) {
        rowPage_ = 1;
        ++columnPage_;
        if (columnPage_ > tables_.ColumnPages()) {
            columnPage_ = 1;
            ClearAndDraw(picture);
            return false;
        }
    }
    ClearAndDraw(picture);
    return rowPage_ < tables_.RowPages() || columnPage_ < tables_.ColumnPages();
}

bool TQelSGridPrinter::PrevPage(QImage& picture) {
    --rowPage_;
    if (rowPage_ < 1) {
        --columnPage_;
        if (columnPage_ < 1)
            columnPage_ = 1, rowPage_ = 1;  // already on the first page: it stays
        else
            rowPage_ = tables_.RowPages();
    }
    ClearAndDraw(picture);
    return rowPage_ > 1 || columnPage_ > 1;
}

bool TQelSGridPrinter::Print(QPainter& printer, const std::function<bool()>& newPage) {
    if (!TargetGrid)
        return true;
    scaleX_ = 1.0;
    scaleY_ = 1.0;
    CalcPages();
    canvas_ = &printer;
    bool first = true;
    for (int c = 1; c <= tables_.ColumnPages(); ++c) {
        for (int r = 1; r <= tables_.RowPages(); ++r) {
            if (!first && !newPage()) {
                canvas_ = nullptr;
                return false;
            }
            first = false;
            DrawPage(c, r);
        }
    }
    canvas_ = nullptr;
    return true;
}

void TQelSGridPrinter::DrawPage(int columnPage, int rowPage) {
    if (!TargetGrid || !canvas_ || tables_.RowPages() == 0 || tables_.ColumnPages() == 0)
        return;
    QPainter& p = *canvas_;
    columnPage_ = columnPage;
    rowPage_ = rowPage;
    auto prepare = [&] {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        QFont font = TargetGrid->font;
        // Sizes in output pixels: the grid's pixel size at the printer's resolution and the
        // output scale (the preview shrinks it with its zoom).
        const int pixels = font.pixelSize() > 0 ? font.pixelSize() : 12;
        font.setPixelSize(std::max(1, static_cast<int>(pixels * ratioY_ * scaleY_)));
        p.setFont(font);
    };
    prepare();
    if (OnBeginPage)
        OnBeginPage();
    prepare();
    const PrintGrid& g = *TargetGrid;
    const int rowCount = static_cast<int>(g.rowHeights.size());
    const int columnCount = static_cast<int>(g.columnWidths.size());
    const int firstRow = tables_.rowPageStart[static_cast<size_t>(rowPage - 1)];
    const int lastRow = rowPage < tables_.RowPages()
                            ? tables_.rowPageStart[static_cast<size_t>(rowPage)] - 1
                            : rowCount - 1;
    const int firstColumn = tables_.columnPageStart[static_cast<size_t>(columnPage - 1)];
    const int lastColumn = columnPage < tables_.ColumnPages()
                               ? tables_.columnPageStart[static_cast<size_t>(columnPage)] - 1
                               : columnCount - 1;
    const double left = marginLeft_ * scaleX_;
    double y = static_cast<int>(marginTop_ * scaleY_);
    auto drawRow = [&](int row, bool fixedRow) {
        const double h = g.rowHeights[static_cast<size_t>(row)] * ratioY_ * scaleY_;
        double x = left;
        if (DrawFixedArea) {
            for (int c = 0; c < g.fixedColumns && c < columnCount; ++c)
                DrawCell(c, row, x, y, h, true);
        }
        for (int c = firstColumn; c <= lastColumn; ++c)
            DrawCell(c, row, x, y, h, fixedRow || c < g.fixedColumns);
        y += h;
    };
    if (DrawFixedArea) {
        for (int r = 0; r < g.fixedRows && r < rowCount; ++r)
            drawRow(r, true);
    }
    for (int r = firstRow; r <= lastRow; ++r)
        drawRow(r, r < g.fixedRows);
    if (OnEndPage)
        OnEndPage();
}

QString CutToWidth(const QFontMetrics& metrics, const QString& text, int width) {
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    // The fitting length by halving: the advance grows with the length.
    qsizetype low = 0;
    qsizetype high = text.size();
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (metrics.horizontalAdvance(text.left(mid)) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    if (low > 0 && text.at(low - 1).isHighSurrogate())
        --low;
    return text.left(low);
}

void TQelSGridPrinter::DrawCell(int column, int row, double& x, double y, double h, bool fixed) {
    QPainter& p = *canvas_;
    const double w = TargetGrid->columnWidths[static_cast<size_t>(column)] * ratioX_ * scaleX_;
    const QRect rect(
        QPoint(static_cast<int>(x), static_cast<int>(y)),
        QPoint(static_cast<int>(x) + static_cast<int>(w) - 1, static_cast<int>(y + h) - 1));
    if (!OnDrawCell) {
        const int insetLeft = static_cast<int>(MojiLeft * ratioX_ * scaleX_);
        const int insetTop = static_cast<int>(MojiTop * ratioY_ * scaleY_);
        p.save();
        p.setClipRect(rect);
        const QRect inner = rect.adjusted(insetLeft, insetTop, 0, 0);
        p.drawText(inner, Qt::AlignLeft | Qt::AlignTop,
                   CutToWidth(p.fontMetrics(), TargetGrid->Cell(column, row), inner.width()));
        p.restore();
    }
    // The border: thick for a fixed cell. Its width is in printer pixels at the output scale.
    const int width = fixed ? fixedGridWidth_ : normalGridWidth_;
    p.save();
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, width * scaleX_ * (printer_.dpiX / 300.0)));
    p.setPen(pen);
    p.drawRect(QRectF(static_cast<int>(x), static_cast<int>(y),
                      static_cast<int>(x + w + 1) - static_cast<int>(x),
                      static_cast<int>(y + h + 1) - static_cast<int>(y)));
    p.restore();
    if (OnDrawCell)
        OnDrawCell(column, row, rect);
    x += w;
}

}  // namespace printbook
