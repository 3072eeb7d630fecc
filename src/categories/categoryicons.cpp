#include "categories/categoryicons.h"

#include "categories/iconpack.h"
#include "ledger/cp932.h"
#include "ledger/fileerror.h"
#include "platform/errortext.h"
#include "platform/textcodec.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace categories {

void LoadCategoryIcons(state::AppState& state, const skin::BuiltinIcons& builtin) {
    state.icons.SetBackground(builtin.background);
    for (int k = 0; k < skin::BuiltinIcons::kCount; ++k) {
        state.icons.SetIcon(
            k, skin::KeyedPixmap(builtin.pieces[static_cast<size_t>(k)], builtin.background));
    }
    for (int slot = 0; slot < state.settings.UsedSlots(); ++slot)
        LoadSlotIcon(state, slot);
}

bool LoadSlotIcon(state::AppState& state, int slot, QString* why) {
    const int position = state::IconSet::kBuiltIn + slot;
    state.icons.SetIcon(position, {});
    const std::string& name = state.settings.extIconNames.at(static_cast<size_t>(slot));
    if (name.empty())
        return true;
    std::optional<IconPicture> icon =
        ReadIconFile(state.folders.Icons() / name, state.folders.program, why);
    if (!icon)
        return false;
    state.icons.SetIcon(position, skin::KeyedPixmap(SlotImage(*icon, state.icons.background()),
                                                    state.icons.background()));
    return true;
}

}  // namespace categories

namespace categories {

IconAttachment AttachIcon(state::AppState& state, int slot, const QString& chosenFile) {
    using Outcome = IconAttachment::Outcome;
    const QFileInfo info(chosenFile);
    if (slot < 0 || slot >= ledger::Settings::kExtIconSlots || !IsIconFileName(info.fileName()))
        return {};
    if (info.suffix().toLower() == QStringLiteral("bmp") &&
        QImageReader(chosenFile, "BMP").size() != QSize(16, 16)) {
        return {};
    }
    // A usable icon before anything is copied in.
    QString why;
    if (!ReadIconFile(chosenFile.toStdString(), state.folders.program, &why))
        return {Outcome::Failed, why + QStringLiteral("\n\n") + chosenFile};
    // The name is kept in ini.ini and on the disk as CP932, as every file name of the book.
    std::string name;
    try {
        name = platform::ToCp932(info.fileName());
    } catch (const ledger::Cp932Error& e) {
        return {Outcome::Failed, platform::FromUtf8(e.what())};
    }
    const std::filesystem::path source = chosenFile.toStdString();
    const std::filesystem::path target = state.folders.Icons() / name;
    std::error_code ec;
    if (std::filesystem::absolute(source, ec) != std::filesystem::absolute(target, ec)) {
        std::filesystem::copy_file(source, target,
                                   std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) {
            return {Outcome::Failed,
                    platform::FileErrorText(QStringLiteral("アイコンをコピーできませんでした。"),
                                            ledger::FileError(target, ec.value(), ec.message()))};
        }
    }
    state.settings.extIconNames[static_cast<size_t>(slot)] = name;
    state.settings.extIconCount = std::max(state.settings.extIconCount, slot + 1);
    LoadSlotIcon(state, slot);
    return {Outcome::Attached, {}};
}

}  // namespace categories
