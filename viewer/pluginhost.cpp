#include "pluginhost.h"

#include <TabExtensionInterface.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLibrary>
#include <QLocale>
#include <QPluginLoader>
#include <QTranslator>

namespace {

const char VerificationFunction[] = "qt_plugin_query_verification_data";
const char VerificationPattern[] = "pattern=QT_PLUGIN_VERIFICATION_DATA";

typedef const char *(*VerificationQuery)();

} // namespace

QByteArray PluginHost::verificationData(const QString &fileName, QString *error)
{
    QLibrary library(fileName);
    auto query = reinterpret_cast<VerificationQuery>(library.resolve(VerificationFunction));
    if (!query) {
        if (error)
            *error = library.errorString();
        return QByteArray();
    }
    const char *text = query();
    return text ? QByteArray(text) : QByteArray();
}

bool PluginHost::isVerificationData(const QByteArray &text)
{
    const int end = text.indexOf('\n');
    return (end < 0 ? text : text.left(end)) == VerificationPattern;
}

void PluginHost::loadAll(const QString &folder, QObject *streamingSender, const char *signal)
{
    const QDir dir(folder);
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    for (const QString &file : files) {
        const QString path = dir.absoluteFilePath(file);
        if (!QLibrary::isLibrary(path))
            continue;
        QString error;
        const QByteArray verification = verificationData(path, &error);
        if (!isVerificationData(verification)) {
            m_Messages << QStringLiteral("%1 skipped: no plug-in verification data%2")
                              .arg(file, error.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(error));
            continue;
        }
        QPluginLoader loader(path);
        QObject *instance = loader.instance();
        auto *extension = qobject_cast<TabExtensionInterface *>(instance);
        if (!extension) {
            m_Messages << (instance ? QStringLiteral("%1 skipped: not a tab extension").arg(file)
                                    : QStringLiteral("%1 skipped: %2").arg(file, loader.errorString()));
            continue;
        }
        LoadedPlugin plugin;
        plugin.fileName = path;
        plugin.name = loader.metaData()
                          .value(QStringLiteral("MetaData"))
                          .toObject()
                          .value(QStringLiteral("name"))
                          .toString();
        if (plugin.name.isEmpty())
            plugin.name = QFileInfo(path).baseName();
        plugin.extension = extension;
        installTranslator(folder, path);
        if (streamingSender && !extension->ConnectStreamingSignal(streamingSender, signal))
            m_Messages << QStringLiteral("%1 does not follow the acquisition state").arg(plugin.name);
        m_Plugins << plugin;
    }
}

// A plug-in's first page takes its caption from translators installed before
// it, so the host installs the plug-in's own translation up front.
void PluginHost::installTranslator(const QString &folder, const QString &fileName)
{
    QString base = QFileInfo(fileName).baseName();
    if (base.startsWith(QLatin1String("lib")))
        base.remove(0, 3);
    const QString locale = QLocale::system().name();
    const QString stem = QDir(folder).filePath(base + QLatin1Char('_'));
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(stem + locale))
        translator->load(stem + locale.left(2));
    if (translator->isEmpty()) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
}
