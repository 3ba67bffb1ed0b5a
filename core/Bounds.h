// A window's or control's place: left and top in pixels from its parent's
// client corner, then its size.
#pragma once

struct TBounds {
    int left;
    int top;
    int width;
    int height;
};
