// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Feature names and entries the page reads and writes: the camera library's
// list, under the short names the page's code uses.
#ifndef FEATURENAMES_H
#define FEATURENAMES_H

#include <OrvikFeatureNames.h>

namespace FeatureNames = TKN::OrvAPI::FeatureNames;
namespace FeatureEntries = TKN::OrvAPI::FeatureEntries;

#endif // FEATURENAMES_H
