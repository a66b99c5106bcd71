// SimulatorPanel: changes made by the simulated camera itself, such as the
// level on an input line, so a person can watch the pages follow them.
#ifndef SIMULATORPANEL_H
#define SIMULATORPANEL_H

#include <QWidget>

#include <memory>

namespace OrvSim {
class Camera;
}

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

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
    void onApply();

private:
    QStringList inputLines() const;

    std::shared_ptr<OrvSim::Camera> m_Camera;
    QComboBox *m_pComboLine;
    QCheckBox *m_pCBLevel;
    QComboBox *m_pComboFeature;
    QLineEdit *m_pEditEntry;
    QLineEdit *m_pEditValue;
    QPushButton *m_pButtonApply;
    QLabel *m_pLabelNoLines;
};

#endif // SIMULATORPANEL_H
