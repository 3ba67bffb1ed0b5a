// Registry values as the program reads and writes them, behind an abstract
// source so that the reading rules can be tested without a registry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Exception.h"

// Value types, numbered as the registry numbers them.
enum : uint32_t { kRegNone = 0, kRegString = 1, kRegExpandString = 2, kRegBinary = 3, kRegDWord = 4 };

struct TRegValue {
    bool exists = false;
    uint32_t type = kRegNone;
    std::vector<uint8_t> data; // strings: UTF-16LE, usually with a terminating zero
};

class TRegistryValues {
public:
    virtual ~TRegistryValues() = default;
    virtual TRegValue Read(const std::string& name) const = 0;
    // Both return false when the value cannot be written.
    virtual bool WriteString(const std::string& name, const std::string& text) = 0;
    virtual bool WriteInteger(const std::string& name, int32_t value) = 0;
};

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// The texts of the failures, each with a %s for the value's name.
struct TRegistryMessages {
    std::string invalidDataType; // "Invalid data type for '%s'"
    std::string getDataFailed;   // "Failed to get data for '%s'"
    std::string setDataFailed;   // "Failed to set data for '%s'"
};

// A missing or empty string reads as ""; a value of another type than a
// string fails with invalidDataType.
std::string ReadStringValue(const TRegistryValues& values, const std::string& name, const TRegistryMessages& messages);
// A missing value, or one of more than 4 bytes, fails with getDataFailed;
// one of another type that fits fails with invalidDataType.
int32_t ReadIntegerValue(const TRegistryValues& values, const std::string& name, const TRegistryMessages& messages);
// A value added in a later version: missing, of another type or size, or
// outside [low, high], it silently gives fallback, so that a key written by
// an earlier version reads without an error.
int32_t ReadOptionalInteger(const TRegistryValues& values, const std::string& name, int32_t fallback, int32_t low,
                            int32_t high);
// True for any non-zero integer.
bool ReadBoolValue(const TRegistryValues& values, const std::string& name, const TRegistryMessages& messages);

void WriteStringValue(TRegistryValues& values, const std::string& name, const std::string& text,
                      const TRegistryMessages& messages);
void WriteIntegerValue(TRegistryValues& values, const std::string& name, int32_t value,
                       const TRegistryMessages& messages);

// UTF-8 to UTF-16LE bytes with a terminating zero, and back (stopping at the
// first zero character).
std::vector<uint8_t> Utf16Bytes(const std::string& text);
std::string TextFromUtf16Bytes(const std::vector<uint8_t>& data);
