#include "app/FileNaming.h"

#include "core/Text.h"

std::string FormatExtension(TShotFormat format)
{
    switch (format) {
    case TShotFormat::Bmp:
        return ".bmp";
    case TShotFormat::Jpg:
        return ".jpg";
    case TShotFormat::Png:
        return ".png";
    default:
        return "";
    }
}

bool IsPathDelimiter(char c)
{
    return c == '\\';
}

// What ends the folder part of a path: a backslash or the drive colon.
static bool EndsFolderPart(char c)
{
    return c == '\\' || c == ':';
}

std::string MakeFileName(const std::string& folder, const std::string& prefix, TShotFormat format,
                         const std::function<bool(const std::string&)>& isTaken)
{
    std::string base = folder;
    if (base.empty() || !IsPathDelimiter(base.back()))
        base += '\\';
    base += prefix;
    const std::string extension = FormatExtension(format);

    uint16_t n = 1;
    do {
        std::string candidate = base + std::to_string(n) + extension;
        if (!isTaken(candidate))
            return candidate;
        ++n;
    } while (n != 0);
    return "";
}

std::string FileNamePart(const std::string& path)
{
    size_t i = path.size();
    while (i > 0 && !EndsFolderPart(path[i - 1]))
        --i;
    return path.substr(i);
}

int32_t SizeInKB(int64_t bytes)
{
    // Rounded in 64 bits so that sizes just below 2 GB do not overflow.
    int64_t size = static_cast<int32_t>(static_cast<uint32_t>(bytes));
    return static_cast<int32_t>((size + 1023) / 1024);
}

std::string NotificationText(const std::string& format, const std::string& path, int width, int height,
                             int32_t sizeKB)
{
    return FormatText(format, {FileNamePart(path), int64_t(width), int64_t(height), int64_t(sizeKB)});
}
