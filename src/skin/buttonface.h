#pragma once

#include <QString>

class QAbstractButton;

namespace skin {

// Makes a button flat, lit a little on hover, and, with a glyph name, gives it that face from
// the skin pictures (the "@2x" face on a high-density screen).
void DressButton(QAbstractButton* button, const QString& glyph = {});

}  // namespace skin
