#include "framework/PaintBuffer.h"

void TPaintBuffer::Paint(HWND window, HDC target, const TDraw& draw)
{
    RECT client{};
    GetClientRect(window, &client);
    if (client.right <= 0 || client.bottom <= 0 || !target)
        return;
    if (!bitmap_ || size_.cx != client.right || size_.cy != client.bottom) {
        bitmap_ = TGdiObject(CreateCompatibleBitmap(target, client.right, client.bottom));
        if (!bitmap_)
            throw EOutOfResources("Out of system resources");
        size_ = {client.right, client.bottom};
    }
    TMemoryDC memory(target, bitmap_.Handle());
    {
        // What draw selects stays inside this block.
        TSavedDC saved(memory.Handle());
        draw(memory.Handle(), client);
    }
    BitBlt(target, 0, 0, client.right, client.bottom, memory.Handle(), 0, 0, SRCCOPY);
}

void TPaintBuffer::Paint(HWND window, const TDraw& draw)
{
    TPaintDC dc(window);
    Paint(window, dc.Handle(), draw);
}
