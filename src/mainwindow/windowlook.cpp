#include "mainwindow/windowlook.h"

#include "platform/fonts.h"
#include "platform/windowdrag.h"
#include "skin/buttonface.h"
#include "skin/skin.h"

#include <QIcon>
#include <QLabel>
#include <QToolButton>

namespace mainwindow {
namespace {

const QColor kMonthTotalColor(75, 105, 159);
const QColor kDateColor(54, 54, 54);
const QColor kDayTotalColor(128, 128, 128);

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, int pixelSize,
                  const QColor& color, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setFont(platform::UiFont(pixelSize, true));
    label->setAlignment(alignment | Qt::AlignVCenter);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, color);
    label->setPalette(p);
    return label;
}

}  // namespace

PageLabels DressMainWindow(QWidget& window, const skin::SkinImages& skin) {
    window.setAutoFillBackground(true);
    QPalette p = window.palette();
    p.setColor(QPalette::Window, Qt::white);
    window.setPalette(p);
    QWidget* background = new skin::SkinBackground(skin, &window);
    background->setObjectName(QStringLiteral("imagemain"));
    background->setGeometry(0, 0, 800, 600);

    auto* title = new QLabel(&window);  // the title area: dragging it moves the window
    title->setObjectName(QStringLiteral("Label1"));
    title->setGeometry(28, 0, 653, 33);
    platform::WindowDrag::Install(title);
    auto* icon = new QLabel(&window);
    icon->setObjectName(QStringLiteral("Image4"));
    icon->setGeometry(9, 9, 16, 16);
    icon->setPixmap(QIcon(QStringLiteral(":/skin/window_icon.png")).pixmap(16, 16));

    PageLabels labels;
    labels.monthTotal = MakeLabel(&window, "labelsub", QRect(528, 64, 225, 20), 14,
                                  kMonthTotalColor, Qt::AlignRight);
    labels.budget = MakeLabel(&window, "labelbudget", QRect(428, 85, 325, 18), 12, kMonthTotalColor,
                              Qt::AlignRight);
    labels.budget->hide();
    labels.date =
        MakeLabel(&window, "labeldate", QRect(86, 122, 300, 22), 15, kDateColor, Qt::AlignLeft);
    labels.dayTotal = MakeLabel(&window, "Labelday", QRect(528, 123, 225, 20), 14, kDayTotalColor,
                                Qt::AlignRight);
    return labels;
}

QToolButton* MakeFlatButton(QWidget* parent, const QString& glyph, const QRect& geometry) {
    auto* button = new QToolButton(parent);
    button->setGeometry(geometry);
    button->setAutoRaise(true);
    skin::DressButton(button, glyph);
    return button;
}

}  // namespace mainwindow
