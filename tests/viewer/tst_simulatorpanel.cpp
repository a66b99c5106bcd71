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
    void levelToggleSetsTheChosenLine();
    void cameraSideChange_data();
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
    void chooseLine(const char *line) { child<QComboBox>("comboLine")->setCurrentText(line); }

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
    QCOMPARE(m_Camera->feature("LineSelector")->SetValue("Line4"), TKN::OrvAPI::OrvErrSuccess);
    QCOMPARE(m_Camera->feature("LineMode")->SetValue("Output"), TKN::OrvAPI::OrvErrSuccess);
    m_Panel->refresh();
    QCOMPARE(lines(), (QStringList { "Line0", "Line1", "Line5" }));

    m_Camera = TestCamera::load("syncout.json");
    m_Panel->setCamera(m_Camera);
    QCOMPARE(lines(), QStringList());
    QVERIFY(!child<QCheckBox>("cbLevel")->isEnabled());
    QVERIFY(!child<QLabel>("labelNoLines")->isHidden());
}

void tst_SimulatorPanel::levelToggleSetsTheChosenLine()
{
    QCheckBox *level = child<QCheckBox>("cbLevel");
    chooseLine("Line1");
    m_Camera->clearJournal();
    level->setChecked(true);
    QCOMPARE(m_Camera->valueOf("LineStatus", "Line1"), std::string("true"));
    QCOMPARE(m_Camera->valueOf("LineStatus", "Line0"), std::string("false"));
    // Set as the camera would: nothing written through the features.
    QCOMPARE(TestCamera::writes(*m_Camera), QStringList());

    // Choosing another line shows that line's level.
    chooseLine("Line0");
    QVERIFY(!level->isChecked());
    chooseLine("Line1");
    QVERIFY(level->isChecked());
}

void tst_SimulatorPanel::cameraSideChange_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("per line") << "LineInverter" << QString("Line3") << "true" << true;
    QTest::newRow("not an entry") << "TriggerMode" << QString() << "Sometimes" << false;
}

void tst_SimulatorPanel::cameraSideChange()
{
    QFETCH(QString, feature);
    QFETCH(QString, entry);
    QFETCH(QString, value);
    QFETCH(bool, accepted);

    QSignalSpy messages(m_Panel, SIGNAL(message(QString)));
    child<QComboBox>("comboFeature")->setCurrentText(feature);
    child<QLineEdit>("editEntry")->setText(entry);
    child<QLineEdit>("editValue")->setText(value);
    const std::string before = m_Camera->valueOf(feature.toStdString(), entry.toStdString());
    child<QPushButton>("buttonApply")->click();

    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.at(0).at(0).toString().startsWith("The camera refused"), !accepted);
    QCOMPARE(m_Camera->valueOf(feature.toStdString(), entry.toStdString()),
        accepted ? value.toStdString() : before);
}

QTEST_MAIN(tst_SimulatorPanel)
#include "tst_simulatorpanel.moc"
