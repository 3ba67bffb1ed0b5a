// The kinds of balloon picture of the notification-area icon.
#pragma once

// The values are the component's own numbering.
enum TSxTrayIconInfoFlags { niifError = 0, niifInfo = 1, niifNone = 2, niifWarning = 3 };
