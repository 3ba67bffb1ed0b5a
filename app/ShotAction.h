// What becomes of the pixels a shot has taken: nothing (the user
// cancelled), a file, the clipboard only, or a picture pinned to the screen.
#pragma once

enum class TShotAction { None, Save, Copy, Pin };
