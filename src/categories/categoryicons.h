#pragma once

#include "skin/builtinicons.h"
#include "state/appstate.h"

#include <QString>

namespace categories {

// Fills the icon set: the built-in icons at positions 0 to 10, and the extra icon of every
// used slot at position 11 + slot. Slots whose file is missing were emptied before.
void LoadCategoryIcons(state::AppState& state, const skin::BuiltinIcons& builtin);

// Loads the picture of one extra icon slot from its file in the icon folder; an empty slot,
// or a file that is not a usable icon, leaves the position without a picture. False with the
// reason in `why` when the slot names a file that could not be used.
bool LoadSlotIcon(state::AppState& state, int slot, QString* why = nullptr);

// What became of attaching a file to an extra icon slot.
struct IconAttachment {
    enum class Outcome {
        Attached,  // copied into the icon folder, named in the slot, its picture loaded
        Ignored,   // not a .pac or a 16 x 16 .bmp: nothing happens and nothing is said
        Failed,    // a usable-looking file that could not be used or copied; see message
    };
    Outcome outcome = Outcome::Ignored;
    QString message;
};

// Attaches the chosen file to `slot`: checks it, copies it into the icon folder under its
// own name (replacing a file of that name), names it in the slot, widens the used slots to
// take it in and loads its picture. The settings reach ini.ini at shutdown.
IconAttachment AttachIcon(state::AppState& state, int slot, const QString& chosenFile);

}  // namespace categories
