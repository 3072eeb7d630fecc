#include "skin/skin.h"
#include "skin/builtinicons.h"

#include <gtest/gtest.h>
#include <QColor>
#include <QImage>

namespace {

// A picture whose every pixel tells where it came from: red = x, green = y, blue = tag.
QImage Tagged(int w, int h, int tag) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, tag));
    }
    return image;
}

skin::SkinImages TaggedSkin() {
    skin::SkinImages s;
    s.window = Tagged(370, 230, 1);
    s.window2 = Tagged(370, 230, 2);
    s.logo = Tagged(226, 39, 3);
    s.date = Tagged(760, 48, 4);
    s.toprowbg = Tagged(52, 30, 5);
    return s;
}

skin::SmallFrameImages TaggedSmallFrame() {
    skin::SmallFrameImages s;
    s.lt = Tagged(32, 21, 6);
    s.rt = Tagged(32, 21, 7);
    s.lb = Tagged(32, 6, 8);
    s.rb = Tagged(32, 6, 9);
    s.l = Tagged(6, 15, 10);
    s.r = Tagged(6, 15, 11);
    return s;
}

// A pixel that must come from picture `tag` at source x in [x0, x1] and y in [y0, y1]
// (a range where the rule stretches a piece).
struct Probe {
    int x, y;
    int tag;
    int x0, x1, y0, y1;
};

Probe At(int x, int y, QRgb exact) {
    return {x, y, qBlue(exact), qRed(exact), qRed(exact), qGreen(exact), qGreen(exact)};
}

void ExpectPixels(const QImage& image, const std::vector<Probe>& probes) {
    for (const Probe& p : probes) {
        QRgb c = image.pixel(p.x, p.y);
        EXPECT_EQ(qBlue(c), p.tag) << "at " << p.x << "," << p.y;
        EXPECT_GE(qRed(c), p.x0 % 256) << "at " << p.x << "," << p.y;
        EXPECT_LE(qRed(c), p.x1 % 256) << "at " << p.x << "," << p.y;
        EXPECT_GE(qGreen(c), p.y0) << "at " << p.x << "," << p.y;
        EXPECT_LE(qGreen(c), p.y1) << "at " << p.x << "," << p.y;
    }
}

TEST(Skin, MainWindowComposition) {
    QImage image = skin::ComposeMainSkin(TaggedSkin(), QSize(800, 600));
    ExpectPixels(
        image,
        {
            At(400, 100, qRgb(222, 100, 2)),    // top band: column 222 of the dialog source
            At(400, 142, qRgb(380, 36, 4)),     // the date band over it
            At(400, 300, qRgb(255, 255, 255)),  // the body is white
            {5, 300, 1, 5, 5, 130, 139},        // left edge: the 20 x 10 piece stretched
            {795, 300, 1, 365, 365, 130, 139},
            At(400, 585, qRgb(120, 215, 1)),           // bottom edge: column 120, rows 210 to 229
            At(100, 50, qRgb(100, 50, 1)),             // top-left corner below the logo
            At(10, 10, qRgb(10, 10, 3)),               // the logo over it
            At(800 - 156 + 10, 20, qRgb(224, 20, 1)),  // top-right corner from x 214
            At(10, 590, qRgb(10, 220, 1)),             // bottom-left corner from y 200
            At(800 - 119 + 5, 590, qRgb(256 % 256, 220, 1)),  // bottom-right corner from x 251
            At(20 + 7, 106 + 9, qRgb(7, 9, 4)),               // date band
            At(20 + 759, 106 + 47, qRgb(759 % 256, 47, 4)),
        });
}

TEST(Skin, DialogComposition) {
    QImage image = skin::ComposeDialogSkin(TaggedSkin(), QSize(500, 400));
    ExpectPixels(image, {
                            At(300, 100, qRgb(210, 100, 2)),  // top band: column 210
                            At(213, 50, qRgb(213, 50, 2)),    // top-left corner is 214 wide
                            At(10, 10, qRgb(10, 10, 2)),      // no logo
                            {5, 200, 2, 5, 5, 130, 139},
                            At(500 - 156, 20, qRgb(214, 20, 2)),
                            At(250, 395, qRgb(120, 225, 2)),
                            At(100, 200, qRgb(255, 255, 255)),  // no date band
                        });
}

TEST(Skin, SmallFrameComposition) {
    QImage image = skin::ComposeSmallFrameSkin(TaggedSmallFrame(), QSize(300, 200));
    ExpectPixels(image,
                 {
                     At(3, 3, qRgb(3, 3, 6)),
                     At(300 - 32 + 3, 3, qRgb(3, 3, 7)),
                     At(3, 197, qRgb(3, 3, 8)),
                     At(300 - 32 + 3, 197, qRgb(3, 3, 9)),
                     {150, 10, 6, 29, 30, 10, 10},  // top edge from the 2-pixel column at x 29
                     {150, 197, 8, 29, 30, 3, 3},
                     At(2, 100, qRgb(2, 0, 10)),  // left side: row 0 of the side piece
                     At(297, 100, qRgb(3, 0, 11)),
                     At(150, 100, qRgb(255, 255, 255)),
                 });
}

TEST(Skin, BuiltinPicturesHaveTheirSizes) {
    skin::SkinImages s = skin::SkinImages::Builtin();
    EXPECT_EQ(s.window.size(), QSize(370, 230));
    EXPECT_EQ(s.window2.size(), QSize(370, 230));
    EXPECT_EQ(s.logo.size(), QSize(226, 39));
    EXPECT_EQ(s.date.size(), QSize(760, 48));
    EXPECT_EQ(s.toprowbg.size(), QSize(52, 30));
    skin::SmallFrameImages f = skin::SmallFrameImages::Builtin();
    EXPECT_EQ(f.lt.size(), QSize(32, 21));
    EXPECT_EQ(f.rb.size(), QSize(32, 6));
    EXPECT_EQ(f.l.size(), QSize(6, 15));
    EXPECT_EQ(QImage(":/skin/icons.png").size(), QSize(198, 16));
    EXPECT_EQ(QImage(":/skin/inouticons.png").size(), QSize(36, 16));
    EXPECT_EQ(QImage(":/skin/window_icon.png").size(), QSize(16, 16));
}

TEST(BuiltinIcons, CutFromTheStripWithTheCornerColourTransparent) {
    QImage strip(198, 16, QImage::Format_RGB32);
    strip.fill(qRgb(255, 0, 255));
    for (int k = 0; k < 11; ++k)
        strip.setPixel(18 * k + 5, 7, qRgb(k, 100, 200));
    skin::BuiltinIcons icons = skin::BuiltinIcons::FromStrip(strip);
    EXPECT_EQ(icons.background, QColor(255, 0, 255));
    for (int k = 0; k < 11; ++k) {
        ASSERT_EQ(icons.pieces[static_cast<size_t>(k)].size(), QSize(18, 16));
        EXPECT_EQ(QColor(icons.pieces[static_cast<size_t>(k)].pixel(5, 7)), QColor(k, 100, 200));
    }
    QImage drawn = skin::KeyedPixmap(icons.pieces[3], icons.background).toImage();
    EXPECT_EQ(qAlpha(drawn.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(drawn.pixel(5, 7)), 255);
}

}  // namespace
