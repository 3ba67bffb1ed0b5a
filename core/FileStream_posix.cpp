// TFileStream for the native build (tests and benchmarks).
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

#include "core/Exception.h"
#include "core/Stream.h"

TFileStream::TFileStream(const std::string& path, TMode mode)
{
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == CreateNew ? O_EXCL : O_TRUNC);
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
        int error = errno;
        std::error_code ignored;
        std::string message =
            FileCreateErrorText(std::filesystem::absolute(path, ignored).string(), std::strerror(error));
        if (error == EEXIST)
            throw EFileExists(message);
        throw EFCreateError(message);
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
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

size_t TFileStream::Read(void*, size_t)
{
    return 0;
}
