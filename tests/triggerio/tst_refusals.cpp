// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// What the page does when the camera refuses: a refused selection stops every
// write meant for the selected line or trigger, a refused value does not stay
// on show, and controls that cannot be read cannot be changed.
#include "triggeriotest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using OrvSim::Operation;

class tst_Refusals : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m.reset(); }

    void refusedSelection_data();
    void refusedSelection();
    void refusedValueShowsCameraValue_data();
    void refusedValueShowsCameraValue();
    void unreadableValueCannotBeChanged_data();
    void unreadableValueCannotBeChanged();

private:
    void act(const QString &action);
    QString shown(const QString &control) const;
    void verify(const QString &expected);

    PageUnderTest m;
};

// "Selector=X", "Line=X", "Mode=X", "Source=X" (trigger boxes), "Routing" (toggled), "Selectable<row>=X",
// "OutSource<row>=X", "Invert<row>", "Status<row>", "UserValue<row>" (toggled),
// "Edge", "Level", "Bulk", "Refresh" (show and one tick).
void tst_Refusals::act(const QString &action)
{
    IOTriggerWidget *page = m.page.get();
    const QString control = action.section('=', 0, 0), value = action.section('=', 1);
    const int row = control.right(1).toInt();
    if (action == "Edge" || action == "Level" || action == "Bulk") {
        QVERIFY(QMetaObject::invokeMethod(page, qPrintable("On" + action + "Mode")));
    } else if (action == "Refresh") {
        page->show();
        QVERIFY(QMetaObject::invokeMethod(page, "updateTimer"));
    } else if (control == "Selector") {
        page->m_pComboTriggerSelector->setCurrentText(value);
    } else if (control == "Line") {
        page->m_pComboInputLineSelector->setCurrentText(value);
    } else if (control == "Mode") {
        page->m_pComboTriggerMode->setCurrentText(value);
    } else if (control == "Routing") {
        page->m_pCBLineRouting->toggle();
    } else if (control == "Source") {
        page->m_pComboTriggerSource->setCurrentText(value);
    } else if (control.startsWith("Selectable")) {
        qobject_cast<QComboBox *>(page->m_SelectableOutputWidgets.at(row))->setCurrentText(value);
    } else if (control.startsWith("OutSource")) {
        page->m_OutputLines.at(row)->ComboSource->setCurrentText(value);
    } else {
        QCheckBox *box = control.startsWith("Invert")   ? page->m_OutputLines.at(row)->CBInvert.data()
                         : control.startsWith("Status") ? page->m_OutputLines.at(row)->CBStatus.data()
                                                        : page->m_OutputLines.at(row)->CBUserValue.data();
        box->toggle();
    }
}

// A control's text, or 1/0 for a check box's state; "...Enabled" asks whether
// it can be used.
QString tst_Refusals::shown(const QString &control) const
{
    const IOTriggerWidget *page = m.page.get();
    const int row = control.right(1).toInt();
    if (control == "Levels")
        return page->m_pEditOutLine->text();
    if (control == "SWTriggerEnabled")
        return QString::number(page->m_pButtonSWTrigger->isEnabled());
    if (control == "Selector")
        return page->m_pComboTriggerSelector->currentText();
    if (control == "Line")
        return page->m_pComboInputLineSelector->currentText();
    if (control == "Source")
        return page->m_pComboTriggerSource->currentText();
    if (control == "RoutingEnabled")
        return QString::number(page->m_pCBLineRouting->isEnabled());
    if (control == "SourceEnabled")
        return QString::number(page->m_pComboTriggerSource->isEnabled());
    if (control.startsWith("Selectable"))
        return qobject_cast<QComboBox *>(page->m_SelectableOutputWidgets.at(row))->currentText();
    if (control.startsWith("OutSource"))
        return page->m_OutputLines.at(row)->ComboSource->currentText();
    const QSharedPointer<OutputLine> line = page->m_OutputLines.at(row);
    QCheckBox *box = control.startsWith("Invert")   ? line->CBInvert.data()
                     : control.startsWith("Status") ? line->CBStatus.data()
                                                    : line->CBUserValue.data();
    return QString::number(control.contains("Enabled") ? box->isEnabled() : box->isChecked());
}

// "Feature=value" and "Feature[entry]=value" in the camera, "<control>:text" on the page.
void tst_Refusals::verify(const QString &expected)
{
    for (const QString &item : expected.split(' ', Qt::SkipEmptyParts)) {
        if (item.contains(':')) {
            const QString actual = shown(item.section(':', 0, 0));
            QVERIFY2(actual == item.section(':', 1), qPrintable(item + " but shows " + actual));
            continue;
        }
        const QString target = item.section('=', 0, 0);
        const QString actual = m.value(target.section('[', 0, 0), target.section('[', 1).chopped(target.contains('[')));
        QVERIFY2(actual == item.section('=', 1), qPrintable(item + " but is " + actual));
    }
}

void tst_Refusals::refusedSelection_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QString>("state");   // camera-side changes before the page opens
    QTest::addColumn<QString>("failing"); // the selector whose next writes the camera refuses
    QTest::addColumn<int>("count");       // how many; -1: all
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("unreadable"); // the selector's reads fail meanwhile too

    const QString exposureMode = "exposure-mode.json", lineRouting = "line-routing.json";
    QTest::newRow("selectable line: the mode does not go to the line selected before")
        << exposureMode << "LineSelector=Line5" << "LineSelector" << 1 << "Selectable0=Output"
        << "LineMode[Line4]=Input LineMode[Line5]=Input LineSelector=Line5 Selectable0:Input" << false;
    QTest::newRow("sync out source: not to the sync out selected before")
        << "syncout.json" << "SyncOutSelector=SyncOut4" << "SyncOutSelector" << 1 << "OutSource0=Imaging"
        << "SyncOutSource[SyncOut1]=Exposing SyncOutSource[SyncOut4]=GPO SyncOutSelector=SyncOut4 "
           "OutSource0:Exposing" << false;
    QTest::newRow("line source: only the lines selected")
        << exposureMode << "" << "LineSelector" << 1 << "OutSource0=Direct"
        << "LineSource[Line2]=UserOutput1 LineSource[Line3]=Direct LineSelector=Line0 OutSource0:UserOutput1" << false;
    QTest::newRow("inverter: only the lines selected")
        << exposureMode << "" << "LineSelector" << 1 << "Invert0"
        << "LineInverter[Line2]=false LineInverter[Line3]=false Invert0:0" << false;
    QTest::newRow("line status: only the lines selected")
        << exposureMode << "LineSource[Line2]=Direct" << "LineSelector" << 1 << "Status0"
        << "LineStatus[Line2]=false Status0:0" << false;
    QTest::newRow("user value: not to the user output selected before")
        << exposureMode << "UserOutputSelector=UserOutput2" << "UserOutputSelector" << 1 << "UserValue0"
        << "UserOutputValue[UserOutput1]=false UserOutputValue[UserOutput2]=false "
           "UserOutputSelector=UserOutput2 UserValue0:0" << false;
    QTest::newRow("Bulk: no trigger armed when no trigger can be selected")
        << exposureMode << "" << "TriggerSelector" << -1 << "Bulk"
        << "TriggerMode[FrameStart]=Off TriggerMode[AcquisitionStart]=Off "
           "TriggerActivation[FrameStart]=RisingEdge" << false;
    QTest::newRow("Edge, routing camera: the armed trigger stays armed")
        << lineRouting << "TriggerSelector=AcquisitionStart TriggerMode[AcquisitionStart]=On" << "TriggerSelector"
        << 1 << "Edge"
        << "TriggerSelector=AcquisitionStart TriggerMode[AcquisitionStart]=On TriggerMode[ExposureStart]=Off "
           "TriggerSource[AcquisitionStart]=InputLines Selector:AcquisitionStart" << false;
    QTest::newRow("Level, routing camera: routing stays on its line")
        << lineRouting << "LineSelector=Line1 LineRouting[Line1]=Trigger" << "LineSelector" << 1 << "Level"
        << "LineRouting[Line1]=Trigger LineRouting[Line0]=Off LineSelector=Line1" << false;
    QTest::newRow("line out polarity: only the lines selected")
        << "lineout.json" << "" << "LineOutSelector" << 1 << "Invert0"
        << "LineOutPolarity[LineOut1]=Normal Invert0:0" << false;
    QTest::newRow("Edge: first input line found past a refused line")
        << exposureMode << "TriggerSource[FrameStart]=Line1" << "LineSelector" << 1 << "Edge"
        << "TriggerMode[FrameStart]=On TriggerSource[FrameStart]=Line1" << false;
    QTest::newRow("Level, exposure auto: stops at the refused walk")
        << "exposure-auto.json" << "TriggerMode[*]=On" << "TriggerSelector" << 1 << "Level"
        << "TriggerMode[FrameStart]=Off TriggerMode[AcquisitionStart]=On TriggerSource[FrameStart]=Line0" << false;
    QTest::newRow("trigger selector pick: the box shows the trigger selected")
        << exposureMode << "" << "TriggerSelector" << 1 << "Selector=AcquisitionStart"
        << "TriggerSelector=FrameStart Selector:FrameStart" << false;
    QTest::newRow("routed line pick: routing goes back to its line")
        << lineRouting << "LineSelector=Line1 LineRouting[Line1]=Trigger" << "LineSelector" << 1 << "Line=Line0"
        << "LineRouting[Line1]=Trigger LineRouting[Line0]=Off LineSelector=Line1 Line:Line1" << false;
    QTest::newRow("refresh: no row filled from another line")
        << exposureMode << "LineInverter[Line3]=true" << "LineSelector" << 1 << "Refresh"
        << "LineSelector=Line0" << false;
    QTest::newRow("refresh, sync out camera")
        << "syncout.json" << "SyncOutSelector=SyncOut2" << "SyncOutSelector" << 2 << "Refresh"
        << "SyncOutSelector=SyncOut2" << false;
    QTest::newRow("routed line pick, line unreadable: routing of the unseen line stays untouched")
        << lineRouting << "LineSelector=Line1 LineRouting[Line1]=Trigger" << "LineSelector" << 1 << "Line=Line0 Routing"
        << "LineRouting[Line0]=Off LineSelector=Line1 Line: RoutingEnabled:0" << true;
    QTest::newRow("routing after a refresh whose line walk was refused")
        << lineRouting << "LineSelector=Line0 LineRouting[Line0]=Trigger" << "LineSelector" << -1 << "Refresh Routing"
        << "LineRouting[Line0]=Trigger LineSelector=Line0" << false;
    QTest::newRow("trigger pick, trigger unreadable: no mode for the unseen trigger")
        << exposureMode << "" << "TriggerSelector" << 1 << "Selector=AcquisitionStart Mode=On Source=Software"
        << "TriggerMode[FrameStart]=Off TriggerMode[AcquisitionStart]=Off TriggerSource[FrameStart]=Line0 Selector:"
        << true;
    // clang-format on
}

void tst_Refusals::refusedSelection()
{
    QFETCH(QString, camera);
    QFETCH(QString, state);
    QFETCH(QString, failing);
    QFETCH(int, count);
    QFETCH(QString, action);

    m.prepare(camera);
    m.change(state);
    m.open(m.camera);
    m.settle();
    QFETCH(bool, unreadable);
    m.camera->injectFailure(failing.toStdString(), Operation::SetValue, TKN::OrvAPI::OrvErrIO, count);
    if (unreadable)
        m.camera->injectFailure(failing.toStdString(), Operation::GetValue, TKN::OrvAPI::OrvErrIO, -1);
    for (const QString &step : action.split(' '))
        act(step);
    m.camera->clearFailures();

    QCOMPARE(m.misdirectedWrite(), QString());
    QFETCH(QString, expected);
    verify(expected);
}

void tst_Refusals::refusedValueShowsCameraValue_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("expected");

    QTest::newRow("level mask: the field shows the mask held")
        << "syncout.json" << "SyncOutLevels" << "Status2" << "SyncOutLevels=0 Levels:0 Status2:0";
    QTest::newRow("selectable line mode") << "exposure-mode.json" << "LineMode" << "Selectable0=Output"
                                          << "LineMode[Line4]=Input Selectable0:Input";
    QTest::newRow("output source") << "exposure-mode.json" << "LineSource" << "OutSource0=Direct"
                                   << "LineSource[Line2]=UserOutput1 OutSource0:UserOutput1";
    QTest::newRow("polarity") << "syncout.json" << "SyncOutPolarity" << "Invert0" << "Invert0:0";
    QTest::newRow("inverter") << "exposure-mode.json" << "LineInverter" << "Invert1" << "Invert1:0";
    QTest::newRow("user value") << "exposure-mode.json" << "UserOutputValue" << "UserValue0"
                                << "UserOutputValue[UserOutput1]=false UserValue0:0";
    QTest::newRow("trigger source") << "exposure-mode.json" << "TriggerSource" << "Source=Line1"
                                    << "TriggerSource[FrameStart]=Line0 Source:Line0";
    // The camera locked its inputs less than a second ago: the page has not
    // heard yet, and learns from the refusal.
    QTest::newRow("acquisition just started") << "exposure-mode.json" << "AcquisitionStart" << "Source=Line1"
                                              << "TriggerSource[FrameStart]=Line0 Source:Line0 SourceEnabled:0";
    // clang-format on
}

void tst_Refusals::refusedValueShowsCameraValue()
{
    QFETCH(QString, camera);
    QFETCH(QString, failing);
    QFETCH(QString, action);

    m.open(camera);
    m.settle();
    if (failing == "AcquisitionStart")
        m.camera->feature("AcquisitionStart")->RunCommand();
    else
        m.camera->injectFailure(failing.toStdString(), Operation::SetValue, TKN::OrvAPI::OrvErrInvalidAccess);
    act(action);

    QFETCH(QString, expected);
    verify(expected);
}

void tst_Refusals::unreadableValueCannotBeChanged_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QString>("expected");

    // The selector's list of selected features loses the one removed.
    const QString removed = R"(exposure-mode.json [{"name": "%1", "remove": true},
        {"name": "LineSelector", "selects": ["LineMode", "LineSource", "%2"]},
        {"name": "LineSource", "values": {"Line2": "%3"}}])";
    QTest::newRow("no inverter") << removed.arg("LineInverter", "LineStatus", "UserOutput1")
                                 << "Invert0:0 InvertEnabled0:0";
    QTest::newRow("no line status") << removed.arg("LineStatus", "LineInverter", "Direct")
                                    << "Status0:0 StatusEnabled0:0";
    QTest::newRow("no user output value")
        << R"(exposure-mode.json [{"name": "UserOutputValue", "remove": true},
                                  {"name": "UserOutputSelector", "selects": []}])"
        << "UserValue0:0 UserValueEnabled0:0";
    // clang-format on
}

void tst_Refusals::unreadableValueCannotBeChanged()
{
    QFETCH(QString, camera);
    m.open(camera);
    m.page->show();
    QFETCH(QString, expected);
    verify(expected);
}

QTEST_MAIN(tst_Refusals)
#include "tst_refusals.moc"
