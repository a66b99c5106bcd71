// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The viewer's plug-in loading: every check that can be made without running
// a file's code comes before loading it.
#include "pluginhost.h"

#include <TabExtensionInterface.h>
#include "elfobject.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLibrary>
#include <QLocale>
#include <QPluginLoader>
#include <QTranslator>

#include <dlfcn.h>
#include <link.h>

#include <exception>

namespace {

const char VerificationFunction[] = "qt_plugin_query_verification_data";
const char VerificationPattern[] = "pattern=QT_PLUGIN_VERIFICATION_DATA";

typedef const char *(*VerificationQuery)();

struct ExecutableSearch
{
    quintptr address;
    bool found;
    bool executable;
};

int findSegment(dl_phdr_info *info, size_t, void *data)
{
    auto *search = static_cast<ExecutableSearch *>(data);
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr) &segment = info->dlpi_phdr[i];
        const quintptr start = info->dlpi_addr + segment.p_vaddr;
        if (segment.p_type == PT_LOAD && search->address >= start && search->address - start < segment.p_memsz) {
            search->found = true;
            search->executable = (segment.p_flags & PF_X) != 0;
            return 1;
        }
    }
    return 0;
}

// Calling a data symbol, or code in a segment that cannot run, faults.
bool isFunction(const void *address)
{
    Dl_info info;
    void *entry = nullptr;
    if (!dladdr1(address, &info, &entry, RTLD_DL_SYMENT) || !entry
        || ELF64_ST_TYPE(static_cast<const ElfW(Sym) *>(entry)->st_info) != STT_FUNC)
        return false;
    ExecutableSearch search{reinterpret_cast<quintptr>(address), false, false};
    dl_iterate_phdr(findSegment, &search);
    return search.found && search.executable;
}

} // namespace

QString PluginHost::verificationProblem(QLibrary &library)
{
    auto query = reinterpret_cast<VerificationQuery>(library.resolve(VerificationFunction));
    if (!query)
        return tr("no plug-in verification data (%1)").arg(library.errorString());
    if (!isFunction(reinterpret_cast<const void *>(query)))
        return tr("its verification data is not a function");
    try {
        if (!isVerificationData(QByteArray(query())))
            return tr("no plug-in verification data");
    } catch (const std::exception &e) {
        return tr("its verification function failed: %1").arg(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return tr("its verification function failed");
    }
    return QString();
}

bool PluginHost::isVerificationData(const QByteArray &text)
{
    const int end = text.indexOf('\n');
    return (end < 0 ? text : text.left(end)) == VerificationPattern;
}

QString PluginHost::problemBeforeLoading(const QString &fileName)
{
    QString elfProblem = ElfObject::problem(fileName);
    if (!elfProblem.isEmpty())
        return elfProblem;
    // Read from the file, not by loading it. The loader goes before the
    // library is loaded, so its keep-mapped hint does not stick to a refusal.
    const QPluginLoader loader(fileName);
    const QJsonObject metaData = loader.metaData();
    if (metaData.isEmpty())
        return tr("not a Qt plug-in (%1)").arg(loader.errorString());
    const QString iid = metaData.value(QStringLiteral("IID")).toString();
    if (iid != QLatin1String(TabExtensionInterface_iid))
        return tr("a plug-in for \"%1\", not a tab extension").arg(iid);
    return QString();
}

void PluginHost::loadAll(const QString &folder, QObject *streamingSender, const char *signal)
{
    const QDir dir(folder);
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    for (const QString &file : files) {
        const QString path = dir.absoluteFilePath(file);
        if (!QLibrary::isLibrary(path))
            continue;
        const QString problem = problemBeforeLoading(path);
        if (!problem.isEmpty()) {
            m_Messages << tr("%1 skipped: %2").arg(file, problem);
            continue;
        }

        QLibrary library(path);
        if (!library.load()) {
            m_Messages << tr("%1 skipped: %2").arg(file, library.errorString());
            continue;
        }
        const QString error = verificationProblem(library);
        if (!error.isEmpty()) {
            library.unload();
            m_Messages << tr("%1 skipped: %2").arg(file, error);
            continue;
        }
        QPluginLoader loader(path);
        QObject *instance = loader.instance();
        auto *extension = qobject_cast<TabExtensionInterface *>(instance);
        // The loader holds the library from here; a refused one goes away.
        library.unload();
        if (!extension) {
            m_Messages << (instance ? tr("%1 skipped: not a tab extension").arg(file)
                                    : tr("%1 skipped: %2").arg(file, loader.errorString()));
            loader.unload();
            continue;
        }
        LoadedPlugin plugin;
        plugin.fileName = path;
        plugin.name =
            loader.metaData().value(QStringLiteral("MetaData")).toObject().value(QStringLiteral("name")).toString();
        if (plugin.name.isEmpty())
            plugin.name = QFileInfo(path).baseName();
        plugin.extension = extension;
        installTranslator(folder, path);
        if (streamingSender && !extension->ConnectStreamingSignal(streamingSender, signal))
            m_Messages << tr("%1 does not follow the acquisition state").arg(plugin.name);
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
    installTranslation(base, folder);
}

bool installTranslation(const QString &base, const QString &folder)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    // base_de_DE.qm, then base_de.qm, and so on for the system's languages.
    if (!translator->load(QLocale::system(), base, QStringLiteral("_"), folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}
