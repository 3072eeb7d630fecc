#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <filesystem>
#include <optional>
#include <string_view>

namespace categories {

// The picture of an extra category icon and its mask (white marks transparent pixels),
// both 16 x 16.
struct IconPicture {
    QImage picture;
    QImage mask;
};

// Where the mask bitmap of an icon pack starts: the last even offset from 2200 to 2400
// whose 16-bit little-endian word reads "BM". nullopt when there is none.
std::optional<size_t> FindMaskOffset(std::string_view pack);

// Splits an icon pack: the picture bitmap runs from offset 904 to the mask offset, the mask
// from there to the end. nullopt, with the reason in `why`, when the file is not such a pack.
std::optional<IconPicture> ReadIconPack(std::string_view bytes, QString* why);

// Turns a 16 x 16 bitmap into picture and mask: its corner pixel's colour is transparent.
// nullopt, with the reason in `why`, for another size or a file that is not a bitmap.
std::optional<IconPicture> ReadIconBitmap(std::string_view bytes, QString* why);

// Reads an icon file (".pac" or ".bmp", in any letter case). The picture and the mask also
// go to the scratch files "~temp.tmp" and "~tempM.tmp" in `scratchFolder`, as bitmap files.
std::optional<IconPicture> ReadIconFile(const std::filesystem::path& file,
                                        const std::filesystem::path& scratchFolder, QString* why);

// The icon as drawn: the picture with every masked pixel set to the background colour,
// which is then drawn as transparent.
QImage SlotImage(const IconPicture& icon, const QColor& background);

// Whether a file name has an icon file's extension.
bool IsIconFileName(const QString& name);

}  // namespace categories
