// The feature-change dispatch: which refreshes a list of changed names runs,
// in which order, that a refresh writes nothing back, the rebuild of the
// output rows, and camera-side changes reaching a shown page.
#include <iotriggerwidget.h>

#include "cameravariant.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// Features whose first read tells which refresh ran.
const QStringList s_Markers { "TriggerSource", "TriggerSelector", "LineSource", "LineInverter", "LineStatus",
    "UserOutputSelector" };

// Marker features in the order the page first read them (values or entries).
QStringList firstReads(const OrvSim::Camera &camera)
{
    QStringList order;
    for (const OrvSim::JournalEntry &entry : camera.journal()) {
        if (entry.fromNotificationThread)
            continue;
        if (entry.operation != OrvSim::Operation::GetValue && entry.operation != OrvSim::Operation::GetValues)
            continue;
        const QString feature = QString::fromStdString(entry.feature);
        if (s_Markers.contains(feature) && !order.contains(feature))
            order << feature;
    }
    return order;
}

bool isSelector(const QString &write)
{
    return write.startsWith("LineSelector=") || write.startsWith("UserOutputSelector=")
        || write.startsWith("SyncOutSelector=");
}

} // namespace

class tst_Dispatch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rowsRunInTableOrderOnce_data();
    void rowsRunInTableOrderOnce();
    void lineModeRebuildsRows();
    void rebuildReplacesLevelsRow();
    void lineModeWithoutSelectableOutputsChangesNothing();
    void cameraChangeShownWhileVisible_data();
    void cameraChangeShownWhileVisible();
    void hiddenPageWaitsForNextShow();
    void idlePageSettles_data();
    void idlePageSettles();

private:
    void open(const std::shared_ptr<OrvSim::Camera> &camera);
    void refresh(const QStringList &changed);
    QSharedPointer<OutputLine> row(int i) const { return m_Page->m_OutputLines.at(i); }

    std::shared_ptr<OrvSim::Camera> m_Camera;
    std::unique_ptr<IOTriggerWidget> m_Page;
};

void tst_Dispatch::init()
{
    open(TestCamera::load("exposure-mode.json"));
}

void tst_Dispatch::cleanup()
{
    m_Page.reset();
    m_Camera.reset();
}

void tst_Dispatch::open(const std::shared_ptr<OrvSim::Camera> &camera)
{
    m_Page.reset();
    m_Camera = camera;
    m_Page.reset(new IOTriggerWidget(TestCamera::featureList(*m_Camera), nullptr));
    OrvSim::Camera::waitForNotifications();
    QCoreApplication::processEvents();
    m_Camera->clearJournal();
}

void tst_Dispatch::refresh(const QStringList &changed)
{
    *m_Page->ChangedFeatureList = changed;
    m_Page->RefreshChangedFeatures();
}

void tst_Dispatch::rowsRunInTableOrderOnce_data()
{
    QTest::addColumn<QStringList>("changed");
    QTest::addColumn<QStringList>("reads");
    QTest::addColumn<int>("lineSelectorWrites");

    // exposure-mode.json has two output lines: one walk writes the selector three times.
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
    QTest::newRow("other letter case")
        << QStringList { "linesource", "LINEINVERTER", "lineStatus" } << QStringList() << 0;
}

void tst_Dispatch::rowsRunInTableOrderOnce()
{
    QFETCH(QStringList, changed);
    QFETCH(QStringList, reads);
    QFETCH(int, lineSelectorWrites);

    m_Camera->setFromCamera("LineSelector", "Line1");
    m_Camera->clearJournal();

    refresh(changed);

    QCOMPARE(firstReads(*m_Camera), reads);
    const QStringList writes = TestCamera::writes(*m_Camera);
    QCOMPARE(writes.filter(QRegularExpression("^LineSelector=")).size(), lineSelectorWrites);
    if (lineSelectorWrites > 0)
        QCOMPARE(writes.last(), QString("LineSelector=Line1"));
    // A refresh moves selectors to read; it never writes a control's value back.
    for (const QString &write : writes)
        QVERIFY2(isSelector(write), qPrintable(write));
    if (reads.isEmpty())
        QVERIFY(m_Camera->journal().empty());
}

void tst_Dispatch::lineModeRebuildsRows()
{
    QCOMPARE(m_Page->m_OutputLineNames, (QStringList { "Line2", "Line3" }));
    const QPointer<QComboBox> oldSource = row(0)->ComboSource.data();
    const QPointer<QWidget> oldLabel = m_Page->m_OutputWidgets.at(0);
    const int before = m_Page->grid_Output->count();

    m_Camera->setFromCamera("LineMode", "Output", "Line4");
    m_Camera->clearJournal();
    refresh({ "LineMode" });

    QCOMPARE(m_Page->m_OutputLineNames, (QStringList { "Line2", "Line3", "Line4" }));
    QCOMPARE(m_Page->m_OutputLines.size(), 3);
    QCOMPARE(m_Page->m_OutputWidgets.size(), 3);
    QVERIFY(oldSource.isNull());
    QVERIFY(oldLabel.isNull());
    // Five header labels, then a name and five controls per row; nothing stale.
    QCOMPARE(before, 5 + 2 * 6);
    QCOMPARE(m_Page->grid_Output->count(), 5 + 3 * 6);
    QLayoutItem *label = m_Page->grid_Output->itemAtPosition(3, 0);
    QVERIFY(label);
    QCOMPARE(static_cast<QLabel *>(label->widget())->text(), QString("Line4: "));
    QCOMPARE(m_Page->grid_Output->itemAtPosition(3, 1)->widget(), row(2)->ComboSource.data());
    QCOMPARE(row(2)->ComboSource->currentText(), QString("Off"));
    QCOMPARE(row(2)->ComboSource->maximumWidth(), QWIDGETSIZE_MAX);
    QCOMPARE(m_Page->gb_Output->maximumHeight(), 35 * 3 + 50);
    QCOMPARE(
        static_cast<QComboBox *>(m_Page->m_SelectableOutputWidgets.at(0))->currentText(), QString("Output"));

    const QStringList writes = TestCamera::writes(*m_Camera);
    QVERIFY2(writes.filter("LineMode").isEmpty(), qPrintable(writes.join(", ")));
    QCOMPARE(m_Camera->valueOf("LineMode", "Line4"), std::string("Output"));

    // The new rows are live: the new line's box writes the new line.
    m_Camera->clearJournal();
    row(2)->ComboSource->setCurrentText("Direct");
    QCOMPARE(m_Camera->valueOf("LineSource", "Line4"), std::string("Direct"));
}

void tst_Dispatch::rebuildReplacesLevelsRow()
{
    open(CameraVariant::load("exposure-mode.json",
        { QJsonObject { { "name", "LineOutLevels" }, { "type", "Integer" }, { "value", 2 }, { "min", 0 },
            { "max", 63 }, { "inc", 1 } } }));
    const QPointer<QLineEdit> oldField = m_Page->m_pEditOutLine;
    QVERIFY(oldField);

    m_Camera->setFromCamera("LineMode", "Output", "Line5");
    refresh({ "LineMode" });
    refresh({ "LineMode" });

    QVERIFY(oldField.isNull());
    QCOMPARE(m_Page->gb_Output->findChildren<QLineEdit *>().size(), 1);
    QCOMPARE(
        m_Page->gb_Output->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly).size(), 5 + 3 + 1);
    QCOMPARE(m_Page->grid_Output->itemAtPosition(4, 3)->widget(), m_Page->m_pEditOutLine);
    QCOMPARE(m_Page->grid_Output->itemAtPosition(4, 0)->widget(), m_Page->m_pLabelOutLine);
    QCOMPARE(m_Page->m_pEditOutLine->text(), QString("2"));
}

void tst_Dispatch::lineModeWithoutSelectableOutputsChangesNothing()
{
    open(TestCamera::load("syncout.json"));
    QVERIFY(m_Page->m_SelectableOutputWidgets.isEmpty());
    const QComboBox *source = row(0)->ComboSource.data();

    refresh({ "LineMode" });

    QCOMPARE(row(0)->ComboSource.data(), source);
    QVERIFY(m_Camera->journal().empty());
}

void tst_Dispatch::cameraChangeShownWhileVisible_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("rowIndex");
    QTest::addColumn<QString>("control");

    QTest::newRow("inversion of the second line") << "LineInverter"
                                                  << "true"
                                                  << "Line3" << 1 << "invert";
    QTest::newRow("level of the first line") << "LineStatus"
                                             << "true"
                                             << "Line2" << 0 << "status";
    QTest::newRow("value of a user output") << "UserOutputValue"
                                            << "true"
                                            << "UserOutput1" << 0 << "user";
    QTest::newRow("source of the second line") << "LineSource"
                                               << "ExposureActive"
                                               << "Line3" << 1 << "source";
}

void tst_Dispatch::cameraChangeShownWhileVisible()
{
    QFETCH(QString, feature);
    QFETCH(QString, value);
    QFETCH(QString, entry);
    QFETCH(int, rowIndex);
    QFETCH(QString, control);

    const auto shown = [&]() -> bool {
        const QSharedPointer<OutputLine> line = row(rowIndex);
        if (control == "invert")
            return line->CBInvert->isChecked();
        if (control == "status")
            return line->CBStatus->isChecked();
        if (control == "user")
            return line->CBUserValue->isChecked();
        return line->ComboSource->currentText() == value;
    };

    m_Page->show();
    QVERIFY(!shown());
    QCOMPARE(m_Camera->setFromCamera(feature.toStdString(), value.toStdString(), entry.toStdString()), 0);
    QTRY_VERIFY_WITH_TIMEOUT(shown(), 1500);
}

void tst_Dispatch::hiddenPageWaitsForNextShow()
{
    m_Page->show();
    m_Page->hide();
    QVERIFY(!m_Page->RefreshTimer->isActive());

    m_Camera->setFromCamera("LineInverter", "true", "Line3");
    OrvSim::Camera::waitForNotifications();
    QCoreApplication::processEvents();
    QVERIFY(!m_Page->RefreshTimer->isActive());
    QVERIFY(!row(1)->CBInvert->isChecked());

    // Showing refreshes everything at once.
    m_Page->show();
    QVERIFY(row(1)->CBInvert->isChecked());
}

void tst_Dispatch::idlePageSettles_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("line selector camera with selectable outputs") << "exposure-mode.json";
    QTest::newRow("line routing camera") << "line-routing.json";
    QTest::newRow("sync out camera") << "syncout.json";
}

// The page's own refresh writes (line selector walks) happen while its
// observer is unregistered; if they were reported back, every tick would
// queue them again and the page would rewrite the camera once a second.
void tst_Dispatch::idlePageSettles()
{
    QFETCH(QString, file);
    open(TestCamera::load(file.toLatin1().constData()));
    m_Page->show();
    // The show's full refresh, then the first tick that processes it again.
    QTest::qWait(1300);
    OrvSim::Camera::waitForNotifications();
    QCoreApplication::processEvents();
    m_Camera->clearJournal();

    QTest::qWait(2200);
    QCOMPARE(TestCamera::writes(*m_Camera), QStringList());
}

QTEST_MAIN(tst_Dispatch)
#include "tst_dispatch.moc"
