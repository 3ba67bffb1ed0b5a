// The shapes of keyboard and mouse events.
#pragma once

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// The modifier keys held when an event arrived.
struct TShiftState {
    bool shift = false;
    bool alt = false;
    bool ctrl = false;
    // As they are now.
    static TShiftState Current();
};
