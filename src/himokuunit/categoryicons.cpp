#include "himokuunit/categoryicons.h"

#include "himokuunit/iconpack.h"

namespace himokuunit {

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

}  // namespace himokuunit
