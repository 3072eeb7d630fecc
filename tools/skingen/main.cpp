// Draws every picture of the program's skin into a folder as PNG files, and the program's
// icon for the desktop's icon theme (PNG at each size and SVG) into a second folder:
//   skingen SKIN_FOLDER ICON_FOLDER
// The pictures are committed under resources/skin and resources/icons; run tools/make-skin
// after changing this file. Sizes are fixed by the window layout; colours and shapes are free.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

// The palette: a calm blue frame with a warm accent.
const QColor kTitleTop(104, 164, 232);
const QColor kTitleBottom(62, 124, 206);
const QColor kFrameLine(46, 98, 170);
const QColor kBandTop(233, 242, 252);
const QColor kBandBottom(250, 252, 255);
const QColor kEdge(214, 228, 245);
const QColor kAccent(255, 170, 64);
const QColor kInk(54, 54, 54);
const QColor kIconKey(255, 0, 255);  // transparent colour of the icon strip

QString g_out;
// The button faces are drawn twice: at 1x, and at 2x for high-density screens ("@2x" files,
// which Qt picks by itself there).
int g_scale = 1;

void Save(const QImage& image, const QString& name) {
    const QString path = g_out + "/" + name + (g_scale == 2 ? "@2x" : "") + ".png";
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

QImage Blank(int w, int h, QColor fill = Qt::white) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(fill);
    return image;
}

QFont Font(int pixelSize, bool bold) {
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// A window frame source picture (370 x 230): title bar, the light band below it, side and
// bottom edges, and (main window only) the menu, minimise and close buttons in the top-right
// part that the main window's composition copies to its corner.
QImage Frame(bool withButtons) {
    QImage image = Blank(370, 230);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Title bar.
    QLinearGradient title(0, 0, 0, 33);
    title.setColorAt(0, kTitleTop);
    title.setColorAt(1, kTitleBottom);
    p.fillRect(QRect(0, 0, 370, 33), title);
    p.fillRect(QRect(0, 0, 370, 1), kTitleTop.lighter(118));
    // The band under the title.
    QLinearGradient band(0, 33, 0, 143);
    band.setColorAt(0, kBandTop);
    band.setColorAt(1, kBandBottom);
    p.fillRect(QRect(0, 33, 370, 110), band);
    p.fillRect(QRect(0, 33, 370, 1), kFrameLine.lighter(160));
    // Side edges and the bottom edge: a light rim with a darker outer line.
    p.fillRect(QRect(0, 143, 20, 87), Qt::white);
    p.fillRect(QRect(350, 143, 20, 87), Qt::white);
    for (int x : {0, 369})
        p.fillRect(QRect(x, 0, 1, 230), kFrameLine);
    QLinearGradient left(1, 0, 20, 0);
    left.setColorAt(0, kEdge);
    left.setColorAt(1, Qt::white);
    p.fillRect(QRect(1, 33, 19, 197), left);
    QLinearGradient right(369, 0, 350, 0);
    right.setColorAt(0, kEdge);
    right.setColorAt(1, Qt::white);
    p.fillRect(QRect(350, 33, 19, 197), right);
    QLinearGradient bottom(0, 229, 0, 210);
    bottom.setColorAt(0, kEdge);
    bottom.setColorAt(1, Qt::white);
    p.fillRect(QRect(20, 210, 330, 19), bottom);
    p.fillRect(QRect(1, 229, 368, 1), kFrameLine);
    // Keep the corners of the bottom pieces continuous with the edges.
    p.fillRect(QRect(1, 200, 19, 29), left);
    p.fillRect(QRect(350, 200, 19, 29), right);
    p.fillRect(QRect(0, 229, 370, 1), kFrameLine);
    p.fillRect(QRect(0, 0, 1, 230), kFrameLine);
    p.fillRect(QRect(369, 0, 1, 230), kFrameLine);

    if (withButtons) {
        // Positions inside the top-right piece (x 214 on): menu 12..83, minimise 95..111,
        // close 124..140, all from y 8.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 60));
        p.drawRoundedRect(QRectF(226.5, 8.5, 70, 16), 8, 8);
        p.setPen(QPen(QColor(255, 255, 255, 170), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(226.5, 8.5, 70, 16), 8, 8);
        p.setFont(Font(11, true));
        p.setPen(Qt::white);
        p.drawText(QRect(226, 8, 71, 17), Qt::AlignCenter, QStringLiteral("メニュー ▾"));
        // Minimise: a bar. Close: a cross on a warm disc.
        p.setBrush(QColor(255, 255, 255, 60));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(309, 8, 16, 16));
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(313, 19), QPointF(321, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(232, 96, 76));
        p.drawEllipse(QRectF(338, 8, 16, 16));
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(342.5, 12.5), QPointF(349.5, 19.5));
        p.drawLine(QPointF(349.5, 12.5), QPointF(342.5, 19.5));
    }
    return image;
}

// A small coin-and-book mark, the program's symbol, in a square of `size`.
void DrawMark(QPainter& p, const QRectF& r) {
    const double s = r.width() / 16.0;
    p.save();
    p.translate(r.topLeft());
    p.scale(s, s);
    p.setRenderHint(QPainter::Antialiasing);
    // Book.
    p.setPen(QPen(QColor(40, 90, 160), 0.9));
    p.setBrush(QColor(255, 255, 255));
    p.drawRoundedRect(QRectF(1.5, 2.5, 11, 12), 1.5, 1.5);
    p.setBrush(QColor(104, 164, 232));
    p.drawRect(QRectF(1.5, 2.5, 2.5, 12));
    p.setPen(QPen(QColor(150, 170, 200), 0.8));
    for (double y : {6.0, 8.5, 11.0})
        p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
    // Coin.
    QRadialGradient coin(QPointF(11, 10), 5);
    coin.setColorAt(0, QColor(255, 214, 120));
    coin.setColorAt(1, kAccent);
    p.setPen(QPen(QColor(200, 120, 20), 0.8));
    p.setBrush(coin);
    p.drawEllipse(QRectF(8, 7.5, 7.5, 7.5));
    p.setPen(QPen(QColor(150, 80, 0), 0.9));
    p.drawLine(QPointF(10.3, 9.3), QPointF(11.75, 11.1));
    p.drawLine(QPointF(13.2, 9.3), QPointF(11.75, 11.1));
    p.drawLine(QPointF(11.75, 11.1), QPointF(11.75, 13.6));
    p.drawLine(QPointF(10.5, 11.6), QPointF(13, 11.6));
    p.restore();
}

QImage Logo(const QImage& frame) {
    QImage logo = frame.copy(0, 0, 226, 39);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(Font(17, true));
    p.setPen(QColor(0, 0, 0, 50));
    p.drawText(QRect(33, 4, 120, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vantrel"));
    p.setPen(Qt::white);
    p.drawText(QRect(32, 3, 120, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vantrel"));
    p.setFont(Font(11, false));
    p.setPen(QColor(235, 244, 255));
    p.drawText(QRect(112, 5, 110, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("わが家の家計簿"));
    return logo;
}

QImage DateBand() {
    QImage image = Blank(760, 48, Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 48);
    g.setColorAt(0, QColor(255, 255, 255));
    g.setColorAt(1, QColor(238, 245, 253));
    p.setPen(QPen(QColor(196, 214, 238), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 4.5, 759, 39), 10, 10);
    // A calendar leaf before the date.
    QRectF leaf(34, 12, 22, 22);
    p.setPen(QPen(QColor(70, 120, 190), 1.2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(leaf, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(232, 96, 76));
    p.drawRoundedRect(QRectF(34.6, 12.6, 20.8, 6), 2.5, 2.5);
    p.setBrush(QColor(120, 150, 190));
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 4; ++col)
            p.drawRect(QRectF(38 + col * 4.2, 22 + row * 4.5, 2.4, 2.4));
    }
    // The image is composed onto white: flatten it.
    QImage flat = Blank(760, 48, Qt::white);
    QPainter f(&flat);
    f.drawImage(0, 0, image);
    return flat;
}

QImage HeaderCell() {
    QImage image = Blank(52, 30);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, 30);
    g.setColorAt(0, QColor(246, 249, 253));
    g.setColorAt(1, QColor(222, 233, 247));
    p.fillRect(image.rect(), g);
    p.fillRect(QRect(0, 29, 52, 1), QColor(176, 198, 228));
    p.fillRect(QRect(0, 0, 52, 1), Qt::white);
    return image;
}

// The small frame: rounded corners of a thin title bar and a thin rim.
void SmallFrame() {
    auto piece = [](int w, int h, const std::function<void(QPainter&)>& draw) {
        QImage image = Blank(w, h);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
        return image;
    };
    QLinearGradient title(0, 0, 0, 21);
    title.setColorAt(0, kTitleTop);
    title.setColorAt(1, kTitleBottom);
    Save(piece(32, 21,
               [&](QPainter& p) {
                   p.fillRect(QRect(0, 0, 32, 21), title);
                   p.fillRect(QRect(0, 0, 1, 21), kFrameLine);
                   p.fillRect(QRect(0, 0, 32, 1), kTitleTop.lighter(118));
               }),
         "Imagelt");
    Save(piece(32, 21,
               [&](QPainter& p) {
                   p.fillRect(QRect(0, 0, 32, 21), title);
                   p.fillRect(QRect(31, 0, 1, 21), kFrameLine);
                   p.fillRect(QRect(0, 0, 32, 1), kTitleTop.lighter(118));
               }),
         "Imagert");
    Save(piece(32, 6,
               [&](QPainter& p) {
                   p.fillRect(QRect(0, 0, 32, 6), kEdge);
                   p.fillRect(QRect(0, 5, 32, 1), kFrameLine);
                   p.fillRect(QRect(0, 0, 1, 6), kFrameLine);
               }),
         "Imagelb");
    Save(piece(32, 6,
               [&](QPainter& p) {
                   p.fillRect(QRect(0, 0, 32, 6), kEdge);
                   p.fillRect(QRect(0, 5, 32, 1), kFrameLine);
                   p.fillRect(QRect(31, 0, 1, 6), kFrameLine);
               }),
         "Imagerb");
    Save(piece(6, 15,
               [&](QPainter& p) {
                   p.fillRect(QRect(0, 0, 6, 15), kEdge);
                   p.fillRect(QRect(0, 0, 1, 15), kFrameLine);
               }),
         "Imagel");
    Save(piece(6, 15,
               [&](QPainter& p) {
                   p.fillRect(QRect(0, 0, 6, 15), kEdge);
                   p.fillRect(QRect(5, 0, 1, 15), kFrameLine);
               }),
         "Imager");
}

// Draws one 16 x 16 symbol with antialiasing, then makes every pixel fully opaque or fully
// the key colour, so the icon shows no fringe of the key colour on any cell colour.
QImage KeyedIcon(int w, const std::function<void(QPainter&)>& draw) {
    QImage art(w, 16, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    {
        QPainter p(&art);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate((w - 16) / 2.0, 0);
        draw(p);
    }
    QImage out(w, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < w; ++x) {
            QColor c = art.pixelColor(x, y);
            out.setPixelColor(x, y,
                              c.alpha() >= 110 ? QColor(c.red(), c.green(), c.blue()) : kIconKey);
        }
    }
    return out;
}

QPen Pen(QColor c, double w = 1.2) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// The eleven category icons, in the order of the default category list.
std::vector<std::function<void(QPainter&)>> CategorySymbols() {
    return {
        [](QPainter& p) {  // 食費: a rice bowl with chopsticks
            p.setPen(Pen(QColor(120, 70, 30), 1.3));
            p.drawLine(QPointF(9, 1.5), QPointF(14.5, 6));
            p.drawLine(QPointF(7, 2), QPointF(13, 6.5));
            p.setPen(Pen(QColor(190, 60, 40)));
            p.setBrush(QColor(232, 96, 76));
            QPainterPath bowl;
            bowl.moveTo(1.5, 8);
            bowl.lineTo(14.5, 8);
            bowl.cubicTo(14.5, 12, 11.5, 14.5, 8, 14.5);
            bowl.cubicTo(4.5, 14.5, 1.5, 12, 1.5, 8);
            p.drawPath(bowl);
            p.setPen(Pen(QColor(220, 220, 220), 1));
            p.setBrush(Qt::white);
            p.drawEllipse(QRectF(3, 5.5, 10, 4));
        },
        [](QPainter& p) {  // 日用品: a bottle of detergent
            p.setPen(Pen(QColor(40, 120, 150)));
            p.setBrush(QColor(120, 210, 230));
            p.drawRoundedRect(QRectF(4, 5, 8, 10), 2, 2);
            p.setBrush(QColor(40, 150, 190));
            p.drawRect(QRectF(6, 1.5, 4, 3.5));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRoundedRect(QRectF(5.5, 8, 5, 4), 1, 1);
        },
        [](QPainter& p) {  // 住居費: a house
            p.setPen(Pen(QColor(150, 70, 40)));
            p.setBrush(QColor(232, 110, 80));
            QPolygonF roof({QPointF(1, 8), QPointF(8, 1.5), QPointF(15, 8)});
            p.drawPolygon(roof);
            p.setPen(Pen(QColor(140, 110, 70)));
            p.setBrush(QColor(250, 226, 170));
            p.drawRect(QRectF(3, 8, 10, 6.5));
            p.setBrush(QColor(120, 80, 50));
            p.drawRect(QRectF(7, 10, 2.5, 4.5));
        },
        [](QPainter& p) {  // 水道光熱費: a light bulb
            QRadialGradient glow(QPointF(8, 6), 6);
            glow.setColorAt(0, QColor(255, 245, 170));
            glow.setColorAt(1, QColor(255, 200, 40));
            p.setPen(Pen(QColor(200, 140, 0)));
            p.setBrush(glow);
            p.drawEllipse(QRectF(3, 1, 10, 10));
            p.setBrush(QColor(150, 150, 160));
            p.setPen(Pen(QColor(100, 100, 110)));
            p.drawRect(QRectF(5.5, 10.5, 5, 4));
            p.drawLine(QPointF(5.5, 12.5), QPointF(10.5, 12.5));
        },
        [](QPainter& p) {  // 通信費: a mobile phone
            p.setPen(Pen(QColor(50, 60, 80)));
            p.setBrush(QColor(70, 80, 100));
            p.drawRoundedRect(QRectF(4, 1, 8, 14.5), 2, 2);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(140, 210, 250));
            p.drawRect(QRectF(5.5, 3, 5, 8));
            p.setBrush(Qt::white);
            p.drawEllipse(QRectF(7.2, 12.2, 1.8, 1.8));
        },
        [](QPainter& p) {  // 交通費: a train
            p.setPen(Pen(QColor(30, 110, 70)));
            p.setBrush(QColor(70, 190, 120));
            p.drawRoundedRect(QRectF(2.5, 1.5, 11, 11), 3, 3);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(220, 245, 255));
            p.drawRect(QRectF(4, 3.5, 8, 4));
            p.setBrush(QColor(255, 230, 120));
            p.drawEllipse(QRectF(4, 9, 2, 2));
            p.drawEllipse(QRectF(10, 9, 2, 2));
            p.setPen(Pen(QColor(80, 80, 80)));
            p.drawLine(QPointF(5, 13), QPointF(3, 15.5));
            p.drawLine(QPointF(11, 13), QPointF(13, 15.5));
        },
        [](QPainter& p) {  // 医療費: a cross in a shield
            p.setPen(Pen(QColor(190, 60, 70)));
            p.setBrush(Qt::white);
            p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(226, 70, 80));
            p.drawRect(QRectF(6.5, 3.5, 3, 9));
            p.drawRect(QRectF(3.5, 6.5, 9, 3));
        },
        [](QPainter& p) {  // 教育費: an open book
            p.setPen(Pen(QColor(60, 80, 160)));
            p.setBrush(QColor(250, 250, 255));
            QPainterPath left;
            left.moveTo(8, 4);
            left.cubicTo(6, 2.5, 3, 2.5, 1, 3.5);
            left.lineTo(1, 13.5);
            left.cubicTo(3, 12.5, 6, 12.5, 8, 14);
            left.closeSubpath();
            p.drawPath(left);
            QPainterPath right;
            right.moveTo(8, 4);
            right.cubicTo(10, 2.5, 13, 2.5, 15, 3.5);
            right.lineTo(15, 13.5);
            right.cubicTo(13, 12.5, 10, 12.5, 8, 14);
            right.closeSubpath();
            p.setBrush(QColor(200, 215, 255));
            p.drawPath(right);
        },
        [](QPainter& p) {  // 交際費: a gift box
            p.setPen(Pen(QColor(160, 60, 130)));
            p.setBrush(QColor(240, 130, 200));
            p.drawRect(QRectF(2, 6, 12, 9));
            p.setBrush(QColor(250, 170, 220));
            p.drawRect(QRectF(1.5, 4, 13, 3));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 215, 90));
            p.drawRect(QRectF(7, 4, 2, 11));
            p.setPen(Pen(QColor(230, 170, 40)));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(4.5, 1, 3.5, 3));
            p.drawEllipse(QRectF(8, 1, 3.5, 3));
        },
        [](QPainter& p) {  // 趣味・娯楽: a music note
            p.setPen(Pen(QColor(110, 60, 170), 1.6));
            p.drawLine(QPointF(6, 12.5), QPointF(6, 2.5));
            p.drawLine(QPointF(13, 10.5), QPointF(13, 1.5));
            p.setPen(Pen(QColor(110, 60, 170), 2.2));
            p.drawLine(QPointF(6, 2.5), QPointF(13, 1.5));
            p.setPen(Pen(QColor(90, 40, 150)));
            p.setBrush(QColor(160, 110, 230));
            p.drawEllipse(QRectF(2, 10.5, 5, 4));
            p.drawEllipse(QRectF(9, 8.5, 5, 4));
        },
        [](QPainter& p) {  // 給料: a coin with the yen sign
            QRadialGradient coin(QPointF(6, 5), 9);
            coin.setColorAt(0, QColor(255, 236, 150));
            coin.setColorAt(1, QColor(240, 170, 30));
            p.setPen(Pen(QColor(190, 120, 10)));
            p.setBrush(coin);
            p.drawEllipse(QRectF(1, 1, 14, 14));
            p.setPen(Pen(QColor(150, 85, 0), 1.4));
            p.drawLine(QPointF(5, 4.5), QPointF(8, 8.2));
            p.drawLine(QPointF(11, 4.5), QPointF(8, 8.2));
            p.drawLine(QPointF(8, 8.2), QPointF(8, 12.5));
            p.drawLine(QPointF(5.5, 9), QPointF(10.5, 9));
            p.drawLine(QPointF(5.5, 11), QPointF(10.5, 11));
        },
    };
}

QImage IconStrip() {
    QImage strip(198, 16, QImage::Format_RGB32);
    strip.fill(kIconKey);
    QPainter p(&strip);
    auto symbols = CategorySymbols();
    for (size_t k = 0; k < symbols.size(); ++k) {
        p.drawImage(int(18 * k), 0, KeyedIcon(18, symbols[k]));
    }
    return strip;
}

QImage InOutIcons() {
    QImage strip(36, 16, QImage::Format_RGB32);
    strip.fill(kIconKey);
    QPainter p(&strip);
    // Expense: an arrow leaving a purse; income: an arrow coming in.
    p.drawImage(0, 0, KeyedIcon(18, [](QPainter& q) {
                    q.setPen(Pen(QColor(200, 70, 60), 1.8));
                    q.drawLine(QPointF(8, 13), QPointF(8, 3));
                    q.drawLine(QPointF(8, 3), QPointF(4, 7));
                    q.drawLine(QPointF(8, 3), QPointF(12, 7));
                }));
    p.drawImage(18, 0, KeyedIcon(18, [](QPainter& q) {
                    q.setPen(Pen(QColor(50, 110, 200), 1.8));
                    q.drawLine(QPointF(8, 3), QPointF(8, 13));
                    q.drawLine(QPointF(8, 13), QPointF(4, 9));
                    q.drawLine(QPointF(8, 13), QPointF(12, 9));
                }));
    return strip;
}

QImage AppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (size >= 32) {
        QLinearGradient g(0, 0, 0, size);
        g.setColorAt(0, kTitleTop);
        g.setColorAt(1, kTitleBottom);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(size * 0.04, size * 0.04, size * 0.92, size * 0.92), size * 0.2,
                          size * 0.2);
        DrawMark(p, QRectF(size * 0.14, size * 0.14, size * 0.72, size * 0.72));
    } else {
        DrawMark(p, QRectF(0, 0, size, size));
    }
    return image;
}

// The icon of AppIcon at 32 pixels and above, as SVG for the icon theme's scalable folder:
// the same shapes, colours and proportions, in a 256-unit square.
QByteArray AppIconSvg() {
    auto rgb = [](QColor c) { return c.name().toLatin1(); };
    QByteArray svg;
    svg +=
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
        "viewBox=\"0 0 256 256\">\n"
        "  <defs>\n"
        "    <linearGradient id=\"frame\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"256\" "
        "gradientUnits=\"userSpaceOnUse\">\n"
        "      <stop offset=\"0\" stop-color=\"" +
        rgb(kTitleTop) +
        "\"/>\n"
        "      <stop offset=\"1\" stop-color=\"" +
        rgb(kTitleBottom) +
        "\"/>\n"
        "    </linearGradient>\n"
        "    <radialGradient id=\"coin\" cx=\"11\" cy=\"10\" r=\"5\" "
        "gradientUnits=\"userSpaceOnUse\">\n"
        "      <stop offset=\"0\" stop-color=\"#ffd678\"/>\n"
        "      <stop offset=\"1\" stop-color=\"" +
        rgb(kAccent) +
        "\"/>\n"
        "    </radialGradient>\n"
        "  </defs>\n"
        "  <rect x=\"10.24\" y=\"10.24\" width=\"235.52\" height=\"235.52\" rx=\"51.2\" "
        "fill=\"url(#frame)\"/>\n"
        "  <g transform=\"translate(35.84 35.84) scale(11.52)\" stroke-linecap=\"square\">\n"
        "    <rect x=\"1.5\" y=\"2.5\" width=\"11\" height=\"12\" rx=\"1.5\" fill=\"#ffffff\" "
        "stroke=\"#285aa0\" stroke-width=\"0.9\"/>\n"
        "    <rect x=\"1.5\" y=\"2.5\" width=\"2.5\" height=\"12\" fill=\"#68a4e8\" "
        "stroke=\"#285aa0\" stroke-width=\"0.9\"/>\n"
        "    <path d=\"M5.5 6H10.5M5.5 8.5H10.5M5.5 11H10.5\" stroke=\"#96aac8\" "
        "stroke-width=\"0.8\"/>\n"
        "    <circle cx=\"11.75\" cy=\"11.25\" r=\"3.75\" fill=\"url(#coin)\" "
        "stroke=\"#c87814\" stroke-width=\"0.8\"/>\n"
        "    <path d=\"M10.3 9.3L11.75 11.1L13.2 9.3M11.75 11.1V13.6M10.5 11.6H13\" fill=\"none\" "
        "stroke=\"#965000\" stroke-width=\"0.9\"/>\n"
        "  </g>\n"
        "</svg>\n";
    return svg;
}

// The icon theme's copies of the program's icon: ICON_FOLDER/hicolor/NxN/apps/vantrel.png at
// the sizes desktops ask for, and hicolor/scalable/apps/vantrel.svg.
void ThemeIcons(const QString& folder) {
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(folder).arg(size);
        QDir().mkpath(dir);
        if (!AppIcon(size).save(dir + "/vantrel.png", "PNG")) {
            std::fprintf(stderr, "cannot write %s/vantrel.png\n", qPrintable(dir));
            std::exit(1);
        }
    }
    const QString dir = folder + "/hicolor/scalable/apps";
    QDir().mkpath(dir);
    QFile svg(dir + "/vantrel.svg");
    if (!svg.open(QIODevice::WriteOnly) || svg.write(AppIconSvg()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svg.fileName()));
        std::exit(1);
    }
}

// A navigation button face: a symbol over a caption, on a transparent background.
QImage ButtonGlyph(int w, int h, const QString& caption,
                   const std::function<void(QPainter&)>& symbol) {
    QImage image(w * g_scale, h * g_scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(g_scale, g_scale);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.save();
    p.translate((w - 30) / 2.0, 4);
    symbol(p);
    p.restore();
    p.setFont(Font(11, true));
    p.setPen(kInk);
    p.drawText(QRect(0, h - 20, w, 16), Qt::AlignCenter, caption);
    return image;
}

void Circle(QPainter& p, QColor fill) {
    QLinearGradient g(0, 0, 0, 30);
    g.setColorAt(0, fill.lighter(125));
    g.setColorAt(1, fill);
    p.setPen(QPen(fill.darker(130), 1));
    p.setBrush(g);
    p.drawEllipse(QRectF(1, 1, 28, 28));
}

void Glyphs() {
    const QColor blue(74, 140, 220);
    auto arrow = [](QPainter& p, bool left) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        QPolygonF tri = left ? QPolygonF({QPointF(18, 8), QPointF(10, 15), QPointF(18, 22)})
                             : QPolygonF({QPointF(12, 8), QPointF(20, 15), QPointF(12, 22)});
        p.drawPolygon(tri);
    };
    // The day buttons, and the calendar's month buttons with the same arrows.
    const struct {
        const char* caption;
        bool left;
        const char* name;
    } arrows[] = {{"前日", true, "glyph_prev"},
                  {"翌日", false, "glyph_next"},
                  {"前月", true, "glyph_prev_month"},
                  {"翌月", false, "glyph_next_month"}};
    for (const auto& a : arrows) {
        Save(ButtonGlyph(42, 58, QString::fromUtf8(a.caption),
                         [&](QPainter& p) {
                             Circle(p, blue);
                             arrow(p, a.left);
                         }),
             a.name);
    }
    Save(ButtonGlyph(42, 58, QStringLiteral("今日"),
                     [&](QPainter& p) {
                         Circle(p, kAccent);
                         p.setPen(Qt::NoPen);
                         p.setBrush(Qt::white);
                         p.drawEllipse(QRectF(10, 10, 10, 10));
                     }),
         "glyph_today");
    Save(ButtonGlyph(58, 58, QStringLiteral("カレンダー"),
                     [&](QPainter& p) {
                         p.setPen(QPen(QColor(70, 120, 190), 1.4));
                         p.setBrush(Qt::white);
                         p.drawRoundedRect(QRectF(2, 3, 26, 25), 4, 4);
                         p.setPen(Qt::NoPen);
                         p.setBrush(QColor(232, 96, 76));
                         p.drawRoundedRect(QRectF(2.7, 3.7, 24.6, 7), 3, 3);
                         p.setBrush(QColor(120, 150, 190));
                         for (int row = 0; row < 3; ++row) {
                             for (int col = 0; col < 4; ++col) {
                                 p.drawRect(QRectF(6 + col * 5.2, 13.5 + row * 4.5, 3, 3));
                             }
                         }
                     }),
         "glyph_calendar");
    Save(ButtonGlyph(
             58, 58, QStringLiteral("費目設定"),
             [&](QPainter& p) {
                 p.setPen(QPen(QColor(90, 110, 140), 1.2));
                 p.setBrush(QColor(246, 248, 252));
                 p.drawRoundedRect(QRectF(3, 2, 24, 26), 3, 3);
                 QColor dots[3] = {QColor(232, 96, 76), QColor(70, 190, 120), QColor(240, 170, 30)};
                 for (int k = 0; k < 3; ++k) {
                     p.setPen(Qt::NoPen);
                     p.setBrush(dots[k]);
                     p.drawEllipse(QRectF(7, 6.5 + k * 7, 4.5, 4.5));
                     p.setPen(QPen(QColor(130, 140, 160), 1.6, Qt::SolidLine, Qt::RoundCap));
                     p.drawLine(QPointF(14, 8.8 + k * 7), QPointF(23, 8.8 + k * 7));
                 }
             }),
         "glyph_categories");
    Save(ButtonGlyph(58, 58, QStringLiteral("グラフ"),
                     [&](QPainter& p) {
                         p.setPen(QPen(QColor(90, 110, 140), 1));
                         p.setBrush(QColor(107, 107, 255));
                         p.drawPie(QRectF(2, 2, 26, 26), 90 * 16, -130 * 16);
                         p.setBrush(QColor(255, 211, 62));
                         p.drawPie(QRectF(2, 2, 26, 26), -40 * 16, -110 * 16);
                         p.setBrush(QColor(73, 220, 0));
                         p.drawPie(QRectF(2, 2, 26, 26), -150 * 16, -120 * 16);
                     }),
         "glyph_graph");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: skingen SKIN_FOLDER ICON_FOLDER\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_out);

    QImage window = Frame(true);
    Save(window, "img_window");
    Save(Frame(false), "img_window2");
    Save(Logo(window), "image_vantrel");
    Save(DateBand(), "img_date");
    Save(HeaderCell(), "img_toprowbg");
    SmallFrame();
    Save(IconStrip(), "icons");
    Save(InOutIcons(), "inouticons");
    Save(AppIcon(16), "window_icon");
    Save(AppIcon(48), "vantrel_48");
    Glyphs();
    g_scale = 2;
    Glyphs();
    Save(AppIcon(32), "window_icon");
    ThemeIcons(QString::fromLocal8Bit(argv[2]));
    return 0;
}
