// TFileStream for the native build (tests and benchmarks).
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/Exception.h"
#include "core/Stream.h"

static std::string FullPath(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::absolute(path, ignored).string();
}

// Opens an existing file read-only; a folder of that name is no file to read.
static int OpenForReading(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    int error = errno;
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        fd = -1;
        error = EISDIR;
    }
    if (fd < 0)
        throw EFOpenError(FileOpenErrorText(FullPath(path), std::strerror(error)));
    return fd;
}

TFileStream::TFileStream(const std::string& path, TMode mode)
{
    if (mode == OpenRead) {
        handle_ = OpenForReading(path);
        return;
    }
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == CreateNew ? O_EXCL : O_TRUNC);
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
        int error = errno;
        std::string message = FileCreateErrorText(FullPath(path), std::strerror(error));
        if (error == EEXIST)
            throw EFileExists(message, error);
        throw EFCreateError(message, error);
    }
    handle_ = fd;
}

TFileStream::~TFileStream()
{
    ::close(static_cast<int>(handle_));
}

size_t TFileStream::Write(const void* buffer, size_t count)
{
    const char* bytes = static_cast<const char*>(buffer);
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::write(static_cast<int>(handle_), bytes + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            writeError_ = n < 0 ? static_cast<unsigned long>(errno) : ENOSPC;
            break;
        }
        done += static_cast<size_t>(n);
    }
    return done;
}

size_t TFileStream::Read(void* buffer, size_t count)
{
    char* bytes = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::read(static_cast<int>(handle_), bytes + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}
