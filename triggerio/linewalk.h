// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// LineWalk: selecting the output lines one after the other on either camera
// naming, and putting the line selector back afterwards.
#ifndef LINEWALK_H
#define LINEWALK_H

#include <featuremanager.h>
#include <featurenames.h>
#include <pluginlog.h>

#include <QString>

/// Remembers the line selector's value when created; select() points the
/// camera at one line, restore() writes the remembered value back. A walk
/// left without a restore restores when it goes: no early return leaves the
/// camera on another line.
class LineWalk
{
public:
    enum Generation { NoSelector, LineSelectorCamera, OutputSelectorCamera };

    explicit LineWalk(const FeatureManager &features)
        : m_Features(features)
    {
        m_Current = features.GetStringValue(FeatureNames::LineSelector);
        if (!m_Current.isEmpty()) {
            m_Generation = LineSelectorCamera;
            return;
        }
        m_Current = features.GetStringValue(FeatureNames::LineOutSelector, FeatureNames::SyncOutSelector);
        m_Generation = m_Current.isEmpty() ? NoSelector : OutputSelectorCamera;
    }

    ~LineWalk()
    {
        if (!m_bRestored)
            write(m_Current);
    }
    LineWalk(const LineWalk &) = delete;
    LineWalk &operator=(const LineWalk &) = delete;

    Generation generation() const { return m_Generation; }
    /// The older naming: LineOutSelector or SyncOutSelector.
    bool outputSelector() const { return m_Generation == OutputSelectorCamera; }
    const QString &current() const { return m_Current; }

    /// True when the camera took the line's name.
    bool select(const QString &line) const
    {
        m_bRestored = false;
        const bool selected = !write(line).isEmpty();
        m_bAllSelected = m_bAllSelected && selected;
        return selected;
    }
    /// False once a line could not be selected: its row was left as it was.
    bool allSelected() const { return m_bAllSelected; }

    /// The text the restoring write returned ("" when it failed).
    QString restore() const
    {
        m_bRestored = true;
        return write(m_Current);
    }

    /// Restores and writes the debug line `message` followed by the text the
    /// restoring write returned, whatever it was.
    void restoreLogged(const char *message) const
    {
        const QString restored = restore(); // outside qCDebug, which skips its arguments when disabled
        qCDebug(lcTabExtension) << message << restored;
    }

private:
    QString write(const QString &value) const
    {
        if (m_Generation == LineSelectorCamera)
            return m_Features.SetStringValue(FeatureNames::LineSelector, value);
        if (m_Generation == OutputSelectorCamera)
            return m_Features.SetStringValue(FeatureNames::LineOutSelector, FeatureNames::SyncOutSelector, value);
        return QString();
    }

    const FeatureManager &m_Features;
    QString m_Current;
    Generation m_Generation;
    mutable bool m_bAllSelected = true;
    mutable bool m_bRestored = true;
};

#endif // LINEWALK_H
