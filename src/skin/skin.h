#pragma once

#include <QImage>
#include <QSize>

namespace skin {

// The bitmaps every window's frame is drawn from.
struct SkinImages {
    QImage window;    // img_window, 370 x 230: main window frame source
    QImage window2;   // img_window2, 370 x 230: dialog frame source
    QImage logo;      // image_vantrel, 226 x 39
    QImage date;      // img_date, 760 x 48: band behind the date line
    QImage toprowbg;  // img_toprowbg, 52 x 30: grid header background
    QImage lt, rt;    // Imagelt, Imagert, 32 x 21: small frame top corners
    QImage lb, rb;    // Imagelb, Imagerb, 32 x 6: small frame bottom corners
    QImage l, r;      // Imagel, Imager, 6 x 15: small frame sides

    // The program's own pictures.
    static SkinImages Builtin();
};

// The main window's background: frame, top band, logo and date band.
QImage ComposeMainSkin(const SkinImages& skin, QSize size);
// A dialog's background: the same frame from the dialog source, without logo or date band.
QImage ComposeDialogSkin(const SkinImages& skin, QSize size);
// The thin frame of the small dialogs.
QImage ComposeSmallFrameSkin(const SkinImages& skin, QSize size);

}  // namespace skin
