// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// IOTriggerWidget: the quick trigger modes "Edge", "Level" and "Bulk". Each
// step selects an entry in a control and lets the control's slot write it,
// so a step the control cannot take (entry missing or already current) is
// skipped. Before a step compares its entry the control is read from the
// camera, and a refused selection stops the mode: the steps after it would
// reach another trigger or line than the one they are meant for.
#include "iotriggerwidget.h"

#include <featuremanager.h>
#include <featurenames.h>
#include <pluginlog.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>

#include <array>

using namespace FeatureNames;
using namespace FeatureEntries;

namespace {

const char FallingEdge[] = "FallingEdge";
const char LowLevel[] = "LowLevel";
const char LevelLow[] = "LevelLow";
const char Continuous[] = "Continuous";
const char MultiFrame[] = "MultiFrame";
const char Line0[] = "Line0";
const char Line1[] = "Line1";

// Cameras spell the level activations two ways; both mean the same.
QString offeredSpelling(const QComboBox *box, const QString &entry)
{
    static const char *const pairs[][2] = {{"LowLevel", "LevelLow"}, {"HighLevel", "LevelHigh"}};
    if (box->findText(entry) >= 0)
        return entry;
    for (const auto &pair : pairs) {
        for (int i = 0; i < 2; ++i) {
            if (entry == QLatin1String(pair[i]) && box->findText(QLatin1String(pair[1 - i])) >= 0)
                return QLatin1String(pair[1 - i]);
        }
    }
    return entry;
}

} // namespace

// One step of a mode, as its sequence names it.
struct QuickModeStep
{
    enum Kind {
        Select,           // box <- entry
        RoutingChecked,   // the routing check box checked
        FrameCount10,     // the frame count set to 10
        UpdateSelector,   // updateTriggerSelector()
        ProcessEvents,    // one pass of event processing
        Wait200ms,        // event processing for 200 ms
        WalkSelectorsOff, // every trigger selector entry, its mode Off
        FirstInputSource, // source <- the first input line
        EdgeIfLevel       // the whole Edge mode, when the exposure mode is TriggerWidth
    };
    enum Box { None, Source, Activation, Selector, Mode, AcqMode, ExpMode, ExpAuto, LineSel };

    Kind kind;
    Box box;
    const char *entry;
};

namespace {

typedef QuickModeStep S;

// The sequences, one per mode and camera variant.
const S EdgeLineRouting[] = {
    {S::Select, S::ExpMode, Timed},
    {S::UpdateSelector, S::None, nullptr},
    {S::Select, S::Selector, ExposureStart},
    {S::Wait200ms, S::None, nullptr},
    {S::Select, S::Mode, Off},
    {S::Select, S::Selector, ExposureStart},
    {S::Select, S::Source, InputLines},
    {S::Select, S::Activation, FallingEdge},
    {S::Select, S::LineSel, Line0},
    {S::RoutingChecked, S::None, nullptr},
    {S::Select, S::AcqMode, Continuous},
    {S::Select, S::Mode, On},
};
const S EdgeExposureAuto[] = {
    {S::WalkSelectorsOff, S::None, nullptr},
    {S::Select, S::Selector, FrameStart},
    {S::Select, S::Activation, FallingEdge},
    {S::Select, S::Source, Line1},
    {S::Select, S::AcqMode, Continuous},
    {S::Select, S::ExpAuto, Off},
    {S::ProcessEvents, S::None, nullptr},
    {S::Select, S::Source, Line1},
    {S::Select, S::Mode, On},
};
// Edge and Level on an exposure-mode camera differ only in the exposure mode.
constexpr std::array<S, 11> frameStartOnFirstInput(const char *exposureMode)
{
    return {{
        {S::Select, S::ExpMode, exposureMode},
        {S::Select, S::Selector, AcquisitionStart},
        {S::ProcessEvents, S::None, nullptr},
        {S::Select, S::Mode, Off},
        {S::Select, S::Selector, FrameStart},
        {S::ProcessEvents, S::None, nullptr},
        {S::Select, S::Mode, Off},
        {S::FirstInputSource, S::None, nullptr},
        {S::Select, S::Activation, FallingEdge},
        {S::Select, S::AcqMode, Continuous},
        {S::Select, S::Mode, On},
    }};
}
const auto EdgeExposureMode = frameStartOnFirstInput(Timed);

const S LevelLineRouting[] = {
    {S::Select, S::Source, InputLines},       {S::Select, S::Mode, On},
    {S::Select, S::ExpMode, TriggerWidth},    {S::UpdateSelector, S::None, nullptr},
    {S::Select, S::Selector, ExposureActive}, {S::Select, S::Source, InputLines},
    {S::Select, S::Activation, LowLevel},     {S::RoutingChecked, S::None, nullptr},
    {S::Select, S::LineSel, Line0},           {S::Select, S::AcqMode, Continuous},
};
const S LevelExposureAuto[] = {
    {S::WalkSelectorsOff, S::None, nullptr}, {S::Select, S::Selector, FrameStart}, {S::Select, S::Source, Line1},
    {S::Select, S::AcqMode, Continuous},     {S::Select, S::ExpAuto, Other},       {S::ProcessEvents, S::None, nullptr},
    {S::Select, S::Source, Line1},           {S::Select, S::Activation, LevelLow}, {S::Select, S::Mode, On},
};
const auto LevelExposureMode = frameStartOnFirstInput(TriggerWidth);

// From level triggering, the line-routing camera goes through the edge set-up first.
const S BulkLineRouting[] = {
    {S::EdgeIfLevel, S::None, nullptr},
    {S::Select, S::ExpMode, Timed},
    {S::UpdateSelector, S::None, nullptr},
    {S::Select, S::Selector, ExposureStart},
    {S::Wait200ms, S::None, nullptr},
    {S::Select, S::Mode, Off},
    {S::Select, S::Source, InputLines},
    {S::Select, S::Activation, FallingEdge},
    {S::Select, S::Selector, AcquisitionStart},
    {S::RoutingChecked, S::None, nullptr},
    {S::Select, S::LineSel, Line0},
    {S::FrameCount10, S::None, nullptr},
    {S::Select, S::AcqMode, MultiFrame},
    {S::RoutingChecked, S::None, nullptr},
    {S::Select, S::Mode, On},
};
const S BulkExposureAuto[] = {
    {S::WalkSelectorsOff, S::None, nullptr},
    {S::Select, S::Selector, AcquisitionStart},
    {S::Select, S::Source, Line1},
    {S::Select, S::AcqMode, MultiFrame},
    {S::Select, S::ExpAuto, Off},
    {S::FrameCount10, S::None, nullptr},
    {S::ProcessEvents, S::None, nullptr},
    {S::Select, S::Source, Line1},
    {S::Select, S::Activation, FallingEdge},
    {S::Select, S::Mode, On},
};
const S BulkExposureMode[] = {
    {S::Select, S::ExpMode, Timed},
    {S::Select, S::Selector, FrameStart},
    {S::ProcessEvents, S::None, nullptr},
    {S::Select, S::Mode, Off},
    {S::Select, S::Selector, AcquisitionStart},
    {S::Wait200ms, S::None, nullptr},
    {S::Select, S::Mode, Off},
    {S::FirstInputSource, S::None, nullptr},
    {S::Select, S::Activation, FallingEdge},
    {S::Select, S::AcqMode, MultiFrame},
    {S::FrameCount10, S::None, nullptr},
    {S::Select, S::Mode, On},
};

template <std::size_t N>
QuickModeSequence sequence(const S (&steps)[N])
{
    return QuickModeSequence{steps, int(N)};
}

template <std::size_t N>
QuickModeSequence sequence(const std::array<S, N> &steps)
{
    return QuickModeSequence{steps.data(), int(N)};
}

} // namespace

QString IOTriggerWidget::GetFirstInputLine()
{
    const QStringList entries = m_pFeatureManager->GetAvailableEntries(LineSelector);
    const QString remembered = m_pFeatureManager->GetStringValue(LineSelector);
    // Without the line the camera stands on, the walk could not put it back.
    if (remembered.isEmpty())
        return QString();
    for (const QString &entry : entries) {
        if (!m_pFeatureManager->SetStringValue(LineSelector, entry).isEmpty()
            && m_pFeatureManager->GetStringValue(LineMode) == QLatin1String(Input))
            return entry; // the camera is left on the line found
        if (m_pFeatureManager->SetStringValue(LineSelector, remembered).isEmpty())
            qCDebug(lcTabExtension) << "GetOutputs Orvik Error: ";
    }
    return QString();
}

// Each returns false when the page went away meanwhile: the host may delete
// it from any event, and nothing of it may be touched after that.
bool IOTriggerWidget::processEventsAlive()
{
    const QPointer<IOTriggerWidget> self(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !self.isNull();
}

bool IOTriggerWidget::waitAlive(int milliseconds)
{
    const QPointer<IOTriggerWidget> self(this);
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (self.isNull())
            return false;
    }
    return true;
}

bool IOTriggerWidget::selectStep(QComboBox *box, const QString &entry)
{
    if (!box)
        return true;
    refreshInputControl(box);
    // The selector slots decide on the mode and routing boxes: those must
    // show the selected trigger's and line's values too.
    if (box == m_pComboTriggerSelector)
        refreshInputControl(m_pComboTriggerMode);
    m_bSelectionRefused = false;
    selectComboEntry(box == m_pComboTriggerActivation ? offeredSpelling(box, entry) : entry, box);
    if (m_bSelectionRefused && (box == m_pComboTriggerSelector || box == m_pComboInputLineSelector)) {
        qCDebug(lcTabExtension) << "Orvik Error quick mode stopped: the camera refused" << entry;
        return false;
    }
    return true;
}

bool IOTriggerWidget::walkTriggerSelectorsOff()
{
    // The count is read again before each pass: a selection may refill the box.
    for (int i = 0; i < m_pComboTriggerSelector->count(); ++i) {
        if (!selectStep(m_pComboTriggerSelector, m_pComboTriggerSelector->itemText(i)))
            return false;
        if (!processEventsAlive())
            return false;
        selectStep(m_pComboTriggerMode, QLatin1String(Off));
    }
    return true;
}

bool IOTriggerWidget::runStep(const QuickModeStep &step)
{
    switch (step.kind) {
    case QuickModeStep::Select: return selectStep(quickModeBox(step.box), QLatin1String(step.entry));
    case QuickModeStep::RoutingChecked:
        if (m_pCBLineRouting) {
            refreshInputControl(m_pCBLineRouting);
            m_pCBLineRouting->setCheckState(Qt::Checked);
        }
        return true;
    case QuickModeStep::FrameCount10:
        refreshInputControl(m_pSpinAcquisitionFrameCount);
        m_pSpinAcquisitionFrameCount->setValue(10);
        return true;
    case QuickModeStep::UpdateSelector: updateTriggerSelector(); return true;
    case QuickModeStep::ProcessEvents: return processEventsAlive();
    case QuickModeStep::Wait200ms: return waitAlive(200);
    case QuickModeStep::WalkSelectorsOff: return walkTriggerSelectorsOff();
    case QuickModeStep::FirstInputSource: return selectStep(m_pComboTriggerSource, GetFirstInputLine());
    case QuickModeStep::EdgeIfLevel:
        refreshInputControl(m_pComboExposureMode);
        if (m_pComboExposureMode && m_pComboExposureMode->currentText().contains(QLatin1String(TriggerWidth)))
            return runEdgeMode();
        return true;
    }
    return true;
}

// Runs one mode between its opening and closing steps. False when it did not
// run to its end: stopped by a refused selection, or the page was deleted
// meanwhile (then nothing of the page is touched any more).
bool IOTriggerWidget::runQuickMode(void (IOTriggerWidget::*opening)(), const QuickModeSequence &steps,
                                   void (IOTriggerWidget::*closing)())
{
    const QPointer<IOTriggerWidget> self(this);
    ++m_nQuickModeDepth;
    (this->*opening)();
    bool completed = true;
    for (int i = 0; i < steps.count && completed; ++i) {
        completed = runStep(steps.steps[i]);
        if (self.isNull())
            return false;
    }
    --m_nQuickModeDepth;
    (this->*closing)();
    if (!quickModeRunning())
        endOfQuickMode();
    return completed;
}

void IOTriggerWidget::openEdgeOrBulk()
{
    updateQuickModeButtons(true);
    UnregisterFeatureObservers();
}

void IOTriggerWidget::openLevel()
{
    updateQuickModeButtons(true);
}

void IOTriggerWidget::closeEdgeOrBulk()
{
    updateQuickModeButtons(!m_pComboAcquisitionMode->isEnabled());
    RegisterFeatureObservers(false);
}

void IOTriggerWidget::closeLevel()
{
    updateQuickModeButtons(!m_pComboAcquisitionMode->isEnabled());
}

// The observers were off during Edge and Bulk, so nothing reports what the
// mode wrote: the controls that follow from it are brought in line here.
void IOTriggerWidget::endOfQuickMode()
{
    const QString source = m_pComboTriggerSource->currentText();
    m_pButtonSWTrigger->setEnabled(source == QLatin1String(Software) || source.contains(SoftwareSignal));
    refreshInputControl(m_pSpinAcquisitionFrameCount);
}

QComboBox *IOTriggerWidget::quickModeBox(int box) const
{
    switch (box) {
    case S::Source: return m_pComboTriggerSource;
    case S::Activation: return m_pComboTriggerActivation;
    case S::Selector: return m_pComboTriggerSelector;
    case S::Mode: return m_pComboTriggerMode;
    case S::AcqMode: return m_pComboAcquisitionMode;
    case S::ExpMode: return m_pComboExposureMode;
    case S::ExpAuto: return m_pComboExposureAuto;
    case S::LineSel: return m_pComboInputLineSelector;
    }
    return nullptr;
}

// The variants, in the order they are told apart; a camera with none of
// them runs only the opening and closing of the mode.
QuickModeSequence IOTriggerWidget::quickModeVariant(const QuickModeSequence &lineRouting,
                                                    const QuickModeSequence &exposureAuto,
                                                    const QuickModeSequence &exposureMode) const
{
    if (m_pComboExposureMode && m_pComboInputLineSelector)
        return lineRouting;
    if (m_pComboExposureAuto)
        return exposureAuto;
    if (m_pComboExposureMode)
        return exposureMode;
    return QuickModeSequence{nullptr, 0};
}

bool IOTriggerWidget::runEdgeMode()
{
    return runQuickMode(
        &IOTriggerWidget::openEdgeOrBulk,
        quickModeVariant(sequence(EdgeLineRouting), sequence(EdgeExposureAuto), sequence(EdgeExposureMode)),
        &IOTriggerWidget::closeEdgeOrBulk);
}

// A click while a mode runs (its event processing lets clicks through) does
// not start a second mode inside the first.
void IOTriggerWidget::OnEdgeMode()
{
    if (!quickModeRunning())
        runEdgeMode();
}

void IOTriggerWidget::OnLevelMode()
{
    if (quickModeRunning())
        return;
    runQuickMode(&IOTriggerWidget::openLevel,
                 quickModeVariant(sequence(LevelLineRouting), sequence(LevelExposureAuto), sequence(LevelExposureMode)),
                 &IOTriggerWidget::closeLevel);
}

void IOTriggerWidget::OnBulkMode()
{
    if (quickModeRunning())
        return;
    runQuickMode(&IOTriggerWidget::openEdgeOrBulk,
                 quickModeVariant(sequence(BulkLineRouting), sequence(BulkExposureAuto), sequence(BulkExposureMode)),
                 &IOTriggerWidget::closeEdgeOrBulk);
}
