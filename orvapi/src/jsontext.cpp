// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "jsontext.h"

#include <algorithm>
#include <vector>

namespace OrvSim {

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

void appendUtf8(std::string &out, unsigned long code)
{
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
}

/// "/features/3/name" as its reference tokens, "~1" and "~0" undone.
std::vector<std::string> pointerTokens(const std::string &pointer)
{
    std::vector<std::string> tokens;
    std::size_t start = 0;
    while (start < pointer.size() && pointer[start] == '/') {
        const std::size_t end = std::min(pointer.find('/', start + 1), pointer.size());
        std::string token;
        for (std::size_t i = start + 1; i < end; ++i) {
            if (pointer[i] == '~' && i + 1 < end) {
                token += pointer[i + 1] == '1' ? '/' : '~';
                ++i;
            } else {
                token += pointer[i];
            }
        }
        tokens.push_back(token);
        start = end;
    }
    return tokens;
}

} // namespace

int JsonText::lineOfOffset(std::size_t offset) const
{
    const std::size_t end = std::min(offset, m_Text.size());
    return 1 + static_cast<int>(std::count(m_Text.begin(), m_Text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

void JsonText::skipSpace()
{
    while (!atEnd()
           && (m_Text[m_Pos] == ' ' || m_Text[m_Pos] == '\t' || m_Text[m_Pos] == '\r' || m_Text[m_Pos] == '\n')) {
        if (m_Text[m_Pos] == '\n')
            ++m_Line;
        ++m_Pos;
    }
}

// Decoded as the JSON library decodes keys, so that a key written with
// escapes still matches its pointer token.
std::string JsonText::readString()
{
    std::string result;
    ++m_Pos;
    while (!atEnd() && m_Text[m_Pos] != '"') {
        if (m_Text[m_Pos] != '\\' || m_Pos + 1 >= m_Text.size()) {
            result += m_Text[m_Pos++];
            continue;
        }
        const char escaped = m_Text[m_Pos + 1];
        m_Pos += 2;
        switch (escaped) {
        case 'n': result += '\n'; break;
        case 't': result += '\t'; break;
        case 'r': result += '\r'; break;
        case 'b': result += '\b'; break;
        case 'f': result += '\f'; break;
        case 'u': {
            unsigned long code = 0;
            for (int i = 0; i < 4 && !atEnd(); ++i)
                code = code * 16 + static_cast<unsigned long>(hexDigit(m_Text[m_Pos++]));
            if (code >= 0xD800 && code < 0xDC00 && m_Pos + 6 <= m_Text.size() && m_Text[m_Pos] == '\\'
                && m_Text[m_Pos + 1] == 'u') {
                unsigned long low = 0;
                for (int i = 2; i < 6; ++i)
                    low = low * 16 + static_cast<unsigned long>(hexDigit(m_Text[m_Pos + i]));
                m_Pos += 6;
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            }
            appendUtf8(result, code);
            break;
        }
        default: result += escaped; break;
        }
    }
    ++m_Pos;
    return result;
}

void JsonText::skipString()
{
    ++m_Pos;
    while (!atEnd() && m_Text[m_Pos] != '"')
        m_Pos += m_Text[m_Pos] == '\\' ? 2 : 1;
    ++m_Pos;
}

// Counts brackets instead of descending: any depth, constant stack.
void JsonText::skipValue()
{
    skipSpace();
    std::size_t depth = 0;
    while (!atEnd()) {
        const char c = m_Text[m_Pos];
        if (c == '"') {
            skipString();
            if (depth == 0)
                return;
        } else if (c == '{' || c == '[') {
            ++depth;
            ++m_Pos;
        } else if (c == '}' || c == ']') {
            if (depth == 0)
                return;
            ++m_Pos;
            if (--depth == 0)
                return;
        } else if (c == ',' && depth == 0) {
            return;
        } else {
            if (c == '\n')
                ++m_Line;
            ++m_Pos;
            if (depth == 0 && !atEnd() && std::string(",]} \t\r\n").find(m_Text[m_Pos]) != std::string::npos)
                return;
        }
    }
}

int JsonText::lineOfPointer(const std::string &pointer)
{
    m_Pos = 0;
    m_Line = 1;
    skipSpace();
    int found = m_Line;
    for (const std::string &token : pointerTokens(pointer)) {
        skipSpace();
        if (atEnd())
            return found;
        const char open = m_Text[m_Pos];
        if (open != '{' && open != '[')
            return found;
        ++m_Pos;
        std::size_t index = 0;
        for (;;) {
            skipSpace();
            if (atEnd() || m_Text[m_Pos] == '}' || m_Text[m_Pos] == ']')
                return found;
            if (m_Text[m_Pos] == ',') {
                ++m_Pos;
                continue;
            }
            bool match = false;
            const int line = m_Line;
            if (open == '{') {
                match = readString() == token;
                skipSpace();
                ++m_Pos; // ':'
            } else {
                match = std::to_string(index++) == token;
                skipSpace();
            }
            if (match) {
                found = open == '{' ? line : m_Line;
                break;
            }
            skipValue();
        }
    }
    return found;
}

int JsonText::lineOfOpening(std::size_t ordinal)
{
    return lineOfNth(ordinal, false);
}

int JsonText::lineOfString(std::size_t ordinal)
{
    return lineOfNth(ordinal, true);
}

// One scan for both: strings are skipped whole, so a brace inside one never counts.
int JsonText::lineOfNth(std::size_t ordinal, bool strings)
{
    m_Pos = 0;
    m_Line = 1;
    std::size_t seen = 0;
    while (!atEnd()) {
        const char c = m_Text[m_Pos];
        if (c == '"') {
            if (strings && seen++ == ordinal)
                return m_Line;
            skipString();
            continue;
        }
        if (!strings && (c == '{' || c == '[') && seen++ == ordinal)
            return m_Line;
        if (c == '\n')
            ++m_Line;
        ++m_Pos;
    }
    return m_Line;
}

} // namespace OrvSim
