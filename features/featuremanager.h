// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// FeatureManager: a page's one road to the camera's features by name.
#ifndef FEATUREMANAGER_H
#define FEATUREMANAGER_H

#include "featureindex.h"
#include <featurelist.h>

#include <QString>
#include <QStringList>

#include <set>
#include <vector>

class QComboBox;

/// Finds camera features by name (up to three alternatives, tried in order)
/// and reads, writes and enumerates them. Failures are folded into fixed
/// values: -1.0 for numbers, "" for texts, false for questions.
/// Names are looked up in an index of the list, read once; values are never
/// cached here.
class FeatureManager
{
public:
    explicit FeatureManager(const CameraFeatureList &features);

    TKN::OrvAPI::FeaturePtr FindFeature(const QString &name1, const QString &name2 = QString(),
                                        const QString &name3 = QString()) const;

    double GetValue(const QString &name1, const QString &name2 = QString(), const QString &name3 = QString()) const;

    double GetValueAndRange(const QString &name, bool &writable, double &min, double &max, double &increment) const;

    /// Snaps to the increment grid, clamps to the range, writes when writable
    /// and returns the value read back.
    double SetValue(const QString &name1, double value) const;
    double SetValue(const QString &name1, const QString &name2, double value) const;
    double SetValue(const QString &name1, const QString &name2, const QString &name3, double value) const;

    QString GetStringValue(const QString &name1, const QString &name2 = QString()) const;

    /// Writes the text; returns it on success and "" when nothing was found,
    /// the text is empty (nothing is written then) or the camera refused it.
    QString SetStringValue(const QString &name1, const QString &value) const;
    QString SetStringValue(const QString &name1, const QString &name2, const QString &value) const;
    QString SetStringValue(const QString &name1, const QString &name2, const QString &name3,
                           const QString &value) const;

    bool IsFeatureWritable(const QString &name1, const QString &name2 = QString()) const;
    bool FeatureExists(const QString &name1, const QString &name2 = QString()) const;
    /// False after a write of the feature the camera refused, until a read of
    /// it succeeds or a later write does: meanwhile nobody here knows its
    /// value. A selector's writes are checked this way before a selected
    /// feature is written.
    bool IsSettled(const QString &name) const;
    void RunCommandFeature(const QString &name) const;
    QStringList GetAvailableEntries(const QString &name1, const QString &name2 = QString()) const;
    QString FirstFeatureName(const QStringList &candidates) const;
    QString FirstFeatureDisplayName(const QStringList &candidates) const;

    /// Fills the box with the available entries, selects the current one
    /// (-1 when it is not among them), enables the box exactly when the
    /// feature is writable and returns that answer. The box's signals are
    /// blocked meanwhile, so a refill never reaches its slot.
    bool FillComboBox(const QString &name, QComboBox *box, bool withToolTips = false) const;

    /// The positions in the feature list of every feature of that name, in
    /// list order (the name index's answer, for walks that need them all).
    std::vector<int> Positions(const QString &name) const;

    /// floor((value - min) / increment) steps above min, or value itself when
    /// that is not above the grid point.
    static double SnapDownToIncrement(double min, double value, double increment);

private:
    double setNumber(const TKN::OrvAPI::FeaturePtr &feature, const QString &firstName, double value) const;
    QString setText(const TKN::OrvAPI::FeaturePtr &feature, const QString &value) const;

    TKN::OrvAPI::FeaturePtr findOne(const QString &name) const;

    CameraFeatureList m_Features;
    mutable FeatureIndex m_Index;
    mutable std::set<const TKN::OrvAPI::Feature *> m_Unsettled;
};

#endif // FEATUREMANAGER_H
