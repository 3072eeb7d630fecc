#include "printbook/printform.h"
#include "platform/dialogkeys.h"
#include "platform/objectnames.h"

#include "platform/fonts.h"
#include "platform/prompts.h"
#include "platform/userfolders.h"
#include "printbook/accountbook.h"
#include "skin/buttonface.h"

#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace printbook {
namespace {

constexpr int kColumnWidths[] = {85, 85, 85, 85, 85, 253};

}  // namespace

PrintSheet AccountBookSheet(const AccountBook& book) {
    PrintSheet sheet;
    sheet.title = QString::fromStdString(book.title);
    for (const AccountBook::Row& row : book.rows) {
        std::vector<QString> cells;
        for (const std::string& cell : row)
            cells.push_back(QString::fromStdString(cell));
        sheet.cells.push_back(std::move(cells));
    }
    sheet.columnWidths.assign(std::begin(kColumnWidths), std::end(kColumnWidths));
    sheet.rightAligned = {false, false, false, true, true, false};  // 支出, 収入
    return sheet;
}

Tprintform::Tprintform(platform::Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    platform::DialogKeys::On(*this).Escape([this] { accept(); });
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    setFont(platform::UiFont(12));
    resize(818, 496);
    setMinimumSize(818, 560);

    auto* panel = new QWidget(this);
    panel->setFixedHeight(41);
    auto* buttons = new QHBoxLayout(panel);
    previousButton_ = new QPushButton(QStringLiteral("前のページ"), panel);
    nextButton_ = new QPushButton(QStringLiteral("次のページ"), panel);
    setupButton_ = new QPushButton(QStringLiteral("プリンタ設定"), panel);
    printButton_ = new QPushButton(QStringLiteral("印刷"), panel);
    closeButton_ = new QPushButton(QStringLiteral("閉じる"), panel);
    noPrinterNote_ = new QLabel(panel);
    noPrinterNote_->setStyleSheet(QStringLiteral("color: rgb(160, 60, 40);"));
    for (QPushButton* b : {previousButton_, nextButton_, setupButton_, printButton_})
        buttons->addWidget(b);
    buttons->addWidget(noPrinterNote_, 1);
    buttons->addWidget(closeButton_);
    for (QPushButton* b : {previousButton_, nextButton_, setupButton_, printButton_, closeButton_})
        b->setAutoDefault(false);

    pageArea_ = new QScrollArea(this);
    pageArea_->setAlignment(Qt::AlignCenter);
    pageArea_->setBackgroundRole(QPalette::Dark);
    pageImage_ = new QLabel;
    pageArea_->setWidget(pageImage_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    layout->addWidget(pageArea_, 1);

    platform::NameControls({
        {previousButton_, "Button1"},
        {nextButton_, "Button2"},
        {setupButton_, "Button5"},
        {printButton_, "Button3"},
        {closeButton_, "Button4"},
        {noPrinterNote_, "NoPrinterNote"},
        {pageArea_, "ScrollBox1"},
        {pageImage_, "Image1"},
    });
    connect(previousButton_, &QPushButton::clicked, this, &Tprintform::PreviousPage);
    connect(nextButton_, &QPushButton::clicked, this, &Tprintform::NextPage);
    connect(setupButton_, &QPushButton::clicked, this, &Tprintform::SetUpPrinter);
    connect(printButton_, &QPushButton::clicked, this, &Tprintform::Print);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);

    // The grid's look: a header row, 9 point (12 px) text.
    grid_.fixedRows = 1;
    grid_.font = platform::UiFont(12);
    gridPrinter_.TargetGrid = &grid_;
    gridPrinter_.TopMargin = 20;
    gridPrinter_.LeftMargin = 10;
    gridPrinter_.RightMargin = 5;
    gridPrinter_.BottomMargin = 10;
    gridPrinter_.MojiTop = 3;
    gridPrinter_.MojiLeft = 3;
    gridPrinter_.SetNormalGridWidth(1);
    gridPrinter_.SetFixedGridWidth(4);
    gridPrinter_.DrawFixedArea = true;
    gridPrinter_.OnEndPage = [this] { EndPage(); };
    gridPrinter_.OnDrawCell = [this](int c, int r, const QRect& rect) { DrawCell(c, r, rect); };

    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // Where the system has no printer, the pages still show and can be kept as a PDF file.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        noPrinterNote_->setText(QStringLiteral("プリンタがないため、PDFファイルに印刷します"));
    }
    UsePrinter();
}

Tprintform::~Tprintform() = default;

void Tprintform::UsePrinter() {
    // Our margins, measured from the paper's edge.
    printer_->setFullPage(true);
    const int dpi = printer_->resolution();
    gridPrinter_.SetPrinter({printer_->pageLayout().fullRectPixels(dpi).size(), dpi, dpi});
}

void Tprintform::Run(const PrintSheet& sheet) {
    title_ = sheet.title;
    grid_.cells = sheet.cells;
    grid_.columnWidths = sheet.columnWidths;
    grid_.rowHeights.assign(grid_.cells.size(), sheet.rowHeight);
    rightAligned_ = sheet.rightAligned;
    rightAligned_.resize(sheet.columnWidths.size(), false);
    printer_->setPageOrientation(sheet.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    UsePrinter();
    // The job carries the book's title (a printer queue shows it), which also names the
    // proposed PDF file, in the documents folder.
    printer_->setDocName(title_);
    if (printer_->outputFormat() == QPrinter::PdfFormat)
        printer_->setOutputFileName(platform::DocumentsFolder() + QLatin1Char('/') + title_ +
                                    QStringLiteral(".pdf"));
    FormShow();
    prompts_.RunDialog(*this);
}

void Tprintform::FormShow() {
    page_ = gridPrinter_.Preview(logicalDpiX(), logicalDpiY());
    ShowPage();
}

void Tprintform::ShowPage() {
    pageImage_->setPixmap(QPixmap::fromImage(page_));
    pageImage_->resize(page_.size());
    UpdateButtons();
}

void Tprintform::UpdateButtons() {
    const int page = gridPrinter_.PageNumber();
    previousButton_->setEnabled(page != 1);
    nextButton_->setEnabled(page != gridPrinter_.TotalPages());
}

void Tprintform::PreviousPage() {
    gridPrinter_.PrevPage(page_);
    ShowPage();
}

void Tprintform::NextPage() {
    gridPrinter_.NextPage(page_);
    ShowPage();
}

void Tprintform::SetUpPrinter() {
    if (!prompts_.PrinterSetup(this, *printer_))
        return;
    UsePrinter();
    FormShow();  // back to page 1 with the new paper
}

void Tprintform::Print() {
    // The toolkit's print dialog proposes "<job name>.pdf" in the current folder for printing
    // to a file: for the dialog's time that is the documents folder.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(platform::DocumentsFolder());
    const bool chosen = prompts_.PrintDialog(this, *printer_);
    QDir::setCurrent(previous);
    if (!chosen)
        return;
    UsePrinter();
    auto failed = [this](const QString& what) {
        const QString where = printer_->outputFileName().isEmpty() ? printer_->printerName()
                                                                   : printer_->outputFileName();
        prompts_.Error(this, what + QStringLiteral("\n\n") + where);
    };
    QPainter painter;
    if (!painter.begin(printer_.get())) {
        failed(QStringLiteral("印刷を始められませんでした。"));
        return;
    }
    const bool whole = gridPrinter_.Print(painter, [this] { return printer_->newPage(); });
    painter.end();
    // A print that failed is said, never shown as done.
    if (!whole || printer_->printerState() == QPrinter::Error)
        failed(QStringLiteral("印刷できませんでした。"));
    FormShow();
}

void Tprintform::EndPage() {
    QPainter& p = *gridPrinter_.Canvas();
    const QFontMetrics fm(p.font());
    p.drawText(QPoint(gridPrinter_.MMToPixelX(gridPrinter_.LeftMargin),
                      gridPrinter_.MMToPixelY(10) + fm.ascent()),
               title_);
    const QString number =
        QStringLiteral("%1/%2").arg(gridPrinter_.PageNumber()).arg(gridPrinter_.TotalPages());
    const QRect area = gridPrinter_.PageRect();
    p.drawText(
        QPoint(area.right() - gridPrinter_.MMToPixelX(gridPrinter_.RightMargin) -
                   fm.horizontalAdvance(number),
               area.bottom() - gridPrinter_.MMToPixelY(gridPrinter_.BottomMargin) + fm.ascent()),
        number);
}

void Tprintform::DrawCell(int column, int row, const QRect& rect) {
    QPainter& p = *gridPrinter_.Canvas();
    // Three grid pixels in from each side, on paper as on the screen.
    const int insetX = std::max(1, gridPrinter_.GridToOutputX(3));
    const int insetY = std::max(1, gridPrinter_.GridToOutputY(3));
    const QRect inner = rect.adjusted(insetX, insetY, -insetX, -insetY);
    const bool right = row >= 1 && column >= 0 &&
                       static_cast<size_t>(column) < rightAligned_.size() &&
                       rightAligned_[static_cast<size_t>(column)];
    const Qt::Alignment across = right ? Qt::AlignRight : Qt::AlignLeft;
    // A text longer than its column ends at its last whole character. (An amount is never
    // cut short into another number: it keeps its digits under the clip.)
    const QString text =
        across == Qt::AlignRight
            ? grid_.Cell(column, row)
            : printbook::CutToWidth(p.fontMetrics(), grid_.Cell(column, row), inner.width());
    p.save();
    p.setClipRect(rect);
    p.drawText(inner, across | Qt::AlignTop | Qt::TextSingleLine, text);
    p.restore();
}

}  // namespace printbook
