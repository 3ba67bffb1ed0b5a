// Failures are exceptions that carry the text the user will read.
#pragma once

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Raised to stop an operation without anything being reported.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

// "Cannot create file "<full path>". <system error text>", with the
// system's error code (0 when there is none).
class EFCreateError : public EStreamError {
public:
    explicit EFCreateError(std::string message, unsigned long code = 0)
        : EStreamError(std::move(message)), code_(code)
    {
    }
    unsigned long Code() const { return code_; }

private:
    unsigned long code_;
};

// The file to be created exclusively exists already.
class EFileExists : public EFCreateError {
public:
    using EFCreateError::EFCreateError;
};

// "Cannot open file "<full path>". <system error text>"
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
public:
    EWriteError() : EStreamError("Stream write error") {}
};

class EReadError : public EStreamError {
public:
    EReadError() : EStreamError("Stream read error") {}
};

class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};

class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};
