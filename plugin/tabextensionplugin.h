// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// TabExtensionPlugin: the plug-in's root object; builds "Trigger IO" pages
// and forwards the host's acquisition state to them.
#ifndef TABEXTENSIONPLUGIN_H
#define TABEXTENSIONPLUGIN_H

#include <TabExtensionInterface.h>

class TabExtensionPlugin : public TabExtensionInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TabExtensionInterface_iid FILE "tabextensiontriggerio.json")
    Q_INTERFACES(TabExtensionInterface)

public:
    enum { InvalidContainer = -1 };

    /// Returns 0, the refusal's code (4: the camera has no trigger I/O), or
    /// InvalidContainer when parent is null.
    int32_t CreateTabWidget(const CameraFeatureList &features, QWidget *parent) override;
    /// No optional capability is offered.
    bool QueryFlag(int flag) override;
    bool ConnectStreamingSignal(QObject *sender, const char *signal) override;

signals:
    void camStreaming(bool streaming);

public slots:
    void OnCamIsStreaming(bool streaming);
};

#endif // TABEXTENSIONPLUGIN_H
