// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Shared by the Aravis provider's tests: the fake camera with our GenICam
// description, steps written as text, and values read back through Aravis.
#ifndef ARAVISTEST_H
#define ARAVISTEST_H

#include <OrvikAravis.h>
#include <OrvikCamera.h>

#include <arv.h>

#include <QMap>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace AravisTest {

using namespace TKN::OrvAPI;

inline std::string description()
{
    return std::string(ORVIK_CAMERA_DIR) + "/genicam/orvik-fake.xml";
}

/// Aravis may look only at its in-process fake: never at a network or a bus.
inline void keepOffTheNetwork()
{
    arv_disable_interface("GigEVision");
    arv_disable_interface("USB3Vision");
}

/// Our description, or Aravis's own for an empty genicamFile.
inline CameraPtr openFake(const std::string &genicamFile = description())
{
    return OrvArv::openFakeCamera("TEST01", genicamFile);
}

inline QString text(const std::string &value)
{
    return QString::fromStdString(value);
}

/// The value as text, whatever the type; "(error N)" when it cannot be read.
inline QString value(const CameraPtr &camera, const QString &name)
{
    const FeaturePtr feature = camera->GetFeature(name.toStdString());
    if (!feature)
        return QStringLiteral("(no feature)");
    OrvFeatureDataType type = OrvFeatureDataUnknown;
    feature->GetDataType(type);
    OrvErrorType err = OrvErrWrongType;
    QString result;
    if (type == OrvFeatureDataInt) {
        long long number = 0;
        err = feature->GetValue(number);
        result = QString::number(number);
    } else if (type == OrvFeatureDataFloat) {
        double number = 0;
        err = feature->GetValue(number);
        result = QString::number(number);
    } else if (type == OrvFeatureDataBool) {
        bool flag = false;
        err = feature->GetValue(flag);
        result = flag ? QStringLiteral("true") : QStringLiteral("false");
    } else {
        std::string value;
        err = feature->GetValue(value);
        result = text(value);
    }
    return err == OrvErrSuccess ? result : QStringLiteral("(error %1)").arg(err);
}

/// The selector of each selected feature of our description.
inline QString selectorOf(const QString &feature)
{
    static const QMap<QString, QString> selectors{
        {"TriggerMode", "TriggerSelector"},       {"TriggerSource", "TriggerSelector"},
        {"TriggerActivation", "TriggerSelector"}, {"LineMode", "LineSelector"},
        {"LineSource", "LineSelector"},           {"LineInverter", "LineSelector"},
        {"LineStatus", "LineSelector"},           {"UserOutputValue", "UserOutputSelector"}};
    return selectors.value(feature);
}

/// Carries out one step: "Feature=value" with the SetValue overload of the
/// feature's type, "text:Feature=value" always as text, "run:Command",
/// "start" and "stop" for acquisition.
inline OrvErrorType applyStep(const CameraPtr &camera, const QString &step)
{
    if (step == QLatin1String("start"))
        return camera->StartAcquisition();
    if (step == QLatin1String("stop"))
        return camera->StopAcquisition();
    const QString assignment = step.section(':', -1);
    const FeaturePtr feature = camera->GetFeature(assignment.section('=', 0, 0).toStdString());
    if (!feature)
        return OrvErrNotFound;
    if (step.startsWith(QLatin1String("run:")))
        return feature->RunCommand();
    const std::string value = assignment.section('=', 1).toStdString();
    OrvFeatureDataType type = OrvFeatureDataUnknown;
    feature->GetDataType(type);
    if (step.startsWith(QLatin1String("text:")))
        type = OrvFeatureDataString;
    switch (type) {
    case OrvFeatureDataInt: return feature->SetValue(static_cast<const long long &>(std::stoll(value)));
    case OrvFeatureDataFloat: return feature->SetValue(static_cast<const double &>(std::stod(value)));
    case OrvFeatureDataBool: return feature->SetValue(value == "true");
    default: return feature->SetValue(value.c_str());
    }
}

/// "Feature=value", or "Feature[entry]=value" for the value its selector
/// holds for that entry (the selector is put back afterwards). Returns the
/// mismatches as text, empty when all hold.
inline QStringList mismatches(const CameraPtr &camera, const QString &expectations)
{
    QStringList wrong;
    for (const QString &expectation : expectations.split(' ', Qt::SkipEmptyParts)) {
        const QString target = expectation.section('=', 0, 0);
        const QString expected = expectation.section('=', 1);
        const QString feature = target.section('[', 0, 0);
        const QString entry = target.section('[', 1).chopped(target.contains('[') ? 1 : 0);
        QString actual;
        if (entry.isEmpty()) {
            actual = value(camera, feature);
        } else {
            const QString selector = selectorOf(feature);
            const QString before = value(camera, selector);
            applyStep(camera, selector + '=' + entry);
            actual = value(camera, feature);
            applyStep(camera, selector + '=' + before);
        }
        if (actual != expected)
            wrong << expectation + QStringLiteral(" but is ") + actual;
    }
    return wrong;
}

} // namespace AravisTest

#endif // ARAVISTEST_H
