// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// PluginHost: finds, checks and loads the tab plug-ins of the plugins folder.
#ifndef PLUGINHOST_H
#define PLUGINHOST_H

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

class QLibrary;
class QObject;
class TabExtensionInterface;

struct LoadedPlugin
{
    QString fileName;
    /// The name in the plug-in's metadata, else its file's base name.
    QString name;
    TabExtensionInterface *extension = nullptr;
};

class PluginHost
{
    Q_DECLARE_TR_FUNCTIONS(PluginHost)

public:
    /// True when the text's first line is the plug-in verification pattern.
    static bool isVerificationData(const QByteArray &text);
    /// Why the file cannot be a tab plug-in, from the file alone: not a
    /// complete shared object, no Qt metadata, or metadata for another
    /// interface. Empty when it may be loaded.
    static QString problemBeforeLoading(const QString &fileName);

    /// Loads every plug-in in `folder` that passes verification and offers
    /// TabExtensionInterface, and connects `signal` of `streamingSender` to
    /// each. Libraries it skips are described in messages().
    void loadAll(const QString &folder, QObject *streamingSender, const char *signal);

    const QList<LoadedPlugin> &plugins() const { return m_Plugins; }
    const QStringList &messages() const { return m_Messages; }

private:
    /// Why a loaded library's verification text is not accepted: missing,
    /// wrong, not a function, or its function throws. Empty when accepted.
    static QString verificationProblem(QLibrary &library);
    void installTranslator(const QString &folder, const QString &fileName);

    QList<LoadedPlugin> m_Plugins;
    QStringList m_Messages;
};

/// Installs `base`_<language>.qm from `folder` for the system's languages on
/// the application; false when there is none.
bool installTranslation(const QString &base, const QString &folder);

#endif // PLUGINHOST_H
