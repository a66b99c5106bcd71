// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The plug-in's diagnostics category. Off by default, so a page's debug lines
// stay silent without touching the host's own messages; turn it on with
// QT_LOGGING_RULES="orvik.tabextension.debug=true".
#ifndef PLUGINLOG_H
#define PLUGINLOG_H

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcTabExtension)

#endif // PLUGINLOG_H
