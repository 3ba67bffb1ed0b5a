#include "core/Stream.h"

#include <algorithm>
#include <cstring>

#include "core/Exception.h"
#include "core/Text.h"

void TStream::WriteBuffer(const void* buffer, size_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError();
}

void TStream::ReadBuffer(void* buffer, size_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError();
}

size_t TMemoryStream::Write(const void* buffer, size_t count)
{
    if (count == 0)
        return 0;
    if (position_ + count > data_.size())
        data_.resize(position_ + count);
    std::memcpy(data_.data() + position_, buffer, count);
    position_ += count;
    return count;
}

size_t TMemoryStream::Read(void* buffer, size_t count)
{
    if (position_ >= data_.size())
        return 0;
    count = std::min(count, data_.size() - position_);
    std::memcpy(buffer, data_.data() + position_, count);
    position_ += count;
    return count;
}

void TMemoryStream::Clear()
{
    data_.clear();
    data_.shrink_to_fit();
    position_ = 0;
}

static std::string fileCreateErrorFormat = "Cannot create file \"%s\". %s";

void SetFileCreateErrorFormat(const std::string& format)
{
    fileCreateErrorFormat = format;
}

std::string FileCreateErrorText(const std::string& fullPath, const std::string& reason)
{
    return FormatText(fileCreateErrorFormat, {fullPath, reason});
}
