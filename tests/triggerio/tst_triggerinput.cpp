// The trigger input section: which controls a camera gets and what the
// camera receives when they change.
#include "triggeriotest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <climits>

class tst_TriggerInput : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m.reset(); }

    void optionalControls_data();
    void optionalControls();
    void constructionWritesOnlySelectors_data();
    void constructionWritesOnlySelectors();
    void routingLinesFixedAtConstruction();
    void triggerSelectorToggling_data();
    void triggerSelectorToggling();
    void lineRoutingWrites_data();
    void lineRoutingWrites();
    void loneSelectorEntryIsWritten_data();
    void loneSelectorEntryIsWritten();
    void frameCountSpinBox_data();
    void frameCountSpinBox();
    void frameCountAndSoftwareTriggerWrite();
    void softwareTriggerEnabled_data();
    void softwareTriggerEnabled();
    void exposureModeHintWhileAcquiring();

private:
    PageUnderTest m;
};

void tst_TriggerInput::optionalControls_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("patches");
    QTest::addColumn<bool>("routing");
    QTest::addColumn<QString>("exposureLabel");
    QTest::addColumn<int>("inputHeight");
    QTest::addColumn<bool>("levelEnabled");

    QTest::newRow("line routing") << "line-routing.json"
                                  << "[]" << true << "Exp. Mode:" << 470 << true;
    QTest::newRow("exposure auto wins over Timed") << "exposure-auto.json"
                                                   << "[]" << false << "Exp. Auto:" << 425 << true;
    QTest::newRow("exposure mode") << "exposure-mode.json"
                                   << "[]" << false << "Exp. Mode:" << 425 << true;
    QTest::newRow("no Other, no Timed: no exposure row")
        << "exposure-mode.json"
        << R"([{"name": "ExposureAuto", "type": "Enumeration", "entries": ["Off", "Continuous"]},
               {"name": "ExposureMode", "entries": ["TriggerWidth"], "value": "TriggerWidth"},
               {"name": "ExposureTime", "writable": true}])"
        << false << "" << 425 << true;
    QTest::newRow("Timed without TriggerWidth: no Level")
        << "exposure-mode.json"
        << R"([{"name": "ExposureMode", "entries": ["Timed"]}])" << false << "Exp. Mode:" << 425 << false;
    QTest::newRow("InputLines source without routing")
        << "exposure-mode.json"
        << R"([{"name": "TriggerSource", "entries": ["InputLines", "Software"], "value": "InputLines"}])"
        << false << "Exp. Mode:" << 470 << true;
}

void tst_TriggerInput::optionalControls()
{
    QFETCH(QString, file);
    QFETCH(QString, patches);
    QFETCH(bool, routing);
    QFETCH(QString, exposureLabel);
    QFETCH(int, inputHeight);
    QFETCH(bool, levelEnabled);

    IOTriggerWidget *page = m.open(file, patches);
    QCOMPARE(page->m_pComboInputLineSelector != nullptr, routing);
    QCOMPARE(page->m_pCBLineRouting != nullptr, routing);
    QCOMPARE(page->m_pGroupTrigger->minimumHeight(), routing ? 220 : 170);
    QCOMPARE(page->m_pGroupTrigger->maximumHeight(), routing ? 220 : 170);
    QCOMPARE(page->gb_TriggerInput->minimumHeight(), inputHeight);
    QCOMPARE(page->gb_TriggerInput->maximumHeight(), inputHeight);

    QVERIFY(!(page->m_pComboExposureAuto && page->m_pComboExposureMode));
    QComboBox *exposureBox
        = page->m_pComboExposureAuto ? page->m_pComboExposureAuto : page->m_pComboExposureMode;
    QLabel *caption = page->m_pLabelExposureAuto ? page->m_pLabelExposureAuto : page->m_pLabelExposureMode;
    QCOMPARE(caption ? caption->text() : QString(), exposureLabel);
    QCOMPARE(exposureBox != nullptr, !exposureLabel.isEmpty());
    if (exposureBox)
        QCOMPARE(exposureBox->parentWidget(), page->m_pGroupAcquisition);

    QVERIFY(page->m_pButtonEdge->isEnabled());
    QVERIFY(page->m_pButtonBulk->isEnabled());
    QCOMPARE(page->m_pButtonLevel->isEnabled(), levelEnabled);
}

void tst_TriggerInput::constructionWritesOnlySelectors_data()
{
    QTest::addColumn<QString>("file");
    for (const char *file :
        { "line-routing.json", "exposure-auto.json", "exposure-mode.json", "syncout.json", "lineout.json" })
        QTest::newRow(file) << file;
}

// Every box is filled before it is connected: building the page moves
// selectors to read per-line features and writes no value back.
void tst_TriggerInput::constructionWritesOnlySelectors()
{
    QFETCH(QString, file);
    m.open(file);
    for (const QString &write : m.writes())
        QVERIFY2(
            write.section(QLatin1Char('='), 0, 0).endsWith(QLatin1String("Selector")), qPrintable(write));
}

// The output lines found at construction stay out of the routing list,
// whatever their mode becomes later.
void tst_TriggerInput::routingLinesFixedAtConstruction()
{
    IOTriggerWidget *page = m.open(QStringLiteral("line-routing.json"));
    auto items = [page] {
        QStringList texts;
        for (int i = 0; i < page->m_pComboInputLineSelector->count(); ++i)
            texts << page->m_pComboInputLineSelector->itemText(i);
        return texts;
    };
    QCOMPARE(items(), (QStringList { "Line0", "Line1" }));
    QCOMPARE(m.value("LineSelector"), QStringLiteral("Line0"));

    QCOMPARE(m.camera->setFromCamera("LineMode", "Input", "Line2"), TKN::OrvAPI::OrvErrSuccess);
    page->blockAllSignals(true);
    page->updateInputLineSelector();
    page->blockAllSignals(false);
    QCOMPARE(items(), (QStringList { "Line0", "Line1" }));
}

void tst_TriggerInput::triggerSelectorToggling_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("modeOn");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("line routing, mode On")
        << "line-routing.json" << true
        << QStringList { "TriggerMode=Off", "TriggerSelector=AcquisitionStart", "TriggerMode=On" };
    QTest::newRow("line routing, mode Off")
        << "line-routing.json" << false << QStringList { "TriggerSelector=AcquisitionStart" };
    QTest::newRow("no line selector box, mode On")
        << "exposure-mode.json" << true << QStringList { "TriggerSelector=AcquisitionStart" };
}

void tst_TriggerInput::triggerSelectorToggling()
{
    QFETCH(QString, file);
    QFETCH(bool, modeOn);
    QFETCH(QStringList, expected);

    IOTriggerWidget *page = m.open(file);
    const QString before = page->m_pComboTriggerSelector->currentText();
    if (modeOn)
        page->m_pComboTriggerMode->setCurrentText(QStringLiteral("On"));
    m.camera->clearJournal();

    page->m_pComboTriggerSelector->setCurrentText(QStringLiteral("AcquisitionStart"));
    QCOMPARE(m.writes(), expected);
    if (expected.size() == 3) {
        QCOMPARE(m.value("TriggerMode", before), QStringLiteral("Off"));
        QCOMPARE(m.value("TriggerMode", "AcquisitionStart"), QStringLiteral("On"));
    }
}

void tst_TriggerInput::lineRoutingWrites_data()
{
    QTest::addColumn<bool>("routed");
    // A check state, or the input line to select.
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("checked") << false << "Checked" << QStringList { "LineRouting=Trigger" };
    QTest::newRow("partially checked")
        << false << "PartiallyChecked" << QStringList { "LineRouting=Trigger" };
    QTest::newRow("unchecked") << true << "Unchecked" << QStringList { "LineRouting=Off" };
    QTest::newRow("routed line changed: routing moves along")
        << true << "Line1" << QStringList { "LineRouting=Off", "LineSelector=Line1", "LineRouting=Trigger" };
    QTest::newRow("unrouted line changed") << false << "Line1" << QStringList { "LineSelector=Line1" };
}

void tst_TriggerInput::lineRoutingWrites()
{
    QFETCH(bool, routed);
    QFETCH(QString, action);
    QFETCH(QStringList, expected);

    IOTriggerWidget *page = m.open(QStringLiteral("line-routing.json"));
    page->m_pCBLineRouting->setChecked(routed);
    m.camera->clearJournal();

    if (action.startsWith(QLatin1String("Line")))
        page->m_pComboInputLineSelector->setCurrentText(action);
    else
        page->m_pCBLineRouting->setCheckState(action == "Checked" ? Qt::Checked
                : action == "Unchecked"                           ? Qt::Unchecked
                                                                  : Qt::PartiallyChecked);
    QCOMPARE(m.writes(), expected);
}

void tst_TriggerInput::loneSelectorEntryIsWritten_data()
{
    QTest::addColumn<QString>("entries");
    QTest::addColumn<QStringList>("selectorWrites");
    QTest::addColumn<QString>("shown");

    QTest::newRow("one entry left: written")
        << R"([{"entry": "AcquisitionStart", "available": false}, "FrameStart"])"
        << QStringList { "TriggerSelector=FrameStart" } << "FrameStart";
    QTest::newRow("two entries left: nothing written")
        << R"([{"entry": "AcquisitionStart", "available": false}, "FrameStart", "LineStart"])"
        << QStringList() << "";
}

void tst_TriggerInput::loneSelectorEntryIsWritten()
{
    QFETCH(QString, entries);
    QFETCH(QStringList, selectorWrites);
    QFETCH(QString, shown);

    IOTriggerWidget *page = m.open(QStringLiteral("exposure-mode.json"),
        QStringLiteral(R"([{"name": "TriggerSelector", "entries": %1, "value": "AcquisitionStart"}])")
            .arg(entries));
    QCOMPARE(m.writes().filter(QRegularExpression("^TriggerSelector=")), selectorWrites);
    QCOMPARE(page->m_pComboTriggerSelector->currentText(), shown);
}

void tst_TriggerInput::frameCountSpinBox_data()
{
    QTest::addColumn<QString>("patch");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QList<int>>("minMaxStepValue");

    QTest::newRow("fractions truncated")
        << R"("type": "Float", "value": 6.5, "min": 1.5, "max": 101.5, "inc": 2.5)" << true
        << QList<int> { 1, 101, 2, 6 };
    QTest::newRow("limit beyond int clamped")
        << R"("value": 3, "min": 1, "max": 4294967296, "inc": 1)" << true << QList<int> { 1, INT_MAX, 1, 3 };
    QTest::newRow("read-only: hidden")
        << R"("value": 2, "max": 9, "writable": false)" << false << QList<int> { 1, 9, 1, 2 };
    QTest::newRow("missing: hidden") << R"("remove": true)" << false << QList<int>();
}

void tst_TriggerInput::frameCountSpinBox()
{
    QFETCH(QString, patch);
    QFETCH(bool, visible);
    QFETCH(QList<int>, minMaxStepValue);

    IOTriggerWidget *page = m.open(QStringLiteral("exposure-mode.json"),
        QStringLiteral(R"([{"name": "AcquisitionFrameCount", %1}])").arg(patch));
    QSpinBox *spin = page->m_pSpinAcquisitionFrameCount;
    QCOMPARE(spin->isHidden(), !visible);
    QCOMPARE(page->m_pLabelFrameCount->isHidden(), !visible);
    if (!minMaxStepValue.isEmpty())
        QCOMPARE((QList<int> { spin->minimum(), spin->maximum(), spin->singleStep(), spin->value() }),
            minMaxStepValue);
}

void tst_TriggerInput::frameCountAndSoftwareTriggerWrite()
{
    IOTriggerWidget *page = m.open(QStringLiteral("exposure-auto.json"));
    m.camera->clearJournal();
    page->m_pSpinAcquisitionFrameCount->setValue(10);
    QCOMPARE(m.writes(), QStringList { "AcquisitionFrameCount=10" });

    page->m_pComboTriggerSource->setCurrentText(QStringLiteral("Software"));
    page->updateTriggerSource();
    const long long before = m.camera->commandCount("TriggerSoftware");
    page->m_pButtonSWTrigger->click();
    QCOMPARE(m.camera->commandCount("TriggerSoftware"), before + 1);
}

void tst_TriggerInput::softwareTriggerEnabled_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("Software") << "Software" << true;
    QTest::newRow("SoftwareSignal with digit") << "SoftwareSignal2" << true;
    QTest::newRow("SoftwareSignal inside") << "MySoftwareSignal" << true;
    QTest::newRow("lower case") << "softwaresignal1" << false;
    QTest::newRow("Software with suffix") << "Software2" << false;
    QTest::newRow("input line") << "Line1" << false;
}

void tst_TriggerInput::softwareTriggerEnabled()
{
    QFETCH(QString, source);
    QFETCH(bool, enabled);

    IOTriggerWidget *page = m.open(QStringLiteral("exposure-mode.json"),
        QStringLiteral(R"([{"name": "TriggerSource", "entries": ["Line1", "Software", "SoftwareSignal2",
            "MySoftwareSignal", "softwaresignal1", "Software2"], "value": "%1"}])")
            .arg(source));
    QCOMPARE(page->m_pComboTriggerSource->currentText(), source);
    QCOMPARE(page->m_pButtonSWTrigger->isEnabled(), enabled);
}

void tst_TriggerInput::exposureModeHintWhileAcquiring()
{
    IOTriggerWidget *page = m.open(QStringLiteral("line-routing.json"));
    QVERIFY(page->l_notAcquireHint->isHidden());

    m.camera->feature("AcquisitionStart")->RunCommand();
    page->updateExposureMode();
    QVERIFY(!page->l_notAcquireHint->isHidden());
    QVERIFY(!page->m_pComboExposureMode->isEnabled());

    m.camera->feature("AcquisitionStop")->RunCommand();
    page->updateExposureMode();
    QVERIFY(page->l_notAcquireHint->isHidden());
    QVERIFY(page->m_pComboExposureMode->isEnabled());
}

QTEST_MAIN(tst_TriggerInput)
#include "tst_triggerinput.moc"
