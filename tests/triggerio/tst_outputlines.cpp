// The output rows: which lines become rows, what their slots write to the
// camera (in order, on the right line) and the selectable outputs' refresh.
#include <iotriggerwidget.h>

#include "cameravariant.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QtTest>

#include <memory>

namespace {

QJsonObject patch(const char *name, const QJsonObject &keys)
{
    QJsonObject result = keys;
    result.insert("name", name);
    return result;
}

QJsonArray list(const QStringList &texts)
{
    return QJsonArray::fromStringList(texts);
}

// exposure-mode.json with the given lines set to output (all others input)
// and their sources; the line selector offers lineCount lines.
QJsonArray lineOutputs(int lineCount, const QJsonObject &modes, const QJsonObject &sources)
{
    return QJsonArray {
        patch("LineSelector", { { "entries", list(CameraVariant::numbered("Line", 0, lineCount)) } }),
        patch("LineMode", { { "values", modes } }),
        patch("LineSource", { { "values", sources } }),
    };
}

} // namespace

class tst_OutputLines : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void findsOutputLines_data();
    void findsOutputLines();
    void invertWritesEveryLineFromItsBox_data();
    void invertWritesEveryLineFromItsBox();
    void statusWritesLevels_data();
    void statusWritesLevels();
    void levelBitsPastMaskWidthReadLow();
    void userValueReachesItsUserOutput_data();
    void userValueReachesItsUserOutput();
    void rowsSharingUserOutputGetSameValue();
    void userOutputMissingFromSelectorWritesNothing();
    void sourceChoiceWritesEveryLineShowingIt();
    void selectableRefreshWritesNoLineMode();

private:
    void open(const std::shared_ptr<OrvSim::Camera> &camera);
    QSharedPointer<OutputLine> row(int i) const { return m_Page->m_OutputLines.at(i); }

    std::shared_ptr<OrvSim::Camera> m_Camera;
    std::unique_ptr<IOTriggerWidget> m_Page;
};

void tst_OutputLines::init()
{
    m_Page.reset();
    m_Camera.reset();
}

void tst_OutputLines::cleanup()
{
    m_Page.reset();
    m_Camera.reset();
}

void tst_OutputLines::open(const std::shared_ptr<OrvSim::Camera> &camera)
{
    m_Camera = camera;
    m_Page.reset(new IOTriggerWidget(TestCamera::featureList(*m_Camera), nullptr));
    m_Camera->clearJournal();
}

void tst_OutputLines::findsOutputLines_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QJsonArray>("patches");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QList<bool>>("statusEnabled");
    QTest::addColumn<int>("height");

    QTest::newRow("line selector: lines whose mode is output")
        << "exposure-mode.json" << QJsonArray() << QStringList { "Line2", "Line3" }
        << QStringList { "UserOutput1", "Direct" } << QList<bool> { false, true } << 35 * 2 + 50;
    QTest::newRow("line selector: a line switched to output before opening")
        << "exposure-mode.json"
        << lineOutputs(6, { { "Line2", "Output" }, { "Line5", "Output" } },
               { { "Line2", "Direct" }, { "Line5", "ExposureActive" } })
        << QStringList { "Line2", "Line5" } << QStringList { "Direct", "ExposureActive" }
        << QList<bool> { true, false } << 35 * 2 + 50;
    QTest::newRow("line selector: all lines inputs") << "exposure-mode.json" << lineOutputs(6, {}, {})
                                                     << QStringList() << QStringList() << QList<bool>() << 50;
    QTest::newRow("sync out selector: every entry, levels row")
        << "syncout.json" << QJsonArray() << QStringList { "SyncOut1", "SyncOut2", "SyncOut3", "SyncOut4" }
        << QStringList { "Exposing", "FrameTriggerReady", "GPO", "GPO" }
        << QList<bool> { false, false, true, true } << 35 * 4 + 85;
    QTest::newRow("line out selector: every entry, levels row")
        << "lineout.json" << QJsonArray() << QStringList { "LineOut1", "LineOut2", "LineOut3" }
        << QStringList { "Exposing", "GPO", "GPO" } << QList<bool> { false, true, true } << 35 * 3 + 85;
}

void tst_OutputLines::findsOutputLines()
{
    QFETCH(QString, file);
    QFETCH(QJsonArray, patches);
    QFETCH(QStringList, names);
    QFETCH(QStringList, sources);
    QFETCH(QList<bool>, statusEnabled);
    QFETCH(int, height);

    open(CameraVariant::load(file.toLatin1().constData(), patches));

    QCOMPARE(m_Page->m_OutputLineNames, names);
    QCOMPARE(m_Page->m_OutputLines.size(), names.size());
    QCOMPARE(m_Page->gb_Output->minimumHeight(), height);
    QCOMPARE(m_Page->gb_Output->maximumHeight(), height);
    for (int i = 0; i < names.size(); ++i) {
        QLayoutItem *label = m_Page->grid_Output->itemAtPosition(i + 1, 0);
        QVERIFY(label && qobject_cast<QLabel *>(label->widget()));
        QCOMPARE(static_cast<QLabel *>(label->widget())->text(), names.at(i) + ": ");
        // Each source was read with its own line selected.
        QCOMPARE(row(i)->ComboSource->currentText(), sources.at(i));
        QCOMPARE(row(i)->CBStatus->isEnabled(), statusEnabled.at(i));
    }
    const bool levels = file != "exposure-mode.json";
    QCOMPARE(m_Page->m_pEditOutLine != nullptr, levels);
    if (levels)
        QCOMPARE(m_Page->grid_Output->itemAtPosition(names.size() + 1, 3)->widget(), m_Page->m_pEditOutLine);
}

void tst_OutputLines::invertWritesEveryLineFromItsBox_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QJsonArray>("patches");
    QTest::addColumn<QStringList>("expected");

    // Rows 1 and 3 are checked beforehand; the user then checks row 2.
    const QJsonObject fourOutputs { { "Line2", "Output" }, { "Line3", "Output" }, { "Line4", "Output" },
        { "Line5", "Output" } };
    QTest::newRow("line selector: four lines, selector restored once")
        << "exposure-mode.json" << lineOutputs(6, fourOutputs, {})
        << QStringList { "LineSelector=Line2", "LineInverter=true", "LineSelector=Line3", "LineInverter=true",
               "LineSelector=Line4", "LineInverter=true", "LineSelector=Line5", "LineInverter=false",
               "LineSelector=Line0",
               // the status refresh that follows walks the lines again
               "LineSelector=Line2", "LineSelector=Line3", "LineSelector=Line4", "LineSelector=Line5",
               "LineSelector=Line0" };
    QTest::newRow("sync out selector: polarity texts")
        << "syncout.json" << QJsonArray()
        << QStringList { "SyncOutSelector=SyncOut1", "SyncOutPolarity=Invert", "SyncOutSelector=SyncOut2",
               "SyncOutPolarity=Invert", "SyncOutSelector=SyncOut3", "SyncOutPolarity=Invert",
               "SyncOutSelector=SyncOut4", "SyncOutPolarity=Normal", "SyncOutSelector=SyncOut1" };
}

void tst_OutputLines::invertWritesEveryLineFromItsBox()
{
    QFETCH(QString, file);
    QFETCH(QJsonArray, patches);
    QFETCH(QStringList, expected);

    open(CameraVariant::load(file.toLatin1().constData(), patches));
    QCOMPARE(m_Page->m_OutputLines.size(), 4);
    {
        const QSignalBlocker first(row(0)->CBInvert.data());
        const QSignalBlocker third(row(2)->CBInvert.data());
        row(0)->CBInvert->setChecked(true);
        row(2)->CBInvert->setChecked(true);
        row(3)->CBInvert->setChecked(false);
    }
    row(1)->CBInvert->setChecked(true);

    QCOMPARE(TestCamera::writes(*m_Camera), expected);
}

void tst_OutputLines::statusWritesLevels_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QJsonArray>("patches");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("levelsText");

    // Row 1 is checked beforehand; the user then checks row 2.
    QTest::newRow("sync out: second on while first checked gives 3")
        << "syncout.json" << QJsonArray() << QStringList { "SyncOutLevels=3" } << "3";
    QTest::newRow("line out: same mask on the other naming")
        << "lineout.json" << QJsonArray() << QStringList { "LineOutLevels=3" } << "3";
    // Line2's status is read-only (its source is a user output), so only
    // Line3's level is written.
    QTest::newRow("line selector: each line's own status")
        << "exposure-mode.json" << QJsonArray()
        << QStringList { "LineSelector=Line2", "LineSelector=Line3", "LineStatus=true", "LineSelector=Line0" }
        << QString();
}

void tst_OutputLines::statusWritesLevels()
{
    QFETCH(QString, file);
    QFETCH(QJsonArray, patches);
    QFETCH(QStringList, expected);
    QFETCH(QString, levelsText);

    open(CameraVariant::load(file.toLatin1().constData(), patches));
    {
        const QSignalBlocker first(row(0)->CBStatus.data());
        row(0)->CBStatus->setChecked(true);
    }
    row(1)->CBStatus->setChecked(true);

    QCOMPARE(TestCamera::writes(*m_Camera), expected);
    QCOMPARE(m_Page->m_pEditOutLine ? m_Page->m_pEditOutLine->text() : QString(), levelsText);
}

// Bits past a mask's width must not wrap around onto the first lines.
void tst_OutputLines::levelBitsPastMaskWidthReadLow()
{
    const QStringList outputs = CameraVariant::numbered("SyncOut", 1, 66);
    open(CameraVariant::load("syncout.json",
        { patch("SyncOutSelector", { { "entries", list(outputs) } }),
            patch("SyncOutLevels", { { "value", 1 } }) }));
    QCOMPARE(m_Page->m_OutputLines.size(), 66);

    QVERIFY(row(0)->CBStatus->isChecked());
    for (int i = 1; i < 66; ++i)
        QVERIFY2(!row(i)->CBStatus->isChecked(), qPrintable(QString("row %1").arg(i)));

    {
        const QSignalBlocker first(row(0)->CBStatus.data());
        const QSignalBlocker beyond(row(32)->CBStatus.data());
        row(0)->CBStatus->setChecked(false);
        row(32)->CBStatus->setChecked(true);
    }
    row(1)->CBStatus->setChecked(true);
    QCOMPARE(TestCamera::writes(*m_Camera), QStringList { "SyncOutLevels=2" });
    QCOMPARE(m_Page->m_pEditOutLine->text(), QString("2"));
}

void tst_OutputLines::userValueReachesItsUserOutput_data()
{
    QTest::addColumn<int>("rowIndex");
    QTest::newRow("row 1") << 0;
    QTest::newRow("row 5, the last numbered slot") << 4;
    QTest::newRow("row 6") << 5;
    QTest::newRow("row 7") << 6;
}

void tst_OutputLines::userValueReachesItsUserOutput()
{
    QFETCH(int, rowIndex);

    // Seven output lines, line i driven by user output i + 1.
    QJsonObject modes, sources;
    for (int i = 0; i < 7; ++i) {
        modes.insert(QString("Line%1").arg(i), "Output");
        sources.insert(QString("Line%1").arg(i), QString("UserOutput%1").arg(i + 1));
    }
    const QStringList userOutputs = CameraVariant::numbered("UserOutput", 1, 7);
    QJsonArray patches = lineOutputs(7, modes, sources);
    patches << patch("LineSource", { { "entries", list(QStringList { "Off", "Direct" } + userOutputs) } })
            << patch("UserOutputSelector", { { "entries", list(userOutputs) } });
    open(CameraVariant::load("exposure-mode.json", patches));
    QCOMPARE(m_Page->m_OutputLines.size(), 7);

    const QString userOutput = QString("UserOutput%1").arg(rowIndex + 1);
    QCOMPARE(row(rowIndex)->ComboUserOutSel->currentText(), userOutput);
    QVERIFY(row(rowIndex)->CBUserValue->isEnabled());

    const std::string before = m_Camera->valueOf("UserOutputSelector");
    row(rowIndex)->CBUserValue->setChecked(true);

    const QStringList writes = TestCamera::writes(*m_Camera);
    QCOMPARE(writes.mid(0, 3),
        (QStringList { "UserOutputSelector=" + userOutput, "UserOutputValue=true",
            "UserOutputSelector=" + QString::fromStdString(before) }));
    QCOMPARE(m_Camera->valueOf("UserOutputValue", userOutput.toStdString()), std::string("true"));
    QCOMPARE(writes.filter("UserOutputValue=").size(), 1);
}

void tst_OutputLines::rowsSharingUserOutputGetSameValue()
{
    open(CameraVariant::load("exposure-mode.json",
        lineOutputs(6, { { "Line2", "Output" }, { "Line3", "Output" }, { "Line4", "Output" } },
            { { "Line2", "UserOutput1" }, { "Line3", "UserOutput2" }, { "Line4", "UserOutput1" } })));
    QCOMPARE(m_Page->m_OutputLines.size(), 3);
    m_Camera->setFromCamera("UserOutputSelector", "UserOutput3");
    m_Camera->clearJournal();

    row(2)->CBUserValue->setChecked(true);

    QCOMPARE(TestCamera::writes(*m_Camera).mid(0, 6),
        (QStringList { "UserOutputSelector=UserOutput1", "UserOutputValue=true",
            "UserOutputSelector=UserOutput3", "UserOutputSelector=UserOutput1", "UserOutputValue=true",
            "UserOutputSelector=UserOutput3" }));
    QVERIFY(row(0)->CBUserValue->isChecked());
    QVERIFY(!row(1)->CBUserValue->isChecked());
    QCOMPARE(m_Camera->valueOf("UserOutputValue", "UserOutput2"), std::string("false"));
}

// A source naming a user output the selector does not offer must not send the
// row's value to whichever user output happens to be listed first.
void tst_OutputLines::userOutputMissingFromSelectorWritesNothing()
{
    QJsonArray patches = lineOutputs(6, { { "Line2", "Output" } }, { { "Line2", "UserOutput4" } });
    patches << patch(
        "LineSource", { { "entries", list({ "Off", "Direct", "UserOutput1", "UserOutput4" }) } });
    open(CameraVariant::load("exposure-mode.json", patches));
    QCOMPARE(m_Page->m_OutputLines.size(), 1);
    QCOMPARE(row(0)->ComboSource->currentText(), QString("UserOutput4"));
    QCOMPARE(row(0)->ComboUserOutSel->currentIndex(), -1);

    row(0)->CBUserValue->setChecked(true);

    QCOMPARE(TestCamera::writes(*m_Camera).filter("UserOutputValue").size(), 0);
    QCOMPARE(m_Camera->valueOf("UserOutputValue", "UserOutput1"), std::string("false"));
}

void tst_OutputLines::sourceChoiceWritesEveryLineShowingIt()
{
    open(TestCamera::load("exposure-mode.json"));
    QCOMPARE(row(1)->ComboSource->currentText(), QString("Direct"));
    QVERIFY(!row(0)->CBStatus->isEnabled());

    row(0)->ComboSource->setCurrentText("Direct");

    QCOMPARE(TestCamera::writes(*m_Camera).mid(0, 5),
        (QStringList { "LineSelector=Line2", "LineSource=Direct", "LineSelector=Line3", "LineSource=Direct",
            "LineSelector=Line0" }));
    QCOMPARE(m_Camera->valueOf("LineSource", "Line2"), std::string("Direct"));
    QVERIFY(row(0)->CBStatus->isEnabled());
    QVERIFY(!row(0)->CBUserValue->isEnabled());
}

// A refresh of the direction boxes must not pass a line through another mode.
void tst_OutputLines::selectableRefreshWritesNoLineMode()
{
    open(TestCamera::load("exposure-mode.json"));
    QCOMPARE(m_Page->m_SelectableOutputNames, (QStringList { "Line4", "Line5" }));
    m_Camera->setFromCamera("LineSelector", "Line1");
    m_Camera->setFromCamera("LineMode", "Output", "Line5");
    m_Camera->clearJournal();

    m_Page->updateOptionalOut();

    QCOMPARE(TestCamera::writes(*m_Camera),
        (QStringList { "LineSelector=Line4", "LineSelector=Line5", "LineSelector=Line1" }));
    QCOMPARE(m_Camera->valueOf("LineMode", "Line4"), std::string("Input"));
    QCOMPARE(m_Camera->valueOf("LineMode", "Line5"), std::string("Output"));
    QCOMPARE(
        static_cast<QComboBox *>(m_Page->m_SelectableOutputWidgets.at(0))->currentText(), QString("Input"));
    QCOMPARE(
        static_cast<QComboBox *>(m_Page->m_SelectableOutputWidgets.at(1))->currentText(), QString("Output"));

    // The user's own choice still reaches the camera, for every line showing it.
    m_Camera->clearJournal();
    static_cast<QComboBox *>(m_Page->m_SelectableOutputWidgets.at(0))->setCurrentText("Output");
    QCOMPARE(TestCamera::writes(*m_Camera),
        (QStringList { "LineSelector=Line4", "LineMode=Output", "LineSelector=Line5", "LineMode=Output",
            "LineSelector=Line1" }));
    QCOMPARE(m_Camera->valueOf("LineMode", "Line4"), std::string("Output"));
}

QTEST_MAIN(tst_OutputLines)
#include "tst_outputlines.moc"
