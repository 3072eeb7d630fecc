#include "skin/skin.h"

#include <QPaintEvent>
#include <QPainter>

namespace skin {
namespace {

QImage Load(const char* name) {
    return QImage(QStringLiteral(":/skin/%1.png").arg(QLatin1String(name)))
        .convertToFormat(QImage::Format_RGB32);
}

// Copies (stretching) a rectangle of `source` onto a rectangle of the image, pixel for
// pixel: no smoothing, so stretched columns stay exact copies.
void Put(QPainter& p, const QRect& target, const QImage& source, const QRect& from) {
    p.drawImage(target, source, from);
}

// The frame both the main window and the dialogs use; `topBandX` and `cornerWidth` are
// where they differ.
void PaintFrame(QPainter& p, const QImage& band, int topBandX, const QImage& frame, int cornerWidth,
                QSize size) {
    const int w = size.width();
    const int h = size.height();
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    Put(p, QRect(0, 0, w, 143), band, QRect(topBandX, 0, 1, 143));
    Put(p, QRect(0, 0, 20, h), frame, QRect(0, 130, 20, 10));
    Put(p, QRect(w - 20, 0, 20, h), frame, QRect(350, 130, 20, 10));
    Put(p, QRect(0, h - 20, w, 20), frame, QRect(120, 210, 1, 20));
    Put(p, QRect(0, 0, cornerWidth, 143), frame, QRect(0, 0, cornerWidth, 143));
    Put(p, QRect(w - 156, 0, 156, 143), frame, QRect(214, 0, 156, 143));
    Put(p, QRect(0, h - 30, 130, 30), frame, QRect(0, 200, 130, 30));
    Put(p, QRect(w - 119, h - 30, 119, 30), frame, QRect(251, 200, 119, 30));
}

QImage ComposeFrame(const QImage& band, int topBandX, const QImage& frame, int cornerWidth,
                    QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    PaintFrame(p, band, topBandX, frame, cornerWidth, size);
    return image;
}

}  // namespace

SkinImages SkinImages::Builtin() {
    SkinImages s;
    s.window = Load("img_window");
    s.window2 = Load("img_window2");
    s.logo = Load("image_vantrel");
    s.date = Load("img_date");
    s.toprowbg = Load("img_toprowbg");
    return s;
}

SmallFrameImages SmallFrameImages::Builtin() {
    SmallFrameImages s;
    s.lt = Load("Imagelt");
    s.rt = Load("Imagert");
    s.lb = Load("Imagelb");
    s.rb = Load("Imagerb");
    s.l = Load("Imagel");
    s.r = Load("Imager");
    return s;
}

void PaintMainSkin(QPainter& p, const SkinImages& skin, QSize size) {
    PaintFrame(p, skin.window2, 222, skin.window, 222, size);
    p.drawImage(0, 0, skin.logo);
    p.drawImage(20, 106, skin.date);
}

QImage ComposeMainSkin(const SkinImages& skin, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    PaintMainSkin(p, skin, size);
    return image;
}

SkinBackground::SkinBackground(const SkinImages& skin, QWidget* parent)
    : QWidget(parent), skin_(skin) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinBackground::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setClipRegion(event->region());
    PaintMainSkin(p, skin_, size());
}

QImage ComposeDialogSkin(const SkinImages& skin, QSize size) {
    return ComposeFrame(skin.window2, 210, skin.window2, 214, size);
}

QImage ComposeSmallFrameSkin(const SmallFrameImages& skin, QSize size) {
    const int w = size.width();
    const int h = size.height();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(0, 0, skin.lt);
    p.drawImage(w - 32, 0, skin.rt);
    p.drawImage(0, h - 6, skin.lb);
    p.drawImage(w - 32, h - 6, skin.rb);
    Put(p, QRect(32, 0, w - 64, 21), skin.lt, QRect(29, 0, 2, 21));
    Put(p, QRect(32, h - 6, w - 64, 6), skin.lb, QRect(29, 0, 2, 6));
    Put(p, QRect(0, 21, 6, h - 27), skin.l, QRect(0, 0, 6, 1));
    Put(p, QRect(w - 6, 21, 6, h - 27), skin.r, QRect(0, 0, 6, 1));
    return image;
}

}  // namespace skin
