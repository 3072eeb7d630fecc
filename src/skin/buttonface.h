#pragma once

#include <QString>

class QAbstractButton;
class QPushButton;
class QRect;
class QWidget;

namespace skin {

// Makes a button flat, lit a little on hover, and, with a glyph name, gives it that face from
// the skin pictures (the "@2x" face on a high-density screen).
void DressButton(QAbstractButton* button, const QString& glyph = {});

// A push button with a bold caption that Enter does not press by default; flat buttons show
// only their caption until pointed at.
QPushButton* MakeTextButton(QWidget* parent, const QString& text, const QRect& geometry, bool flat);

}  // namespace skin
