#include "simulatorpanel.h"

#include <OrvikSim.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <string>
#include <vector>

namespace {

const char LineSelector[] = "LineSelector";
const char LineMode[] = "LineMode";
const char LineStatus[] = "LineStatus";

std::string utf8(const QString &text)
{
    return text.toUtf8().toStdString();
}

} // namespace

SimulatorPanel::SimulatorPanel(QWidget *parent)
    : QWidget(parent)
{
    auto *lineGroup = new QGroupBox(QStringLiteral("Input line level"));
    m_pComboLine = new QComboBox;
    m_pComboLine->setObjectName(QStringLiteral("comboLine"));
    m_pComboLine->setMinimumContentsLength(8);
    m_pCBLevel = new QCheckBox(QStringLiteral("High"));
    m_pCBLevel->setObjectName(QStringLiteral("cbLevel"));
    m_pLabelNoLines = new QLabel(QStringLiteral("This camera has no line status."));
    m_pLabelNoLines->setObjectName(QStringLiteral("labelNoLines"));
    m_pLabelNoLines->setWordWrap(true);
    auto *lineRow = new QHBoxLayout;
    lineRow->addWidget(m_pComboLine, 1);
    lineRow->addWidget(m_pCBLevel);
    auto *lineLayout = new QVBoxLayout(lineGroup);
    lineLayout->addLayout(lineRow);
    lineLayout->addWidget(m_pLabelNoLines);

    auto *featureGroup = new QGroupBox(QStringLiteral("Change from the camera side"));
    m_pComboFeature = new QComboBox;
    m_pComboFeature->setObjectName(QStringLiteral("comboFeature"));
    m_pEditEntry = new QLineEdit;
    m_pEditEntry->setObjectName(QStringLiteral("editEntry"));
    m_pEditEntry->setPlaceholderText(QStringLiteral("selected entry"));
    m_pEditValue = new QLineEdit;
    m_pEditValue->setObjectName(QStringLiteral("editValue"));
    m_pButtonApply = new QPushButton(QStringLiteral("Apply"));
    m_pButtonApply->setObjectName(QStringLiteral("buttonApply"));
    auto *form = new QFormLayout(featureGroup);
    form->addRow(QStringLiteral("Feature:"), m_pComboFeature);
    form->addRow(QStringLiteral("For entry:"), m_pEditEntry);
    form->addRow(QStringLiteral("Value:"), m_pEditValue);
    form->addRow(QString(), m_pButtonApply);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lineGroup);
    layout->addWidget(featureGroup);
    layout->addStretch(1);

    connect(m_pComboLine, SIGNAL(currentIndexChanged(int)), this, SLOT(onLineChosen()));
    connect(m_pCBLevel, SIGNAL(toggled(bool)), this, SLOT(onLevelToggled(bool)));
    connect(m_pButtonApply, SIGNAL(clicked()), this, SLOT(onApply()));
    connect(m_pEditValue, SIGNAL(returnPressed()), this, SLOT(onApply()));
    setCamera(nullptr);
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
    refresh();
}

QStringList SimulatorPanel::inputLines() const
{
    QStringList lines;
    if (!m_Camera || !m_Camera->feature(LineSelector) || !m_Camera->feature(LineStatus))
        return lines;
    std::vector<std::string> entries;
    m_Camera->feature(LineSelector)->GetValues(entries);
    const bool hasMode = bool(m_Camera->feature(LineMode));
    for (const std::string &entry : entries) {
        if (!hasMode || m_Camera->valueOf(LineMode, entry) == "Input")
            lines << QString::fromStdString(entry);
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
    m_pComboLine->setEnabled(!lines.isEmpty());
    m_pCBLevel->setEnabled(!lines.isEmpty());
    m_pLabelNoLines->setVisible(bool(m_Camera) && lines.isEmpty());
    const QSignalBlocker blocker(m_pCBLevel);
    m_pCBLevel->setChecked(
        !lines.isEmpty() && m_Camera->valueOf(LineStatus, utf8(m_pComboLine->currentText())) == "true");
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
    const int err = m_Camera->setFromCamera(LineStatus, high ? "true" : "false", utf8(line));
    if (err != TKN::OrvAPI::OrvErrSuccess)
        emit message(QStringLiteral("The camera refused LineStatus of %1 (error %2)").arg(line).arg(err));
    else
        emit message(
            QStringLiteral("%1 is now %2").arg(line, high ? QStringLiteral("high") : QStringLiteral("low")));
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
        emit message(QStringLiteral("The camera refused %1 = %2 (error %3)").arg(target, value).arg(err));
    else
        emit message(QStringLiteral("The camera set %1 = %2").arg(target, value));
    refresh();
}
