// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Value texts shared by the journal, valueOf() and description conditions.
#ifndef ORVSIM_VALUETEXT_H
#define ORVSIM_VALUETEXT_H

#include <string>

namespace OrvSim {

/// Shortest text that reads back to the same double, independent of the C locale
/// (a Qt host switches LC_NUMERIC to the user's locale).
std::string doubleText(double value);
std::string boolText(bool value);

/// In quotes for an error message; a text longer than a line is cut short
/// (on a character boundary) and marked with "...".
std::string quotedText(const std::string &text);

bool parseInteger(const std::string &text, long long &value);
bool parseDouble(const std::string &text, double &value);
bool parseBool(const std::string &text, bool &value);

} // namespace OrvSim

#endif // ORVSIM_VALUETEXT_H
