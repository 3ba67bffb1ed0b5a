#include "skin/SUIPictureScale.h"

#include "skin/SUIPictures.h"

TGdiObject LoadSkinBitmapForScale(const std::string& name, int designedFrameWidth, const TDisplayScale& scale,
                                  int frames)
{
    TGdiObject picture = LoadSkinBitmap(name);
    const SIZE size = BitmapSize(picture.Handle());
    const int width = frames * scale.Length(designedFrameWidth);
    if (!picture || size.cx <= 0 || size.cx >= width)
        return picture;
    const int height = MulDiv(size.cy, width, size.cx);
    TWindowDC screen(nullptr);
    TGdiObject large(CreateCompatibleBitmap(screen.Handle(), width, height));
    if (!large)
        return picture;
    TMemoryDC target(screen.Handle(), large.Handle());
    TMemoryDC source(screen.Handle(), picture.Handle());
    SetStretchBltMode(target.Handle(), COLORONCOLOR);
    StretchBlt(target.Handle(), 0, 0, width, height, source.Handle(), 0, 0, size.cx, size.cy, SRCCOPY);
    return large;
}
