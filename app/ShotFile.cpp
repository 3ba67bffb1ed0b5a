#include "app/ShotFile.h"

#include <windows.h>

#include <memory>

#include "app/Capture.h"
#include "app/FileNaming.h"
#include "core/Exception.h"
#include "core/Stream.h"
#include "core/Text.h"
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
    bool Next(WIN32_FIND_DATAW& data) { return FindNextFileW(handle_, &data) != FALSE; }

private:
    HANDLE handle_;
};

void WriteImage(const TBitmap& bitmap, TStream& stream, const TShotSettings& settings)
{
    switch (settings.format) {
    case TShotFormat::Bmp:
        bitmap.SaveToStream(stream);
        break;
    case TShotFormat::Jpg: {
        TJPEGImage jpeg;
        jpeg.SetQuality(static_cast<uint8_t>(settings.jpgQuality & 0xFF));
        jpeg.Assign(bitmap);
        jpeg.SaveToStream(stream);
        break;
    }
    case TShotFormat::Png: {
        TPNGObject png;
        png.Assign(bitmap);
        png.SetDeflateLevel(static_cast<uint8_t>(settings.pngLevel & 0xFF));
        png.SaveToStream(stream);
        break;
    }
    case TShotFormat::None:
        break;
    }
}

std::string FullPath(const std::string& path)
{
    const std::wstring wide = Utf8ToWide(path);
    DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return path;
    std::wstring full(length, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), length, full.data(), nullptr));
    return WideToUtf8(full);
}

// Why a file could not be written, in the words a user understands.
std::string PlainReason(DWORD error)
{
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "The disk is full.";
    case ERROR_ACCESS_DENIED:
        return "Access is denied.";
    case ERROR_WRITE_PROTECT:
        return "The disk is write-protected.";
    case ERROR_FILENAME_EXCED_RANGE:
        return "The name is too long.";
    case ERROR_PATH_NOT_FOUND:
        return "The folder does not exist.";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "Another program is using the file.";
    }
    const std::string system = SysErrorMessage(error);
    return system.empty() ? "Error " + std::to_string(error) + "." : system;
}

[[noreturn]] void RaiseCreateError(const std::string& fileName, DWORD error)
{
    throw EFCreateError(FileCreateErrorText(FullPath(fileName), PlainReason(error)), error);
}

[[noreturn]] void RaiseWriteError(const std::string& fileName, DWORD error)
{
    throw EStreamError("Cannot write file \"" + FullPath(fileName) + "\". " + PlainReason(error));
}

// A temporary file that is removed unless it has been given its name.
class TTemporaryFile {
public:
    // Creates a new temporary file in folder; raises EFCreateError naming
    // shotName when it cannot.
    TTemporaryFile(const std::string& folder, const std::string& shotName)
    {
        for (unsigned n = 1;; ++n) {
            path_ = TemporaryFileName(folder, GetCurrentProcessId(), n);
            try {
                stream_ = std::make_unique<TFileStream>(path_, TFileStream::CreateNew);
                return;
            } catch (const EFileExists&) {
                if (n == 1000)
                    throw;
            } catch (const EFCreateError& error) {
                RaiseCreateError(shotName, error.Code());
            }
        }
    }
    ~TTemporaryFile()
    {
        stream_.reset();
        if (!named_)
            DeleteFileW(Utf8ToWide(path_).c_str());
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    TFileStream& Stream() { return *stream_; }
    // Closes the file and gives it name, which must not exist; false with
    // the system's error when it cannot.
    bool Rename(const std::string& name, DWORD& error)
    {
        stream_.reset();
        named_ = MoveFileExW(Utf8ToWide(path_).c_str(), Utf8ToWide(name).c_str(), 0) != FALSE;
        error = named_ ? 0 : GetLastError();
        return named_;
    }

private:
    std::string path_;
    std::unique_ptr<TFileStream> stream_;
    bool named_ = false;
};

std::string FolderOf(const std::string& fileName)
{
    const std::string name = FileNamePart(fileName);
    return fileName.substr(0, fileName.size() - name.size());
}

// Gives the complete file its shot name: fileName, or when that has been
// taken meanwhile the next free one; nothing is replaced.
std::string NameTheFile(TTemporaryFile& file, std::string fileName, const TShotSettings& settings)
{
    for (;;) {
        DWORD error = 0;
        if (file.Rename(fileName, error))
            return fileName;
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            RaiseWriteError(fileName, error);
        const std::string next = MakeFileName(settings.folder, settings.prefix, settings.format, FileOrFolderExists);
        if (next.empty() || next == fileName)
            RaiseWriteError(fileName, error);
        fileName = next;
    }
}

} // namespace

std::string SaveCapture(const TBitmap& bitmap, std::string fileName, const TShotSettings& settings)
{
    if (FormatExtension(settings.format).empty())
        return fileName;
    if (fileName.empty())
        throw EFCreateError(FileCreateErrorText("", "Every file number from 1 to 65535 is taken."));
    if (NameTooLong(FullPath(fileName)))
        RaiseCreateError(fileName, ERROR_FILENAME_EXCED_RANGE);
    TTemporaryFile file(FolderOf(fileName), fileName);
    try {
        WriteImage(bitmap, file.Stream(), settings);
    } catch (const EWriteError&) {
        RaiseWriteError(fileName, file.Stream().WriteError());
    }
    return NameTheFile(file, fileName, settings);
}

void RemoveLeftoverTemporaryFiles(const std::string& folder)
{
    const std::string folderPart = FolderWithSeparator(folder);
    WIN32_FIND_DATAW data;
    TFindHandle find(Utf8ToWide(TemporaryFilePattern(folder)), data);
    if (!find.Found())
        return;
    do {
        const std::string name = WideToUtf8(data.cFileName);
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsTemporaryFileName(name))
            DeleteFileW(Utf8ToWide(folderPart + name).c_str()); // one being written is refused: it stays
    } while (find.Next(data));
}

int32_t FileSizeKB(const std::string& fileName)
{
    WIN32_FIND_DATAW data;
    TFindHandle find(Utf8ToWide(fileName), data);
    if (!find.Found())
        return -1;
    return SizeInKB((int64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}
