// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// ElfObject: what can be known of a shared library without mapping it.
#ifndef ELFOBJECT_H
#define ELFOBJECT_H

#include <QCoreApplication>
#include <QString>

/// The dynamic loader trusts every offset in a library's headers: a segment
/// past the end of a truncated file is mapped anyway and faults (SIGBUS) when
/// first touched. So a plug-in file is read and checked as data first.
class ElfObject
{
    Q_DECLARE_TR_FUNCTIONS(ElfObject)

public:
    /// Empty when `fileName` is a complete shared object for this machine:
    /// its header, program headers, every loadable segment and the section
    /// table all lie inside the file. Otherwise what is wrong, for a message.
    static QString problem(const QString &fileName);
};

#endif // ELFOBJECT_H
