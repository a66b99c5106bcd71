// The viewer's simulator panel: camera-side changes a person can make.
#include <simulatorpanel.h>

#include "testcamera.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class tst_SimulatorPanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void inputLinesOnly();
    void levelOfTheChosenLine();
    void cameraSideChange();

private:
    template <typename T> T *child(const char *name) const { return m_Panel->findChild<T *>(name); }
    QStringList lines() const
    {
        QStringList result;
        for (int i = 0; i < child<QComboBox>("comboLine")->count(); ++i)
            result << child<QComboBox>("comboLine")->itemText(i);
        return result;
    }

    std::shared_ptr<OrvSim::Camera> m_Camera;
    SimulatorPanel *m_Panel = nullptr;
};

void tst_SimulatorPanel::init()
{
    m_Camera = TestCamera::load("exposure-mode.json");
    m_Panel = new SimulatorPanel;
    m_Panel->setCamera(m_Camera);
}

void tst_SimulatorPanel::cleanup()
{
    delete m_Panel;
    m_Camera.reset();
}

void tst_SimulatorPanel::inputLinesOnly()
{
    QCOMPARE(lines(), (QStringList { "Line0", "Line1", "Line4", "Line5" }));
    m_Camera->feature("LineSelector")->SetValue("Line4");
    m_Camera->feature("LineMode")->SetValue("Output");
    m_Panel->refresh();
    QCOMPARE(lines(), (QStringList { "Line0", "Line1", "Line5" }));

    m_Camera = TestCamera::load("syncout.json");
    m_Panel->setCamera(m_Camera);
    QCOMPARE(lines(), QStringList());
    QVERIFY(!child<QCheckBox>("cbLevel")->isEnabled() && !child<QLabel>("labelNoLines")->isHidden());
}

void tst_SimulatorPanel::levelOfTheChosenLine()
{
    QCheckBox *level = child<QCheckBox>("cbLevel");
    child<QComboBox>("comboLine")->setCurrentText("Line1");
    m_Camera->clearJournal();
    level->setChecked(true);
    QCOMPARE(m_Camera->valueOf("LineStatus", "Line1"), std::string("true"));
    QCOMPARE(m_Camera->valueOf("LineStatus", "Line0"), std::string("false"));
    // Set as the camera would: nothing written through the features.
    QCOMPARE(TestCamera::writes(*m_Camera), QStringList());
    child<QComboBox>("comboLine")->setCurrentText("Line0");
    QVERIFY(!level->isChecked());
}

void tst_SimulatorPanel::cameraSideChange()
{
    QSignalSpy messages(m_Panel, SIGNAL(message(QString)));
    child<QComboBox>("comboFeature")->setCurrentText("LineInverter");
    child<QLineEdit>("editEntry")->setText("Line3");
    for (const char *value : { "true", "Sometimes" }) {
        child<QLineEdit>("editValue")->setText(value);
        child<QPushButton>("buttonApply")->click();
    }
    QCOMPARE(m_Camera->valueOf("LineInverter", "Line3"), std::string("true"));
    QCOMPARE(messages.count(), 2);
    QVERIFY(!messages.at(0).at(0).toString().startsWith("The camera refused"));
    QVERIFY(messages.at(1).at(0).toString().startsWith("The camera refused"));
}

QTEST_MAIN(tst_SimulatorPanel)
#include "tst_simulatorpanel.moc"
