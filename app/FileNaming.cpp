#include "app/FileNaming.h"

#include <cctype>

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

std::string FolderWithSeparator(const std::string& folder)
{
    if (!folder.empty() && IsPathDelimiter(folder.back()))
        return folder;
    return folder + '\\';
}

std::string MakeFileName(const std::string& folder, const std::string& prefix, TShotFormat format,
                         const std::function<bool(const std::string&)>& isTaken)
{
    const std::string base = FolderWithSeparator(folder) + prefix;
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

static const char kTemporaryStart[] = "~snapquill-";
static const char kTemporaryEnd[] = ".tmp";

std::string TemporaryFileName(const std::string& folder, unsigned long process, unsigned n)
{
    return FolderWithSeparator(folder) + kTemporaryStart + std::to_string(process) + "-" + std::to_string(n) +
           kTemporaryEnd;
}

std::string TemporaryFilePattern(const std::string& folder)
{
    return FolderWithSeparator(folder) + kTemporaryStart + "*" + kTemporaryEnd;
}

static bool SameLetters(const std::string& text, size_t at, const char* word)
{
    for (size_t i = 0; word[i]; ++i)
        if (at + i >= text.size() || std::tolower(static_cast<unsigned char>(text[at + i])) != word[i])
            return false;
    return true;
}

bool IsTemporaryFileName(const std::string& path)
{
    const std::string name = FileNamePart(path);
    const size_t start = sizeof kTemporaryStart - 1, end = sizeof kTemporaryEnd - 1;
    return name.size() > start + end && SameLetters(name, 0, kTemporaryStart) &&
           SameLetters(name, name.size() - end, kTemporaryEnd);
}

// UTF-16 units of UTF-8 text: one per character, two beyond the basic plane.
static size_t Utf16Length(const std::string& text, size_t from, size_t to)
{
    size_t units = 0;
    for (size_t i = from; i < to; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) != 0x80)
            units += c >= 0xF0 ? 2 : 1;
    }
    return units;
}

bool NameTooLong(const std::string& path)
{
    constexpr size_t kLongestPart = 255, kLongestPath = 259;
    if (Utf16Length(path, 0, path.size()) > kLongestPath)
        return true;
    size_t partStart = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '\\' && path[i] != '/')
            continue;
        if (Utf16Length(path, partStart, i) > kLongestPart)
            return true;
        partStart = i + 1;
    }
    return false;
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
