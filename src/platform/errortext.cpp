#include "platform/errortext.h"

namespace platform {

QString FileErrorText(const QString& what, const ledger::FileError& error) {
    return what + QStringLiteral("\n\n") + QString::fromStdString(error.path().string()) +
           QStringLiteral("\n") + QString::fromStdString(error.reason());
}

}  // namespace platform
