#pragma once

#include "images/dib.h"

namespace qb {

// Sizes of pictures and windows are given in twips, 15 to a pixel on a usual screen.
inline constexpr int kTwipsPerPixel = 15;

// What the TGA reader draws into: a picture box of the window. Sizes are in twips. The outer size
// includes a border, the inner size is the drawing area.
class DrawTarget {
public:
    virtual ~DrawTarget() = default;
    virtual void clear() = 0;
    virtual int outerWidth() const = 0;
    virtual int outerHeight() const = 0;
    virtual int innerWidth() const = 0;
    virtual int innerHeight() const = 0;
    virtual void setOuterSize(int width, int height) = 0;
    // Copies the bitmap, stretched, onto the drawing area at (0, 0) with this size in pixels.
    virtual void drawStretched(const Dib& bitmap, int widthPixels, int heightPixels) = 0;
    // Makes what is drawn the target's persistent picture, so it survives repaints.
    virtual void keepPicture() = 0;
};

} // namespace qb
