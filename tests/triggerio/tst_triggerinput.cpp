// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
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
    void userChangeWrites_data();
    void userChangeWrites();
    void loneSelectorEntryIsWritten_data();
    void loneSelectorEntryIsWritten();
    void frameCountSpinBox_data();
    void frameCountSpinBox();
    void softwareTrigger_data();
    void softwareTrigger();
    void exposureModeHintWhileAcquiring();

private:
    void apply(const QString &change);

    PageUnderTest m;
};

void tst_TriggerInput::optionalControls_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    // The input lines the routing box offers; none: no routing controls.
    QTest::addColumn<QStringList>("routingLines");
    QTest::addColumn<int>("inputHeight");
    QTest::addColumn<QString>("exposureLabel");
    QTest::addColumn<bool>("levelEnabled");

    const QStringList none;
    QTest::newRow("line routing") << "line-routing.json" << QStringList { "Line0", "Line1" } << 470
                                  << "Exp. Mode:" << true;
    QTest::newRow("exposure auto wins over Timed")
        << "exposure-auto.json" << none << 425 << "Exp. Auto:" << true;
    QTest::newRow("exposure mode") << "exposure-mode.json" << none << 425 << "Exp. Mode:" << true;
    QTest::newRow("no Other, no Timed: no exposure row")
        << "exposure-mode.json "
           R"([{"name": "ExposureAuto", "type": "Enumeration", "entries": ["Off", "Continuous"]},
               {"name": "ExposureMode", "entries": ["TriggerWidth"], "value": "TriggerWidth"},
               {"name": "ExposureTime", "writable": true}])"
        << none << 425 << "" << true;
    QTest::newRow("Timed without TriggerWidth: no Level")
        << R"(exposure-mode.json [{"name": "ExposureMode", "entries": ["Timed"]}])" << none << 425
        << "Exp. Mode:" << false;
    QTest::newRow("InputLines source without routing")
        << R"(exposure-mode.json [{"name": "TriggerSource", "entries": ["InputLines"], "value": "InputLines"}])"
        << none << 470 << "Exp. Mode:" << true;
    // clang-format on
}

void tst_TriggerInput::optionalControls()
{
    QFETCH(QString, camera);
    QFETCH(QStringList, routingLines);
    QFETCH(int, inputHeight);
    QFETCH(QString, exposureLabel);
    QFETCH(bool, levelEnabled);

    IOTriggerWidget *page = m.open(camera);
    const bool routing = !routingLines.isEmpty();
    QCOMPARE(page->m_pCBLineRouting != nullptr, routing);
    QStringList offered;
    for (int i = 0; routing && i < page->m_pComboInputLineSelector->count(); ++i)
        offered << page->m_pComboInputLineSelector->itemText(i);
    QCOMPARE(offered, routingLines);
    QCOMPARE(page->m_pGroupTrigger->maximumHeight(), routing ? 220 : 170);
    QCOMPARE(page->gb_TriggerInput->minimumHeight(), inputHeight);
    QCOMPARE(page->gb_TriggerInput->maximumHeight(), inputHeight);

    QVERIFY(!(page->m_pComboExposureAuto && page->m_pComboExposureMode));
    QLabel *caption = page->m_pLabelExposureAuto ? page->m_pLabelExposureAuto : page->m_pLabelExposureMode;
    QCOMPARE(caption ? caption->text() : QString(), exposureLabel);
    QCOMPARE(page->m_pComboExposureAuto || page->m_pComboExposureMode, !exposureLabel.isEmpty());
    QVERIFY(page->m_pButtonEdge->isEnabled());
    QVERIFY(page->m_pButtonBulk->isEnabled());
    QCOMPARE(page->m_pButtonLevel->isEnabled(), levelEnabled);
}

// "Control=value": Mode, Selector and Line boxes, the Routing check box, the FrameCount spin box.
void tst_TriggerInput::apply(const QString &change)
{
    const QString control = change.section('=', 0, 0), value = change.section('=', 1);
    IOTriggerWidget *page = m.page.get();
    if (control == "Routing")
        page->m_pCBLineRouting->setCheckState(value == "Checked"     ? Qt::Checked
                                              : value == "Unchecked" ? Qt::Unchecked
                                                                     : Qt::PartiallyChecked);
    else if (control == "FrameCount")
        page->m_pSpinAcquisitionFrameCount->setValue(value.toInt());
    else
        (control == "Mode"       ? page->m_pComboTriggerMode
         : control == "Selector" ? page->m_pComboTriggerSelector
                                 : page->m_pComboInputLineSelector)
            ->setCurrentText(value);
}

void tst_TriggerInput::userChangeWrites_data()
{
    // clang-format off
    struct Row
    {
        const char *tag, *file, *setup, *change;
        QStringList expected;
    };
    const Row rows[] = {
        // Cameras with line routing arm one trigger at a time.
        { "selector, routing camera, mode On", "line-routing.json", "Mode=On", "Selector=AcquisitionStart",
            { "TriggerMode=Off", "TriggerSelector=AcquisitionStart", "TriggerMode=On" } },
        { "selector, routing camera, mode Off", "line-routing.json", "", "Selector=AcquisitionStart",
            { "TriggerSelector=AcquisitionStart" } },
        { "selector, no routing, mode On", "exposure-mode.json", "Mode=On", "Selector=AcquisitionStart",
            { "TriggerSelector=AcquisitionStart" } },
        { "routing checked", "line-routing.json", "", "Routing=Checked", { "LineRouting=Trigger" } },
        { "routing partially checked", "line-routing.json", "", "Routing=PartiallyChecked",
            { "LineRouting=Trigger" } },
        { "routing unchecked", "line-routing.json", "Routing=Checked", "Routing=Unchecked",
            { "LineRouting=Off" } },
        // Routing belongs to the selected line and moves along with it.
        { "routed line changed", "line-routing.json", "Routing=Checked", "Line=Line1",
            { "LineRouting=Off", "LineSelector=Line1", "LineRouting=Trigger" } },
        { "unrouted line changed", "line-routing.json", "", "Line=Line1", { "LineSelector=Line1" } },
        { "frame count", "exposure-auto.json", "", "FrameCount=10", { "AcquisitionFrameCount=10" } },
    };
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("expected");
    for (const Row &r : rows)
        QTest::newRow(r.tag) << QString(r.file) << QString(r.setup) << QString(r.change) << r.expected;
    // clang-format on
}

void tst_TriggerInput::userChangeWrites()
{
    QFETCH(QString, file);
    QFETCH(QString, setup);
    QFETCH(QString, change);
    QFETCH(QStringList, expected);

    m.open(file);
    if (!setup.isEmpty())
        apply(setup);
    m.camera->clearJournal();
    apply(change);
    QCOMPARE(m.writes(), expected);
}

void tst_TriggerInput::loneSelectorEntryIsWritten_data()
{
    // clang-format off
    QTest::addColumn<QString>("entries");
    QTest::addColumn<QStringList>("selectorWrites");
    QTest::addColumn<QString>("shown");

    QTest::newRow("one entry left: written")
        << R"([{"entry": "AcquisitionStart", "available": false}, "FrameStart"])"
        << QStringList { "TriggerSelector=FrameStart" } << "FrameStart";
    QTest::newRow("two entries left: nothing written")
        << R"([{"entry": "AcquisitionStart", "available": false}, "FrameStart", "LineStart"])"
        << QStringList() << "";
    // clang-format on
}

void tst_TriggerInput::loneSelectorEntryIsWritten()
{
    QFETCH(QString, entries);
    QFETCH(QStringList, selectorWrites);
    QFETCH(QString, shown);

    IOTriggerWidget *page =
        m.open(QStringLiteral(
                   R"(exposure-mode.json [{"name": "TriggerSelector", "entries": %1, "value": "AcquisitionStart"}])")
                   .arg(entries));
    QCOMPARE(m.writes().filter(QRegularExpression("^TriggerSelector=")), selectorWrites);
    QCOMPARE(page->m_pComboTriggerSelector->currentText(), shown);
}

void tst_TriggerInput::frameCountSpinBox_data()
{
    // clang-format off
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
    // clang-format on
}

void tst_TriggerInput::frameCountSpinBox()
{
    QFETCH(QString, patch);
    QFETCH(bool, visible);
    QFETCH(QList<int>, minMaxStepValue);

    IOTriggerWidget *page =
        m.open(QStringLiteral(R"(exposure-mode.json [{"name": "AcquisitionFrameCount", %1}])").arg(patch));
    QSpinBox *spin = page->m_pSpinAcquisitionFrameCount;
    QCOMPARE(spin->isHidden(), !visible);
    QCOMPARE(page->m_pLabelFrameCount->isHidden(), !visible);
    if (!minMaxStepValue.isEmpty())
        QCOMPARE((QList<int>{spin->minimum(), spin->maximum(), spin->singleStep(), spin->value()}), minMaxStepValue);
}

void tst_TriggerInput::softwareTrigger_data()
{
    // clang-format off
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("Software") << "Software" << true;
    QTest::newRow("SoftwareSignal with digit") << "SoftwareSignal2" << true;
    QTest::newRow("SoftwareSignal inside") << "MySoftwareSignal" << true;
    QTest::newRow("lower case") << "softwaresignal1" << false;
    QTest::newRow("Software with suffix") << "Software2" << false;
    QTest::newRow("input line") << "Line1" << false;
    // clang-format on
}

void tst_TriggerInput::softwareTrigger()
{
    QFETCH(QString, source);
    QFETCH(bool, enabled);

    IOTriggerWidget *page = m.open(QStringLiteral(R"(exposure-mode.json [{"name": "TriggerSource",
        "entries": ["Line1", "Software", "SoftwareSignal2", "MySoftwareSignal", "softwaresignal1", "Software2"],
        "value": "%1"}])")
                                       .arg(source));
    QCOMPARE(page->m_pComboTriggerSource->currentText(), source);
    QCOMPARE(page->m_pButtonSWTrigger->isEnabled(), enabled);
    page->m_pButtonSWTrigger->click();
    QCOMPARE(m.camera->commandCount("TriggerSoftware"), enabled ? 1 : 0);
}

void tst_TriggerInput::exposureModeHintWhileAcquiring()
{
    IOTriggerWidget *page = m.open(QStringLiteral("line-routing.json"));
    QVERIFY(page->l_notAcquireHint->isHidden());
    for (const bool acquiring : {true, false}) {
        m.camera->feature(acquiring ? "AcquisitionStart" : "AcquisitionStop")->RunCommand();
        page->updateExposureMode();
        QCOMPARE(page->l_notAcquireHint->isHidden(), !acquiring);
        QCOMPARE(page->m_pComboExposureMode->isEnabled(), !acquiring);
    }
}

QTEST_MAIN(tst_TriggerInput)
#include "tst_triggerinput.moc"
