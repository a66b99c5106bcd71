// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "pluginfeatureobserver.h"

#include <OrvikCamera.h>

#include <string>

using TKN::OrvAPI::FeaturePtr;
using TKN::OrvAPI::OrvErrSuccess;
using TKN::OrvAPI::OrvFeatureDataType;

QString FeatureValueText(const FeaturePtr &feature, OrvFeatureDataType type)
{
    if (type == TKN::OrvAPI::OrvFeatureDataCommand)
        return QStringLiteral("[COMMAND]");
    if (type == TKN::OrvAPI::OrvFeatureDataRaw)
        return QStringLiteral("Click here to open");
    std::string text;
    if (TKN::OrvAPI::ReadValueText(*feature, type, text) == OrvErrSuccess)
        return QString::fromStdString(text);
    return QString();
}

PluginFeatureObserver::PluginFeatureObserver()
    : QObject(nullptr)
{
}

PluginFeatureObserver::~PluginFeatureObserver() = default;

void PluginFeatureObserver::NotifyFeatureChange(const FeaturePtr &feature)
{
    if (!feature)
        return;
    std::string name;
    if (feature->GetName(name) != OrvErrSuccess)
        return;
    OrvFeatureDataType type = TKN::OrvAPI::OrvFeatureDataUnknown;
    if (feature->GetDataType(type) != OrvErrSuccess)
        return;
    emit setChangedFeature(QString::fromStdString(name), FeatureValueText(feature, type));
}
