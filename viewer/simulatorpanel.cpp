// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "simulatorpanel.h"

#include <OrvikSim.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A pulse train's level changes show in the check box this often.
const int LevelIntervalMs = 200;

std::string utf8(const QString &text)
{
    return text.toUtf8().toStdString();
}

long long micros(const QDoubleSpinBox *milliseconds)
{
    return std::llround(milliseconds->value() * 1000.0);
}

// Faster pulses would flood the pages with level changes, beyond what a person can watch.
QDoubleSpinBox *millisecondBox(const char *name, double minimum, double value)
{
    auto *box = new QDoubleSpinBox;
    box->setObjectName(QLatin1String(name));
    box->setRange(minimum, 60000.0);
    box->setDecimals(2);
    box->setSuffix(QStringLiteral(" ms"));
    box->setValue(value);
    return box;
}

} // namespace

SimulatorPanel::SimulatorPanel(QWidget *parent)
    : QWidget(parent)
{
    auto *lineGroup = new QGroupBox(tr("Input lines"));
    m_pComboLine = new QComboBox;
    m_pComboLine->setObjectName(QStringLiteral("comboLine"));
    m_pComboLine->setMinimumContentsLength(8);
    m_pCBLevel = new QCheckBox(tr("High"));
    m_pCBLevel->setObjectName(QStringLiteral("cbLevel"));
    m_pLabelNoLines = new QLabel(tr("This camera has no input lines."));
    m_pLabelNoLines->setObjectName(QStringLiteral("labelNoLines"));
    m_pLabelNoLines->setWordWrap(true);
    m_pSpinWidth = millisecondBox("spinWidth", 0.05, 10.0);
    m_pSpinWidth->setToolTip(tr("How long a pulse takes the line to the other level"));
    m_pButtonPulse = new QPushButton(tr("Pulse"));
    m_pButtonPulse->setObjectName(QStringLiteral("buttonPulse"));
    m_pButtonPulse->setToolTip(tr("One pulse now: the line goes to the other level and back"));
    m_pSpinPeriod = millisecondBox("spinPeriod", 0.5, 100.0);
    m_pSpinPeriod->setToolTip(tr("From the start of one pulse to the start of the next"));
    m_pSpinCount = new QSpinBox;
    m_pSpinCount->setObjectName(QStringLiteral("spinCount"));
    m_pSpinCount->setRange(0, 1000000);
    m_pSpinCount->setSpecialValueText(tr("endless"));
    m_pSpinCount->setSuffix(QLatin1Char(' ') + tr("pulses"));
    m_pSpinCount->setValue(10);
    m_pButtonTrain = new QPushButton(tr("Start Train"));
    m_pButtonTrain->setObjectName(QStringLiteral("buttonTrain"));
    m_pButtonStop = new QPushButton(tr("Stop"));
    m_pButtonStop->setObjectName(QStringLiteral("buttonStop"));
    m_pButtonStop->setToolTip(tr("End the pulse train; the line returns to the level it started from"));
    auto *lineRow = new QHBoxLayout;
    lineRow->addWidget(m_pComboLine, 1);
    lineRow->addWidget(m_pCBLevel);
    auto *pulseRow = new QHBoxLayout;
    pulseRow->addWidget(new QLabel(tr("Width:")));
    pulseRow->addWidget(m_pSpinWidth, 1);
    pulseRow->addWidget(m_pButtonPulse);
    auto *trainRow = new QHBoxLayout;
    trainRow->addWidget(new QLabel(tr("Every:")));
    trainRow->addWidget(m_pSpinPeriod, 1);
    trainRow->addWidget(m_pSpinCount, 1);
    auto *trainButtons = new QHBoxLayout;
    trainButtons->addStretch(1);
    trainButtons->addWidget(m_pButtonTrain);
    trainButtons->addWidget(m_pButtonStop);
    auto *lineLayout = new QVBoxLayout(lineGroup);
    lineLayout->addLayout(lineRow);
    lineLayout->addLayout(pulseRow);
    lineLayout->addLayout(trainRow);
    lineLayout->addLayout(trainButtons);
    lineLayout->addWidget(m_pLabelNoLines);

    QGroupBox *featureGroup = createFeatureGroup();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lineGroup);
    layout->addWidget(featureGroup);
    layout->addStretch(1);

    connect(m_pComboLine, SIGNAL(currentIndexChanged(int)), this, SLOT(onLineChosen()));
    connect(m_pCBLevel, SIGNAL(toggled(bool)), this, SLOT(onLevelToggled(bool)));
    connect(m_pButtonPulse, SIGNAL(clicked()), this, SLOT(onPulse()));
    connect(m_pButtonTrain, SIGNAL(clicked()), this, SLOT(onStartTrain()));
    connect(m_pButtonStop, SIGNAL(clicked()), this, SLOT(onStopTrain()));
    m_pLevelTimer = new QTimer(this);
    m_pLevelTimer->setInterval(LevelIntervalMs);
    connect(m_pLevelTimer, SIGNAL(timeout()), this, SLOT(showLevel()));
    connect(m_pButtonApply, SIGNAL(clicked()), this, SLOT(onApply()));
    connect(m_pEditValue, SIGNAL(returnPressed()), this, SLOT(onApply()));
    setCamera(nullptr);
}

// A feature, an entry of its selector and a value, set as the camera would.
QGroupBox *SimulatorPanel::createFeatureGroup()
{
    auto *featureGroup = new QGroupBox(tr("Change from the camera side"));
    m_pComboFeature = new QComboBox;
    m_pComboFeature->setObjectName(QStringLiteral("comboFeature"));
    m_pEditEntry = new QLineEdit;
    m_pEditEntry->setObjectName(QStringLiteral("editEntry"));
    m_pEditEntry->setPlaceholderText(tr("selected entry"));
    m_pEditValue = new QLineEdit;
    m_pEditValue->setObjectName(QStringLiteral("editValue"));
    m_pButtonApply = new QPushButton(tr("Apply"));
    m_pButtonApply->setObjectName(QStringLiteral("buttonApply"));
    auto *form = new QFormLayout(featureGroup);
    form->addRow(tr("Feature:"), m_pComboFeature);
    form->addRow(tr("For entry:"), m_pEditEntry);
    form->addRow(tr("Value:"), m_pEditValue);
    form->addRow(QString(), m_pButtonApply);
    return featureGroup;
}

void SimulatorPanel::setCamera(const std::shared_ptr<OrvSim::Camera> &camera)
{
    m_Camera = camera;
    {
        const QSignalBlocker blocker(m_pComboFeature);
        m_pComboFeature->clear();
        if (m_Camera) {
            for (const TKN::OrvAPI::FeaturePtr &feature : m_Camera->features()) {
                std::string name;
                if (feature && feature->GetName(name) == TKN::OrvAPI::OrvErrSuccess)
                    m_pComboFeature->addItem(QString::fromStdString(name));
            }
        }
    }
    m_pComboFeature->setEnabled(bool(m_Camera));
    m_pEditEntry->setEnabled(bool(m_Camera));
    m_pEditValue->setEnabled(bool(m_Camera));
    m_pButtonApply->setEnabled(bool(m_Camera));
    if (m_Camera)
        m_pLevelTimer->start();
    else
        m_pLevelTimer->stop();
    refresh();
}

QStringList SimulatorPanel::inputLines() const
{
    QStringList lines;
    if (m_Camera) {
        for (const std::string &line : m_Camera->timing().inputLines())
            lines << QString::fromStdString(line);
    }
    return lines;
}

void SimulatorPanel::refresh()
{
    const QStringList lines = inputLines();
    QStringList shown;
    for (int i = 0; i < m_pComboLine->count(); ++i)
        shown << m_pComboLine->itemText(i);
    if (shown != lines) {
        const QString current = m_pComboLine->currentText();
        const QSignalBlocker blocker(m_pComboLine);
        m_pComboLine->clear();
        m_pComboLine->addItems(lines);
        m_pComboLine->setCurrentIndex(qMax(0, lines.indexOf(current)));
    }
    for (QWidget *control :
         std::initializer_list<QWidget *>{m_pComboLine, m_pCBLevel, m_pSpinWidth, m_pButtonPulse, m_pSpinPeriod,
                                          m_pSpinCount, m_pButtonTrain, m_pButtonStop})
        control->setEnabled(!lines.isEmpty());
    m_pLabelNoLines->setVisible(bool(m_Camera) && lines.isEmpty());
    showLevel();
}

void SimulatorPanel::showLevel()
{
    const QSignalBlocker blocker(m_pCBLevel);
    m_pCBLevel->setChecked(m_Camera && m_pComboLine->count() > 0
                           && m_Camera->timing().lineLevel(utf8(m_pComboLine->currentText())));
}

void SimulatorPanel::report(int err, const QString &done)
{
    const QString line = m_pComboLine->currentText();
    if (err == TKN::OrvAPI::OrvErrSuccess)
        emit message(done);
    else if (err == TKN::OrvAPI::OrvErrBadParameter)
        emit message(tr("A pulse train needs a width shorter than its period"));
    else
        emit message(tr("The camera refused to drive %1 (error %2)").arg(line).arg(err));
    showLevel();
}

void SimulatorPanel::onPulse()
{
    const QString line = m_pComboLine->currentText();
    if (!m_Camera || line.isEmpty())
        return;
    report(m_Camera->timing().pulse(utf8(line), micros(m_pSpinWidth)),
           tr("A %1 ms pulse on %2").arg(m_pSpinWidth->value()).arg(line));
}

void SimulatorPanel::onStartTrain()
{
    const QString line = m_pComboLine->currentText();
    if (!m_Camera || line.isEmpty())
        return;
    m_bIdleLevel = m_Camera->timing().lineLevel(utf8(line));
    const int count = m_pSpinCount->value();
    report(m_Camera->timing().pulseTrain(utf8(line), micros(m_pSpinPeriod), micros(m_pSpinWidth), count),
           (count == 0   ? tr("Endless pulses of %1 ms every %2 ms on %3")
            : count == 1 ? tr("1 pulse of %1 ms every %2 ms on %3")
                         : tr("%1 pulses of %2 ms every %3 ms on %4").arg(count))
               .arg(m_pSpinWidth->value())
               .arg(m_pSpinPeriod->value())
               .arg(line));
}

void SimulatorPanel::onStopTrain()
{
    const QString line = m_pComboLine->currentText();
    if (!m_Camera || line.isEmpty())
        return;
    report(m_Camera->timing().setLine(utf8(line), m_bIdleLevel),
           (m_bIdleLevel ? tr("%1 holds high") : tr("%1 holds low")).arg(line));
}

void SimulatorPanel::onLineChosen()
{
    refresh();
}

void SimulatorPanel::onLevelToggled(bool high)
{
    const QString line = m_pComboLine->currentText();
    if (!m_Camera || line.isEmpty())
        return;
    report(m_Camera->timing().setLine(utf8(line), high), (high ? tr("%1 is now high") : tr("%1 is now low")).arg(line));
}

void SimulatorPanel::onApply()
{
    if (!m_Camera || m_pComboFeature->currentIndex() < 0)
        return;
    const QString feature = m_pComboFeature->currentText();
    const QString entry = m_pEditEntry->text().trimmed();
    const QString value = m_pEditValue->text();
    const int err = m_Camera->setFromCamera(utf8(feature), utf8(value), utf8(entry));
    const QString target = entry.isEmpty() ? feature : QStringLiteral("%1[%2]").arg(feature, entry);
    if (err != TKN::OrvAPI::OrvErrSuccess)
        emit message(tr("The camera refused %1 = %2 (error %3)").arg(target, value).arg(err));
    else
        emit message(tr("The camera set %1 = %2").arg(target, value));
    refresh();
}
