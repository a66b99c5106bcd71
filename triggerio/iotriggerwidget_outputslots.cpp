// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
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

namespace {

// A check box whose value the camera refused shows the value it holds
// (`held` is what the write read back; -1 when that is not known).
void showHeld(QCheckBox *box, double held)
{
    if (held >= 0.0)
        box->setChecked(held > 0.0);
}

} // namespace

void IOTriggerWidget::OnComboOutSourceChanged(const QString &value)
{
    const FeatureManager &features = *m_pFeatureManager;
    // Observers stay registered: the camera's report of the new source
    // refreshes the rows at the next tick.
    const QuietScope quiet(this, QuietScope::Observed);

    const LineWalk walk(features);
    if (walk.generation() != LineWalk::NoSelector) {
        const char *sourceFeature = outSourceFeature(walk.outputSelector());
        for (int i = 0; i < m_OutputLines.size(); ++i) {
            const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
            // Another line than this row's must not get its source.
            if (walk.select(m_OutputLineNames.value(i)) && line->ComboSource->currentText() == value
                && features.SetStringValue(sourceFeature, value).isEmpty()) {
                // Refused: show what the line has.
                features.FillComboBox(sourceFeature, line->ComboSource.data(), true);
                fitToEntries(line->ComboSource.data());
            }
            enableForSource(*line, walk.outputSelector());
        }
        if (walk.restore().isEmpty())
            qCDebug(lcTabExtension) << (walk.outputSelector() ? "Orvik Error  OnComboOutSourceChanged"
                                                              : "Orvik Error OnComboOutSourceChanged: ");
        // A row whose line could not be selected shows again what its line has.
        if (!walk.allSelected())
            updateOutSource();
    }

    if (m_bUserOutputSelector) {
        updateUserOutSelector();
        updateUserOutValue();
    }
}

// Writes the inversion of the line selected now from its row's box; a
// refused value shows what the line keeps.
void IOTriggerWidget::writeInversion(const OutputLine &line, bool outputSelector)
{
    const FeatureManager &features = *m_pFeatureManager;
    const bool invert = line.CBInvert->isChecked();
    if (!outputSelector) {
        showHeld(line.CBInvert.data(), features.SetValue(FN::LineInverter, invert ? 1.0 : 0.0));
        return;
    }
    if (features.SetStringValue(FN::LineOutPolarity, FN::SyncOutPolarity, invert ? FE::Invert : FE::Normal).isEmpty())
        showInversion(line, outputSelector);
}

// The box that changed is not known, so every line is written from its own box.
void IOTriggerWidget::OnCBOutInvertChanged(int /*value*/)
{
    const QuietScope quiet(this, QuietScope::Unobserved);

    const LineWalk walk(*m_pFeatureManager);
    if (walk.generation() == LineWalk::NoSelector)
        return;
    for (int i = 0; i < m_OutputLines.size(); ++i) {
        if (walk.select(m_OutputLineNames.value(i)))
            writeInversion(*m_OutputLines.at(i), walk.outputSelector());
    }
    if (walk.restore().isEmpty())
        qCDebug(lcTabExtension) << (walk.outputSelector() ? "Orvik Error updateOutSource: "
                                                          : "Orvik Error updateOutInvertChanged: ");
    if (!walk.outputSelector())
        updateOutStatus();
    if (!walk.allSelected())
        updateOutInvert();
}

void IOTriggerWidget::OnCBOutStatusChanged(int /*value*/)
{
    const FeatureManager &features = *m_pFeatureManager;
    const QuietScope quiet(this, QuietScope::Unobserved);

    const LineWalk walk(features);
    if (walk.generation() == LineWalk::LineSelectorCamera) {
        for (int i = 0; i < m_OutputLines.size(); ++i) {
            const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
            if (walk.select(m_OutputLineNames.value(i)))
                showHeld(line->CBStatus.data(),
                         features.SetValue(FN::LineStatus, line->CBStatus->isChecked() ? 1.0 : 0.0));
        }
        if (walk.restore().isEmpty())
            qCDebug(lcTabExtension) << "Orvik Error updateOutSource: ";
        if (!walk.allSelected())
            updateOutStatus();
    } else if (features.FeatureExists(FN::LineOutLevels, FN::SyncOutLevels)) {
        // One mask holds every output's level; the written mask has 32 bits,
        // so lines past them cannot be set here.
        quint32 mask = 0;
        const int bits = qMin(m_OutputLines.size(), 32);
        for (int i = 0; i < bits; ++i) {
            if (m_OutputLines.at(i)->CBStatus->isChecked())
                mask |= quint32(1) << i;
        }
        // The camera may refuse the mask: the boxes and the field show what it holds.
        const double held = features.SetValue(FN::LineOutLevels, FN::SyncOutLevels, mask);
        if (held < 0.0) {
            qCDebug(lcTabExtension) << "Orvik Error OnCBOutStatusChanged: ";
            updateOutLevels();
        } else {
            showOutLevels(static_cast<qint64>(held));
        }
    }
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
    const QuietScope quiet(this, QuietScope::Unobserved);

    // Each box shows what the camera holds afterwards; one whose value was
    // not written goes back to where it was.
    const QSharedPointer<OutputLine> changed = m_OutputLines.at(row);
    const int held = writeUserOutValue(row, state);
    if (changed->CBUserValue)
        changed->CBUserValue->setChecked(held < 0 ? state == Qt::Unchecked : held > 0);

    // Lines driven by the same user output show and get the same value.
    if (changed->ComboUserOutSel) {
        const QString userOutput = changed->ComboUserOutSel->currentText();
        for (int i = 0; i < m_OutputLines.size(); ++i) {
            const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
            if (i == row || !line->ComboUserOutSel || line->ComboUserOutSel->currentText() != userOutput)
                continue;
            const int sharedHeld = writeUserOutValue(i, state);
            if (line->CBUserValue && sharedHeld >= 0)
                line->CBUserValue->setChecked(sharedHeld > 0);
        }
    }

    updateOutStatus();
}

// The value the user output holds afterwards (0 or 1), or -1 when nothing
// was written.
int IOTriggerWidget::writeUserOutValue(int row, int state)
{
    if (row < 0 || row >= m_OutputLines.size())
        return -1;
    const QSharedPointer<QComboBox> userOutput = m_OutputLines.at(row)->ComboUserOutSel;
    if (!userOutput)
        return -1;

    const FeatureManager &features = *m_pFeatureManager;
    const QString current = features.GetStringValue(FN::UserOutputSelector);
    // Without the user output the camera stands on, it could not be put back.
    if (current.isEmpty()) {
        qCDebug(lcTabExtension) << "Orvik Error updateOutSource: ";
        return -1;
    }
    int held = -1;
    const QString selected = features.SetStringValue(FN::UserOutputSelector, userOutput->currentText());
    if (!selected.isEmpty()) {
        // The check state goes as 0 or 2; a Boolean feature takes that as false or true.
        const double readBack = features.SetValue(FN::UserOutputValue, state);
        if (readBack >= 0.0)
            held = readBack > 0.0 ? 1 : 0;
        if (held != (state > 0 ? 1 : 0))
            qCDebug(lcTabExtension) << "Orvik Error OnCBOutUserValueChanged: " << selected;
    }
    features.SetStringValue(FN::UserOutputSelector, current);

    if (selected.isEmpty())
        qCDebug(lcTabExtension) << "Orvik Error updateOutSource: ";
    return held;
}

IOTriggerWidget::QuietScope::QuietScope(IOTriggerWidget *page, Observers observers)
    : m_pPage(page),
      m_Observers(observers)
{
    m_pPage->blockAllSignals(true);
    if (m_Observers == Unobserved)
        m_pPage->UnregisterFeatureObservers();
}

IOTriggerWidget::QuietScope::~QuietScope()
{
    if (m_Observers == Unobserved)
        m_pPage->RegisterFeatureObservers(false);
    m_pPage->blockAllSignals(false);
}
