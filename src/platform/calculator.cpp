#include "calculator.h"

#include <QProcess>
#include <QStandardPaths>

namespace platform {

QStringList CalculatorCandidates() {
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
            QStringLiteral("mate-calc"),        QStringLiteral("galculator"),
            QStringLiteral("qalculate-gtk"),    QStringLiteral("xcalc")};
}

QString LaunchCalculator() {
    for (const QString& name : CalculatorCandidates()) {
        QString path = QStandardPaths::findExecutable(name);
        if (path.isEmpty())
            continue;
        if (QProcess::startDetached(path, {}))
            return name;
    }
    return {};
}

}  // namespace platform
