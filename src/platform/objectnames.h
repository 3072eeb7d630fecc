#pragma once

#include <QObject>
#include <QWidget>

#include <initializer_list>
#include <utility>

namespace platform {

// Controls go by their designer names, set as their object names in one table per window,
// so that tests and tools find them by the name a reader searches for.
inline void NameControls(std::initializer_list<std::pair<QObject*, const char*>> names) {
    for (const auto& [control, name] : names)
        control->setObjectName(QLatin1String(name));
}

// A window made the first time it is asked for, as a child of `owner` under `name`, and
// found again by that name afterwards (a dialog keeps its state between uses).
template <class Window, class Make>
Window& ChildOnFirstUse(QWidget& owner, const char* name, Make make) {
    if (auto* made = owner.findChild<Window*>(QLatin1String(name), Qt::FindDirectChildrenOnly))
        return *made;
    Window* window = make();
    window->setObjectName(QLatin1String(name));
    return *window;
}

}  // namespace platform
