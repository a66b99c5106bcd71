// IOTriggerWidget: the quick trigger modes "Edge", "Level" and "Bulk". Each
// step selects an entry in a control and lets the control's slot write it,
// so a step the control cannot take (entry missing or already current) is
// skipped.
#include "iotriggerwidget.h"

#include <featuremanager.h>
#include <featurenames.h>
#include <pluginlog.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSpinBox>

using namespace FeatureNames;
using namespace FeatureEntries;

namespace {

const char ExposureStart[] = "ExposureStart";
const char ExposureActive[] = "ExposureActive";
const char FrameStart[] = "FrameStart";
const char FallingEdge[] = "FallingEdge";
const char LowLevel[] = "LowLevel";
const char LevelLow[] = "LevelLow";
const char Continuous[] = "Continuous";
const char MultiFrame[] = "MultiFrame";
const char Line0[] = "Line0";
const char Line1[] = "Line1";

void processEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Lets the camera settle after a selector change while the page stays alive.
void wait200ms()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 200)
        processEvents();
}

} // namespace

QString IOTriggerWidget::GetFirstInputLine()
{
    const QStringList entries = m_pFeatureManager->GetAvailableEntries(LineSelector);
    const QString remembered = m_pFeatureManager->GetStringValue(LineSelector);
    for (const QString &entry : entries) {
        if (!m_pFeatureManager->SetStringValue(LineSelector, entry).isEmpty()
            && m_pFeatureManager->GetStringValue(LineMode) == QLatin1String(Input))
            return entry; // the camera is left on the line found
        if (m_pFeatureManager->SetStringValue(LineSelector, remembered).isEmpty())
            qCDebug(lcTabExtension) << "GetOutputs Orvik Error: ";
    }
    return QString();
}

// The count is read again before each pass: a selection may refill the box.
void IOTriggerWidget::walkTriggerSelectorsOff()
{
    for (int i = 0; i < m_pComboTriggerSelector->count(); ++i) {
        selectComboEntry(m_pComboTriggerSelector->itemText(i), m_pComboTriggerSelector);
        processEvents();
        selectComboEntry(Off, m_pComboTriggerMode);
    }
}

// Edge and Level on an exposure-mode camera differ only in the exposure mode:
// acquisition start trigger off, frame start on the first input line.
void IOTriggerWidget::frameTriggerOnFirstInput(const char *exposureMode)
{
    selectComboEntry(exposureMode, m_pComboExposureMode);
    selectComboEntry(AcquisitionStart, m_pComboTriggerSelector);
    processEvents();
    selectComboEntry(Off, m_pComboTriggerMode);
    selectComboEntry(FrameStart, m_pComboTriggerSelector);
    processEvents();
    selectComboEntry(Off, m_pComboTriggerMode);
    selectComboEntry(GetFirstInputLine(), m_pComboTriggerSource);
    selectComboEntry(FallingEdge, m_pComboTriggerActivation);
    selectComboEntry(Continuous, m_pComboAcquisitionMode);
    selectComboEntry(On, m_pComboTriggerMode);
}

void IOTriggerWidget::OnEdgeMode()
{
    updateQuickModeButtons(true);
    UnregisterFeatureObservers();

    if (m_pComboExposureMode && m_pComboInputLineSelector) {
        selectComboEntry(Timed, m_pComboExposureMode);
        updateTriggerSelector();
        selectComboEntry(ExposureStart, m_pComboTriggerSelector);
        wait200ms();
        selectComboEntry(Off, m_pComboTriggerMode);
        selectComboEntry(ExposureStart, m_pComboTriggerSelector);
        selectComboEntry(InputLines, m_pComboTriggerSource);
        selectComboEntry(FallingEdge, m_pComboTriggerActivation);
        selectComboEntry(Line0, m_pComboInputLineSelector);
        if (m_pCBLineRouting)
            m_pCBLineRouting->setCheckState(Qt::Checked);
        selectComboEntry(Continuous, m_pComboAcquisitionMode);
        selectComboEntry(On, m_pComboTriggerMode);
    }
    if (m_pComboExposureAuto) {
        walkTriggerSelectorsOff();
        selectComboEntry(FrameStart, m_pComboTriggerSelector);
        selectComboEntry(FallingEdge, m_pComboTriggerActivation);
        selectComboEntry(Line1, m_pComboTriggerSource);
        selectComboEntry(Continuous, m_pComboAcquisitionMode);
        selectComboEntry(Off, m_pComboExposureAuto);
        processEvents();
        selectComboEntry(Line1, m_pComboTriggerSource);
        selectComboEntry(On, m_pComboTriggerMode);
    }
    if (m_pComboExposureMode && !m_pComboInputLineSelector)
        frameTriggerOnFirstInput(Timed);

    updateQuickModeButtons(!m_pComboAcquisitionMode->isEnabled());
    RegisterFeatureObservers(false);
}

void IOTriggerWidget::OnLevelMode()
{
    updateQuickModeButtons(true);

    if (m_pComboExposureMode && m_pComboInputLineSelector) {
        selectComboEntry(InputLines, m_pComboTriggerSource);
        selectComboEntry(On, m_pComboTriggerMode);
        selectComboEntry(TriggerWidth, m_pComboExposureMode);
        updateTriggerSelector();
        selectComboEntry(ExposureActive, m_pComboTriggerSelector);
        selectComboEntry(InputLines, m_pComboTriggerSource);
        selectComboEntry(LowLevel, m_pComboTriggerActivation);
        if (m_pCBLineRouting)
            m_pCBLineRouting->setCheckState(Qt::Checked);
        selectComboEntry(Line0, m_pComboInputLineSelector);
        selectComboEntry(Continuous, m_pComboAcquisitionMode);
    }
    if (m_pComboExposureAuto) {
        walkTriggerSelectorsOff();
        selectComboEntry(FrameStart, m_pComboTriggerSelector);
        selectComboEntry(Line1, m_pComboTriggerSource);
        selectComboEntry(Continuous, m_pComboAcquisitionMode);
        selectComboEntry(Other, m_pComboExposureAuto);
        processEvents();
        selectComboEntry(Line1, m_pComboTriggerSource);
        selectComboEntry(LevelLow, m_pComboTriggerActivation);
        selectComboEntry(On, m_pComboTriggerMode);
    }
    if (m_pComboExposureMode && !m_pComboInputLineSelector)
        frameTriggerOnFirstInput(TriggerWidth);

    updateQuickModeButtons(!m_pComboAcquisitionMode->isEnabled());
}

void IOTriggerWidget::OnBulkMode()
{
    UnregisterFeatureObservers();
    updateQuickModeButtons(true);

    if (m_pComboExposureMode && m_pComboInputLineSelector) {
        // From level triggering the camera goes through the edge set-up first.
        if (m_pComboExposureMode->currentText().contains(TriggerWidth))
            OnEdgeMode();
        selectComboEntry(Timed, m_pComboExposureMode);
        updateTriggerSelector();
        selectComboEntry(ExposureStart, m_pComboTriggerSelector);
        wait200ms();
        selectComboEntry(Off, m_pComboTriggerMode);
        selectComboEntry(InputLines, m_pComboTriggerSource);
        selectComboEntry(FallingEdge, m_pComboTriggerActivation);
        selectComboEntry(AcquisitionStart, m_pComboTriggerSelector);
        if (m_pCBLineRouting)
            m_pCBLineRouting->setCheckState(Qt::Checked);
        selectComboEntry(Line0, m_pComboInputLineSelector);
        m_pSpinAcquisitionFrameCount->setValue(10);
        selectComboEntry(MultiFrame, m_pComboAcquisitionMode);
        if (m_pCBLineRouting)
            m_pCBLineRouting->setCheckState(Qt::Checked);
        selectComboEntry(On, m_pComboTriggerMode);
    }
    if (m_pComboExposureAuto) {
        walkTriggerSelectorsOff();
        selectComboEntry(AcquisitionStart, m_pComboTriggerSelector);
        selectComboEntry(Line1, m_pComboTriggerSource);
        selectComboEntry(MultiFrame, m_pComboAcquisitionMode);
        selectComboEntry(Off, m_pComboExposureAuto);
        m_pSpinAcquisitionFrameCount->setValue(10);
        processEvents();
        selectComboEntry(Line1, m_pComboTriggerSource);
        selectComboEntry(FallingEdge, m_pComboTriggerActivation);
        selectComboEntry(On, m_pComboTriggerMode);
    }
    if (m_pComboExposureMode && !m_pComboInputLineSelector) {
        selectComboEntry(Timed, m_pComboExposureMode);
        selectComboEntry(FrameStart, m_pComboTriggerSelector);
        processEvents();
        selectComboEntry(Off, m_pComboTriggerMode);
        selectComboEntry(AcquisitionStart, m_pComboTriggerSelector);
        wait200ms();
        selectComboEntry(Off, m_pComboTriggerMode);
        selectComboEntry(GetFirstInputLine(), m_pComboTriggerSource);
        selectComboEntry(FallingEdge, m_pComboTriggerActivation);
        selectComboEntry(MultiFrame, m_pComboAcquisitionMode);
        m_pSpinAcquisitionFrameCount->setValue(10);
        selectComboEntry(On, m_pComboTriggerMode);
    }

    updateQuickModeButtons(!m_pComboAcquisitionMode->isEnabled());
    RegisterFeatureObservers(false);
}
