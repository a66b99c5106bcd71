// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The feature-change dispatch: which refreshes a list of changed names runs,
// in which order, the rebuild of the output rows, and camera-side changes
// reaching a shown page.
#include "triggeriotest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QtTest>

namespace {

// Marker features in the order the page first read them: each tells which
// refresh ran.
QStringList firstReads(const OrvSim::Camera &camera)
{
    static const QStringList markers{"TriggerSource", "TriggerSelector", "LineSource",
                                     "LineInverter",  "LineStatus",      "UserOutputSelector"};
    QStringList order;
    for (const OrvSim::JournalEntry &entry : camera.journal()) {
        if (entry.fromNotificationThread
            || (entry.operation != OrvSim::Operation::GetValue && entry.operation != OrvSim::Operation::GetValues))
            continue;
        const QString feature = QString::fromStdString(entry.feature);
        if (markers.contains(feature) && !order.contains(feature))
            order << feature;
    }
    return order;
}

} // namespace

class tst_Dispatch : public QObject
{
    Q_OBJECT

private slots:
    void init() { open("exposure-mode.json"); }
    void cleanup() { m.reset(); }

    void rowsRunInTableOrderOnce_data();
    void rowsRunInTableOrderOnce();
    void lineModeRebuildsRows_data();
    void lineModeRebuildsRows();
    void lineModeWithoutSelectableOutputsChangesNothing();
    void cameraChangeShown_data();
    void cameraChangeShown();
    void idlePageSettles();

private:
    void open(const QString &camera)
    {
        m.open(camera);
        m.settle();
    }
    void refresh(const QStringList &changed)
    {
        *m.page->ChangedFeatureList = changed;
        m.page->RefreshChangedFeatures();
    }
    QSharedPointer<OutputLine> row(int i) const { return m.page->m_OutputLines.at(i); }

    PageUnderTest m;
};

void tst_Dispatch::rowsRunInTableOrderOnce_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("changed");
    QTest::addColumn<QStringList>("reads");
    QTest::addColumn<int>("lineSelectorWrites");

    // Two output lines: one walk writes the line selector three times.
    QTest::newRow("empty list") << QStringList() << QStringList() << 0;
    QTest::newRow("three names of one row, one listed twice")
        << QStringList { "LineSource", "LineOutSource", "SyncOutSource", "LineSource" }
        << QStringList { "LineSource", "UserOutputSelector" } << 3;
    QTest::newRow("table order, not list order")
        << QStringList { "LineInverter", "LineSource" }
        << QStringList { "LineSource", "UserOutputSelector", "LineInverter" } << 6;
    QTest::newRow("status, then inversion")
        << QStringList { "LineStatus" } << QStringList { "LineStatus", "LineInverter" } << 6;
    QTest::newRow("trigger source before selector")
        << QStringList { "TriggerSelector", "TriggerSource" }
        << QStringList { "TriggerSource", "TriggerSelector" } << 0;
    QTest::newRow("observed user output name")
        << QStringList { "UserOutSelector" } << QStringList { "UserOutputSelector" } << 0;
    QTest::newRow("camera's user output name is not a row")
        << QStringList { "UserOutputSelector" } << QStringList() << 0;
    QTest::newRow("other letter case") << QStringList { "linesource", "LINEINVERTER" } << QStringList() << 0;
    // clang-format on
}

void tst_Dispatch::rowsRunInTableOrderOnce()
{
    QFETCH(QStringList, changed);
    QFETCH(QStringList, reads);
    QFETCH(int, lineSelectorWrites);

    m.camera->setFromCamera("LineSelector", "Line1");
    m.settle(); // its delivery must not land in the journal checked below
    refresh(changed);

    QCOMPARE(firstReads(*m.camera), reads);
    const QStringList writes = m.writes();
    QCOMPARE(writes.filter(QRegularExpression("^LineSelector=")).size(), lineSelectorWrites);
    if (lineSelectorWrites > 0)
        QCOMPARE(writes.last(), QString("LineSelector=Line1"));
    // A refresh moves selectors to read; it never writes a control's value back.
    for (const QString &write : writes)
        QVERIFY2(write.section('=', 0, 0).endsWith("Selector"), qPrintable(write));
    if (reads.isEmpty())
        QVERIFY(m.camera->journal().empty());
}

void tst_Dispatch::lineModeRebuildsRows_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<bool>("levels");
    QTest::newRow("user outputs") << "exposure-mode.json" << false;
    QTest::newRow("user outputs and a levels row")
        << R"(exposure-mode.json [{"name": "LineOutLevels", "type": "Integer", "value": 2, "min": 0, "max": 63}])"
        << true;
    // clang-format on
}

// Line4 is switched to output on the camera; the rows are built again, twice
// over, leaving nothing stale behind.
void tst_Dispatch::lineModeRebuildsRows()
{
    QFETCH(QString, camera);
    QFETCH(bool, levels);

    open(camera);
    const QPointer<QComboBox> oldSource = row(0)->ComboSource.data();
    const QPointer<QWidget> oldLabel = m.page->m_OutputWidgets.at(0);
    const QPointer<QLineEdit> oldLevels = m.page->m_pEditOutLine;

    m.camera->setFromCamera("LineMode", "Output", "Line4");
    m.camera->clearJournal();
    refresh({"LineMode"});
    refresh({"LineMode"});

    QCOMPARE(m.page->m_OutputLineNames, (QStringList{"Line2", "Line3", "Line4"}));
    QVERIFY(oldSource.isNull() && oldLabel.isNull() && oldLevels.isNull());
    // Five header labels, a name and five controls per row, the levels label and field.
    QCOMPARE(m.page->grid_Output->count(), 5 + 3 * 6 + (levels ? 2 : 0));
    QCOMPARE(m.page->gb_Output->findChildren<QLineEdit *>().size(), levels ? 1 : 0);
    if (levels)
        QCOMPARE(m.page->m_pEditOutLine->text(), QString("2"));
    QVERIFY(outputGroupFits(m.page->gb_Output, 3, levels));
    QCOMPARE(qobject_cast<QComboBox *>(m.page->m_SelectableOutputWidgets.at(0))->currentText(), QString("Output"));
    QVERIFY2(m.writes().filter("LineMode").isEmpty(), qPrintable(m.writes().join(", ")));

    // The new row is live and writes its own line.
    row(2)->ComboSource->setCurrentText("Direct");
    QCOMPARE(m.value("LineSource", "Line4"), QString("Direct"));
}

void tst_Dispatch::lineModeWithoutSelectableOutputsChangesNothing()
{
    open("syncout.json");
    const QComboBox *source = row(0)->ComboSource.data();
    refresh({"LineMode"});
    QCOMPARE(row(0)->ComboSource.data(), source);
    QVERIFY(m.camera->journal().empty());
}

void tst_Dispatch::cameraChangeShown_data()
{
    // clang-format off
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("rowIndex");
    QTest::addColumn<bool>("hidden");

    QTest::newRow("inversion of the second line") << "LineInverter[Line3]=true" << 1 << false;
    QTest::newRow("value of a user output") << "UserOutputValue[UserOutput1]=true" << 0 << false;
    QTest::newRow("source of the second line") << "LineSource[Line3]=ExposureActive" << 1 << false;
    // A hidden page waits for its next show, which refreshes everything at once.
    QTest::newRow("hidden page") << "LineInverter[Line3]=true" << 1 << true;
    // clang-format on
}

void tst_Dispatch::cameraChangeShown()
{
    QFETCH(QString, change);
    QFETCH(int, rowIndex);
    QFETCH(bool, hidden);
    const QString feature = change.section('[', 0, 0), value = change.section('=', 1);
    const QString entry = change.section('[', 1).section(']', 0, 0);

    // Read afresh: showing rebuilds the rows.
    const auto shown = [&] {
        const QSharedPointer<OutputLine> line = row(rowIndex);
        if (feature == "LineInverter")
            return line->CBInvert->isChecked();
        if (feature == "UserOutputValue")
            return line->CBUserValue->isChecked();
        return line->ComboSource->currentText() == value;
    };

    m.page->show();
    if (hidden)
        m.page->hide();
    QVERIFY(!shown());
    QCOMPARE(m.camera->setFromCamera(feature.toStdString(), value.toStdString(), entry.toStdString()), 0);
    if (!hidden) {
        QTRY_VERIFY_WITH_TIMEOUT(shown(), 1500);
        return;
    }
    m.settle();
    QVERIFY(!m.page->RefreshTimer->isActive());
    QVERIFY(!shown());
    m.page->show();
    QVERIFY(shown());
}

// The page's own refresh walks happen while its observer is unregistered; if
// they were reported back, every tick would queue them again and the page
// would rewrite the camera once a second.
void tst_Dispatch::idlePageSettles()
{
    m.page->show();
    // The show's full refresh, then the first tick that processes it again.
    QTest::qWait(1300);
    m.settle();
    QTest::qWait(2200);
    QCOMPARE(m.writes(), QStringList());
}

QTEST_MAIN(tst_Dispatch)
#include "tst_dispatch.moc"
