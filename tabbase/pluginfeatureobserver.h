// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// PluginFeatureObserver: turns the camera library's change notifications
// into a Qt signal carrying the feature's name and value text.
#ifndef PLUGINFEATUREOBSERVER_H
#define PLUGINFEATUREOBSERVER_H

#include <OrvikCPP.h>

#include <QObject>
#include <QString>

// Lets qt_metacast answer the library's interface name with that base.
Q_DECLARE_INTERFACE(TKN::OrvAPI::IFeatureObserver, "TKN::OrvAPI::IFeatureObserver")

/// The text of a feature's current value, by its data type; "" when the
/// value cannot be read.
QString FeatureValueText(const TKN::OrvAPI::FeaturePtr &feature, TKN::OrvAPI::OrvFeatureDataType type);

/// Registered by a page on the features it shows. Runs on the library's
/// notification thread: it only reads the feature and emits.
class PluginFeatureObserver : public QObject, public TKN::OrvAPI::IFeatureObserver
{
    Q_OBJECT
    Q_INTERFACES(TKN::OrvAPI::IFeatureObserver)

public:
    PluginFeatureObserver();
    ~PluginFeatureObserver() override;

    void NotifyFeatureChange(const TKN::OrvAPI::FeaturePtr &feature) override;

signals:
    void setChangedFeature(const QString &featureName, const QString &sValue);
};

#endif // PLUGINFEATUREOBSERVER_H
