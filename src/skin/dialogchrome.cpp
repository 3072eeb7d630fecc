#include "skin/dialogchrome.h"

#include "platform/fonts.h"
#include "platform/windowdrag.h"

#include <QDialog>
#include <QLabel>
#include <QPixmap>

namespace skin {

DialogChrome DressDialog(QDialog& dialog, const SkinImages& skin, QSize size,
                         const QString& caption) {
    dialog.setWindowTitle(caption);
    dialog.setModal(true);
    dialog.setFixedSize(size);
    dialog.setFont(platform::UiFont(12));

    DialogChrome chrome{new QLabel(&dialog), new QLabel(caption, &dialog)};
    chrome.background->setGeometry(QRect(QPoint(0, 0), size));
    chrome.background->setPixmap(QPixmap::fromImage(ComposeDialogSkin(skin, size)));
    chrome.title->setGeometry(20, 0, size.width() - 40, 33);
    chrome.title->setFont(platform::UiFont(14, true));
    chrome.title->setStyleSheet(QStringLiteral("color: white;"));
    platform::WindowDrag::Install(chrome.title);
    return chrome;
}

}  // namespace skin
