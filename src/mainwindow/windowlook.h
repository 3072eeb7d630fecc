#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QToolButton;
class QWidget;

namespace skin {
struct SkinImages;
}

namespace mainwindow {

// The labels of the main window that its page writes into.
struct PageLabels {
    QLabel* date = nullptr;        // labeldate
    QLabel* dayTotal = nullptr;    // Labelday
    QLabel* monthTotal = nullptr;  // labelsub
    QLabel* budget = nullptr;      // labelbudget: 今月の残り予算, hidden without budgets
};

// Dresses the main window as its skin draws it: the white ground and the composed skin
// (imagemain), the title area that moves the window (Label1), the window icon (Image4) and the
// date and balance labels, each under its designer name.
PageLabels DressMainWindow(QWidget& window, const skin::SkinImages& skin);

// A flat button: what the user sees is its glyph, or for the chrome buttons the skin under it.
QToolButton* MakeFlatButton(QWidget* parent, const QString& glyph, const QRect& geometry);

}  // namespace mainwindow
