// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// IOTriggerWidget: refreshing the controls whose features the camera reported
// changed, and rebuilding the output rows when a line changes direction.
#include "iotriggerwidget.h"

#include <featuremanager.h>
#include <featurenames.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include <array>
#include <functional>

namespace FN = FeatureNames;

void IOTriggerWidget::RefreshChangedFeatures()
{
    const QStringList &changed = *ChangedFeatureList;
    const FeatureManager &features = *m_pFeatureManager;

    struct Row
    {
        std::array<const char *, 3> names;
        std::function<void()> action;
        bool enabled = true;
    };
    // The order of the rows, not that of the names, decides the order of the
    // updates; each row runs at most once.
    const Row rows[] = {
        {{FN::TriggerSource}, [this] { updateTriggerSource(); }},
        {{FN::TriggerActivation}, [&] { features.FillComboBox(FN::TriggerActivation, m_pComboTriggerActivation); }},
        {{FN::TriggerMode},
         [&] {
             features.FillComboBox(FN::TriggerMode, m_pComboTriggerMode);
             updateTriggerSelector();
             features.FillComboBox(FN::TriggerActivation, m_pComboTriggerActivation);
         }},
        {{FN::TriggerSelector}, [this] { updateTriggerSelector(); }},
        {{FN::AcquisitionFrameCount}, [this] { updateAcquisitionFrameCount(); }},
        {{FN::AcquisitionMode},
         [&] {
             const bool writable = features.FillComboBox(FN::AcquisitionMode, m_pComboAcquisitionMode);
             updateQuickModeButtons(!writable);
             updateAcquisitionFrameCount();
         }},
        {{FN::LineSelector}, [this] { updateInputLineSelector(); }},
        {{FN::LineRouting}, [this] { updateLineRouting(); }},
        {{FN::ExposureMode}, [this] { updateExposureMode(); }},
        {{FN::ExposureAuto},
         [&] {
             if (m_pComboExposureAuto)
                 features.FillComboBox(FN::ExposureAuto, m_pComboExposureAuto);
         }},
        {{FN::LineSource, FN::SyncOutSource, FN::LineOutSource}, [this] { updateOutSource(); }},
        {{FN::LineInverter, FN::SyncOutPolarity, FN::LineOutPolarity}, [this] { updateOutInvert(); }},
        {{FN::LineStatus},
         [this] {
             updateOutStatus();
             updateOutInvert();
         }},
        {{FN::SyncOutLevels, FN::LineOutLevels}, [this] { updateOutLevels(); }},
        {{FN::UserOutSelector}, [this] { updateUserOutSelector(); }},
        {{FN::UserOutputValue}, [this] { updateUserOutValue(); }},
        // Only a camera with lines that can change direction has rows to rebuild.
        {{FN::LineMode}, [this] { rebuildOutputLines(); }, !m_SelectableOutputWidgets.isEmpty()},
    };

    for (const Row &row : rows) {
        bool listed = false;
        for (const char *name : row.names)
            listed = listed || (name && changed.contains(QLatin1String(name)));
        if (!listed || !row.enabled)
            continue;
        blockAllSignals(true);
        row.action();
        blockAllSignals(false);
    }
}

void IOTriggerWidget::rebuildOutputLines()
{
    blockAllSignals(true);

    while (!m_OutputWidgets.isEmpty()) {
        QWidget *label = m_OutputWidgets.takeLast();
        if (!label)
            continue;
        grid_Output->removeWidget(label);
        delete label;
    }

    for (int i = m_OutputLines.size() - 1; i >= 0; --i) {
        const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
        QWidget *const widgets[] = {line->ComboSource.data(), line->CBInvert.data(), line->CBStatus.data(),
                                    line->ComboUserOutSel.data(), line->CBUserValue.data()};
        for (QWidget *widget : widgets) {
            if (widget)
                grid_Output->removeWidget(widget);
        }
    }
    // The records own their widgets: releasing the last reference deletes them.
    m_OutputLines = QVector<QSharedPointer<OutputLine>>();

    createOutputLines();
    // createOutputLines lifts the blocking; a level read below must not be
    // written back through the status boxes.
    blockAllSignals(true);
    updateOptionalOut();
    updateOutStatus();

    blockAllSignals(false);
}
