#pragma once

#include "printbook/pagetables.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

class QFontMetrics;

namespace printbook {

// The longest start of `text` that fits `width` pixels in that font: cut between two
// characters, never through one (a surrogate pair stays whole).
QString CutToWidth(const QFontMetrics& metrics, const QString& text, int width);

// The grid a printer prints: its cells, its sizes in screen pixels at `dpi`, and its font.
struct PrintGrid {
    std::vector<std::vector<QString>> cells;  // [row][column]
    std::vector<int> columnWidths;
    std::vector<int> rowHeights;
    int fixedRows = 0;
    int fixedColumns = 0;
    QFont font;
    int dpiX = 96;
    int dpiY = 96;

    QString Cell(int column, int row) const;
};

// The printer's page as the grid printer sees it: its size in device pixels and resolution.
struct PrinterPage {
    QSize size;
    int dpiX = 1200;
    int dpiY = 1200;
};

// TQelSGridPrinter: prints a grid over as many pages as it needs at the grid's physical size,
// repeating the fixed rows and columns, and draws any page into a picture for a preview.
// The owner draws titles and page numbers in OnEndPage and may draw cell contents.
class TQelSGridPrinter {
public:
    const PrintGrid* TargetGrid = nullptr;
    int LeftMargin = 10;  // millimetres
    int TopMargin = 10;
    int RightMargin = 5;
    int BottomMargin = 10;
    int MojiLeft = 2;  // grid pixels
    int MojiTop = 2;
    int ScreenRatioX = 1000;  // preview zoom, thousandths
    int ScreenRatioY = 1000;
    bool DrawFixedArea = true;
    std::function<void()> OnBeginPage;
    std::function<void()> OnEndPage;
    std::function<void(int column, int row, const QRect& rect)> OnDrawCell;

    void SetNormalGridWidth(int width);
    void SetFixedGridWidth(int width);
    int NormalGridWidth() const { return normalGridWidth_; }
    int FixedGridWidth() const { return fixedGridWidth_; }

    void SetPrinter(const PrinterPage& page) { printer_ = page; }
    const PrinterPage& printer() const { return printer_; }

    void CalcPages();
    const PageTables& tables() const { return tables_; }
    int ColumnPage() const { return columnPage_; }
    int RowPage() const { return rowPage_; }
    int PageNumber() const { return tables_.PageNumber(columnPage_, rowPage_); }
    int TotalPages() const { return tables_.TotalPages(); }

    // The preview: page (1, 1) drawn into a picture of one page at the preview scale, for a
    // screen of `screenDpi`.
    QImage Preview(int screenDpiX = 96, int screenDpiY = 96);
    // Next or previous page in the preview, drawn into `picture`; whether one more follows
    // (or precedes) the page now shown. Next past the last page returns to the first.
    bool NextPage(QImage& picture);
    bool PrevPage(QImage& picture);

    // Every page on the printer, down first, then across. `newPage` starts the next printer
    // page and answers whether it could. False when a page could not be started.
    bool Print(QPainter& printer, const std::function<bool()>& newPage);

    // Millimetres in pixels of the current output, truncated; for the page events.
    int MMToPixelX(double mm) const;
    int MMToPixelY(double mm) const;
    // The output the page events draw on, and its drawing area in its own pixels.
    QPainter* Canvas() const { return canvas_; }
    QRect PageRect() const;

    // Grid pixels in output pixels (the printer's, at the output scale): a cell's inset is the
    // same part of the cell on paper as in the preview.
    int GridToOutputX(double gridPixels) const {
        return static_cast<int>(gridPixels * ratioX_ * scaleX_);
    }
    int GridToOutputY(double gridPixels) const {
        return static_cast<int>(gridPixels * ratioY_ * scaleY_);
    }

private:
    void DrawPage(int columnPage, int rowPage);
    void DrawCell(int column, int row, double& x, double y, double h, bool fixed);
    void ClearAndDraw(QImage& picture);

    PrinterPage printer_;
    PageTables tables_;
    int normalGridWidth_ = 1;
    int fixedGridWidth_ = 4;
    int columnPage_ = 1;
    int rowPage_ = 1;
    double ratioX_ = 1.0;  // printer ÷ grid
    double ratioY_ = 1.0;
    double scaleX_ = 1.0;  // output pixels per printer pixel
    double scaleY_ = 1.0;
    int marginLeft_ = 0;  // printer pixels
    int marginTop_ = 0;
    int marginRight_ = 0;
    int marginBottom_ = 0;
    QPainter* canvas_ = nullptr;
};

}  // namespace printbook
