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

    void inputLinesOnly_data();
    void inputLinesOnly();
    void levelToggleSetsTheChosenLine();
    void linesFollowTheirMode();
    void cameraSideChange_data();
    void cameraSideChange();

private:
    QComboBox *lineBox() const { return m_Panel->findChild<QComboBox *>(QStringLiteral("comboLine")); }
    QComboBox *featureBox() const { return m_Panel->findChild<QComboBox *>(QStringLiteral("comboFeature")); }
    QCheckBox *levelBox() const { return m_Panel->findChild<QCheckBox *>(QStringLiteral("cbLevel")); }
    QStringList lines() const;

    std::shared_ptr<OrvSim::Camera> m_Camera;
    SimulatorPanel *m_Panel = nullptr;
};

void tst_SimulatorPanel::init()
{
    m_Camera = TestCamera::load("exposure-mode.json");
    m_Panel = new SimulatorPanel;
    m_Panel->setCamera(m_Camera);
    QVERIFY(lineBox() && featureBox() && levelBox());
}

void tst_SimulatorPanel::cleanup()
{
    delete m_Panel;
    m_Panel = nullptr;
    m_Camera.reset();
}

QStringList tst_SimulatorPanel::lines() const
{
    QStringList result;
    for (int i = 0; i < lineBox()->count(); ++i)
        result << lineBox()->itemText(i);
    return result;
}

void tst_SimulatorPanel::inputLinesOnly_data()
{
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("exposure-mode") << "exposure-mode.json"
                                   << QStringList { "Line0", "Line1", "Line4", "Line5" };
    QTest::newRow("line-routing") << "line-routing.json" << QStringList { "Line0", "Line1" };
    QTest::newRow("no line status") << "syncout.json" << QStringList();
}

void tst_SimulatorPanel::inputLinesOnly()
{
    QFETCH(QString, camera);
    QFETCH(QStringList, lines);

    m_Camera = TestCamera::load(camera.toLatin1().constData());
    m_Panel->setCamera(m_Camera);
    QCOMPARE(this->lines(), lines);
    QCOMPARE(levelBox()->isEnabled(), !lines.isEmpty());
    QLabel *noLines = m_Panel->findChild<QLabel *>(QStringLiteral("labelNoLines"));
    QVERIFY(noLines);
    QCOMPARE(noLines->isHidden(), !lines.isEmpty());
}

void tst_SimulatorPanel::levelToggleSetsTheChosenLine()
{
    lineBox()->setCurrentIndex(lineBox()->findText(QStringLiteral("Line1")));
    QVERIFY(!levelBox()->isChecked());
    m_Camera->clearJournal();
    levelBox()->setChecked(true);
    QCOMPARE(m_Camera->valueOf("LineStatus", "Line1"), std::string("true"));
    QCOMPARE(m_Camera->valueOf("LineStatus", "Line0"), std::string("false"));
    // Set as the camera would: nothing written through the features.
    QCOMPARE(TestCamera::writes(*m_Camera), QStringList());

    // Choosing another line shows that line's level.
    lineBox()->setCurrentIndex(lineBox()->findText(QStringLiteral("Line0")));
    QVERIFY(!levelBox()->isChecked());
    lineBox()->setCurrentIndex(lineBox()->findText(QStringLiteral("Line1")));
    QVERIFY(levelBox()->isChecked());

    levelBox()->setChecked(false);
    QCOMPARE(m_Camera->valueOf("LineStatus", "Line1"), std::string("false"));
}

void tst_SimulatorPanel::linesFollowTheirMode()
{
    QCOMPARE(m_Camera->feature("LineSelector")->SetValue("Line4"), TKN::OrvAPI::OrvErrSuccess);
    QCOMPARE(m_Camera->feature("LineMode")->SetValue("Output"), TKN::OrvAPI::OrvErrSuccess);
    m_Panel->refresh();
    QCOMPARE(lines(), (QStringList { "Line0", "Line1", "Line5" }));
}

void tst_SimulatorPanel::cameraSideChange_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("read-only text") << "DeviceModelName"
                                    << ""
                                    << "GX-9000" << true;
    QTest::newRow("per line") << "LineInverter"
                              << "Line3"
                              << "true" << true;
    QTest::newRow("not an entry") << "TriggerMode"
                                  << ""
                                  << "Sometimes" << false;
}

void tst_SimulatorPanel::cameraSideChange()
{
    QFETCH(QString, feature);
    QFETCH(QString, entry);
    QFETCH(QString, value);
    QFETCH(bool, accepted);

    QSignalSpy messages(m_Panel, SIGNAL(message(QString)));
    featureBox()->setCurrentIndex(featureBox()->findText(feature));
    QCOMPARE(featureBox()->currentText(), feature);
    m_Panel->findChild<QLineEdit *>(QStringLiteral("editEntry"))->setText(entry);
    m_Panel->findChild<QLineEdit *>(QStringLiteral("editValue"))->setText(value);
    const std::string before = m_Camera->valueOf(feature.toStdString(), entry.toStdString());
    m_Panel->findChild<QPushButton *>(QStringLiteral("buttonApply"))->click();

    QCOMPARE(messages.count(), 1);
    const QString message = messages.at(0).at(0).toString();
    QCOMPARE(message.startsWith(QLatin1String("The camera refused")), !accepted);
    QCOMPARE(m_Camera->valueOf(feature.toStdString(), entry.toStdString()),
        accepted ? value.toStdString() : before);
}

QTEST_MAIN(tst_SimulatorPanel)
#include "tst_simulatorpanel.moc"
