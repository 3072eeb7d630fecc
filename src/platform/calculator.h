#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The desktop calculators tried in turn.
QStringList CalculatorCandidates();

// Starts the first calculator found on the PATH, detached, and returns its name; an empty
// string when none is installed or it could not be started.
QString LaunchCalculator();

}  // namespace platform
