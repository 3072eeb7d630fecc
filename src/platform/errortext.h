#pragma once

#include <QString>

#include "ledger/fileerror.h"

namespace platform {

// A message for a file that could not be read or written: what failed, then the file's
// path and the system's reason on lines of their own.
QString FileErrorText(const QString& what, const ledger::FileError& error);

}  // namespace platform
