// Icon packs and bitmaps: any file is read into a 16 x 16 picture and mask, or refused with
// a reason.

#include "fuzzsupport.h"

#include "categories/iconpack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzzsupport::AsText(data, size);
    if (const auto offset = categories::FindMaskOffset(bytes))
        FUZZ_CHECK(*offset < bytes.size() && *offset % 2 == 0);
    for (bool pack : {true, false}) {
        QString why;
        const std::optional<categories::IconPicture> icon =
            pack ? categories::ReadIconPack(bytes, &why) : categories::ReadIconBitmap(bytes, &why);
        if (!icon) {
            FUZZ_CHECK(!why.isEmpty());
            continue;
        }
        FUZZ_CHECK(icon->picture.size() == QSize(16, 16));
        FUZZ_CHECK(icon->mask.size() == QSize(16, 16));
        const QImage drawn = categories::SlotImage(*icon, Qt::magenta);
        FUZZ_CHECK(drawn.size() == QSize(16, 16));
    }
    return 0;
}
