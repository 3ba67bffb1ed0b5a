// Numbers of the texts in the program's string table.
#pragma once

#define IDS_HOTKEY_FAILED 65155
#define IDS_SELECT_FOLDER 65156
#define IDS_SHOT_SAVED 65157
#define IDS_SETTINGS_KEY 65158
#define IDS_SET_DATA_FAILED 65392
#define IDS_INVALID_DATA_TYPE 65415
#define IDS_GET_DATA_FAILED 65423
#define IDS_CANNOT_CREATE_FILE 65437
