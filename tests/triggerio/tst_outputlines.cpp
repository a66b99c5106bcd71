// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The output rows: which lines become rows, what their slots write to the
// camera (in order, on the right line) and the selectable outputs' refresh.
#include "triggeriotest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QtTest>

namespace {

// Lines Line0..Line6, all outputs, line i driven by user output i + 1.
const char SevenUserOutputs[] = R"(exposure-mode.json [
    {"name": "LineSelector", "entries": ["Line0", "Line1", "Line2", "Line3", "Line4", "Line5", "Line6"]},
    {"name": "LineMode", "value": "Output", "values": {}},
    {"name": "LineSource", "entries": ["Off", "Direct", "UserOutput1", "UserOutput2", "UserOutput3",
        "UserOutput4", "UserOutput5", "UserOutput6", "UserOutput7"],
     "values": {"Line0": "UserOutput1", "Line1": "UserOutput2", "Line2": "UserOutput3", "Line3": "UserOutput4",
        "Line4": "UserOutput5", "Line5": "UserOutput6", "Line6": "UserOutput7"}},
    {"name": "UserOutputSelector", "entries": ["UserOutput1", "UserOutput2", "UserOutput3", "UserOutput4",
        "UserOutput5", "UserOutput6", "UserOutput7"]}])";

} // namespace

class tst_OutputLines : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m.reset(); }

    void findsOutputLines_data();
    void findsOutputLines();
    void checkBoxWrites_data();
    void checkBoxWrites();
    void levelBitsPastMaskWidthReadLow();
    void userValueWrites_data();
    void userValueWrites();
    void sourceChoiceWritesEveryLineShowingIt();
    void selectableRefreshWritesNoLineMode();

private:
    void open(const QString &camera)
    {
        m.open(camera);
        m.camera->clearJournal();
    }
    QSharedPointer<OutputLine> row(int i) const { return m.page->m_OutputLines.at(i); }
    QComboBox *selectable(int i) const { return qobject_cast<QComboBox *>(m.page->m_SelectableOutputWidgets.at(i)); }

    PageUnderTest m;
};

void tst_OutputLines::findsOutputLines_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QStringList>("names");
    // Each row's source, read with its own line selected, and whether its status box is enabled.
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QList<bool>>("statusEnabled");
    // 0: the selectable output group is hidden.
    QTest::addColumn<int>("selectableHeight");

    QTest::newRow("line selector: lines whose mode is output")
        << "exposure-mode.json" << QStringList { "Line2", "Line3" } << QStringList { "UserOutput1", "Direct" }
        << QList<bool> { false, true } << 55 * 2;
    QTest::newRow("line selector: a line switched to output before opening")
        << "exposure-mode.json "
           R"([{"name": "LineMode", "values": {"Line2": "Output", "Line5": "Output"}},
               {"name": "LineSource", "values": {"Line2": "Direct", "Line5": "ExposureActive"}}])"
        << QStringList { "Line2", "Line5" } << QStringList { "Direct", "ExposureActive" }
        << QList<bool> { true, false } << 55 * 2;
    QTest::newRow("line selector: all lines inputs")
        << R"(exposure-mode.json [{"name": "LineMode", "values": {}}])" << QStringList() << QStringList()
        << QList<bool>() << 55 * 2;
    QTest::newRow("sync out selector: every entry, levels row")
        << "syncout.json" << QStringList { "SyncOut1", "SyncOut2", "SyncOut3", "SyncOut4" }
        << QStringList { "Exposing", "FrameTriggerReady", "GPO", "GPO" }
        << QList<bool> { false, false, true, true } << 0;
    QTest::newRow("line out selector: every entry, levels row")
        << "lineout.json" << QStringList { "LineOut1", "LineOut2", "LineOut3" }
        << QStringList { "Exposing", "GPO", "GPO" } << QList<bool> { false, true, true } << 0;
    // clang-format on
}

void tst_OutputLines::findsOutputLines()
{
    QFETCH(QString, camera);
    QFETCH(QStringList, names);
    QFETCH(QStringList, sources);
    QFETCH(QList<bool>, statusEnabled);
    QFETCH(int, selectableHeight);

    open(camera);
    QCOMPARE(m.page->m_OutputLineNames, names);
    QCOMPARE(m.page->m_OutputLines.size(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        QComboBox *source = row(i)->ComboSource.data();
        QCOMPARE(source->currentText(), sources.at(i));
        QCOMPARE(row(i)->CBStatus->isEnabled(), statusEnabled.at(i));
        // Its longest entry shows whole, and the box is no wider.
        int longest = 0;
        for (int item = 0; item < source->count(); ++item)
            longest = qMax(longest, source->fontMetrics().horizontalAdvance(source->itemText(item)));
        QVERIFY(source->maximumWidth() > longest);
        QCOMPARE(source->maximumWidth(), source->sizeHint().width());
    }
    const bool levels = !camera.startsWith("exposure-mode.json");
    QCOMPARE(m.page->m_pEditOutLine != nullptr, levels);
    QVERIFY(outputGroupFits(m.page->gb_Output, names.size(), levels));
    QCOMPARE(m.page->gb_SelectOutput->isHidden(), selectableHeight == 0);
    if (selectableHeight > 0)
        QCOMPARE(m.page->gb_SelectOutput->maximumHeight(), selectableHeight);
}

void tst_OutputLines::checkBoxWrites_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<bool>("invert");
    // Rows checked beforehand (signals blocked); the user then checks row 2.
    QTest::addColumn<QList<int>>("checkedBefore");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("levelsText");

    // The box that changed is not known: every line is written from its own
    // box, and the line selector is put back once.
    QTest::newRow("invert, line selector: four lines")
        << "exposure-mode.json "
           R"([{"name": "LineMode", "values": {"Line2": "Output", "Line3": "Output", "Line4": "Output",
                                               "Line5": "Output"}}])"
        << true << QList<int> { 0, 2 }
        << QStringList { "LineSelector=Line2", "LineInverter=true", "LineSelector=Line3", "LineInverter=true",
               "LineSelector=Line4", "LineInverter=true", "LineSelector=Line5", "LineInverter=false",
               "LineSelector=Line0",
               // the status refresh that follows walks the lines again
               "LineSelector=Line2", "LineSelector=Line3", "LineSelector=Line4", "LineSelector=Line5",
               "LineSelector=Line0" }
        << "";
    QTest::newRow("invert, sync out selector: polarity texts")
        << "syncout.json" << true << QList<int> { 0, 2 }
        << QStringList { "SyncOutSelector=SyncOut1", "SyncOutPolarity=Invert", "SyncOutSelector=SyncOut2",
               "SyncOutPolarity=Invert", "SyncOutSelector=SyncOut3", "SyncOutPolarity=Invert",
               "SyncOutSelector=SyncOut4", "SyncOutPolarity=Normal", "SyncOutSelector=SyncOut1" }
        << "0";
    QTest::newRow("status, sync out: one mask for all rows")
        << "syncout.json" << false << QList<int> { 0 } << QStringList { "SyncOutLevels=3" } << "3";
    QTest::newRow("status, line out: the same on the other naming")
        << "lineout.json" << false << QList<int> { 0 } << QStringList { "LineOutLevels=3" } << "3";
    // Line2's status is read-only (a user output drives it): only Line3's is written.
    QTest::newRow("status, line selector: each line's own")
        << "exposure-mode.json" << false << QList<int> { 0 }
        << QStringList { "LineSelector=Line2", "LineSelector=Line3", "LineStatus=true", "LineSelector=Line0" }
        << "";
    // clang-format on
}

void tst_OutputLines::checkBoxWrites()
{
    QFETCH(QString, camera);
    QFETCH(bool, invert);
    QFETCH(QList<int>, checkedBefore);
    QFETCH(QStringList, expected);
    QFETCH(QString, levelsText);

    open(camera);
    const auto box = [&](int i) { return invert ? row(i)->CBInvert.data() : row(i)->CBStatus.data(); };
    for (int i : checkedBefore) {
        const QSignalBlocker blocker(box(i));
        box(i)->setChecked(true);
    }
    box(1)->setChecked(true);
    QCOMPARE(m.writes(), expected);
    QCOMPARE(m.page->m_pEditOutLine ? m.page->m_pEditOutLine->text() : QString(), levelsText);
}

// Bits past a mask's width must not wrap around onto the first lines.
void tst_OutputLines::levelBitsPastMaskWidthReadLow()
{
    QStringList syncOuts;
    for (int i = 1; i <= 66; ++i)
        syncOuts << QString("SyncOut%1").arg(i);
    open(QStringLiteral(
             R"(syncout.json [{"name": "SyncOutSelector", "entries": ["%1"]}, {"name": "SyncOutLevels", "value": 1}])")
             .arg(syncOuts.join(R"(", ")")));
    QCOMPARE(m.page->m_OutputLines.size(), 66);
    QList<int> checked;
    for (int i = 0; i < 66; ++i) {
        if (row(i)->CBStatus->isChecked())
            checked << i;
    }
    QCOMPARE(checked, QList<int>{0});

    {
        const QSignalBlocker first(row(0)->CBStatus.data());
        const QSignalBlocker beyond(row(32)->CBStatus.data());
        row(0)->CBStatus->setChecked(false);
        row(32)->CBStatus->setChecked(true);
    }
    row(1)->CBStatus->setChecked(true);
    QCOMPARE(m.writes(), QStringList{"SyncOutLevels=2"});
}

void tst_OutputLines::userValueWrites_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<int>("rowIndex");
    // The user output writes, in order, and the rows showing the value afterwards.
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<int>>("checked");

    // Only five numbered slots exist: rows 6 and up have their own connection.
    for (int i : { 0, 4, 5, 6 }) {
        QTest::addRow("row %d", i + 1)
            << SevenUserOutputs << i
            << QStringList { "UserOutputSelector=UserOutput" + QString::number(i + 1), "UserOutputValue=true",
                   "UserOutputSelector=UserOutput1" }
            << QList<int> { i };
    }
    QTest::newRow("rows sharing a user output")
        << "exposure-mode.json "
           R"([{"name": "LineMode", "values": {"Line2": "Output", "Line3": "Output", "Line4": "Output"}},
               {"name": "LineSource", "values": {"Line2": "UserOutput1", "Line3": "UserOutput2",
                                                 "Line4": "UserOutput1"}},
               {"name": "UserOutputSelector", "value": "UserOutput3"}])"
        << 2
        << QStringList { "UserOutputSelector=UserOutput1", "UserOutputValue=true",
               "UserOutputSelector=UserOutput3", "UserOutputSelector=UserOutput1", "UserOutputValue=true",
               "UserOutputSelector=UserOutput3" }
        << QList<int> { 0, 2 };
    // Not to the first user output listed: no value at all, and the box
    // does not show one as if it had been written.
    QTest::newRow("user output missing from the selector")
        << "exposure-mode.json "
           R"([{"name": "LineMode", "values": {"Line2": "Output"}},
               {"name": "LineSource", "values": {"Line2": "UserOutput4"},
                "entries": ["Off", "Direct", "UserOutput1", "UserOutput4"]}])"
        << 0 << QStringList { "UserOutputSelector=UserOutput1" } << QList<int> {};
    // clang-format on
}

void tst_OutputLines::userValueWrites()
{
    QFETCH(QString, camera);
    QFETCH(int, rowIndex);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, checked);

    open(camera);
    row(rowIndex)->CBUserValue->setChecked(true);

    // An empty name is refused by the camera and left out.
    QCOMPARE(m.writes().filter(QRegularExpression("^UserOutput\\w+=.")), expected);
    QList<int> shown;
    for (int i = 0; i < m.page->m_OutputLines.size(); ++i) {
        if (row(i)->CBUserValue->isChecked())
            shown << i;
    }
    QCOMPARE(shown, checked);
}

void tst_OutputLines::sourceChoiceWritesEveryLineShowingIt()
{
    open("exposure-mode.json");
    row(0)->ComboSource->setCurrentText("Direct");

    QCOMPARE(m.writes().mid(0, 5), (QStringList{"LineSelector=Line2", "LineSource=Direct", "LineSelector=Line3",
                                                "LineSource=Direct", "LineSelector=Line0"}));
    QVERIFY(row(0)->CBStatus->isEnabled());
    QVERIFY(!row(0)->CBUserValue->isEnabled());
}

// A refresh of the direction boxes must not pass a line through another mode.
void tst_OutputLines::selectableRefreshWritesNoLineMode()
{
    open("exposure-mode.json");
    m.camera->setFromCamera("LineSelector", "Line1");
    m.camera->setFromCamera("LineMode", "Output", "Line5");
    m.camera->clearJournal();

    m.page->updateOptionalOut();
    QCOMPARE(m.writes(), (QStringList{"LineSelector=Line4", "LineSelector=Line5", "LineSelector=Line1"}));
    QCOMPARE(selectable(0)->currentText(), QString("Input"));
    QCOMPARE(selectable(1)->currentText(), QString("Output"));

    // The user's own choice is written to every line showing it.
    m.camera->clearJournal();
    selectable(0)->setCurrentText("Output");
    QCOMPARE(m.writes(), (QStringList{"LineSelector=Line4", "LineMode=Output", "LineSelector=Line5", "LineMode=Output",
                                      "LineSelector=Line1"}));
}

QTEST_MAIN(tst_OutputLines)
#include "tst_outputlines.moc"
