// Byte streams: the writers produce their file forms into a TStream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TStream {
public:
    virtual ~TStream() = default;

    // Store up to count bytes; returns how many were stored.
    virtual size_t Write(const void* buffer, size_t count) = 0;
    // Read up to count bytes; returns how many were read.
    virtual size_t Read(void* buffer, size_t count) = 0;

    // Store all count bytes or raise EWriteError.
    void WriteBuffer(const void* buffer, size_t count);
    // Read exactly count bytes or raise EReadError.
    void ReadBuffer(void* buffer, size_t count);
};

class TMemoryStream : public TStream {
public:
    size_t Write(const void* buffer, size_t count) override;
    size_t Read(void* buffer, size_t count) override;

    const std::vector<uint8_t>& Data() const { return data_; }
    size_t Size() const { return data_.size(); }
    size_t Position() const { return position_; }
    void SetPosition(size_t position) { position_ = position; }
    void Clear();

private:
    std::vector<uint8_t> data_;
    size_t position_ = 0;
};

// The text of a failed file creation, with %s for the full path and %s for
// the system's reason; the program sets it from its string table.
void SetFileCreateErrorFormat(const std::string& format);
std::string FileCreateErrorText(const std::string& fullPath, const std::string& reason);

inline std::string FileOpenErrorText(const std::string& fullPath, const std::string& reason)
{
    return "Cannot open file \"" + fullPath + "\". " + reason;
}

// A file opened for writing or, with OpenRead, for reading. For writing the
// constructor creates the file and raises EFCreateError naming the full path
// when it cannot. An existing file is emptied, or with CreateNew refused with
// EFileExists, so that nothing is overwritten. OpenRead opens an existing
// file read-only, letting other programs read and write it meanwhile, and
// raises EFOpenError naming the full path when it cannot. Paths are UTF-8.
class TFileStream : public TStream {
public:
    enum TMode { CreateOrTruncate, CreateNew, OpenRead };
    explicit TFileStream(const std::string& path, TMode mode = CreateOrTruncate);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    size_t Write(const void* buffer, size_t count) override;
    size_t Read(void* buffer, size_t count) override;
    // The system's error code of the write that stored fewer bytes than
    // asked (a full disk, say); 0 while every write has succeeded.
    unsigned long WriteError() const { return writeError_; }

private:
    intptr_t handle_;
    unsigned long writeError_ = 0;
};
