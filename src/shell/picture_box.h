#pragma once

#include "images/draw_target.h"

#include <QLabel>
#include <QPixmap>

namespace qb {

// A picture box: shows a persistent picture that survives repaints, and is a target
// the TGA reader can size and draw into.
class PictureBox : public QLabel, public DrawTarget {
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Shows `picture` scaled into the box's drawing area.
    void showScaled(const QPixmap& picture);

    void clear() override;
    int outerWidth() const override { return width() * kTwipsPerPixel; }
    int outerHeight() const override { return height() * kTwipsPerPixel; }
    int innerWidth() const override { return contentsRect().width() * kTwipsPerPixel; }
    int innerHeight() const override { return contentsRect().height() * kTwipsPerPixel; }
    void setOuterSize(int width, int height) override;
    void drawStretched(const Dib& bitmap, int widthPixels, int heightPixels) override;
    void keepPicture() override;

    const QPixmap& picture() const { return canvas_; }

private:
    QPixmap canvas_;
};

// The bitmap as an image, top row first.
QImage imageOf(const Dib& bitmap);

} // namespace qb
