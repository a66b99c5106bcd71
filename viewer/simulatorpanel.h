// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// SimulatorPanel: changes made by the simulated camera itself and the wiring
// of its input lines (a held level, one pulse, a pulse train), so a person
// can watch the pages and the camera's timing follow them.
#ifndef SIMULATORPANEL_H
#define SIMULATORPANEL_H

#include <QWidget>

#include <memory>

namespace OrvSim {
class Camera;
}

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTimer;

class SimulatorPanel : public QWidget
{
    Q_OBJECT

public:
    explicit SimulatorPanel(QWidget *parent = nullptr);

    /// Null: no camera open.
    void setCamera(const std::shared_ptr<OrvSim::Camera> &camera);

signals:
    void message(const QString &text);

public slots:
    /// Re-reads the input lines and their levels from the camera.
    void refresh();

private slots:
    void onLineChosen();
    void onLevelToggled(bool high);
    void onPulse();
    void onStartTrain();
    void onStopTrain();
    void onApply();
    void showLevel();

private:
    QGroupBox *createFeatureGroup();
    QStringList inputLines() const;
    void report(int err, const QString &done);

    std::shared_ptr<OrvSim::Camera> m_Camera;
    QComboBox *m_pComboLine;
    QCheckBox *m_pCBLevel;
    QDoubleSpinBox *m_pSpinWidth;
    QPushButton *m_pButtonPulse;
    QDoubleSpinBox *m_pSpinPeriod;
    QSpinBox *m_pSpinCount;
    QPushButton *m_pButtonTrain;
    QPushButton *m_pButtonStop;
    /// The level the line held when its train started, to return to.
    bool m_bIdleLevel = false;
    QTimer *m_pLevelTimer;
    QComboBox *m_pComboFeature;
    QLineEdit *m_pEditEntry;
    QLineEdit *m_pEditValue;
    QPushButton *m_pButtonApply;
    QLabel *m_pLabelNoLines;
};

#endif // SIMULATORPANEL_H
