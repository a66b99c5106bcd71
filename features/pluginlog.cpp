// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "pluginlog.h"

Q_LOGGING_CATEGORY(lcTabExtension, "orvik.tabextension", QtWarningMsg)
