#include "state/iconset.h"

namespace state {

void IconSet::SetIcon(int position, QPixmap pixmap) {
    if (position < 0)
        return;
    if (static_cast<size_t>(position) >= icons_.size())
        icons_.resize(static_cast<size_t>(position) + 1);
    icons_[static_cast<size_t>(position)] = std::move(pixmap);
}

QPixmap IconSet::Icon(int position) const {
    if (position < 0 || static_cast<size_t>(position) >= icons_.size())
        return {};
    return icons_[static_cast<size_t>(position)];
}

}  // namespace state
