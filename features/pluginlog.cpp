#include "pluginlog.h"

Q_LOGGING_CATEGORY(lcTabExtension, "orvik.tabextension", QtWarningMsg)
