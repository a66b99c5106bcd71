// IOTriggerWidget: the slots that write an output row's changes to the camera.
#include "iotriggerwidget.h"

#include "linewalk.h"

#include <featuremanager.h>
#include <featurenames.h>
#include <pluginlog.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace FN = FeatureNames;
namespace FE = FeatureEntries;

void IOTriggerWidget::OnComboOutSourceChanged(QString value)
{
    const FeatureManager &features = *m_pFeatureManager;
    // Observers stay registered: the camera's report of the new source
    // refreshes the rows at the next tick.
    blockAllSignals(true);

    const LineWalk walk(features);
    if (walk.generation() == LineWalk::OutputSelectorCamera) {
        for (int i = 0; i < m_OutputLines.size(); ++i) {
            const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
            walk.select(m_OutputLineNames.value(i));
            const QString source = line->ComboSource->currentText();
            if (source == value)
                features.SetStringValue(FN::LineOutSource, FN::SyncOutSource, source);
            line->CBStatus->setEnabled(features.IsFeatureWritable(FN::LineOutLevels, FN::SyncOutLevels)
                && source == QLatin1String(FE::GPO));
        }
        if (walk.restore().isEmpty())
            qCDebug(lcTabExtension) << "Orvik Error  OnComboOutSourceChanged";
    } else if (walk.generation() == LineWalk::LineSelectorCamera) {
        for (int i = 0; i < m_OutputLines.size(); ++i) {
            const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
            const bool selected = walk.select(m_OutputLineNames.value(i));
            const QString source = line->ComboSource->currentText();
            if (selected && source == value)
                features.SetStringValue(FN::LineSource, source);
            line->CBStatus->setEnabled(
                source == QLatin1String(FE::Direct) && features.IsFeatureWritable(FN::LineStatus));
            if (m_bUserOutputSelector && line->CBUserValue)
                line->CBUserValue->setEnabled(source.contains(QLatin1String(FE::UserOutput)));
        }
        if (walk.restore().isEmpty())
            qCDebug(lcTabExtension) << "Orvik Error OnComboOutSourceChanged: ";
    }

    if (m_bUserOutputSelector) {
        updateUserOutSelector();
        updateUserOutValue();
    }
    blockAllSignals(false);
}

// The box that changed is not known, so every line is written from its own box.
void IOTriggerWidget::OnCBOutInvertChanged(int /*value*/)
{
    const FeatureManager &features = *m_pFeatureManager;
    blockAllSignals(true);
    UnregisterFeatureObservers();

    const LineWalk walk(features);
    if (walk.generation() == LineWalk::OutputSelectorCamera) {
        for (int i = 0; i < m_OutputLines.size(); ++i) {
            const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
            if (walk.select(m_OutputLineNames.value(i)))
                features.SetStringValue(FN::LineOutPolarity, FN::SyncOutPolarity,
                    line->CBInvert->isChecked() ? FE::Invert : FE::Normal);
        }
        if (walk.restore().isEmpty())
            qCDebug(lcTabExtension) << "Orvik Error updateOutSource: ";
    } else if (walk.generation() == LineWalk::LineSelectorCamera) {
        for (int i = 0; i < m_OutputLines.size(); ++i) {
            const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
            if (walk.select(m_OutputLineNames.value(i)))
                features.SetValue(FN::LineInverter, line->CBInvert->isChecked() ? 1.0 : 0.0);
        }
        if (walk.restore().isEmpty())
            qCDebug(lcTabExtension) << "Orvik Error updateOutInvertChanged: ";
        updateOutStatus();
    }

    RegisterFeatureObservers(false);
    blockAllSignals(false);
}

void IOTriggerWidget::OnCBOutStatusChanged(int /*value*/)
{
    const FeatureManager &features = *m_pFeatureManager;
    blockAllSignals(true);
    UnregisterFeatureObservers();

    const LineWalk walk(features);
    if (walk.generation() == LineWalk::LineSelectorCamera) {
        for (int i = 0; i < m_OutputLines.size(); ++i) {
            const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
            if (walk.select(m_OutputLineNames.value(i)))
                features.SetValue(FN::LineStatus, line->CBStatus->isChecked() ? 1.0 : 0.0);
        }
        if (walk.restore().isEmpty())
            qCDebug(lcTabExtension) << "Orvik Error updateOutSource: ";
    } else if (features.FeatureExists(FN::LineOutLevels, FN::SyncOutLevels)) {
        // One mask holds every output's level; the written mask has 32 bits,
        // so lines past them cannot be set here.
        quint32 mask = 0;
        const int bits = qMin(m_OutputLines.size(), 32);
        for (int i = 0; i < bits; ++i) {
            if (m_OutputLines.at(i)->CBStatus->isChecked())
                mask |= quint32(1) << i;
        }
        if (features.SetValue(FN::LineOutLevels, FN::SyncOutLevels, mask) < 0.0)
            qCDebug(lcTabExtension) << "Orvik Error OnCBOutStatusChanged: ";
        if (m_pEditOutLine)
            m_pEditOutLine->setText(QString::number(mask));
    }

    RegisterFeatureObservers(false);
    blockAllSignals(false);
}

void IOTriggerWidget::OnCBOutUserValueChanged1(int value)
{
    OnCBOutUserValueChanged(0, value);
}

void IOTriggerWidget::OnCBOutUserValueChanged2(int value)
{
    OnCBOutUserValueChanged(1, value);
}

void IOTriggerWidget::OnCBOutUserValueChanged3(int value)
{
    OnCBOutUserValueChanged(2, value);
}

void IOTriggerWidget::OnCBOutUserValueChanged4(int value)
{
    OnCBOutUserValueChanged(3, value);
}

void IOTriggerWidget::OnCBOutUserValueChanged5(int value)
{
    OnCBOutUserValueChanged(4, value);
}

void IOTriggerWidget::OnCBOutUserValueChanged(int row, int state)
{
    if (row < 0 || row >= m_OutputLines.size())
        return;
    blockAllSignals(true);
    UnregisterFeatureObservers();

    writeUserOutValue(row, state);

    // Lines driven by the same user output show and get the same value.
    const QSharedPointer<OutputLine> changed = m_OutputLines.at(row);
    if (changed->ComboUserOutSel) {
        const QString userOutput = changed->ComboUserOutSel->currentText();
        for (int i = 0; i < m_OutputLines.size(); ++i) {
            const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
            if (i == row || !line->ComboUserOutSel || line->ComboUserOutSel->currentText() != userOutput)
                continue;
            writeUserOutValue(i, state);
            if (line->CBUserValue)
                line->CBUserValue->setChecked(state != Qt::Unchecked);
        }
    }

    updateOutStatus();

    RegisterFeatureObservers(false);
    blockAllSignals(false);
}

void IOTriggerWidget::writeUserOutValue(int row, int state)
{
    if (row < 0 || row >= m_OutputLines.size())
        return;
    const QSharedPointer<QComboBox> userOutput = m_OutputLines.at(row)->ComboUserOutSel;
    if (!userOutput)
        return;

    const FeatureManager &features = *m_pFeatureManager;
    const QString current = features.GetStringValue(FN::UserOutputSelector);
    const QString selected = features.SetStringValue(FN::UserOutputSelector, userOutput->currentText());
    if (!selected.isEmpty()) {
        // The check state goes as 0 or 2; a Boolean feature takes that as false or true.
        const double readBack = features.SetValue(FN::UserOutputValue, state);
        if ((readBack > 0.0) != (state > 0))
            qCDebug(lcTabExtension) << "Orvik Error OnCBOutUserValueChanged: " << selected;
    }
    features.SetStringValue(FN::UserOutputSelector, current);

    if (selected.isEmpty())
        qCDebug(lcTabExtension) << "Orvik Error updateOutSource: ";
}
