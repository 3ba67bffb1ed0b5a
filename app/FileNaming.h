// Names of the files a shot is written to, and the text that announces it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/ShotSettings.h"

// ".bmp", ".jpg" or ".png"; empty for no format.
std::string FormatExtension(TShotFormat format);

// True for the path delimiter "\\" only: a folder that ends in anything else
// ("C:", a forward slash) is given one, so that "C:" means the drive's root
// rather than its current directory.
bool IsPathDelimiter(char c);

// folder with a separator added unless it ends in one; an empty folder
// becomes "\", the root of the current drive.
std::string FolderWithSeparator(const std::string& folder);

// folder + separator + prefix + n + extension for the first n from 1 to 65535
// that isTaken refuses; empty when every number is taken. A separator is
// added unless the folder already ends in one; an empty folder stands for
// the root of the current drive ("\").
std::string MakeFileName(const std::string& folder, const std::string& prefix, TShotFormat format,
                         const std::function<bool(const std::string&)>& isTaken);

// Where a shot is written before it takes its name: folder (with a
// separator added as for a shot) + "~snapquill-" + process + "-" + n +
// ".tmp". No shot's name ends in ".tmp", so the file never counts as a
// shot, and the next start knows it by its name.
std::string TemporaryFileName(const std::string& folder, unsigned long process, unsigned n);
// The search pattern that finds them in folder.
std::string TemporaryFilePattern(const std::string& folder);
// Whether the last part of path is such a temporary file's name.
bool IsTemporaryFileName(const std::string& path);

// Whether Windows cannot hold path as a file's name: a part longer than 255
// UTF-16 units, or a whole path of 260 or more (the longest a program can
// pass without its long-path form).
bool NameTooLong(const std::string& path);

// What follows the last "\", "/" or ":" of path.
std::string FileNamePart(const std::string& path);

// A file size in KB, rounded up. Only the low 32 bits of the size count, taken
// as a signed number, as the file search reports them.
int32_t SizeInKB(int64_t bytes);

// format filled with the file-name part of path, the picture's width and
// height, and the file size in KB.
std::string NotificationText(const std::string& format, const std::string& path, int width, int height,
                             int32_t sizeKB);
