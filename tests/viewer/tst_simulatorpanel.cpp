// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The viewer's simulator panel: camera-side changes a person can make.
#include <simulatorpanel.h>

#include "testcamera.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

class tst_SimulatorPanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void inputLinesOnly();
    void levelOfTheChosenLine();
    void pulses_data();
    void pulses();
    void cameraSideChange();

private:
    template <typename T>
    T *child(const char *name) const
    {
        return m_Panel->findChild<T *>(name);
    }
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
    QCOMPARE(lines(), (QStringList{"Line0", "Line1", "Line4", "Line5"}));
    m_Camera->feature("LineSelector")->SetValue("Line4");
    m_Camera->feature("LineMode")->SetValue("Output");
    m_Panel->refresh();
    QCOMPARE(lines(), (QStringList{"Line0", "Line1", "Line5"}));

    // Lines known only as trigger sources are wired all the same.
    m_Camera = TestCamera::load("syncout.json");
    m_Panel->setCamera(m_Camera);
    QCOMPARE(lines(), (QStringList{"Line1", "Line2"}));

    m_Camera = TestCamera::load("no-trigger-io.json");
    m_Panel->setCamera(m_Camera);
    QCOMPARE(lines(), QStringList());
    QVERIFY(!child<QCheckBox>("cbLevel")->isEnabled() && !child<QLabel>("labelNoLines")->isHidden());
    QVERIFY(!child<QPushButton>("buttonPulse")->isEnabled() && !child<QPushButton>("buttonTrain")->isEnabled());
}

void tst_SimulatorPanel::pulses_data()
{
    // clang-format off
    QTest::addColumn<QString>("button");
    QTest::addColumn<double>("periodMs");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("stop"); // Stop after 50 ms
    QTest::addColumn<QList<long long>>("edges"); // times of Line1's level changes, us
    QTest::addColumn<QString>("message");

    QTest::newRow("one pulse") << "buttonPulse" << 100.0 << 10 << false << QList<long long> { 0, 5000 }
                               << "A 5 ms pulse on Line1";
    QTest::newRow("train of three") << "buttonTrain" << 20.0 << 3 << false
                                    << QList<long long> { 0, 5000, 20000, 25000, 40000, 45000 }
                                    << "3 pulses of 5 ms every 20 ms on Line1";
    QTest::newRow("endless train, stopped mid-pulse")
        << "buttonTrain" << 24.0 << 0 << true << QList<long long> { 0, 5000, 24000, 29000, 48000, 50000 }
        << "Line1 holds low";
    QTest::newRow("width not below the period") << "buttonTrain" << 5.0 << 3 << false << QList<long long>()
                                                << "A pulse train needs a width shorter than its period";
    // clang-format on
}

void tst_SimulatorPanel::pulses()
{
    QFETCH(QString, button);
    QFETCH(double, periodMs);
    QFETCH(int, count);
    QFETCH(bool, stop);
    QFETCH(QList<long long>, edges);
    QFETCH(QString, message);

    m_Camera->timing().useSteppedClock();
    QSignalSpy messages(m_Panel, SIGNAL(message(QString)));
    child<QComboBox>("comboLine")->setCurrentText("Line1");
    child<QDoubleSpinBox>("spinWidth")->setValue(5.0);
    child<QDoubleSpinBox>("spinPeriod")->setValue(periodMs);
    child<QSpinBox>("spinCount")->setValue(count);
    child<QPushButton>(button.toLatin1().constData())->click();
    if (stop) {
        m_Camera->timing().advance(50000);
        child<QPushButton>("buttonStop")->click();
    }
    m_Camera->timing().advance(200000);

    QList<long long> changes;
    for (const TKN::OrvAPI::SignalEvent &event : m_Camera->timing().events()) {
        if (event.kind == TKN::OrvAPI::SignalEvent::LineLevel && event.source == "Line1")
            changes << event.time;
    }
    QCOMPARE(changes, edges);
    QCOMPARE(m_Camera->valueOf("LineStatus", "Line1"), std::string("false"));
    QCOMPARE(messages.last().at(0).toString(), message);
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
    for (const char *value : {"true", "Sometimes"}) {
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
