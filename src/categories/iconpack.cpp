#include "categories/iconpack.h"

#include "ledger/fileerror.h"
#include "ledger/textfile.h"

#include <QBuffer>

namespace categories {
namespace {

constexpr size_t kPictureOffset = 904;
constexpr size_t kFirstMaskProbe = 2200;
constexpr size_t kLastMaskProbe = 2400;
constexpr int kSize = 16;

QImage DecodeBitmap(std::string_view bytes) {
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()),
                       "BMP");
    return image.convertToFormat(QImage::Format_RGB32);
}

QByteArray EncodeBitmap(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QString Suffix(const QString& name) {
    qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

}  // namespace

std::optional<size_t> FindMaskOffset(std::string_view pack) {
    std::optional<size_t> found;
    for (size_t offset = kFirstMaskProbe; offset <= kLastMaskProbe && offset + 1 < pack.size();
         offset += 2) {
        if (pack[offset] == 'B' && pack[offset + 1] == 'M')
            found = offset;
    }
    return found;
}

std::optional<IconPicture> ReadIconPack(std::string_view bytes, QString* why) {
    std::optional<size_t> mask = FindMaskOffset(bytes);
    if (!mask || *mask <= kPictureOffset) {
        if (why)
            *why =
                QStringLiteral("アイコンパックの形式が正しくありません（マスクが見つかりません）");
        return std::nullopt;
    }
    IconPicture icon{DecodeBitmap(bytes.substr(kPictureOffset, *mask - kPictureOffset)),
                     DecodeBitmap(bytes.substr(*mask))};
    if (icon.picture.isNull() || icon.mask.isNull()) {
        if (why)
            *why = QStringLiteral("アイコンパックの画像を読み込めません");
        return std::nullopt;
    }
    // A slot draws 16 x 16 pixels: a pack of another size would spill over its row.
    if (icon.picture.size() != QSize(kSize, kSize) || icon.mask.size() != QSize(kSize, kSize)) {
        if (why)
            *why = QStringLiteral("アイコンパックの画像が 16×16 ではありません");
        return std::nullopt;
    }
    return icon;
}

std::optional<IconPicture> ReadIconBitmap(std::string_view bytes, QString* why) {
    QImage image = DecodeBitmap(bytes);
    if (image.isNull()) {
        if (why)
            *why = QStringLiteral("ビットマップを読み込めません");
        return std::nullopt;
    }
    if (image.width() != kSize || image.height() != kSize) {
        if (why)
            *why = QStringLiteral("16×16 のビットマップではありません");
        return std::nullopt;
    }
    const QRgb transparent = image.pixel(0, 0);
    IconPicture icon{QImage(kSize, kSize, QImage::Format_RGB32),
                     QImage(kSize, kSize, QImage::Format_RGB32)};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const bool clear = image.pixel(x, y) == transparent;
            icon.picture.setPixel(x, y, clear ? qRgb(0, 0, 0) : image.pixel(x, y));
            icon.mask.setPixel(x, y, clear ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
    }
    return icon;
}

std::optional<IconPicture> ReadIconFile(const std::filesystem::path& file,
                                        const std::filesystem::path& scratchFolder, QString* why) {
    const QString suffix = Suffix(QString::fromStdString(file.filename().string()));
    if (suffix != QStringLiteral(".pac") && suffix != QStringLiteral(".bmp")) {
        if (why)
            *why = QStringLiteral("アイコンは .pac か .bmp のファイルです");
        return std::nullopt;
    }
    std::optional<std::string> bytes;
    try {
        bytes = ledger::ReadWholeFile(file);
    } catch (const ledger::FileError& e) {
        if (why)
            *why = QString::fromStdString(e.what());
        return std::nullopt;
    }
    if (!bytes) {
        if (why)
            *why = QStringLiteral("ファイルがありません: ") + QString::fromStdString(file.string());
        return std::nullopt;
    }
    std::optional<IconPicture> icon =
        suffix == QStringLiteral(".pac") ? ReadIconPack(*bytes, why) : ReadIconBitmap(*bytes, why);
    if (!icon)
        return icon;
    // The scratch copies are for other tools that look at the icon being loaded; the icon
    // itself is already in memory, so a folder that cannot take them costs nothing.
    try {
        QByteArray picture = EncodeBitmap(icon->picture);
        QByteArray mask = EncodeBitmap(icon->mask);
        ledger::WriteFileAtomic(scratchFolder / "~temp.tmp",
                                std::string_view(picture.constData(), size_t(picture.size())),
                                ledger::SyncMode::NoSync);
        ledger::WriteFileAtomic(scratchFolder / "~tempM.tmp",
                                std::string_view(mask.constData(), size_t(mask.size())),
                                ledger::SyncMode::NoSync);
    } catch (const ledger::FileError&) {
    }
    return icon;
}

QImage SlotImage(const IconPicture& icon, const QColor& background) {
    QImage image = icon.picture.convertToFormat(QImage::Format_RGB32);
    const QImage mask = icon.mask.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < std::min(image.height(), mask.height()); ++y) {
        for (int x = 0; x < std::min(image.width(), mask.width()); ++x) {
            if ((mask.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                image.setPixel(x, y, background.rgb());
        }
    }
    return image;
}

bool IsIconFileName(const QString& name) {
    const QString suffix = Suffix(name);
    return suffix == QStringLiteral(".pac") || suffix == QStringLiteral(".bmp");
}

}  // namespace categories
