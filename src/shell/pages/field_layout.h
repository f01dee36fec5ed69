#pragma once

#include <QRect>
#include <span>
#include <string_view>

namespace qb {

struct Field;

// The pages that place their fields by this table; the other pages place every field of
// their registry group by a rule of their own (a frame per role, a slider per rating,
// a box per flag in its frame of the flag table).
enum class LaidOutPage { Personal, Statistics };

// How a field stands on its page.
enum class Display {
    Captioned,    // the editor and, where its rectangle says, its label
    PictureFrame, // a frame titled with the caption: the picture, the field's list below it
    // Statistics, in a grid of labels and boxes:
    LeftColumn,  // the batting figures
    RightColumn, // the bowling figures
    AcrossRow,   // the label across the grid, the box at its right (the rates)
    BestBowling, // in the Best Bowling frame, below the bowling figures
};

// A field's place on its page. Rectangles are in twips: the editor's and its label's
// (a picture frame's is the frame's, with the editor and the picture in it); the
// statistics grid places its labels and boxes itself.
struct FieldPlace {
    LaidOutPage page;
    std::string_view key; // the registry's; a statistics box's is the first format's
    Display display;
    QRect editor{};
    QRect caption{};
    QRect picture{};
    // The editor's object name where it is not made from the key (the statistics boxes
    // keep the names scripts know them by).
    const char* name = nullptr;

    // The registry's field of `key`; a key the registry lacks is a programming error.
    const Field& field() const;
};

// The fields of `page` in its order, which is also the order of its editors' focus.
std::span<const FieldPlace> fieldPlaces(LaidOutPage page);

} // namespace qb
