// The marks drawn on a region before it is saved, as plain data, and the list
// that keeps them with its undo and redo. Every mark is in screen
// coordinates (those of the virtual screen), so marks stay where they are on
// the screen when the selection is moved or resized; drawing clips them to
// the selection. Pointer positions are whole pixels; a line from one pixel
// to another runs between the pixels' centres.
//
// Text and step numbers carry their ink as coverage made by the window side
// (the system's text drawing), so that the core composes them like any other
// mark; a pixelated rectangle carries the average colour of each of its
// blocks, taken from the frozen screen when the mark is made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/CaptureAreas.h"
#include "app/RegionGeometry.h"

enum class TMarkTool { Rectangle, Ellipse, Line, Arrow, Pen, Marker, Text, Step, Pixelate };

// How much of each pixel of a rectangle of the screen a piece of ink
// covers, 0 to 255, row by row from the top.
struct TCoverage {
    TScreenRect area;
    std::vector<uint8_t> alpha;
    bool Empty() const { return area.Empty(); }
};

struct TMark {
    TMarkTool tool = TMarkTool::Rectangle;
    uint32_t colour = 0xFF0000; // 0x00RRGGBB
    int width = 4;              // the stroke in physical pixels
    // Rectangle, Ellipse, Line, Arrow, Pixelate: the press and the release
    // (Shift's constraints already applied); Pen, Marker: every point of the
    // stroke; Text: the top-left corner; Step: the centre.
    std::vector<TScreenPoint> points;
    TCoverage ink;                // Text: the letters; Step: the number
    int number = 0;               // Step
    TScreenRect blocksArea;       // Pixelate: the rectangle its blocks fill
    int blockSize = 8;            // Pixelate: the smallest side of a block
    std::vector<uint32_t> blocks; // Pixelate: the blocks' colours, row by row
};

// The marks in the order they were drawn. Undo takes the last one off the
// picture and keeps it for Redo; a new mark drops what could be redone.
class TMarkList {
public:
    void Add(TMark mark);
    bool Undo();
    bool Redo();
    bool CanUndo() const { return shown_ > 0; }
    bool CanRedo() const { return shown_ < marks_.size(); }
    // The marks on the picture now: the first Count() of them.
    size_t Count() const { return shown_; }
    const TMark& At(size_t index) const { return marks_[index]; }
    // The number the next step mark gets: one more than the last step mark
    // still on the picture, 1 when there is none.
    int NextStepNumber() const;

private:
    std::vector<TMark> marks_;
    size_t shown_ = 0;
};
