// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "valuetext.h"

#include <charconv>
#include <cmath>

namespace OrvSim {

std::string doubleText(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char buffer[64];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return std::string(buffer, result.ptr);
}

std::string boolText(bool value)
{
    return value ? "true" : "false";
}

std::string quotedText(const std::string &text)
{
    const std::size_t limit = 80;
    if (text.size() <= limit)
        return "\"" + text + "\"";
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return "\"" + text.substr(0, end) + "...\" (" + std::to_string(text.size()) + " bytes)";
}

bool parseInteger(const std::string &text, long long &value)
{
    const char *end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && !text.empty();
}

bool parseDouble(const std::string &text, double &value)
{
    const char *end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && !text.empty();
}

bool parseBool(const std::string &text, bool &value)
{
    if (text == "true" || text == "1") {
        value = true;
        return true;
    }
    if (text == "false" || text == "0") {
        value = false;
        return true;
    }
    return false;
}

} // namespace OrvSim
