#pragma once

#include <QSize>
#include <QString>

#include "skin/skin.h"

class QDialog;
class QLabel;

namespace skin {

// What a skinned dialog is dressed with: its background picture and its title label.
struct DialogChrome {
    QLabel* background;  // Imagemain
    QLabel* title;       // Label1: in the title bar; dragging it moves the dialog
};

// Gives a frameless dialog its fixed size, caption, font, the dialog skin behind everything
// and a title label that drags it.
DialogChrome DressDialog(QDialog& dialog, const SkinImages& skin, QSize size,
                         const QString& caption);

}  // namespace skin
