#pragma once

#include "skin/builtinicons.h"
#include "state/appstate.h"

#include <QString>

namespace himokuunit {

// Fills the icon set: the built-in icons at positions 0 to 10, and the extra icon of every
// used slot at position 11 + slot. Slots whose file is missing were emptied before.
void LoadCategoryIcons(state::AppState& state, const skin::BuiltinIcons& builtin);

// Loads the picture of one extra icon slot from its file in the icon folder; an empty slot,
// or a file that is not a usable icon, leaves the position without a picture. False with the
// reason in `why` when the slot names a file that could not be used.
bool LoadSlotIcon(state::AppState& state, int slot, QString* why = nullptr);

}  // namespace himokuunit
