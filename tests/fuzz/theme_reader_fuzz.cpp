// libFuzzer target: any bytes given to the theme-file reader either load or
// are refused with EThemeFileError; nothing else may happen (no other
// exception, no read outside the buffer, no endless chain).
#include <cstddef>
#include <cstdint>

#include "skin/SUIStyleTable.h"
#include "skin/SUIThemeFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        TsuiThemeFileReader reader(data, size, "fuzz.theme");
        // Look every key up the way the skin does, and read each bitmap out.
        for (int key = SUI_THEME::FirstKey; key <= SUI_THEME::LastKey; ++key) {
            const char* name = ThemeKeyName(key);
            if (TMemoryStream* bitmap = reader.GetBitmap(name)) {
                uint8_t head[2];
                bitmap->Read(head, sizeof head);
            }
            (void)reader.GetInt(name);
            (void)reader.GetBool(name);
            (void)reader.GetStr(name);
        }
    } catch (const EThemeFileError&) {
    }
    return 0;
}
