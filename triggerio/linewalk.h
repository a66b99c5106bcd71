// LineWalk: selecting the output lines one after the other on either camera
// naming, and putting the line selector back afterwards.
#ifndef LINEWALK_H
#define LINEWALK_H

#include <featuremanager.h>
#include <featurenames.h>

#include <QString>

/// Remembers the line selector's value when created; select() points the
/// camera at one line, restore() writes the remembered value back.
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

    Generation generation() const { return m_Generation; }
    const QString &current() const { return m_Current; }

    /// True when the camera took the line's name.
    bool select(const QString &line) const
    {
        const bool selected = !write(line).isEmpty();
        m_bAllSelected = m_bAllSelected && selected;
        return selected;
    }
    /// False once a line could not be selected: its row was left as it was.
    bool allSelected() const { return m_bAllSelected; }

    /// The text the restoring write returned ("" when it failed).
    QString restore() const { return write(m_Current); }

private:
    QString write(const QString &value) const
    {
        if (m_Generation == LineSelectorCamera)
            return m_Features.SetStringValue(FeatureNames::LineSelector, value);
        if (m_Generation == OutputSelectorCamera)
            return m_Features.SetStringValue(
                FeatureNames::LineOutSelector, FeatureNames::SyncOutSelector, value);
        return QString();
    }

    const FeatureManager &m_Features;
    QString m_Current;
    Generation m_Generation;
    mutable bool m_bAllSelected = true;
};

#endif // LINEWALK_H
