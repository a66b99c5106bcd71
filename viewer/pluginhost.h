// PluginHost: finds, checks and loads the tab plug-ins of the plugins folder.
#ifndef PLUGINHOST_H
#define PLUGINHOST_H

#include <QList>
#include <QString>
#include <QStringList>

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
public:
    /// The verification text a plug-in exports, or an empty text when the
    /// library cannot be loaded or exports none.
    static QByteArray verificationData(const QString &fileName, QString *error = nullptr);
    /// True when the text's first line is the plug-in verification pattern.
    static bool isVerificationData(const QByteArray &text);

    /// Loads every plug-in in `folder` that passes verification and offers
    /// TabExtensionInterface, and connects `signal` of `streamingSender` to
    /// each. Libraries it skips are described in messages().
    void loadAll(const QString &folder, QObject *streamingSender, const char *signal);

    const QList<LoadedPlugin> &plugins() const { return m_Plugins; }
    const QStringList &messages() const { return m_Messages; }

private:
    void installTranslator(const QString &folder, const QString &fileName);

    QList<LoadedPlugin> m_Plugins;
    QStringList m_Messages;
};

#endif // PLUGINHOST_H
