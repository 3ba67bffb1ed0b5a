#include "app/Capture.h"

#include <memory>

#include "app/FileNaming.h"
#include "core/Exception.h"
#include "core/Stream.h"
#include "imaging/GdiHandles.h"
#include "imaging/ScreenBitmap.h"
#include "core/Unicode.h"
#include "imaging/jpeg.h"
#include "imaging/pngimage.h"

namespace {

class TFindHandle {
public:
    TFindHandle(const std::wstring& name, WIN32_FIND_DATAW& data) : handle_(FindFirstFileW(name.c_str(), &data)) {}
    ~TFindHandle()
    {
        if (Found())
            FindClose(handle_);
    }
    TFindHandle(const TFindHandle&) = delete;
    TFindHandle& operator=(const TFindHandle&) = delete;
    bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// Sizes the bitmap to the rectangle and copies it from source, whose
// (left, top) lands at the bitmap's origin.
void CopyRect(TBitmap& bitmap, HDC source, const RECT& rect)
{
    bitmap.SetWidth(rect.right - rect.left);
    bitmap.SetHeight(rect.bottom - rect.top);
    TBitmapCanvas canvas(bitmap);
    if (!BitBlt(canvas.Handle(), 0, 0, bitmap.Width(), bitmap.Height(), source, rect.left, rect.top, SRCCOPY))
        throw Exception("The picture could not be copied. " + SysErrorMessage(GetLastError()));
}

void WriteImage(const TBitmap& bitmap, TStream& stream, const TCaptureSettings& settings)
{
    switch (settings.formatIndex) {
    case 0:
        bitmap.SaveToStream(stream);
        break;
    case 1: {
        TJPEGImage jpeg;
        jpeg.SetQuality(static_cast<uint8_t>(settings.jpgQuality & 0xFF));
        jpeg.Assign(bitmap);
        jpeg.SaveToStream(stream);
        break;
    }
    case 2: {
        TPNGObject png;
        png.Assign(bitmap);
        png.SetDeflateLevel(static_cast<uint8_t>(settings.pngLevel & 0xFF));
        png.SaveToStream(stream);
        break;
    }
    }
}

} // namespace

bool FileOrFolderExists(const std::string& path)
{
    return GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void CaptureScreen(TBitmap& bitmap, bool includeTaskbar)
{
    TWindowDC desktop(GetDesktopWindow(), true);
    if (!desktop.Handle())
        throw Exception("The screen could not be copied. " + SysErrorMessage(GetLastError()));
    RECT rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!includeTaskbar) {
        RECT work;
        if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
            rect = work;
    }
    CopyRect(bitmap, desktop.Handle(), rect);
}

void CaptureWindow(TBitmap& bitmap, HWND window)
{
    if (!window)
        throw Exception("There is no window in the foreground to capture");
    RECT rect;
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top)
        throw Exception("The foreground window has no area to capture");
    TWindowDC dc(window, true);
    if (!dc.Handle())
        throw Exception("The foreground window cannot be captured. " + SysErrorMessage(GetLastError()));
    // The window DC's origin is the window's top-left corner.
    CopyRect(bitmap, dc.Handle(), RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top});
}

std::string SaveCapture(const TBitmap& bitmap, std::string fileName, const TCaptureSettings& settings)
{
    if (FormatExtension(settings.formatIndex).empty())
        return fileName;
    for (;;) {
        std::unique_ptr<TFileStream> stream;
        try {
            stream = std::make_unique<TFileStream>(fileName, TFileStream::CreateNew);
        } catch (const EFileExists&) {
            // Someone took the name after it was chosen: never overwrite, use
            // the next free number instead.
            std::string next = MakeFileName(settings.folder, settings.prefix, settings.formatIndex, FileOrFolderExists);
            if (next == fileName)
                throw;
            fileName = next;
            continue;
        }
        WriteImage(bitmap, *stream, settings);
        return fileName;
    }
}

int32_t FileSizeKB(const std::string& fileName)
{
    WIN32_FIND_DATAW data;
    TFindHandle find(Utf8ToWide(fileName), data);
    if (!find.Found())
        return -1;
    return SizeInKB((int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}
