#include "categories/iconpack.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QImage>

namespace {

std::string Bmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

// 16 x 16 with a magenta background and a blue 4 x 4 square at (6, 6).
QImage Sample(QImage::Format format) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 255));
    for (int y = 6; y < 10; ++y) {
        for (int x = 6; x < 10; ++x)
            image.setPixel(x, y, qRgb(0, 0, 200));
    }
    return image.convertToFormat(format);
}

// A 16 x 16 bitmap with a full 256-colour table, as icon packs carry them (1334 bytes).
std::string Bmp8(const QImage& source) {
    QImage image = source.convertToFormat(QImage::Format_Indexed8);
    auto le = [](std::string& out, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out += char((v >> (8 * i)) & 0xFF);
    };
    std::string out = "BM";
    le(out, 1334, 4);
    le(out, 0, 4);
    le(out, 14 + 40 + 1024, 4);
    le(out, 40, 4);
    le(out, 16, 4);
    le(out, 16, 4);
    le(out, 1, 2);
    le(out, 8, 2);
    le(out, 0, 4);
    le(out, 256, 4);
    le(out, 0, 4);
    le(out, 0, 4);
    le(out, 256, 4);
    le(out, 0, 4);
    QVector<QRgb> table = image.colorTable();
    for (int i = 0; i < 256; ++i) {
        QRgb c = i < table.size() ? table[i] : 0;
        out += char(qBlue(c));
        out += char(qGreen(c));
        out += char(qRed(c));
        out += '\0';
    }
    for (int y = 15; y >= 0; --y) {  // bottom-up rows of 16 bytes
        for (int x = 0; x < 16; ++x)
            out += char(image.pixelIndex(x, y));
    }
    return out;
}

// An icon pack: 904 bytes of header, the picture bitmap, then the mask bitmap.
std::string Pack(const std::string& picture, const std::string& mask) {
    return std::string(904, 'h') + picture + mask;
}

TEST(IconPack, FindsTheLastMaskWordInItsWindow) {
    std::string bytes(3000, '\0');
    EXPECT_FALSE(categories::FindMaskOffset(bytes));
    bytes.replace(2238, 2, "BM");
    EXPECT_EQ(categories::FindMaskOffset(bytes), 2238u);
    bytes.replace(2300, 2, "BM");
    bytes.replace(2401, 2, "BM");  // odd offset and past the window: not looked at
    bytes.replace(2199, 2, "BM");
    EXPECT_EQ(categories::FindMaskOffset(bytes), 2300u);
    EXPECT_FALSE(categories::FindMaskOffset(bytes.substr(0, 2230)));
}

TEST(IconPack, ReadsPictureAndMask) {
    QImage picture = Sample(QImage::Format_Indexed8);
    QImage mask(16, 16, QImage::Format_RGB32);
    mask.fill(Qt::white);
    mask.setPixel(7, 7, qRgb(0, 0, 0));
    std::string pictureBmp = Bmp8(picture);
    ASSERT_EQ(pictureBmp.size(), 1334u);  // 256-colour table: the mask starts at 2238
    std::string pack = Pack(pictureBmp, Bmp8(mask));
    EXPECT_EQ(categories::FindMaskOffset(pack), 2238u);
    QString why;
    auto icon = categories::ReadIconPack(pack, &why);
    ASSERT_TRUE(icon) << why.toStdString();
    EXPECT_EQ(QColor(icon->picture.pixel(7, 7)), QColor(0, 0, 200));
    EXPECT_EQ(QColor(icon->mask.pixel(7, 7)), QColor(0, 0, 0));
    QImage slot = categories::SlotImage(*icon, QColor(1, 2, 3));
    EXPECT_EQ(QColor(slot.pixel(7, 7)), QColor(0, 0, 200));
    EXPECT_EQ(QColor(slot.pixel(0, 0)), QColor(1, 2, 3));
}

TEST(IconPack, RefusesAPackWithoutMask) {
    QString why;
    EXPECT_FALSE(categories::ReadIconPack(std::string(904, 'h') + std::string(2000, 'x'), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("マスク")));
}

TEST(IconBitmap, CornerColourBecomesTransparentIn8And24Bit) {
    for (QImage::Format format : {QImage::Format_Indexed8, QImage::Format_RGB888}) {
        QString why;
        auto icon = categories::ReadIconBitmap(Bmp(Sample(format)), &why);
        ASSERT_TRUE(icon) << why.toStdString();
        EXPECT_EQ(QColor(icon->picture.pixel(0, 0)), QColor(0, 0, 0));
        EXPECT_EQ(QColor(icon->mask.pixel(0, 0)), QColor(255, 255, 255));
        EXPECT_EQ(QColor(icon->mask.pixel(15, 15)), QColor(255, 255, 255));
        EXPECT_EQ(QColor(icon->picture.pixel(8, 8)), QColor(0, 0, 200));
        EXPECT_EQ(QColor(icon->mask.pixel(8, 8)), QColor(0, 0, 0));
    }
}

TEST(IconBitmap, RefusesOtherSizesAndNonBitmaps) {
    QString why;
    EXPECT_FALSE(categories::ReadIconBitmap(Bmp(QImage(15, 16, QImage::Format_RGB32)), &why));
    EXPECT_FALSE(categories::ReadIconBitmap(Bmp(QImage(16, 17, QImage::Format_RGB32)), &why));
    EXPECT_FALSE(categories::ReadIconBitmap("not a bitmap", &why));
}

TEST(IconFile, ByExtensionInAnyCaseAndWritesTheScratchFiles) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir / "a.BMP", Bmp(Sample(QImage::Format_RGB888)));
    QString why;
    auto icon = categories::ReadIconFile(dir / "a.BMP", dir.path(), &why);
    ASSERT_TRUE(icon) << why.toStdString();
    QImage scratch(QString::fromStdString((dir / "~temp.tmp").string()), "BMP");
    QImage scratchMask(QString::fromStdString((dir / "~tempM.tmp").string()), "BMP");
    EXPECT_EQ(scratch.size(), QSize(16, 16));
    EXPECT_EQ(QColor(scratchMask.pixel(0, 0)), QColor(255, 255, 255));

    testsupport::WriteBytes(dir / "b.png", "x");
    EXPECT_FALSE(categories::ReadIconFile(dir / "b.png", dir.path(), &why));
    EXPECT_FALSE(categories::ReadIconFile(dir / "missing.pac", dir.path(), &why));
    EXPECT_TRUE(categories::IsIconFileName("X.PAC"));
    EXPECT_FALSE(categories::IsIconFileName("x.pac.txt"));
}

}  // namespace
