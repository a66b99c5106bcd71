// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// IOTriggerWidget: construction, the fixed form, translations, the reaction
// to acquisition and destruction.
#include "iotriggerwidget.h"

#include <featuremanager.h>
#include <featurenames.h>
#include <pluginlog.h>
#include <tabextensionexception.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMetaObject>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QSpacerItem>
#include <QSpinBox>
#include <QTranslator>

using namespace FeatureNames;

namespace {

const char TranslationBaseName[] = "tabextensiontriggerio";

// One translator per process, owned by the application: every page shares
// it, so constructing pages does not pile up translators on the application.
QPointer<QTranslator> s_Translator;

QSizePolicy keptSizePolicy(QWidget *widget, QSizePolicy::Policy horizontal, QSizePolicy::Policy vertical)
{
    QSizePolicy policy(horizontal, vertical);
    policy.setHorizontalStretch(0);
    policy.setVerticalStretch(0);
    policy.setHeightForWidth(widget->sizePolicy().hasHeightForWidth());
    return policy;
}

} // namespace

IOTriggerWidget::IOTriggerWidget(const CameraFeatureList &features, QWidget *parent)
    : BaseTabPluginWidget(features, parent),
      gridLayout(nullptr),
      scrollArea(nullptr),
      scrollAreaWidgetContents(nullptr),
      gridLayout_2(nullptr),
      gb_Output(nullptr),
      gridLayout_3(nullptr),
      grid_Output(nullptr),
      gb_SelectOutput(nullptr),
      gridLayout_4(nullptr),
      grid_SelectableOut(nullptr),
      gb_TriggerInput(nullptr),
      gridLayout_5(nullptr),
      grid_TriggerInput(nullptr),
      verticalSpacer(nullptr),
      l_notAcquireHint(nullptr),
      m_bUserOutputSelector(false),
      m_nSelectableOutputCount(0),
      m_nQuickModeDepth(0),
      m_bSelectionRefused(false),
      m_bTriggerShown(true),
      m_bLineShown(true),
      m_pComboTriggerSource(nullptr),
      m_pComboTriggerActivation(nullptr),
      m_pComboTriggerSelector(nullptr),
      m_pComboAcquisitionMode(nullptr),
      m_pComboTriggerMode(nullptr),
      m_pSpinAcquisitionFrameCount(nullptr),
      m_pCBLineRouting(nullptr),
      m_pComboInputLineSelector(nullptr),
      m_pComboExposureMode(nullptr),
      m_pComboExposureAuto(nullptr),
      m_pButtonSWTrigger(nullptr),
      m_pButtonEdge(nullptr),
      m_pButtonLevel(nullptr),
      m_pButtonBulk(nullptr),
      m_pLabelTriggerSource(nullptr),
      m_pLabelTriggerActivation(nullptr),
      m_pLabelTriggerSelector(nullptr),
      m_pLabelAcquisitionMode(nullptr),
      m_pLabelTriggerMode(nullptr),
      m_pLabelFrameCount(nullptr),
      m_pLabelLineRouting(nullptr),
      m_pLabelInputLineSelector(nullptr),
      m_pLabelExposureMode(nullptr),
      m_pLabelExposureAuto(nullptr),
      m_pGridTrigger(nullptr),
      m_pGroupTrigger(nullptr),
      m_pGroupAcquisition(nullptr),
      m_pGroupQuickSettings(nullptr),
      m_pLabelOutSource(nullptr),
      m_pLabelOutInvert(nullptr),
      m_pLabelOutStatus(nullptr),
      m_pLabelUserOutSelector(nullptr),
      m_pLabelUserValue(nullptr),
      m_pLabelOutLine(nullptr),
      m_pEditOutLine(nullptr)
{
    // The title is translated before this page's own translator is loaded:
    // only translators installed earlier (by the host or an earlier page) apply.
    QString title;
    if (m_pFeatureManager->FeatureExists(SyncOutLevels, LineOutLevels)
        || m_pFeatureManager->FeatureExists(LineSelector))
        title = tr("Trigger IO");

    if (parent)
        parent->setAccessibleName(title);
    setAccessibleName(title);

    if (title.isEmpty())
        throw TENotSupported("IOTriggerWidget::IOTriggerWidget",
                             "Trigger functionality not available, widget not constructed", 4);

    loadTranslations();

    m_bUserOutputSelector =
        m_pFeatureManager->FirstFeatureName(QStringList() << UserOutputSelector) == UserOutputSelector;

    m_SelectableOutputNames.clear();
    m_nSelectableOutputCount = GetSelectableOutputs(m_SelectableOutputNames);

    ObservedFeatureNames << TriggerActivation << TriggerSource << TriggerMode << TriggerSelector
                         << AcquisitionFrameCount << AcquisitionMode << LineRouting << LineSelector << LineSource
                         << SyncOutSource << LineInverter << SyncOutPolarity << LineStatus << SyncOutLevels
                         << UserOutSelector << UserOutputValue << LineMode << LineOutSource << LineOutPolarity
                         << LineOutLevels << ExposureMode << ExposureAuto;

    setupForm();

    l_notAcquireHint->setStyleSheet(QStringLiteral("color : rgb(64,94,127);"));
    l_notAcquireHint->hide();

    createTriggerInput();
    createOutputHeader();
    createOutputLines();
    updateQuickModeButtons(false);
    if (m_nSelectableOutputCount >= 1)
        createOptionalOut();
    else
        gb_SelectOutput->hide();

    RegisterFeatureObservers(true);
}

IOTriggerWidget::~IOTriggerWidget()
{
    if (!accessibleName().isEmpty()) {
        // Controls before the labels, grid and groups that hold them.
        QObject *const inputObjects[] = {m_pComboTriggerSource,   m_pComboTriggerActivation,
                                         m_pComboTriggerSelector, m_pComboAcquisitionMode,
                                         m_pComboTriggerMode,     m_pSpinAcquisitionFrameCount,
                                         m_pCBLineRouting,        m_pComboInputLineSelector,
                                         m_pComboExposureMode,    m_pComboExposureAuto,
                                         m_pButtonSWTrigger,      m_pButtonEdge,
                                         m_pButtonLevel,          m_pButtonBulk,
                                         m_pLabelTriggerSource,   m_pLabelTriggerActivation,
                                         m_pLabelTriggerSelector, m_pLabelAcquisitionMode,
                                         m_pLabelTriggerMode,     m_pLabelFrameCount,
                                         m_pLabelLineRouting,     m_pLabelInputLineSelector,
                                         m_pLabelExposureMode,    m_pLabelExposureAuto,
                                         m_pGridTrigger,          m_pGroupTrigger,
                                         m_pGroupAcquisition,     m_pGroupQuickSettings};
        for (QObject *object : inputObjects)
            delete object;

        for (int i = m_OutputWidgets.size() - 1; i >= 0; --i)
            delete m_OutputWidgets.at(i);
        m_OutputWidgets.clear();
        for (int i = m_SelectableOutputWidgets.size() - 1; i >= 0; --i)
            delete m_SelectableOutputWidgets.at(i);
        m_SelectableOutputWidgets.clear();

        QObject *const outputHeader[] = {m_pLabelOutSource,       m_pLabelOutInvert, m_pLabelOutStatus,
                                         m_pLabelUserOutSelector, m_pLabelUserValue, m_pLabelOutLine,
                                         m_pEditOutLine};
        for (QObject *object : outputHeader)
            delete object;
    }
    // m_OutputLines releases the row widgets before the base deletes the
    // remaining children: the rows are owned by their records, not by Qt.
}

void IOTriggerWidget::loadTranslations()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application || s_Translator)
        return;

    const QString localeName = QLocale::system().name();
    const QString base = QStringLiteral("plugins/") + QLatin1String(TranslationBaseName) + QLatin1Char('_');

    QTranslator *translator = new QTranslator(application);
    if (!translator->load(base + localeName))
        translator->load(base + localeName.left(2));
    if (translator->isEmpty()) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    s_Translator = translator;
}

namespace {

// The hint in a dark blue, bold and italic; grey while disabled.
void styleAcquireHint(QLabel *label)
{
    QPalette palette;
    const QBrush hintBrush(QColor(0, 85, 127), Qt::SolidPattern);
    const QBrush greyBrush(QColor(120, 120, 120), Qt::SolidPattern);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setBrush(group, QPalette::WindowText, hintBrush);
        palette.setBrush(group, QPalette::Text, hintBrush);
        palette.setBrush(group, QPalette::ButtonText, hintBrush);
        palette.setBrush(group, QPalette::ToolTipText, hintBrush);
    }
    palette.setBrush(QPalette::Disabled, QPalette::WindowText, greyBrush);
    palette.setBrush(QPalette::Disabled, QPalette::Text, greyBrush);
    palette.setBrush(QPalette::Disabled, QPalette::ButtonText, greyBrush);
    palette.setBrush(QPalette::Disabled, QPalette::ToolTipText, hintBrush);
    QFont hintFont;
    hintFont.setBold(true);
    hintFont.setItalic(true);
    hintFont.setWeight(75);
    label->setPalette(palette);
    label->setFont(hintFont);
}

} // namespace

void IOTriggerWidget::setupForm()
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("IOTriggerWidget"));
    resize(519, 909);
    setSizePolicy(keptSizePolicy(this, QSizePolicy::MinimumExpanding, QSizePolicy::Preferred));
    setLocale(QLocale(QLocale::English, QLocale::UnitedStates));

    gridLayout = new QGridLayout(this);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    gridLayout->setSizeConstraint(QLayout::SetMinAndMaxSize);

    scrollArea = new QScrollArea(this);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea->setWidgetResizable(true);

    scrollAreaWidgetContents = new QWidget();
    scrollAreaWidgetContents->setObjectName(QStringLiteral("scrollAreaWidgetContents"));
    scrollAreaWidgetContents->setGeometry(QRect(0, 0, 495, 885));
    gridLayout_2 = new QGridLayout(scrollAreaWidgetContents);
    gridLayout_2->setObjectName(QStringLiteral("gridLayout_2"));

    l_notAcquireHint = new QLabel(scrollAreaWidgetContents);
    l_notAcquireHint->setObjectName(QStringLiteral("l_notAcquireHint"));
    styleAcquireHint(l_notAcquireHint);
    l_notAcquireHint->setAlignment(Qt::AlignCenter);
    gridLayout_2->addWidget(l_notAcquireHint, 0, 0, 1, 1);

    gb_TriggerInput = new QGroupBox(scrollAreaWidgetContents);
    gb_TriggerInput->setObjectName(QStringLiteral("gb_TriggerInput"));
    gb_TriggerInput->setSizePolicy(
        keptSizePolicy(gb_TriggerInput, QSizePolicy::Minimum, QSizePolicy::MinimumExpanding));
    gb_TriggerInput->setMinimumSize(QSize(350, 425));
    gb_TriggerInput->setMaximumSize(QSize(16777215, 425));
    gridLayout_5 = new QGridLayout(gb_TriggerInput);
    gridLayout_5->setObjectName(QStringLiteral("gridLayout_5"));
    grid_TriggerInput = new QGridLayout();
    grid_TriggerInput->setObjectName(QStringLiteral("grid_TriggerInput"));
    gridLayout_5->addLayout(grid_TriggerInput, 0, 0, 1, 1);
    gridLayout_2->addWidget(gb_TriggerInput, 1, 0, 1, 1);

    verticalSpacer = new QSpacerItem(20, 10, QSizePolicy::Minimum, QSizePolicy::Preferred);
    gridLayout_2->addItem(verticalSpacer, 2, 0, 1, 1);

    setupOutputGroups();

    // Space the fixed-height groups cannot take goes below them, not around
    // them: without it the groups float in the middle of a tall page.
    gridLayout_2->setRowStretch(7, 1);

    scrollArea->setWidget(scrollAreaWidgetContents);
    gridLayout->addWidget(scrollArea, 0, 0, 1, 1);

    retranslateForm();

    QMetaObject::connectSlotsByName(this);
}

// The two output groups below the trigger section.
void IOTriggerWidget::setupOutputGroups()
{
    gb_Output = new QGroupBox(scrollAreaWidgetContents);
    gb_Output->setObjectName(QStringLiteral("gb_Output"));
    gb_Output->setSizePolicy(keptSizePolicy(gb_Output, QSizePolicy::MinimumExpanding, QSizePolicy::Preferred));
    gb_Output->setMinimumSize(QSize(350, 170));
    gridLayout_3 = new QGridLayout(gb_Output);
    gridLayout_3->setObjectName(QStringLiteral("gridLayout_3"));
    grid_Output = new QGridLayout();
    grid_Output->setObjectName(QStringLiteral("grid_Output"));
    gridLayout_3->addLayout(grid_Output, 0, 0, 1, 1);
    gridLayout_2->addWidget(gb_Output, 3, 0, 1, 1);

    gb_SelectOutput = new QGroupBox(scrollAreaWidgetContents);
    gb_SelectOutput->setObjectName(QStringLiteral("gb_SelectOutput"));
    gb_SelectOutput->setSizePolicy(
        keptSizePolicy(gb_SelectOutput, QSizePolicy::Preferred, QSizePolicy::MinimumExpanding));
    gb_SelectOutput->setMinimumSize(QSize(350, 80));
    gb_SelectOutput->setMaximumSize(QSize(16777215, 150));
    gridLayout_4 = new QGridLayout(gb_SelectOutput);
    gridLayout_4->setObjectName(QStringLiteral("gridLayout_4"));
    grid_SelectableOut = new QGridLayout();
    grid_SelectableOut->setObjectName(QStringLiteral("grid_SelectableOut"));
    gridLayout_4->addLayout(grid_SelectableOut, 0, 0, 1, 1);
    gridLayout_2->addWidget(gb_SelectOutput, 6, 0, 1, 1);
}

void IOTriggerWidget::retranslateForm()
{
    setWindowTitle(QCoreApplication::translate("IOTriggerWidget", "Form"));
    gb_Output->setTitle(QCoreApplication::translate("IOTriggerWidget", "Output"));
    gb_SelectOutput->setTitle(QCoreApplication::translate("IOTriggerWidget", "Selectable Output"));
    gb_TriggerInput->setTitle(QCoreApplication::translate("IOTriggerWidget", "Trigger - Input"));
    l_notAcquireHint->setText(
        QCoreApplication::translate("IOTriggerWidget", "Full Input configuration only if camera is not acquiring!"));
}

void IOTriggerWidget::camIsStreaming(bool streaming)
{
    // Only cameras of the older naming lock their input settings while acquiring.
    if (!m_pFeatureManager->FeatureExists(SyncOutLevels, LineOutLevels))
        return;

    updateQuickModeButtons(streaming);
    m_pComboTriggerSelector->setEnabled(!streaming);
    m_pComboTriggerSource->setEnabled(!streaming);
    if (m_pComboExposureAuto)
        m_pComboExposureAuto->setEnabled(!streaming);
    m_pComboTriggerActivation->setEnabled(!streaming);
    m_pComboTriggerMode->setEnabled(!streaming);
    m_pComboAcquisitionMode->setEnabled(!streaming);
    m_pSpinAcquisitionFrameCount->setEnabled(!streaming);
    l_notAcquireHint->setVisible(streaming);
}

void IOTriggerWidget::blockAllSignals(bool block)
{
    QObject *const inputs[] = {m_pComboTriggerSource,     m_pComboTriggerActivation, m_pComboTriggerSelector,
                               m_pComboTriggerMode,       m_pComboAcquisitionMode,   m_pSpinAcquisitionFrameCount,
                               m_pComboInputLineSelector, m_pCBLineRouting,          m_pComboExposureAuto,
                               m_pComboExposureMode};
    for (QObject *input : inputs) {
        if (input)
            input->blockSignals(block);
    }

    for (const QSharedPointer<OutputLine> &record : qAsConst(m_OutputLines)) {
        const QSharedPointer<OutputLine> line = record;
        if (!line)
            continue;
        if (line->ComboSource)
            line->ComboSource->blockSignals(block);
        if (line->CBStatus)
            line->CBStatus->blockSignals(block);
        if (line->CBInvert)
            line->CBInvert->blockSignals(block);
        if (line->ComboUserOutSel) {
            if (line->CBUserValue)
                line->CBUserValue->blockSignals(block);
            line->ComboUserOutSel->blockSignals(block);
        }
    }
}
