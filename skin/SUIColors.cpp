#include "skin/SUIColors.h"

#include "core/Unicode.h"

COLORREF ColorToRGB(uint32_t color)
{
    if ((color & 0xFF000000u) == 0xFF000000u)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFFu;
}

TGdiObject MakeFont(const TsuiFont& font)
{
    HFONT made = CreateFontW(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, Utf8ToWide(font.name).c_str());
    return TGdiObject(made);
}

TGdiObject MakeFont(const TsuiFont& font, const TDisplayScale& scale)
{
    TsuiFont scaled = font;
    scaled.height = scale.FontHeight(font.height);
    return MakeFont(scaled);
}
