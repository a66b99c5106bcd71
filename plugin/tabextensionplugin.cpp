// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "tabextensionplugin.h"

#include <tabextensionexception.h>

#include <iotriggerwidget.h>

#include <QVBoxLayout>

// Older hosts read this before they ask for the instance.
extern "C" Q_DECL_EXPORT const char *qt_plugin_query_verification_data()
{
    return "pattern=QT_PLUGIN_VERIFICATION_DATA\n"
           "version=4.7.1\n"
           "debug=false\n"
           "buildkey=Windows x64 msvc release full-config";
}

int32_t TabExtensionPlugin::CreateTabWidget(const CameraFeatureList &features, QWidget *parent)
{
    // Without a container the page would have no owner and no place.
    if (!parent)
        return InvalidContainer;
    try {
        IOTriggerWidget *page = new IOTriggerWidget(features, parent);
        connect(this, SIGNAL(camStreaming(bool)), page, SLOT(camIsStreaming(bool)));
        QVBoxLayout *layout = new QVBoxLayout;
        layout->addWidget(page, 0);
        parent->setLayout(layout);
    } catch (const TabExtensionException &e) {
        return e.ErrorCode;
    }
    return 0;
}

bool TabExtensionPlugin::QueryFlag(int flag)
{
    Q_UNUSED(flag);
    return false;
}

bool TabExtensionPlugin::ConnectStreamingSignal(QObject *sender, const char *signal)
{
    return connect(sender, signal, this, SLOT(OnCamIsStreaming(bool)));
}

void TabExtensionPlugin::OnCamIsStreaming(bool streaming)
{
    emit camStreaming(streaming);
}
