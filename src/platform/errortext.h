#pragma once

#include <QString>

#include "ledger/fileerror.h"

namespace platform {

// Why a file failed, in Japanese where the reason is a common one (no permission, disk full,
// read-only, not found, a folder), with the system's reason in brackets.
QString FileErrorReason(const ledger::FileError& error);

// A message for a file that could not be read or written: what failed, then the file's
// path and the reason on lines of their own.
QString FileErrorText(const QString& what, const ledger::FileError& error);

}  // namespace platform
