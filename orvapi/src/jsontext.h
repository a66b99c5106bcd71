// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// JsonText: finds the line of a place in a JSON text, for error messages.
#ifndef ORVSIM_JSONTEXT_H
#define ORVSIM_JSONTEXT_H

#include <cstddef>
#include <string>

namespace OrvSim {

/// Walks a JSON text without building it and without recursion, so that any
/// nesting costs neither stack nor more than linear time; memory stays that of
/// one key. The text must be valid JSON up to the place looked for.
class JsonText
{
public:
    explicit JsonText(const std::string &text)
        : m_Text(text)
    {
    }

    /// The line holding the byte at `offset` (0-based); 1 for the first line.
    int lineOfOffset(std::size_t offset) const;
    /// The line of the key or list element a JSON pointer names, or of the
    /// closest enclosing one that exists.
    int lineOfPointer(const std::string &pointer);
    /// The line of the `ordinal`-th (0-based) '{' or '[' of the text.
    int lineOfOpening(std::size_t ordinal);
    /// The line of the `ordinal`-th (0-based) string, keys included.
    int lineOfString(std::size_t ordinal);

private:
    int lineOfNth(std::size_t ordinal, bool strings);
    void skipSpace();
    std::string readString();
    void skipString();
    void skipValue();
    bool atEnd() const { return m_Pos >= m_Text.size(); }

    const std::string &m_Text;
    std::size_t m_Pos = 0;
    int m_Line = 1;
};

} // namespace OrvSim

#endif // ORVSIM_JSONTEXT_H
