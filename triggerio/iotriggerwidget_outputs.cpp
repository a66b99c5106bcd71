// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// IOTriggerWidget: the output rows: finding the output lines, building the
// rows and bringing them in line with the camera.
#include "iotriggerwidget.h"

#include "linewalk.h"

#include <featuremanager.h>
#include <featurenames.h>
#include <pluginlog.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace FN = FeatureNames;
namespace FE = FeatureEntries;

namespace {

// The slots that serve the first five user value boxes; later rows get a
// connection of their own (see createOutputLines).
const char *const s_UserValueSlots[] = {
    SLOT(OnCBOutUserValueChanged1(int)), SLOT(OnCBOutUserValueChanged2(int)), SLOT(OnCBOutUserValueChanged3(int)),
    SLOT(OnCBOutUserValueChanged4(int)), SLOT(OnCBOutUserValueChanged5(int)),
};
const int s_UserValueSlotCount = sizeof(s_UserValueSlots) / sizeof(s_UserValueSlots[0]);

// Qt 5 deprecates the policy but still honours it; its replacements size the
// box to its entries, which would let a long source name widen the row.
void adjustToMinimumContentsLength(QComboBox *box)
{
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLength);
    QT_WARNING_POP
}

bool sourceIsUserOutput(const QString &source)
{
    return source.contains(QLatin1String(FE::UserOutput));
}

} // namespace

int IOTriggerWidget::GetOutputs(QStringList &names)
{
    const FeatureManager &features = *m_pFeatureManager;
    const QStringList entries = features.GetAvailableEntries(FN::LineSelector);
    if (entries.isEmpty()) {
        const QStringList outputs = features.GetAvailableEntries(FN::LineOutSelector, FN::SyncOutSelector);
        names << outputs;
        return outputs.size();
    }

    int count = 0;
    const QString current = features.GetStringValue(FN::LineSelector);
    for (const QString &entry : entries) {
        if (!features.SetStringValue(FN::LineSelector, entry).isEmpty()
            && features.GetStringValue(FN::LineMode) == QLatin1String(FE::Output)) {
            names << entry;
            ++count;
        }
        if (features.SetStringValue(FN::LineSelector, current).isEmpty())
            qCDebug(lcTabExtension) << "GetOutputs Orvik Error: ";
    }
    return count;
}

int IOTriggerWidget::GetSelectableOutputs(QStringList &names)
{
    const FeatureManager &features = *m_pFeatureManager;
    int count = 0;
    const QString current = features.GetStringValue(FN::LineSelector);
    const QStringList entries = features.GetAvailableEntries(FN::LineSelector);
    for (const QString &entry : entries) {
        if (!features.SetStringValue(FN::LineSelector, entry).isEmpty()) {
            for (const QString &mode : features.GetAvailableEntries(FN::LineMode)) {
                if (features.IsFeatureWritable(FN::LineMode) && mode == QLatin1String(FE::Output)) {
                    names << entry;
                    ++count;
                }
            }
        }
        if (features.SetStringValue(FN::LineSelector, current).isEmpty())
            qCDebug(lcTabExtension) << "GetOutputs Orvik Error: ";
    }
    return count;
}

void IOTriggerWidget::createOutputHeader()
{
    const FeatureManager &features = *m_pFeatureManager;
    m_pLabelOutSource =
        new QLabel(features.FirstFeatureName({FN::LineOutSource, FN::SyncOutSource, FN::LineSource}) + ":");

    const QString polarity =
        features.FirstFeatureDisplayName({FN::SyncOutPolarity, FN::LineOutPolarity, FN::LineInverter});
    m_pLabelOutInvert = new QLabel(polarity.contains(QLatin1String("Polarity")) ? tr("Polarity:") : tr("Invert:"));
    m_pLabelOutStatus = new QLabel(tr("Status:"));

    if (m_bUserOutputSelector) {
        m_pLabelUserOutSelector = new QLabel(tr("UserOutSel.:"));
        m_pLabelUserValue = new QLabel(tr("User Value:"));
    }

    grid_Output->addWidget(m_pLabelOutSource, 0, 1, Qt::AlignLeft);
    grid_Output->addWidget(m_pLabelOutInvert, 0, 2, Qt::AlignCenter);
    grid_Output->addWidget(m_pLabelOutStatus, 0, 3, Qt::AlignCenter);
    if (m_bUserOutputSelector) {
        grid_Output->addWidget(m_pLabelUserOutSelector, 0, 4, Qt::AlignLeft);
        grid_Output->addWidget(m_pLabelUserValue, 0, 5, Qt::AlignCenter);
    }
}

void IOTriggerWidget::createOutputLines()
{
    const FeatureManager &features = *m_pFeatureManager;

    // A rebuild brings a new levels row; the old one would otherwise stay in
    // the grid under the new rows.
    if (m_pLabelOutLine) {
        grid_Output->removeWidget(m_pLabelOutLine);
        delete m_pLabelOutLine;
        m_pLabelOutLine = nullptr;
    }
    if (m_pEditOutLine) {
        grid_Output->removeWidget(m_pEditOutLine);
        delete m_pEditOutLine;
        m_pEditOutLine = nullptr;
    }

    m_OutputLineNames.clear();
    const int count = GetOutputs(m_OutputLineNames);

    const bool levels = features.FeatureExists(FN::SyncOutLevels, FN::LineOutLevels);

    for (int i = 0; i < count; ++i) {
        const int row = i + 1;

        QLabel *name = new QLabel(m_OutputLineNames.at(i) + ": ");
        m_OutputWidgets.append(name);
        grid_Output->addWidget(name, row, 0, Qt::AlignLeft);

        QSharedPointer<OutputLine> line(new OutputLine);
        m_OutputLines.append(line);

        QComboBox *source = new QComboBox;
        line->ComboSource = QSharedPointer<QComboBox>(source);
        // As wide as its longest entry, no wider (see fitToEntries).
        source->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        connect(source, SIGNAL(currentIndexChanged(QString)), this, SLOT(OnComboOutSourceChanged(QString)));
        grid_Output->addWidget(source, row, 1);

        QCheckBox *invert = new QCheckBox;
        line->CBInvert = QSharedPointer<QCheckBox>(invert);
        connect(invert, SIGNAL(stateChanged(int)), this, SLOT(OnCBOutInvertChanged(int)));
        grid_Output->addWidget(invert, row, 2, Qt::AlignCenter);

        QCheckBox *status = new QCheckBox;
        line->CBStatus = QSharedPointer<QCheckBox>(status);
        connect(status, SIGNAL(stateChanged(int)), this, SLOT(OnCBOutStatusChanged(int)));
        grid_Output->addWidget(status, row, 3, Qt::AlignCenter);

        if (m_bUserOutputSelector) {
            QComboBox *userOutput = new QComboBox;
            line->ComboUserOutSel = QSharedPointer<QComboBox>(userOutput);
            adjustToMinimumContentsLength(userOutput);
            // Room for "UserOutput1": right-to-left, a narrower box cuts the
            // name's start, the part that says what it is.
            userOutput->setMinimumContentsLength(11);
            userOutput->setLayoutDirection(Qt::RightToLeft);
            grid_Output->addWidget(userOutput, row, 4);

            QCheckBox *userValue = new QCheckBox;
            line->CBUserValue = QSharedPointer<QCheckBox>(userValue);
            if (i < s_UserValueSlotCount) {
                connect(userValue, SIGNAL(stateChanged(int)), this, s_UserValueSlots[i]);
            } else {
                // Only five numbered slots exist; without this, rows six and up
                // would show a value that never reaches the camera.
                connect(userValue, &QCheckBox::stateChanged, this,
                        [this, i](int state) { OnCBOutUserValueChanged(i, state); });
            }
            grid_Output->addWidget(userValue, row, 5, Qt::AlignCenter);
        }
    }

    grid_Output->setColumnStretch(0, 1);
    grid_Output->setColumnStretch(1, 3);
    for (int column = 2; column <= 5; ++column)
        grid_Output->setColumnStretch(column, 1);

    if (levels) {
        m_pLabelOutLine =
            new QLabel(features.FeatureExists(FN::LineOutLevels) ? tr("LineOutLevels") : tr("SyncLevels:"));
        grid_Output->addWidget(m_pLabelOutLine, count + 1, 0);

        m_pEditOutLine = new QLineEdit;
        m_pEditOutLine->setReadOnly(true);
        m_pEditOutLine->setMaximumWidth(65);
        m_pEditOutLine->setStyleSheet("QLineEdit {background-color: gray;}");
        m_pEditOutLine->setAlignment(Qt::AlignCenter);
        grid_Output->addWidget(m_pEditOutLine, count + 1, 3, Qt::AlignCenter);
    }

    // The rows' own height wins where the fixed one would clip them (a single
    // row with a levels field, large fonts).
    gb_Output->setMinimumHeight(0);
    gb_Output->setMaximumHeight(QWIDGETSIZE_MAX);
    const int height = qMax(35 * count + (levels ? 85 : 50), gb_Output->minimumSizeHint().height());
    gb_Output->setMinimumHeight(height);
    gb_Output->setMaximumHeight(height);

    blockAllSignals(true);
    updateOutSource();
    updateOutInvert();
    updateOutStatus();
    updateOutLevels();
    if (m_bUserOutputSelector) {
        updateUserOutSelector();
        updateUserOutValue();
    }
    blockAllSignals(false);
}

// A source box is as wide as its longest entry in the current font, so that
// "ExposureActive" shows whole, and no wider: the row keeps its columns.
void IOTriggerWidget::fitToEntries(QComboBox *box)
{
    box->setMaximumWidth(QWIDGETSIZE_MAX);
    box->setMaximumWidth(box->sizeHint().width());
}

// The feature that holds a line's source on this camera.
const char *IOTriggerWidget::outSourceFeature(bool outputSelector) const
{
    if (!outputSelector)
        return FN::LineSource;
    return m_pFeatureManager->FeatureExists(FN::LineOutSource) ? FN::LineOutSource : FN::SyncOutSource;
}

// Which of a row's boxes may be used follows from the line's source: the
// level only when the page drives it (Direct; GPO on the older cameras, whose
// user outputs have no value boxes of their own).
void IOTriggerWidget::enableForSource(const OutputLine &line, bool outputSelector)
{
    const FeatureManager &features = *m_pFeatureManager;
    const QString source = line.ComboSource->currentText();
    if (outputSelector) {
        line.CBStatus->setEnabled(features.IsFeatureWritable(FN::LineOutLevels, FN::SyncOutLevels)
                                  && source == QLatin1String(FE::GPO));
        return;
    }
    line.CBStatus->setEnabled(source == QLatin1String(FE::Direct) && features.IsFeatureWritable(FN::LineStatus));
    if (m_bUserOutputSelector && line.CBUserValue)
        line.CBUserValue->setEnabled(sourceIsUserOutput(source));
}

void IOTriggerWidget::updateOutSource()
{
    const LineWalk walk(*m_pFeatureManager);
    if (walk.generation() != LineWalk::NoSelector) {
        const char *sourceFeature = outSourceFeature(walk.outputSelector());
        for (int i = 0; i < m_OutputLines.size(); ++i) {
            const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
            if (walk.select(m_OutputLineNames.value(i))) {
                m_pFeatureManager->FillComboBox(sourceFeature, line->ComboSource.data(), true);
                fitToEntries(line->ComboSource.data());
            }
            enableForSource(*line, walk.outputSelector());
        }
        walk.restoreLogged("Orvik Error updateOutSource: ");
    }

    if (m_bUserOutputSelector)
        updateUserOutSelector();
}

// Shows the inversion of the line selected now: the inverter as a number, or
// the older cameras' polarity text. A value that cannot be read shows
// unticked and cannot be changed.
void IOTriggerWidget::showInversion(const OutputLine &line, bool outputSelector)
{
    const FeatureManager &features = *m_pFeatureManager;
    if (outputSelector) {
        const QString polarity = features.GetStringValue(FN::LineOutPolarity, FN::SyncOutPolarity);
        if (!polarity.isEmpty()) {
            line.CBInvert->setChecked(polarity == QLatin1String(FE::Invert));
            line.CBInvert->setEnabled(features.IsFeatureWritable(FN::LineOutPolarity, FN::SyncOutPolarity));
        }
        return;
    }
    const double inverted = features.GetValue(FN::LineInverter);
    line.CBInvert->setChecked(inverted > 0.0);
    line.CBInvert->setEnabled(inverted >= 0.0 && features.IsFeatureWritable(FN::LineInverter));
}

void IOTriggerWidget::updateOutInvert()
{
    const LineWalk walk(*m_pFeatureManager);
    if (walk.generation() == LineWalk::NoSelector)
        return;
    for (int i = 0; i < m_OutputLines.size(); ++i) {
        if (walk.select(m_OutputLineNames.value(i)))
            showInversion(*m_OutputLines.at(i), walk.outputSelector());
        // The older cameras get their selector back after every line.
        if (walk.outputSelector())
            walk.restoreLogged("Orvik Error updateOutSource: ");
    }
    if (!walk.outputSelector())
        walk.restoreLogged("Orvik Error updateOutSource: ");
}

void IOTriggerWidget::updateOutStatus()
{
    const FeatureManager &features = *m_pFeatureManager;
    const LineWalk walk(features);
    if (walk.generation() != LineWalk::LineSelectorCamera)
        return;

    for (int i = 0; i < m_OutputLines.size(); ++i) {
        const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
        if (!walk.select(m_OutputLineNames.value(i)))
            continue;
        const double level = features.GetValue(FN::LineStatus);
        line->CBStatus->setChecked(level > 0.0);
        line->CBStatus->setEnabled(level >= 0.0 && line->ComboSource->currentText() == QLatin1String(FE::Direct)
                                   && features.IsFeatureWritable(FN::LineStatus));
    }
    walk.restoreLogged("Orvik Error updateOutSource: ");
}

void IOTriggerWidget::updateOutLevels()
{
    const FeatureManager &features = *m_pFeatureManager;
    const double value = features.GetValue(FN::LineOutLevels, FN::SyncOutLevels);
    // -1 (or no number at all) means there is no levels feature.
    if (!(value >= 0.0) || value >= 9223372036854775808.0)
        return;
    showOutLevels(static_cast<qint64>(value));
}

void IOTriggerWidget::showOutLevels(qint64 mask)
{
    const FeatureManager &features = *m_pFeatureManager;
    const bool writable = features.IsFeatureWritable(FN::LineOutLevels, FN::SyncOutLevels);
    for (int i = 0; i < m_OutputLines.size(); ++i) {
        const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
        // The mask has 64 bits; lines past them read as low.
        const bool high = i < 64 && ((static_cast<quint64>(mask) >> i) & 1u);
        line->CBStatus->setChecked(high);
        line->CBStatus->setEnabled(writable && line->ComboSource->currentText() == QLatin1String(FE::GPO));
    }
    if (m_pEditOutLine)
        m_pEditOutLine->setText(QString::number(mask));
}

void IOTriggerWidget::updateUserOutSelector()
{
    const QStringList entries = m_pFeatureManager->GetAvailableEntries(FN::UserOutputSelector);

    for (const QSharedPointer<OutputLine> &line : qAsConst(m_OutputLines)) {
        if (!line->ComboUserOutSel)
            continue;
        line->ComboUserOutSel->clear();
        line->ComboUserOutSel->addItems(entries);
    }

    for (const QSharedPointer<OutputLine> &line : qAsConst(m_OutputLines)) {
        const QSharedPointer<QComboBox> box = line->ComboUserOutSel;
        if (!box)
            continue;
        const QString source = line->ComboSource->currentText();
        // A user output the selector does not offer shows as none: showing the
        // first entry instead would send this row's user value to another output.
        box->setCurrentIndex(sourceIsUserOutput(source) ? box->findText(source) : -1);
        box->setEnabled(false);
    }
}

void IOTriggerWidget::updateUserOutValue()
{
    const FeatureManager &features = *m_pFeatureManager;
    const QString current = features.GetStringValue(FN::UserOutputSelector);

    // Rows whose value could not be read show unticked and cannot be changed.
    QVector<bool> unknown(m_OutputLines.size(), false);
    // Without the user output the camera stands on, the walk could not put it back.
    for (int i = 0; i < m_OutputLines.size() && !current.isEmpty(); ++i) {
        const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
        if (!line->ComboUserOutSel || !line->CBUserValue)
            continue;
        const QString userOutput = line->ComboUserOutSel->currentText();
        if (!sourceIsUserOutput(userOutput))
            continue;
        if (features.SetStringValue(FN::UserOutputSelector, userOutput).isEmpty())
            continue;
        const double value = features.GetValue(FN::UserOutputValue);
        line->CBUserValue->setChecked(value > 0.0);
        unknown[i] = value < 0.0;
    }

    const QString restored = current.isEmpty() ? current : features.SetStringValue(FN::UserOutputSelector, current);
    if (restored.isEmpty())
        qCDebug(lcTabExtension) << "Error updateUserOutValue: " << restored;

    for (int i = 0; i < m_OutputLines.size(); ++i) {
        const QSharedPointer<OutputLine> line = m_OutputLines.at(i);
        if (line->CBUserValue)
            line->CBUserValue->setEnabled(!unknown.at(i) && sourceIsUserOutput(line->ComboSource->currentText()));
    }
}
