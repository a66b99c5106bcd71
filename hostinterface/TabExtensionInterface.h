// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The boundary between orvik-viewer and its tab plug-ins. A plug-in's root
// object derives from this class; nothing else crosses the boundary.
#ifndef TABEXTENSIONINTERFACE_H
#define TABEXTENSIONINTERFACE_H

#include <featurelist.h>

#include <QObject>
#include <QtPlugin>

#include <cstdint>

class QWidget;

/// A plug-in that adds tab pages for the open camera. Deliberately without
/// Q_OBJECT: its meta-object is QObject's, the plug-in class brings its own.
/// The order of the virtuals is part of the binary contract; append only.
class TabExtensionInterface : public QObject
{
public:
    ~TabExtensionInterface() override {}

    /// Builds the plug-in's page into the empty container `parent` and sets
    /// parent's accessible name to the tab caption. Returns 0, or a non-zero
    /// code when the page is not available for this camera (parent then has
    /// no layout).
    virtual int32_t CreateTabWidget(const CameraFeatureList &features, QWidget *parent) = 0;

    /// Asks the plug-in about an optional capability.
    virtual bool QueryFlag(int flag) = 0;

    /// Connects the host's signal (a SIGNAL() signature taking one bool, true
    /// while the camera acquires) to the plug-in's pages.
    virtual bool ConnectStreamingSignal(QObject *sender, const char *signal) = 0;
};

#define TabExtensionInterface_iid "com.tkn.OrvikViewer.Plugin.TabExtensionInterface/1.0"

Q_DECLARE_INTERFACE(TabExtensionInterface, TabExtensionInterface_iid)

#endif // TABEXTENSIONINTERFACE_H
