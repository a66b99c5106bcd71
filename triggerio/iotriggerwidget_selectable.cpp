// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// IOTriggerWidget: the selectable output rows, where a line's direction is set.
#include "iotriggerwidget.h"

#include <featuremanager.h>
#include <featurenames.h>
#include <pluginlog.h>

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace FN = FeatureNames;

void IOTriggerWidget::createOptionalOut()
{
    const FeatureManager &features = *m_pFeatureManager;

    QString sourceText;
    if (features.FeatureExists(FN::LineOutSource))
        sourceText = tr("LineOutSource:");
    else if (features.FeatureExists(FN::SyncOutSource))
        sourceText = tr("SyncOutSource:");
    else
        sourceText = tr("LineSource:");
    const bool polarity = features.FeatureExists(FN::SyncOutPolarity, FN::LineOutPolarity);

    QLabel *header[] = {
        new QLabel(sourceText),        new QLabel(polarity ? tr("Polarity:") : tr("Invert:")),
        new QLabel(tr("Status:")),     new QLabel(tr("UserOutSel.:")),
        new QLabel(tr("User Value:")),
    };

    // The header only lends the output rows' column widths to this grid:
    // drawn in the window colour and squeezed, it does not show.
    const QColor window = header[0]->palette().color(QPalette::Window);
    const QString style =
        QString("QLabel { color : rgb( %1, %2, %3); }").arg(window.red()).arg(window.green()).arg(window.blue());
    const Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignVCenter;
    const Qt::Alignment alignment[] = {Qt::AlignLeft, centred, centred, Qt::AlignLeft, centred};
    for (int i = 0; i < 5; ++i) {
        header[i]->setStyleSheet(style);
        header[i]->setMaximumHeight(2);
        grid_SelectableOut->addWidget(header[i], 0, i + 1, alignment[i]);
    }

    gb_SelectOutput->setMinimumHeight(55 * m_nSelectableOutputCount);
    gb_SelectOutput->setMaximumHeight(55 * m_nSelectableOutputCount);

    for (int i = 0; i < m_nSelectableOutputCount; ++i) {
        grid_SelectableOut->addWidget(new QLabel(m_SelectableOutputNames.value(i) + ": "), i + 1, 0, Qt::AlignLeft);
        QComboBox *mode = new QComboBox;
        connect(mode, SIGNAL(currentIndexChanged(QString)), this, SLOT(OnComboOptionalOutChanged(QString)));
        m_SelectableOutputWidgets.append(mode);
        grid_SelectableOut->addWidget(mode, i + 1, 1, Qt::AlignLeft);
    }

    updateOptionalOut();
}

void IOTriggerWidget::updateOptionalOut()
{
    if (m_nSelectableOutputCount < 1)
        return;
    const FeatureManager &features = *m_pFeatureManager;

    const QString saved = features.GetStringValue(FN::LineSelector);
    // Without the line the camera stands on, the walk could not put it back.
    if (!saved.isEmpty()) {
        for (int i = 0; i < m_SelectableOutputWidgets.size() && i < m_SelectableOutputNames.size(); ++i) {
            QComboBox *mode = qobject_cast<QComboBox *>(m_SelectableOutputWidgets.at(i));
            // A row shows its own line's mode or keeps what it showed.
            if (mode && !features.SetStringValue(FN::LineSelector, m_SelectableOutputNames.at(i)).isEmpty())
                features.FillComboBox(FN::LineMode, mode);
        }
        // Not inside qCDebug: a disabled category skips its arguments.
        const QString restored = features.SetStringValue(FN::LineSelector, saved);
        qCDebug(lcTabExtension) << "RetValue updateOpt. Out" << restored;
    }

    updateUserOutSelector();
}

// The sender is not asked: every selectable line whose box shows the chosen
// entry gets it written, the changed line among them.
void IOTriggerWidget::OnComboOptionalOutChanged(const QString &value)
{
    if (m_nSelectableOutputCount < 1)
        return;
    const FeatureManager &features = *m_pFeatureManager;

    const QString saved = features.GetStringValue(FN::LineSelector);
    // Without the line the camera stands on, the walk could not put it back.
    if (saved.isEmpty()) {
        qCDebug(lcTabExtension) << "Orvik Error OnComboOutSourceChanged: ";
        return;
    }
    bool allSelected = true;
    for (int i = 0; i < m_SelectableOutputNames.size(); ++i) {
        // The mode goes to this row's line or to none.
        if (features.SetStringValue(FN::LineSelector, m_SelectableOutputNames.at(i)).isEmpty()) {
            allSelected = false;
            continue;
        }
        QComboBox *mode = qobject_cast<QComboBox *>(m_SelectableOutputWidgets.value(i));
        if (mode && mode->currentText() == value && !writeBoxValue(FN::LineMode, value))
            features.FillComboBox(FN::LineMode, mode); // refused: show the line's mode
    }
    if (features.SetStringValue(FN::LineSelector, saved).isEmpty())
        qCDebug(lcTabExtension) << "Orvik Error OnComboOutSourceChanged: ";
    // A row whose line could not be selected shows again what its line has.
    if (!allSelected)
        updateOptionalOut();
}
