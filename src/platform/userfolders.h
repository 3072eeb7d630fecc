#pragma once

#include <QString>

namespace platform {

// Where the program proposes the files it writes for the user (a CSV export, a printed
// book as PDF): the documents folder, else the home folder when there is none.
QString DocumentsFolder();

}  // namespace platform
