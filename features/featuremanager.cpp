// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "featuremanager.h"

#include "pluginlog.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using TKN::OrvAPI::FeaturePtr;
using TKN::OrvAPI::OrvErrorType;
using TKN::OrvAPI::OrvErrSuccess;
using TKN::OrvAPI::OrvFeatureDataType;

namespace {

OrvFeatureDataType dataType(const FeaturePtr &feature)
{
    OrvFeatureDataType type = TKN::OrvAPI::OrvFeatureDataUnknown;
    if (feature->GetDataType(type) != OrvErrSuccess)
        return TKN::OrvAPI::OrvFeatureDataUnknown;
    return type;
}

long long readInt(const FeaturePtr &feature)
{
    long long value = -1;
    if (feature->GetValue(value) != OrvErrSuccess)
        return -1;
    return value;
}

double readDouble(const FeaturePtr &feature)
{
    double value = -1.0;
    if (feature->GetValue(value) != OrvErrSuccess)
        return -1.0;
    return value;
}

bool readBool(const FeaturePtr &feature)
{
    bool value = false;
    if (feature->GetValue(value) != OrvErrSuccess)
        return false;
    return value;
}

// Converting a double outside the 64-bit range to an integer is undefined;
// saturate instead. The caller keeps NaN away.
long long truncateToInt64(double value)
{
    constexpr double lowest = static_cast<double>(std::numeric_limits<long long>::min());
    constexpr double highest = 9223372036854774784.0; // largest double below 2^63
    if (value <= lowest)
        return std::numeric_limits<long long>::min();
    if (value >= highest)
        return static_cast<long long>(highest);
    return static_cast<long long>(value);
}

// Snaps down to the increment grid and clamps to [min, upper], where upper is
// max snapped down as well. Only called with a known range: without one
// there is no grid origin, and the camera itself judges the value.
double fitToLimits(double min, double max, double increment, double value, bool integral)
{
    double upper = FeatureManager::SnapDownToIncrement(min, max, increment);
    if (integral)
        upper = static_cast<double>(truncateToInt64(upper));
    const double target = FeatureManager::SnapDownToIncrement(min, value, increment);
    if (target < min)
        return min;
    if (target > upper)
        return upper;
    return target;
}

bool isWritable(const FeaturePtr &feature)
{
    bool writable = false;
    if (feature->IsWritable(writable) != OrvErrSuccess)
        return false;
    return writable;
}

QString featureText(const FeaturePtr &feature)
{
    std::string text;
    if (feature->GetValue(text) != OrvErrSuccess)
        return QString();
    return QString::fromStdString(text);
}

QStringList entries(const FeaturePtr &feature)
{
    std::vector<std::string> names;
    if (feature->GetValues(names) != OrvErrSuccess)
        return QStringList();
    QStringList result;
    result.reserve(static_cast<int>(names.size()));
    for (const std::string &name : names)
        result << QString::fromStdString(name);
    return result;
}

bool isEntryAvailable(const FeaturePtr &feature, const QString &entry)
{
    bool available = false;
    if (feature->IsValueAvailable(entry.toStdString().c_str(), available) != OrvErrSuccess)
        return false;
    return available;
}

std::string ownName(const FeaturePtr &feature)
{
    std::string name;
    if (feature->GetName(name) != OrvErrSuccess)
        return std::string();
    return name;
}

} // namespace

FeatureManager::FeatureManager(const CameraFeatureList &features)
    : m_Features(features)
{
}

FeaturePtr FeatureManager::FindFeature(const QString &name1, const QString &name2, const QString &name3) const
{
    FeaturePtr feature = findOne(name1);
    if (feature || name2.isEmpty())
        return feature;
    feature = findOne(name2);
    if (feature || name3.isEmpty())
        return feature;
    return findOne(name3);
}

std::vector<int> FeatureManager::Positions(const QString &name) const
{
    if (!m_Features)
        return std::vector<int>();
    const FeatureVector &features = *m_Features;
    return m_Index.findAll(features, name.toStdString());
}

FeaturePtr FeatureManager::findOne(const QString &name) const
{
    if (!m_Features)
        return FeaturePtr();
    // Const access: a non-const one would detach the host's shared vector.
    const FeatureVector &features = *m_Features;
    const int position = m_Index.find(features, name.toStdString());
    return position < 0 ? FeaturePtr() : features.at(position);
}

double FeatureManager::GetValue(const QString &name1, const QString &name2, const QString &name3) const
{
    const FeaturePtr feature = FindFeature(name1, name2, name3);
    if (!feature)
        return -1.0;
    switch (dataType(feature)) {
    case TKN::OrvAPI::OrvFeatureDataInt: return static_cast<double>(readInt(feature));
    case TKN::OrvAPI::OrvFeatureDataFloat: return readDouble(feature);
    case TKN::OrvAPI::OrvFeatureDataBool: return readBool(feature) ? 1.0 : 0.0;
    default: return -1.0;
    }
}

double FeatureManager::GetValueAndRange(const QString &name, bool &writable, double &min, double &max,
                                        double &increment) const
{
    const FeaturePtr feature = FindFeature(name);
    if (!feature)
        return -1.0;
    writable = isWritable(feature);
    switch (dataType(feature)) {
    case TKN::OrvAPI::OrvFeatureDataInt: {
        const long long value = readInt(feature);
        long long nMin = -1;
        long long nMax = -1;
        if (feature->GetRange(nMin, nMax) != OrvErrSuccess) {
            nMin = -1;
            nMax = -1;
        }
        long long nIncrement = -1;
        if (feature->GetIncrement(nIncrement) != OrvErrSuccess)
            nIncrement = -1;
        min = static_cast<double>(nMin);
        max = static_cast<double>(nMax);
        increment = static_cast<double>(nIncrement);
        if (increment > 0)
            max = SnapDownToIncrement(min, max, increment);
        else
            increment = 1.0;
        return static_cast<double>(value);
    }
    case TKN::OrvAPI::OrvFeatureDataFloat: {
        const double value = readDouble(feature);
        if (feature->GetRange(min, max) != OrvErrSuccess) {
            min = -1.0;
            max = -1.0;
        }
        if (feature->GetIncrement(increment) != OrvErrSuccess)
            increment = -1.0;
        if (increment > 0)
            max = SnapDownToIncrement(min, max, increment);
        else
            increment = 0.01;
        return value;
    }
    default:
        writable = false;
        min = -1.0;
        max = -1.0;
        increment = -1.0;
        return -1.0;
    }
}

double FeatureManager::SetValue(const QString &name1, double value) const
{
    return setNumber(FindFeature(name1), name1, value);
}

double FeatureManager::SetValue(const QString &name1, const QString &name2, double value) const
{
    return setNumber(FindFeature(name1, name2), name1, value);
}

double FeatureManager::SetValue(const QString &name1, const QString &name2, const QString &name3, double value) const
{
    return setNumber(FindFeature(name1, name2, name3), name1, value);
}

double FeatureManager::setNumber(const FeaturePtr &feature, const QString &firstName, double value) const
{
    if (!feature)
        return value;
    qCDebug(lcTabExtension) << "Set " << ownName(feature).c_str() << " = " << value;

    switch (dataType(feature)) {
    case TKN::OrvAPI::OrvFeatureDataInt: {
        long long nMin = -1;
        long long nMax = -1;
        const bool rangeKnown = feature->GetRange(nMin, nMax) == OrvErrSuccess;
        long long nIncrement = 0;
        if (feature->GetIncrement(nIncrement) != OrvErrSuccess)
            nIncrement = -1;
        const double increment = static_cast<double>(nIncrement);
        const double target =
            rangeKnown ? fitToLimits(static_cast<double>(nMin), static_cast<double>(nMax), increment, value, true)
                       : value;
        if (!std::isnan(target) && isWritable(feature)) {
            const long long write = truncateToInt64(target);
            const OrvErrorType err = feature->SetValue(write);
            if (err != OrvErrSuccess)
                qCDebug(lcTabExtension) << "Error: FeatureManager::SetValue:Int: " << firstName << " : " << err;
        }
        return static_cast<double>(readInt(feature));
    }
    case TKN::OrvAPI::OrvFeatureDataFloat: {
        double min = -1.0;
        double max = -1.0;
        const bool rangeKnown = feature->GetRange(min, max) == OrvErrSuccess;
        double increment = 0.0;
        if (feature->GetIncrement(increment) != OrvErrSuccess)
            increment = -1.0;
        const double target = rangeKnown ? fitToLimits(min, max, increment, value, false) : value;
        if (isWritable(feature)) {
            const OrvErrorType err = feature->SetValue(target);
            if (err != OrvErrSuccess)
                qCDebug(lcTabExtension) << "Error: FeatureManager::SetValue:Double: " << firstName << " : " << err;
        }
        return readDouble(feature);
    }
    case TKN::OrvAPI::OrvFeatureDataBool: {
        const bool target = value > 0.0;
        if (isWritable(feature)) {
            const OrvErrorType err = feature->SetValue(target);
            if (err != OrvErrSuccess)
                qCDebug(lcTabExtension) << "Error: FeatureManager::SetValue:Bool: " << firstName << " : " << err;
        }
        return readBool(feature) ? 1.0 : 0.0;
    }
    default: return value;
    }
}

double FeatureManager::SnapDownToIncrement(double min, double value, double increment)
{
    // The factor keeps values already on the grid (0.3 with step 0.1) from
    // falling one step through rounding.
    const double r = std::floor((value - min) / increment * 1.000000000001) * increment + min;
    return value > r ? r : value;
}

QString FeatureManager::GetStringValue(const QString &name1, const QString &name2) const
{
    const FeaturePtr feature = FindFeature(name1, name2);
    if (!feature)
        return QString();
    QString text = featureText(feature);
    if (!text.isEmpty())
        m_Unsettled.erase(feature.get());
    return text;
}

QString FeatureManager::SetStringValue(const QString &name1, const QString &value) const
{
    return setText(FindFeature(name1), value);
}

QString FeatureManager::SetStringValue(const QString &name1, const QString &name2, const QString &value) const
{
    return setText(FindFeature(name1, name2), value);
}

QString FeatureManager::SetStringValue(const QString &name1, const QString &name2, const QString &name3,
                                       const QString &value) const
{
    return setText(FindFeature(name1, name2, name3), value);
}

QString FeatureManager::setText(const FeaturePtr &feature, const QString &value) const
{
    // Callers test the result for "" to learn whether the write happened
    // (line walks, selector restores), so a refused write must not echo the value.
    // An empty text is never a value the page means to write: it is what a
    // failed read hands back, and writing it back would misconfigure.
    if (!feature || value.isEmpty())
        return QString();
    if (feature->SetValue(value.toStdString().c_str()) != OrvErrSuccess) {
        m_Unsettled.insert(feature.get());
        return QString();
    }
    m_Unsettled.erase(feature.get());
    return value;
}

bool FeatureManager::IsSettled(const QString &name) const
{
    const FeaturePtr feature = FindFeature(name);
    return !feature || !m_Unsettled.count(feature.get());
}

bool FeatureManager::IsFeatureWritable(const QString &name1, const QString &name2) const
{
    const FeaturePtr feature = FindFeature(name1, name2);
    return feature && isWritable(feature);
}

bool FeatureManager::FeatureExists(const QString &name1, const QString &name2) const
{
    return static_cast<bool>(FindFeature(name1, name2));
}

void FeatureManager::RunCommandFeature(const QString &name) const
{
    const FeaturePtr feature = FindFeature(name);
    if (feature)
        feature->RunCommand();
}

QStringList FeatureManager::GetAvailableEntries(const QString &name1, const QString &name2) const
{
    const FeaturePtr feature = FindFeature(name1, name2);
    if (!feature)
        return QStringList();
    QStringList available;
    for (const QString &entry : entries(feature)) {
        if (isEntryAvailable(feature, entry))
            available << entry;
    }
    return available;
}

QString FeatureManager::FirstFeatureName(const QStringList &candidates) const
{
    for (const QString &candidate : candidates) {
        const FeaturePtr feature = FindFeature(candidate);
        if (feature)
            return QString::fromStdString(ownName(feature));
    }
    return QString();
}

QString FeatureManager::FirstFeatureDisplayName(const QStringList &candidates) const
{
    for (const QString &candidate : candidates) {
        const FeaturePtr feature = FindFeature(candidate);
        if (!feature)
            continue;
        std::string displayName;
        if (feature->GetDisplayName(displayName) != OrvErrSuccess)
            return QString();
        return QString::fromStdString(displayName);
    }
    return QString();
}

bool FeatureManager::FillComboBox(const QString &name, QComboBox *box, bool withToolTips) const
{
    if (!box)
        return false;
    const QString current = GetStringValue(name);
    const QStringList available = GetAvailableEntries(name);
    // A refill is a read: with the box's signals live, clearing and selecting
    // would reach its slot and write the passing entries to the camera.
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(available);
    if (withToolTips) {
        for (int i = 0; i < available.size(); ++i)
            box->setItemData(i, available.at(i), Qt::ToolTipRole);
    }
    box->setCurrentIndex(available.indexOf(current));
    const bool writable = IsFeatureWritable(name);
    box->setEnabled(writable);
    return writable;
}
