// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "viewerpaths.h"

#include <QCoreApplication>
#include <QDir>

namespace {

// The first of the folders that exists: the build tree's layout first, then
// the installed one (relative paths from the install's bin folder).
QString firstFolder(const char *beside, const char *installed)
{
    const QDir application(QCoreApplication::applicationDirPath());
    QString inBuildTree = application.absoluteFilePath(QLatin1String(beside));
    if (QDir(inBuildTree).exists())
        return inBuildTree;
    return QDir::cleanPath(application.absoluteFilePath(QLatin1String(installed)));
}

} // namespace

QString ViewerPaths::plugins()
{
    return firstFolder("plugins", ORVIK_INSTALLED_PLUGINS);
}

QString ViewerPaths::cameras()
{
    return firstFolder("cameras", ORVIK_INSTALLED_DATA "/cameras");
}

QString ViewerPaths::translations()
{
    return firstFolder("translations", ORVIK_INSTALLED_DATA "/translations");
}
