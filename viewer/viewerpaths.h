// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// ViewerPaths: where orvik-viewer finds its plug-ins, cameras and
// translations, relative to its own binary: beside it in the build tree,
// under the install prefix once installed.
#ifndef VIEWERPATHS_H
#define VIEWERPATHS_H

#include <QString>

namespace ViewerPaths {

/// The folder of the tab plug-ins and their translations.
QString plugins();
/// The folder of the simulated camera descriptions (genicam/ inside).
QString cameras();
/// The folder of the viewer's own translations.
QString translations();

} // namespace ViewerPaths

#endif // VIEWERPATHS_H
