#pragma once

#include <QAbstractButton>
#include <QObject>

#include <gtest/gtest.h>

namespace testsupport {

// A control of a window, found as a user's tools find it: by its object name (the designer
// name).
template <class W>
W* Child(const QObject* window, const char* objectName) {
    W* found = window->findChild<W*>(QLatin1String(objectName));
    EXPECT_NE(found, nullptr) << objectName;
    return found;
}

// A button of a window, clicked.
inline void Click(const QObject* window, const char* objectName) {
    if (auto* button = Child<QAbstractButton>(window, objectName))
        button->click();
}

}  // namespace testsupport
