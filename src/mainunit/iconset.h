#pragma once

#include <QPixmap>
#include <vector>

namespace mainunit {

// The category icons by category position: the built-in icons for positions 0 to 10, the
// user's extra icons from position 11 on. A position without a picture has a null pixmap.
class IconSet {
public:
    static constexpr int kBuiltIn = 11;

    void SetIcon(int position, QPixmap pixmap);
    // Null when the position has no icon.
    QPixmap Icon(int position) const;
    // Whether a row of that category position shows an icon.
    bool HasIcon(int position) const { return !Icon(position).isNull(); }

private:
    std::vector<QPixmap> icons_;
};

}  // namespace mainunit
