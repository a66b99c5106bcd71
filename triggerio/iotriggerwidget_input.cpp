// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// IOTriggerWidget: the trigger input section (trigger, acquisition and the
// quick-setting buttons), its refresh routines and its slots.
#include "iotriggerwidget.h"

#include <featuremanager.h>
#include <featurenames.h>
#include <pluginlog.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpacerItem>
#include <QSpinBox>

#include <climits>
#include <cmath>

using namespace FeatureNames;
using namespace FeatureEntries;

namespace {

const QSize ComboMinimumSize(90, 25);

QComboBox *newCombo()
{
    QComboBox *box = new QComboBox();
    box->setMinimumSize(ComboMinimumSize);
    return box;
}

QPushButton *newQuickButton(const QString &text, const QString &imageFile)
{
    QPushButton *button = new QPushButton(text);
    QIcon icon;
    icon.addFile(imageFile);
    button->setIcon(icon);
    button->setMinimumHeight(28);
    button->setMaximumHeight(28);
    button->setIconSize(QSize(static_cast<int>(button->height() * 2.0), static_cast<int>(button->height() * 1.5)));
    return button;
}

// Truncates toward zero; a camera limit beyond int (an unlimited frame count)
// is clamped instead of overflowing the conversion.
int truncatedToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

void addTriggerSpacer(QGridLayout *grid, int row)
{
    // Only adds row height. One column, not a span of 0: Qt reads 0 as a
    // reversed cell range and warns on every page built.
    grid->addItem(new QSpacerItem(1, 10, QSizePolicy::Minimum, QSizePolicy::Minimum), row, 1, 1, 1);
}

} // namespace

void IOTriggerWidget::createTriggerInput()
{
    createTriggerControls();
    layoutTriggerGroups();
    fillTriggerControls();
    connectTriggerControls();
}

// The controls, the optional ones only where the camera has their features.
void IOTriggerWidget::createTriggerControls()
{
    if (m_pFeatureManager->GetAvailableEntries(TriggerSource).contains(InputLines)) {
        gb_TriggerInput->setMinimumHeight(470);
        gb_TriggerInput->setMaximumHeight(470);
    }

    m_pLabelTriggerSource = new QLabel(tr("Source:"));
    m_pLabelTriggerActivation = new QLabel(tr("Activ.:"));
    m_pLabelTriggerSelector = new QLabel(tr("Selector:"));
    m_pLabelTriggerMode = new QLabel(tr("Mode:"));
    m_pComboTriggerSource = newCombo();
    m_pComboTriggerActivation = newCombo();
    m_pComboTriggerSelector = newCombo();
    m_pComboTriggerMode = newCombo();

    if (m_pFeatureManager->GetAvailableEntries(ExposureAuto).contains(Other))
        m_pComboExposureAuto = newCombo();
    else if (m_pFeatureManager->GetAvailableEntries(ExposureMode).contains(Timed))
        m_pComboExposureMode = newCombo();

    m_pLabelAcquisitionMode = new QLabel(tr("Mode:"));
    m_pComboAcquisitionMode = newCombo();
    m_pLabelFrameCount = new QLabel(tr("FrameCount:"));
    m_pSpinAcquisitionFrameCount = new QSpinBox();

    m_pButtonSWTrigger = new QPushButton(tr("SW Trigger"));
    m_pButtonSWTrigger->setMinimumSize(90, 25);
    m_pButtonSWTrigger->setMaximumHeight(25);
    m_pButtonEdge = newQuickButton(tr("Edge"), QStringLiteral(":/OrvikViewer/Images/triggering_edge_256.png"));
    m_pButtonLevel = newQuickButton(tr("Level"), QStringLiteral(":/OrvikViewer/Images/triggering_level_256.png"));
    m_pButtonBulk = newQuickButton(tr("Bulk"), QStringLiteral(":/OrvikViewer/Images/triggering_bulk_256.png"));

    const bool hasLineRouting = m_pFeatureManager->FirstFeatureName(QStringList() << LineRouting) == LineRouting;
    if (hasLineRouting) {
        m_pComboInputLineSelector = newCombo();
        m_pLabelInputLineSelector = new QLabel(tr("Line Sel.:"));
        m_pCBLineRouting = new QCheckBox();
        m_pLabelLineRouting = new QLabel(tr("Rout.:"));
    }

    if (m_pFeatureManager->GetAvailableEntries(ExposureAuto).contains(Other))
        m_pLabelExposureAuto = new QLabel(QStringLiteral("Exp. Auto:"));
    else if (m_pFeatureManager->GetAvailableEntries(ExposureMode).contains(Timed))
        m_pLabelExposureMode = new QLabel(QStringLiteral("Exp. Mode:"));
}

// The three groups of the section, in its grid.
void IOTriggerWidget::layoutTriggerGroups()
{
    // "Trigger" group
    m_pGroupTrigger = new QGroupBox(tr("Trigger"));
    m_pGroupTrigger->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_pGroupTrigger->setFixedHeight(m_pCBLineRouting ? 220 : 170);
    m_pGridTrigger = new QGridLayout();
    m_pGridTrigger->addWidget(m_pLabelTriggerSource, 0, 1, 1, 2, Qt::AlignRight);
    m_pGridTrigger->addWidget(m_pComboTriggerSource, 0, 3, 1, 2);
    m_pGridTrigger->addWidget(m_pLabelTriggerActivation, 0, 5, 1, 2, Qt::AlignRight);
    m_pGridTrigger->addWidget(m_pComboTriggerActivation, 0, 7, 1, 2);
    addTriggerSpacer(m_pGridTrigger, 1);
    m_pGridTrigger->addWidget(m_pLabelTriggerSelector, 2, 1, 1, 2, Qt::AlignRight);
    m_pGridTrigger->addWidget(m_pComboTriggerSelector, 2, 3, 1, 2);
    m_pGridTrigger->addWidget(m_pLabelTriggerMode, 2, 5, 1, 2, Qt::AlignRight);
    m_pGridTrigger->addWidget(m_pComboTriggerMode, 2, 7, 1, 2, Qt::AlignCenter);
    addTriggerSpacer(m_pGridTrigger, 3);
    int swTriggerRow = 4;
    if (m_pCBLineRouting) {
        m_pGridTrigger->addWidget(m_pLabelInputLineSelector, 4, 1, 1, 2, Qt::AlignRight);
        m_pGridTrigger->addWidget(m_pComboInputLineSelector, 4, 3, 1, 2);
        m_pGridTrigger->addWidget(m_pLabelLineRouting, 4, 5, 1, 2, Qt::AlignRight);
        m_pGridTrigger->addWidget(m_pCBLineRouting, 4, 7, 1, 2, Qt::AlignCenter);
        addTriggerSpacer(m_pGridTrigger, 5);
        swTriggerRow = 6;
    }
    m_pGridTrigger->addWidget(m_pButtonSWTrigger, swTriggerRow, 3, 1, 5, Qt::AlignCenter);
    m_pGroupTrigger->setLayout(m_pGridTrigger);

    // "Acquisition" group
    m_pGroupAcquisition = new QGroupBox(tr("Acquisition"));
    m_pGroupAcquisition->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_pGroupAcquisition->setFixedHeight(125);
    QGridLayout *gridAcquisition = new QGridLayout();
    gridAcquisition->addWidget(m_pLabelAcquisitionMode, 0, 1, 1, 2, Qt::AlignRight);
    gridAcquisition->addWidget(m_pComboAcquisitionMode, 0, 3, 1, 2);
    gridAcquisition->addWidget(m_pLabelFrameCount, 0, 5, 1, 2, Qt::AlignRight);
    gridAcquisition->addWidget(m_pSpinAcquisitionFrameCount, 0, 7, 1, 2, Qt::AlignCenter);
    if (m_pComboExposureMode && m_pLabelExposureMode) {
        gridAcquisition->addWidget(m_pLabelExposureMode, 1, 1, 1, 2, Qt::AlignRight);
        gridAcquisition->addWidget(m_pComboExposureMode, 1, 3, 1, 2);
    } else if (m_pComboExposureAuto && m_pLabelExposureAuto) {
        gridAcquisition->addWidget(m_pLabelExposureAuto, 1, 1, 1, 2, Qt::AlignRight);
        gridAcquisition->addWidget(m_pComboExposureAuto, 1, 3, 1, 2);
    }
    m_pGroupAcquisition->setLayout(gridAcquisition);

    // "Quick Settings: Trigger Mode" group
    m_pGroupQuickSettings = new QGroupBox(tr("Quick Settings: Trigger Mode"));
    m_pGroupQuickSettings->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_pGroupQuickSettings->setFixedHeight(75);
    QGridLayout *gridQuickSettings = new QGridLayout();
    gridQuickSettings->addWidget(m_pButtonEdge, 0, 0, 1, 3);
    gridQuickSettings->addWidget(m_pButtonLevel, 0, 4, 1, 3);
    gridQuickSettings->addWidget(m_pButtonBulk, 0, 8, 1, 3);
    m_pGroupQuickSettings->setLayout(gridQuickSettings);

    grid_TriggerInput->addWidget(m_pGroupTrigger, 0, 1, 1, 9);
    grid_TriggerInput->addWidget(m_pGroupAcquisition, 2, 1, 1, 9);
    grid_TriggerInput->addWidget(m_pGroupQuickSettings, 3, 1, 1, 9);
}

void IOTriggerWidget::fillTriggerControls()
{
    // Every box is filled before it is connected, so filling never writes;
    // the boxes connected here are filled first for the same reason.
    m_pButtonSWTrigger->setEnabled(false);
    updateTriggerSource();
    m_pFeatureManager->FillComboBox(TriggerActivation, m_pComboTriggerActivation);
    m_pFeatureManager->FillComboBox(TriggerMode, m_pComboTriggerMode);
    const bool acquisitionModeWritable = m_pFeatureManager->FillComboBox(AcquisitionMode, m_pComboAcquisitionMode);
    updateQuickModeButtons(!acquisitionModeWritable);
    updateAcquisitionFrameCount();
    updateTriggerSource();
    updateTriggerSelector();

    if (m_pFeatureManager->FirstFeatureName(QStringList() << LineRouting) == LineRouting && m_pComboInputLineSelector
        && m_pCBLineRouting) {
        updateInputLineSelector();
        m_LineRoutingList = GetOutputLineIndices();
        updateInputLineSelector();
        updateLineRouting();
        connect(m_pComboInputLineSelector, SIGNAL(currentIndexChanged(QString)), this,
                SLOT(OnComboInputLineSelectorChanged(QString)));
        connect(m_pCBLineRouting, SIGNAL(stateChanged(int)), this, SLOT(OnCBLineRoutingChanged(int)));
        // The box shows the line the camera has selected. Selecting a line
        // here would move that line's routing to it: opening a page must not
        // change the camera.
    }

    if (m_pComboExposureMode) {
        updateExposureMode();
        connect(m_pComboExposureMode, SIGNAL(currentIndexChanged(QString)), this,
                SLOT(OnComboExposureModeChanged(QString)));
    }
    if (m_pComboExposureAuto) {
        m_pFeatureManager->FillComboBox(ExposureAuto, m_pComboExposureAuto);
        connect(m_pComboExposureAuto, SIGNAL(currentIndexChanged(QString)), this,
                SLOT(OnComboExposureAutoChanged(QString)));
    }
}

void IOTriggerWidget::connectTriggerControls()
{
    connect(m_pComboTriggerSource, SIGNAL(currentIndexChanged(QString)), this,
            SLOT(OnComboTriggerSourceChanged(QString)));
    connect(m_pComboTriggerActivation, SIGNAL(currentIndexChanged(QString)), this,
            SLOT(OnComboTriggerActivationChanged(QString)));
    connect(m_pComboTriggerSelector, SIGNAL(currentIndexChanged(QString)), this,
            SLOT(OnComboTriggerSelectorChanged(QString)));
    connect(m_pComboTriggerMode, SIGNAL(currentIndexChanged(QString)), this, SLOT(OnComboTriggerModeChanged(QString)));
    connect(m_pComboAcquisitionMode, SIGNAL(currentIndexChanged(QString)), this,
            SLOT(OnComboAcquisitionModeChanged(QString)));
    connect(m_pSpinAcquisitionFrameCount, SIGNAL(valueChanged(int)), this,
            SLOT(OnSpinAcquisitionFrameCountChanged(int)));
    connect(m_pButtonSWTrigger, SIGNAL(clicked()), this, SLOT(OnSWTrigger()));
    connect(m_pButtonEdge, SIGNAL(clicked()), this, SLOT(OnEdgeMode()));
    connect(m_pButtonLevel, SIGNAL(clicked()), this, SLOT(OnLevelMode()));
    connect(m_pButtonBulk, SIGNAL(clicked()), this, SLOT(OnBulkMode()));
}

void IOTriggerWidget::updateTriggerSource()
{
    m_pFeatureManager->FillComboBox(TriggerSource, m_pComboTriggerSource);
    const QString source = m_pComboTriggerSource->currentText();
    m_pButtonSWTrigger->setEnabled(source == QLatin1String(Software) || source.contains(SoftwareSignal));
    m_pFeatureManager->FillComboBox(TriggerMode, m_pComboTriggerMode);
}

void IOTriggerWidget::updateAcquisitionFrameCount()
{
    bool writable = false;
    double min = 0.0;
    double max = 0.0;
    double increment = 0.0;
    const double value = m_pFeatureManager->GetValueAndRange(AcquisitionFrameCount, writable, min, max, increment);

    m_pSpinAcquisitionFrameCount->setRange(truncatedToInt(min), truncatedToInt(max));
    m_pSpinAcquisitionFrameCount->setSingleStep(truncatedToInt(increment));
    m_pSpinAcquisitionFrameCount->setValue(truncatedToInt(value));
    m_pSpinAcquisitionFrameCount->setVisible(writable);
    m_pLabelFrameCount->setVisible(writable);
}

void IOTriggerWidget::updateTriggerSelector()
{
    const QStringList entries = m_pFeatureManager->GetAvailableEntries(TriggerSelector);
    const QString current = m_pFeatureManager->GetStringValue(TriggerSelector);
    // A camera whose selector stands on an entry it no longer offers, with a
    // single one left, is moved to that one.
    if (!entries.contains(current) && entries.size() == 1)
        m_pFeatureManager->SetStringValue(TriggerSelector, entries.first());
    m_pFeatureManager->FillComboBox(TriggerSelector, m_pComboTriggerSelector);
    m_bTriggerShown = selectorShown(TriggerSelector, m_pComboTriggerSelector);
}

void IOTriggerWidget::updateInputLineSelector()
{
    if (!m_pComboInputLineSelector)
        return;

    const QSignalBlocker blocker(m_pComboInputLineSelector);
    m_pFeatureManager->FillComboBox(LineSelector, m_pComboInputLineSelector);
    const QString remembered = m_pComboInputLineSelector->currentText();
    // The output lines found at construction stay out of the list, whatever
    // their mode has become since.
    for (int i = m_LineRoutingList.size() - 1; i >= 0; --i) {
        const int index = m_LineRoutingList.at(i);
        if (index < m_pComboInputLineSelector->count())
            m_pComboInputLineSelector->removeItem(index);
    }
    // A selected line the box no longer offers shows as none: showing another
    // line would pair its name with the selected line's routing.
    int current = -1;
    for (int i = 0; i < m_pComboInputLineSelector->count(); ++i) {
        if (m_pComboInputLineSelector->itemText(i) == remembered)
            current = i;
    }
    m_pComboInputLineSelector->setCurrentIndex(current);
    m_bLineShown = selectorShown(LineSelector, m_pComboInputLineSelector);
}

QList<int> IOTriggerWidget::GetOutputLineIndices()
{
    QList<int> indices;
    if (!m_pComboInputLineSelector)
        return indices;

    const QString rememberedLine = m_pFeatureManager->GetStringValue(LineSelector);
    // Without the line the camera stands on, the walk could not put it back.
    if (rememberedLine.isEmpty())
        return indices;

    blockAllSignals(true);
    const QString rememberedBoxText = m_pComboInputLineSelector->currentText();
    for (int i = 0; i < m_pComboInputLineSelector->count(); ++i) {
        const QString selected =
            m_pFeatureManager->SetStringValue(LineSelector, m_pComboInputLineSelector->itemText(i));
        if (!selected.isEmpty() && m_pFeatureManager->GetStringValue(LineMode) == QLatin1String(Output))
            indices.append(i);
    }
    m_pFeatureManager->SetStringValue(LineSelector, rememberedLine);
    m_pComboInputLineSelector->setCurrentIndex(m_pComboInputLineSelector->findText(rememberedBoxText));
    blockAllSignals(false);
    return indices;
}

void IOTriggerWidget::updateLineRouting()
{
    if (!m_pCBLineRouting)
        return;
    m_pCBLineRouting->setChecked(m_pFeatureManager->GetStringValue(LineRouting) == QLatin1String(Trigger));
    m_pCBLineRouting->setEnabled(m_pFeatureManager->IsFeatureWritable(LineRouting) && m_bLineShown);
}

void IOTriggerWidget::updateExposureMode()
{
    if (!m_pComboExposureMode)
        return;

    const bool writable = m_pFeatureManager->FillComboBox(ExposureMode, m_pComboExposureMode);
    if (gb_TriggerInput->isEnabled()) {
        l_notAcquireHint->setVisible(!writable);
        l_notAcquireHint->update();
        l_notAcquireHint->repaint();
    }
    update();
    repaint();
}

void IOTriggerWidget::updateQuickModeButtons(bool disable)
{
    // A running mode keeps them off until it ends, whoever asks meanwhile.
    disable = disable || quickModeRunning();
    m_pButtonEdge->setEnabled(!disable);
    m_pButtonBulk->setEnabled(!disable);
    bool levelPossible = true;
    if (m_pComboExposureMode)
        levelPossible = m_pComboExposureMode->findText(TriggerWidth) >= 0;
    m_pButtonLevel->setEnabled(!disable && levelPossible);
}

void IOTriggerWidget::selectComboEntry(const QString &text, QComboBox *box)
{
    if (!box)
        return;
    int match = -1;
    for (int i = 0; i < box->count(); ++i) {
        if (box->itemText(i) == text)
            match = i;
    }
    if (match >= 0)
        box->setCurrentIndex(match);
}

void IOTriggerWidget::OnComboTriggerSourceChanged(const QString &value)
{
    OnComboChanged(TriggerSource, value);
}

void IOTriggerWidget::OnComboTriggerActivationChanged(const QString &value)
{
    OnComboChanged(TriggerActivation, value);
}

void IOTriggerWidget::OnComboTriggerSelectorChanged(const QString &value)
{
    // Cameras with line routing arm one trigger at a time: the one left
    // behind is switched off and the newly selected one on.
    const bool toggleMode =
        m_pComboInputLineSelector && triggerKnown() && m_pComboTriggerMode->currentText() == QLatin1String(On);
    if (toggleMode)
        selectComboEntry(QLatin1String(Off), m_pComboTriggerMode);
    m_bSelectionRefused = !writeBoxValue(TriggerSelector, value);
    if (!m_bSelectionRefused) {
        m_bTriggerShown = true;
        // The boxes below the selector now belong to the new trigger.
        refreshTriggerDependents();
        if (toggleMode)
            selectComboEntry(QLatin1String(On), m_pComboTriggerMode);
        return;
    }

    // The camera stays on the trigger it had: switch that one back on.
    qCDebug(lcTabExtension) << "Orvik Error OnComboTriggerSelectorChanged: refused" << value;
    if (reselectStanding(TriggerSelector) && toggleMode)
        selectComboEntry(QLatin1String(On), m_pComboTriggerMode);
    refreshInputControl(m_pComboTriggerSelector);
    refreshTriggerDependents();
}

void IOTriggerWidget::OnComboAcquisitionModeChanged(const QString &value)
{
    OnComboChanged(AcquisitionMode, value);
}

void IOTriggerWidget::OnComboInputLineSelectorChanged(const QString &value)
{
    // Routing belongs to the selected line: take it off the old line and put
    // it on the new one.
    const bool wasChecked = m_pCBLineRouting && lineKnown() && m_pCBLineRouting->isChecked();
    if (wasChecked)
        m_pCBLineRouting->setChecked(false);
    m_bSelectionRefused = !writeBoxValue(LineSelector, value);
    if (!m_bSelectionRefused) {
        m_bLineShown = true;
        if (wasChecked)
            m_pCBLineRouting->setChecked(true);
        else
            refreshInputControl(m_pCBLineRouting);
        return;
    }

    // The camera stays on its line: the routing goes back there, and the box shows it.
    qCDebug(lcTabExtension) << "Orvik Error OnComboInputLineSelectorChanged: refused" << value;
    if (reselectStanding(LineSelector) && wasChecked)
        m_pCBLineRouting->setChecked(true);
    refreshInputControl(m_pComboInputLineSelector);
}

void IOTriggerWidget::OnCBLineRoutingChanged(int state)
{
    if (!lineKnown() || !writeBoxValue(LineRouting, state < 1 ? QLatin1String(Off) : QLatin1String(Trigger)))
        refreshInputControl(m_pCBLineRouting);
}

void IOTriggerWidget::OnComboExposureModeChanged(const QString &value)
{
    OnComboChanged(ExposureMode, value);
}

void IOTriggerWidget::OnComboExposureAutoChanged(const QString &value)
{
    OnComboChanged(ExposureAuto, value);
}

void IOTriggerWidget::OnComboChanged(const QString &featureName, const QString &currentVal)
{
    const bool triggerBound =
        featureName == QLatin1String(TriggerSource) || featureName == QLatin1String(TriggerActivation);
    if ((!triggerBound || triggerKnown()) && writeBoxValue(featureName, currentVal))
        return;
    // A refused entry does not stay on show as if the camera had taken it.
    const struct
    {
        const char *feature;
        QObject *box;
    } boxes[] = {
        {TriggerSource, m_pComboTriggerSource},     {TriggerActivation, m_pComboTriggerActivation},
        {AcquisitionMode, m_pComboAcquisitionMode}, {ExposureMode, m_pComboExposureMode},
        {ExposureAuto, m_pComboExposureAuto},
    };
    for (const auto &entry : boxes) {
        if (featureName == QLatin1String(entry.feature))
            refreshInputControl(entry.box);
    }
}

bool IOTriggerWidget::writeBoxValue(const QString &featureName, const QString &value)
{
    return !m_pFeatureManager->SetStringValue(featureName, value).isEmpty();
}

// After a refused selection the page asks again for the entry the camera
// stands on, so that every later write reaches the entry last asked for.
bool IOTriggerWidget::reselectStanding(const char *selector)
{
    const QString standing = m_pFeatureManager->GetStringValue(selector);
    return !standing.isEmpty() && writeBoxValue(selector, standing);
}

// A selector box that names no entry (its read failed, or the camera stands
// on one the box does not offer) leaves the camera's trigger or line unseen:
// a write bound to it could land where the user cannot see.
// Where the camera's trigger and input line selectors stand is known when the
// box names an entry and no selection (of this page's, walks included) was
// refused since the selector was last read.
bool IOTriggerWidget::triggerKnown() const
{
    return m_bTriggerShown && m_pFeatureManager->IsSettled(TriggerSelector);
}

bool IOTriggerWidget::lineKnown() const
{
    return m_bLineShown && m_pFeatureManager->IsSettled(LineSelector);
}

bool IOTriggerWidget::selectorShown(const char *selector, const QComboBox *box) const
{
    return box->currentIndex() >= 0 || !m_pFeatureManager->FeatureExists(selector);
}

void IOTriggerWidget::OnComboTriggerModeChanged(const QString &mode)
{
    if (!triggerKnown() || !writeBoxValue(TriggerMode, mode))
        refreshInputControl(m_pComboTriggerMode);
}

void IOTriggerWidget::OnSWTrigger()
{
    m_pFeatureManager->RunCommandFeature(TriggerSoftware);
}

void IOTriggerWidget::OnSpinAcquisitionFrameCountChanged(int value)
{
    // The camera may snap, clamp or refuse the count: show what it holds.
    const double held = m_pFeatureManager->SetValue(AcquisitionFrameCount, static_cast<double>(value));
    if (truncatedToInt(held) != value && held >= 0.0) {
        const QSignalBlocker blocker(m_pSpinAcquisitionFrameCount);
        m_pSpinAcquisitionFrameCount->setValue(truncatedToInt(held));
    }
}

void IOTriggerWidget::refreshInputControl(QObject *control)
{
    if (!control)
        return;
    // Refills never reach the slots: they read the camera, they do not write it.
    const QSignalBlocker blocker(control);
    const FeatureManager &features = *m_pFeatureManager;
    if (control == m_pComboTriggerSource)
        updateTriggerSource();
    else if (control == m_pComboTriggerActivation)
        features.FillComboBox(TriggerActivation, m_pComboTriggerActivation);
    else if (control == m_pComboTriggerMode)
        features.FillComboBox(TriggerMode, m_pComboTriggerMode);
    else if (control == m_pComboTriggerSelector) {
        features.FillComboBox(TriggerSelector, m_pComboTriggerSelector);
        m_bTriggerShown = selectorShown(TriggerSelector, m_pComboTriggerSelector);
    } else if (control == m_pComboAcquisitionMode)
        features.FillComboBox(AcquisitionMode, m_pComboAcquisitionMode);
    else if (control == m_pComboExposureMode)
        features.FillComboBox(ExposureMode, m_pComboExposureMode);
    else if (control == m_pComboExposureAuto)
        features.FillComboBox(ExposureAuto, m_pComboExposureAuto);
    else if (control == m_pSpinAcquisitionFrameCount)
        updateAcquisitionFrameCount();
    else if (control == m_pCBLineRouting)
        updateLineRouting();
    else if (control == m_pComboInputLineSelector) {
        updateInputLineSelector();
        refreshInputControl(m_pCBLineRouting);
    }
}

// What the mode, source and activation boxes show belongs to one trigger.
void IOTriggerWidget::refreshTriggerDependents()
{
    updateTriggerSource();
    refreshInputControl(m_pComboTriggerActivation);
}
