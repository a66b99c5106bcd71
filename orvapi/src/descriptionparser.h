// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Parses the JSON text of a camera description, within the format's limits.
#ifndef ORVSIM_DESCRIPTIONPARSER_H
#define ORVSIM_DESCRIPTIONPARSER_H

#include <nlohmann/json.hpp>

#include <string>

namespace OrvSim {

/// The JSON value of a description. Refuses, with a LoadError naming the
/// line, what the reader must never see: syntax errors, numbers beyond a
/// double, nesting deeper than Camera::MaxNestingDepth, duplicate keys and
/// texts holding a NUL character. Builds no deeper than that limit, so what
/// reads the value afterwards may recurse.
nlohmann::json parseDescription(const std::string &text, const std::string &sourceName);

} // namespace OrvSim

#endif // ORVSIM_DESCRIPTIONPARSER_H
