#include "core/RegistryValues.h"

#include "core/Text.h"

static std::string Named(const std::string& format, const std::string& name)
{
    return FormatText(format, {name});
}

std::string ReadStringValue(const TRegistryValues& values, const std::string& name, const TRegistryMessages& messages)
{
    TRegValue value = values.Read(name);
    if (!value.exists || value.data.empty())
        return {};
    if (value.type != kRegString && value.type != kRegExpandString)
        throw ERegistryException(Named(messages.invalidDataType, name));
    return TextFromUtf16Bytes(value.data);
}

int32_t ReadIntegerValue(const TRegistryValues& values, const std::string& name, const TRegistryMessages& messages)
{
    TRegValue value = values.Read(name);
    if (!value.exists || value.data.size() > 4)
        throw ERegistryException(Named(messages.getDataFailed, name));
    if (value.type != kRegDWord)
        throw ERegistryException(Named(messages.invalidDataType, name));
    uint32_t result = 0;
    for (size_t i = 0; i < value.data.size(); ++i)
        result |= uint32_t(value.data[i]) << (8 * i);
    return static_cast<int32_t>(result);
}

int32_t ReadOptionalInteger(const TRegistryValues& values, const std::string& name, int32_t fallback, int32_t low,
                            int32_t high)
{
    TRegValue value = values.Read(name);
    if (!value.exists || value.type != kRegDWord || value.data.size() != 4)
        return fallback;
    uint32_t bits = 0;
    for (size_t i = 0; i < 4; ++i)
        bits |= uint32_t(value.data[i]) << (8 * i);
    const int32_t result = static_cast<int32_t>(bits);
    return result < low || result > high ? fallback : result;
}

bool ReadBoolValue(const TRegistryValues& values, const std::string& name, const TRegistryMessages& messages)
{
    return ReadIntegerValue(values, name, messages) != 0;
}

void WriteStringValue(TRegistryValues& values, const std::string& name, const std::string& text,
                      const TRegistryMessages& messages)
{
    if (!values.WriteString(name, text))
        throw ERegistryException(Named(messages.setDataFailed, name));
}

void WriteIntegerValue(TRegistryValues& values, const std::string& name, int32_t value,
                       const TRegistryMessages& messages)
{
    if (!values.WriteInteger(name, value))
        throw ERegistryException(Named(messages.setDataFailed, name));
}

std::vector<uint8_t> Utf16Bytes(const std::string& text)
{
    std::vector<uint8_t> out;
    auto put = [&out](uint32_t unit) {
        out.push_back(static_cast<uint8_t>(unit & 0xFF));
        out.push_back(static_cast<uint8_t>(unit >> 8));
    };
    for (size_t i = 0; i < text.size();) {
        unsigned char c = text[i];
        uint32_t code;
        int length;
        if (c < 0x80)
            code = c, length = 1;
        else if ((c >> 5) == 6)
            code = c & 0x1F, length = 2;
        else if ((c >> 4) == 14)
            code = c & 0x0F, length = 3;
        else
            code = c & 0x07, length = 4;
        for (int k = 1; k < length && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            put(0xD800 + (code >> 10));
            put(0xDC00 + (code & 0x3FF));
        } else {
            put(code);
        }
    }
    put(0);
    return out;
}

std::string TextFromUtf16Bytes(const std::vector<uint8_t>& data)
{
    std::string out;
    auto append = [&out](uint32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    };
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        uint32_t unit = data[i] | (data[i + 1] << 8);
        if (unit == 0)
            break;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < data.size()) {
            uint32_t low = data[i + 2] | (data[i + 3] << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                append(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        append(unit);
    }
    return out;
}
