// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Plug-in files that must not take the viewer down, one per HOSTILE_* macro.
// Each marks its environment when its constructors run, so a test sees
// whether the host loaded it at all.
#include <TabExtensionInterface.h>

#include <QObject>
#include <QtPlugin>

#include <cstdlib>
#include <stdexcept>

namespace {

const char Pattern[] = "pattern=QT_PLUGIN_VERIFICATION_DATA\nversion=4.7.1\n";

__attribute__((constructor)) void markLoaded()
{
    setenv("ORVIK_HOSTILE_LOADED_" HOSTILE_NAME, "1", 1);
}

} // namespace

#if defined(HOSTILE_DATA_SYMBOL)
// The verification "function" is a text: calling it faults.
extern "C" Q_DECL_EXPORT const char qt_plugin_query_verification_data[] = "pattern=QT_PLUGIN_VERIFICATION_DATA\n";
#elif defined(HOSTILE_THROWING)
extern "C" Q_DECL_EXPORT const char *qt_plugin_query_verification_data()
{
    throw std::runtime_error("verification refused by design");
}
#elif defined(HOSTILE_WRONG_PATTERN)
extern "C" Q_DECL_EXPORT const char *qt_plugin_query_verification_data()
{
    return "pattern=SOME_OTHER_PLUGIN_KIND\n";
}
#else
extern "C" Q_DECL_EXPORT const char *qt_plugin_query_verification_data()
{
    return Pattern;
}
#endif

#if !defined(HOSTILE_NOT_QT)
#if defined(HOSTILE_NOT_EXTENSION)
// Right metadata, but the root object offers no tab pages.
class HostilePlugin : public QObject
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TabExtensionInterface_iid)
};
#else
class HostilePlugin : public TabExtensionInterface
{
    Q_OBJECT
#if defined(HOSTILE_OTHER_INTERFACE)
    // Casts to a tab extension, but says it is something else.
    Q_PLUGIN_METADATA(IID "com.example.OtherViewer.Plugin.ExportInterface/1.0")
#else
    Q_PLUGIN_METADATA(IID TabExtensionInterface_iid)
#endif
    Q_INTERFACES(TabExtensionInterface)

public:
    int32_t CreateTabWidget(const CameraFeatureList &, QWidget *) override
    {
        return 1;
    }
    bool QueryFlag(int) override
    {
        return false;
    }
    bool ConnectStreamingSignal(QObject *, const char *) override
    {
        return false;
    }
};
#endif

#include "hostileplugin.moc"
#endif
