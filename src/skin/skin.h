#pragma once

#include <QImage>
#include <QSize>
#include <QWidget>

class QPainter;

namespace skin {

// The bitmaps every window's frame is drawn from.
struct SkinImages {
    QImage window;    // img_window, 370 x 230: main window frame source
    QImage window2;   // img_window2, 370 x 230: dialog frame source
    QImage logo;      // image_vantrel, 226 x 39
    QImage date;      // img_date, 760 x 48: band behind the date line
    QImage toprowbg;  // img_toprowbg, 52 x 30: grid header background

    // The program's own pictures.
    static SkinImages Builtin();
};

// The pieces of the thin frame of the small dialogs, loaded when such a dialog is made.
struct SmallFrameImages {
    QImage lt, rt;  // Imagelt, Imagert, 32 x 21: top corners
    QImage lb, rb;  // Imagelb, Imagerb, 32 x 6: bottom corners
    QImage l, r;    // Imagel, Imager, 6 x 15: sides

    static SmallFrameImages Builtin();
};

// The main window's background: frame, top band, logo and date band.
void PaintMainSkin(QPainter& painter, const SkinImages& skin, QSize size);
QImage ComposeMainSkin(const SkinImages& skin, QSize size);

// The main window's background, painted from the skin pieces whenever it shows: no
// full-window picture is kept beside the window's own buffer.
class SkinBackground : public QWidget {
public:
    SkinBackground(const SkinImages& skin, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const SkinImages& skin_;
};
// A dialog's background: the same frame from the dialog source, without logo or date band.
QImage ComposeDialogSkin(const SkinImages& skin, QSize size);
// The thin frame of the small dialogs.
QImage ComposeSmallFrameSkin(const SmallFrameImages& skin, QSize size);

}  // namespace skin
