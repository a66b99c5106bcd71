#include "pluginfeatureobserver.h"

#include <string>

using TKN::OrvAPI::FeaturePtr;
using TKN::OrvAPI::OrvErrSuccess;
using TKN::OrvAPI::OrvFeatureDataType;

QString FeatureValueText(const FeaturePtr &feature, OrvFeatureDataType type)
{
    switch (type) {
    case TKN::OrvAPI::OrvFeatureDataInt: {
        long long value = 0;
        if (feature->GetValue(value) == OrvErrSuccess)
            return QString::number(value, 10);
        break;
    }
    case TKN::OrvAPI::OrvFeatureDataFloat: {
        double value = 0.0;
        if (feature->GetValue(value) == OrvErrSuccess)
            return QString::number(value, 'g', 6);
        break;
    }
    case TKN::OrvAPI::OrvFeatureDataEnum:
    case TKN::OrvAPI::OrvFeatureDataString: {
        std::string value;
        if (feature->GetValue(value) == OrvErrSuccess)
            return QString::fromStdString(value);
        break;
    }
    case TKN::OrvAPI::OrvFeatureDataBool: {
        bool value = false;
        if (feature->GetValue(value) == OrvErrSuccess)
            return value ? QStringLiteral("true") : QStringLiteral("false");
        break;
    }
    case TKN::OrvAPI::OrvFeatureDataCommand:
        return QStringLiteral("[COMMAND]");
    case TKN::OrvAPI::OrvFeatureDataRaw:
        return QStringLiteral("Click here to open");
    default:
        break;
    }
    return QString();
}

PluginFeatureObserver::PluginFeatureObserver() : QObject(nullptr) {}

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
