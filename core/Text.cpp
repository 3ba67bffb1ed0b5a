#include "core/Text.h"

std::string FormatText(const std::string& format, const std::vector<TFormatArg>& args)
{
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            out += c;
            continue;
        }
        char kind = format[i + 1];
        if (kind == '%') {
            out += '%';
            ++i;
        } else if (kind == 's' && next < args.size() && std::holds_alternative<std::string>(args[next])) {
            out += std::get<std::string>(args[next++]);
            ++i;
        } else if (kind == 'd' && next < args.size() && std::holds_alternative<int64_t>(args[next])) {
            out += std::to_string(std::get<int64_t>(args[next++]));
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string ErrorBoxText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}
