#include "platform/userfolders.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {

QString DocumentsFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return folder;
}

}  // namespace platform
