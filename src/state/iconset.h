#pragma once

#include <QColor>
#include <QPixmap>
#include <vector>

namespace state {

// The category icons by category position: the built-in icons for positions 0 to 10, the
// user's extra icons from position 11 on. A position without a picture has a null pixmap.
class IconSet {
public:
    static constexpr int kBuiltIn = 11;

    // The colour drawn as transparent in every icon picture.
    QColor background() const { return background_; }
    void SetBackground(const QColor& color) { background_ = color; }

    void SetIcon(int position, QPixmap pixmap);
    // Null when the position has no icon.
    QPixmap Icon(int position) const;
    // Whether a row of that category position shows an icon.
    bool HasIcon(int position) const { return !Icon(position).isNull(); }

private:
    std::vector<QPixmap> icons_;
    QColor background_ = Qt::white;
};

}  // namespace state
