// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The exceptions through which a tab page refuses to be built.
#ifndef TABEXTENSIONEXCEPTION_H
#define TABEXTENSIONEXCEPTION_H

#include <QString>

#include <cstdint>

class TabExtensionException
{
public:
    TabExtensionException(const char *origin, const char *message, int32_t errorCode)
    {
        ErrorCode = errorCode;
        // A text that cannot be converted leaves its field empty; the code
        // is what the host needs.
        try {
            if (origin)
                Origin = QString::fromLatin1(origin);
        } catch (...) {
        }
        try {
            if (message)
                Message = QString::fromLatin1(message);
        } catch (...) {
        }
    }

    QString Origin;
    QString Message;
    int32_t ErrorCode;
};

/// The camera lacks the functionality the page needs.
class TENotSupported : public TabExtensionException
{
public:
    using TabExtensionException::TabExtensionException;
};

#endif // TABEXTENSIONEXCEPTION_H
