// The trigger input section: which controls a camera gets, where they sit,
// and what the camera receives when they change.
#include <iotriggerwidget.h>
#include <testcamera.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <climits>
#include <map>
#include <memory>

namespace {

// A small camera with the trigger features; `changes` replaces features by
// name (an empty text removes one) or adds new ones.
std::string customCamera(const std::map<QString, QString> &changes = {})
{
    std::map<QString, QString> features{
        {"TriggerSelector", R"({"name": "TriggerSelector", "type": "Enumeration",
            "entries": ["FrameStart", "AcquisitionStart"], "value": "FrameStart",
            "selects": ["TriggerMode", "TriggerSource", "TriggerActivation"]})"},
        {"TriggerMode", R"({"name": "TriggerMode", "type": "Enumeration", "entries": ["Off", "On"]})"},
        {"TriggerSource", R"({"name": "TriggerSource", "type": "Enumeration",
            "entries": ["Line0", "Line1", "Software"]})"},
        {"TriggerActivation", R"({"name": "TriggerActivation", "type": "Enumeration",
            "entries": ["RisingEdge", "FallingEdge"]})"},
        {"TriggerSoftware", R"({"name": "TriggerSoftware", "type": "Command"})"},
        {"AcquisitionMode", R"({"name": "AcquisitionMode", "type": "Enumeration",
            "entries": ["SingleFrame", "MultiFrame", "Continuous"], "value": "Continuous"})"},
        {"AcquisitionFrameCount", R"({"name": "AcquisitionFrameCount", "type": "Integer",
            "value": 1, "min": 1, "max": 65535, "inc": 1})"},
        {"LineSelector", R"({"name": "LineSelector", "type": "Enumeration", "entries": ["Line0", "Line1"],
            "selects": ["LineMode"]})"},
        {"LineMode", R"({"name": "LineMode", "type": "Enumeration", "entries": ["Input", "Output"],
            "writable": false})"},
    };
    for (const auto &change : changes)
        features[change.first] = change.second;
    QStringList list;
    for (const auto &feature : features) {
        if (!feature.second.isEmpty())
            list << feature.second;
    }
    return QStringLiteral(R"({"name": "Custom", "features": [%1]})").arg(list.join(QStringLiteral(", "))).toStdString();
}

QStringList itemTexts(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

struct GridPlace
{
    int row = -1;
    int column = -1;
    int rowSpan = -1;
    int columnSpan = -1;
    Qt::Alignment alignment;
};

GridPlace placeOf(QGridLayout *grid, QWidget *widget)
{
    GridPlace place;
    const int index = grid->indexOf(widget);
    if (index < 0)
        return place;
    grid->getItemPosition(index, &place.row, &place.column, &place.rowSpan, &place.columnSpan);
    place.alignment = grid->itemAt(index)->alignment();
    return place;
}

int fixedHeight(const QWidget *widget)
{
    return widget->minimumHeight() == widget->maximumHeight() ? widget->minimumHeight() : -1;
}

} // namespace

class tst_TriggerInput : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void optionalControls_data();
    void optionalControls();
    void triggerGridPlaces();
    void constructionWritesOnlySelectors_data();
    void constructionWritesOnlySelectors();
    void inputLinesWithoutOutputs();
    void triggerSelectorToggling_data();
    void triggerSelectorToggling();
    void inputLineRoutingFollowsLine_data();
    void inputLineRoutingFollowsLine();
    void routingCheckBox_data();
    void routingCheckBox();
    void loneSelectorEntryIsWritten_data();
    void loneSelectorEntryIsWritten();
    void frameCountSpinBox_data();
    void frameCountSpinBox();
    void frameCountAndSoftwareTriggerWrite();
    void softwareTriggerEnabled_data();
    void softwareTriggerEnabled();
    void exposureModeHintWhileAcquiring();

private:
    IOTriggerWidget *build(const char *cameraFile);
    IOTriggerWidget *buildCustom(const std::map<QString, QString> &changes = {});

    std::shared_ptr<OrvSim::Camera> m_camera;
    std::unique_ptr<IOTriggerWidget> m_page;
};

void tst_TriggerInput::init()
{
    m_page.reset();
    m_camera.reset();
}

void tst_TriggerInput::cleanup()
{
    m_page.reset();
    m_camera.reset();
}

IOTriggerWidget *tst_TriggerInput::build(const char *cameraFile)
{
    m_camera = TestCamera::load(cameraFile);
    m_page.reset(new IOTriggerWidget(TestCamera::featureList(*m_camera), nullptr));
    return m_page.get();
}

IOTriggerWidget *tst_TriggerInput::buildCustom(const std::map<QString, QString> &changes)
{
    m_camera = OrvSim::Camera::fromJson(customCamera(changes), "custom");
    m_page.reset(new IOTriggerWidget(TestCamera::featureList(*m_camera), nullptr));
    return m_page.get();
}

void tst_TriggerInput::optionalControls_data()
{
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QString>("exposureAuto");
    QTest::addColumn<QString>("exposureMode");
    QTest::addColumn<bool>("routing");
    QTest::addColumn<QString>("exposureLabel");
    QTest::addColumn<int>("inputHeight");
    QTest::addColumn<bool>("levelEnabled");

    const QString none;
    QTest::newRow("line routing") << "line-routing.json" << none << none << true << "Exp. Mode:" << 470 << true;
    QTest::newRow("exposure auto wins over Timed")
        << "exposure-auto.json" << none << none << false << "Exp. Auto:" << 425 << true;
    QTest::newRow("exposure mode") << "exposure-mode.json" << none << none << false << "Exp. Mode:" << 425 << true;
    QTest::newRow("no other, no Timed: no exposure row")
        << "" << R"(["Off", "Continuous"])" << R"(["TriggerWidth"])" << false << "" << 425 << true;
    QTest::newRow("Timed without TriggerWidth: no Level")
        << "" << none << R"(["Timed"])" << false << "Exp. Mode:" << 425 << false;
    QTest::newRow("InputLines source without routing")
        << "" << none << none << false << "" << 470 << true;
}

void tst_TriggerInput::optionalControls()
{
    QFETCH(QString, camera);
    QFETCH(QString, exposureAuto);
    QFETCH(QString, exposureMode);
    QFETCH(bool, routing);
    QFETCH(QString, exposureLabel);
    QFETCH(int, inputHeight);
    QFETCH(bool, levelEnabled);

    IOTriggerWidget *page = nullptr;
    if (!camera.isEmpty()) {
        page = build(camera.toUtf8().constData());
    } else {
        std::map<QString, QString> changes;
        if (!exposureAuto.isEmpty())
            changes["ExposureAuto"] =
                QStringLiteral(R"({"name": "ExposureAuto", "type": "Enumeration", "entries": %1})").arg(exposureAuto);
        if (!exposureMode.isEmpty())
            changes["ExposureMode"] =
                QStringLiteral(R"({"name": "ExposureMode", "type": "Enumeration", "entries": %1})").arg(exposureMode);
        if (inputHeight == 470)
            changes["TriggerSource"] = QStringLiteral(
                R"({"name": "TriggerSource", "type": "Enumeration", "entries": ["InputLines", "Software"]})");
        page = buildCustom(changes);
    }

    QCOMPARE(page->m_pComboInputLineSelector != nullptr, routing);
    QCOMPARE(page->m_pLabelInputLineSelector != nullptr, routing);
    QCOMPARE(page->m_pCBLineRouting != nullptr, routing);
    QCOMPARE(page->m_pLabelLineRouting != nullptr, routing);
    QCOMPARE(fixedHeight(page->m_pGroupTrigger), routing ? 220 : 170);
    QCOMPARE(placeOf(page->m_pGridTrigger, page->m_pButtonSWTrigger).row, routing ? 6 : 4);
    if (!routing)
        QVERIFY(page->m_LineRoutingList.isEmpty());

    QComboBox *exposureBox = page->m_pComboExposureAuto ? page->m_pComboExposureAuto : page->m_pComboExposureMode;
    QLabel *exposureCaption = page->m_pLabelExposureAuto ? page->m_pLabelExposureAuto : page->m_pLabelExposureMode;
    QVERIFY(!(page->m_pComboExposureAuto && page->m_pComboExposureMode));
    QCOMPARE(exposureCaption ? exposureCaption->text() : QString(), exposureLabel);
    QCOMPARE(exposureBox != nullptr, !exposureLabel.isEmpty());
    if (exposureBox) {
        auto *grid = qobject_cast<QGridLayout *>(page->m_pGroupAcquisition->layout());
        QCOMPARE(placeOf(grid, exposureBox).row, 1);
        QCOMPARE(placeOf(grid, exposureBox).column, 3);
        QCOMPARE(placeOf(grid, exposureCaption).alignment, Qt::Alignment(Qt::AlignRight));
    }

    QCOMPARE(page->gb_TriggerInput->minimumHeight(), inputHeight);
    QCOMPARE(page->gb_TriggerInput->maximumHeight(), inputHeight);
    QCOMPARE(fixedHeight(page->m_pGroupAcquisition), 125);
    QCOMPARE(fixedHeight(page->m_pGroupQuickSettings), 75);
    QVERIFY(page->m_pButtonEdge->isEnabled());
    QVERIFY(page->m_pButtonBulk->isEnabled());
    QCOMPARE(page->m_pButtonLevel->isEnabled(), levelEnabled);
}

void tst_TriggerInput::triggerGridPlaces()
{
    IOTriggerWidget *page = build("line-routing.json");
    struct Expected
    {
        QWidget *widget;
        int row, column, columnSpan;
        Qt::Alignment alignment;
    };
    const Expected expected[] = {
        {page->m_pLabelTriggerSource, 0, 1, 2, Qt::AlignRight},
        {page->m_pComboTriggerSource, 0, 3, 2, {}},
        {page->m_pLabelTriggerActivation, 0, 5, 2, Qt::AlignRight},
        {page->m_pComboTriggerActivation, 0, 7, 2, {}},
        {page->m_pLabelTriggerSelector, 2, 1, 2, Qt::AlignRight},
        {page->m_pComboTriggerSelector, 2, 3, 2, {}},
        {page->m_pLabelTriggerMode, 2, 5, 2, Qt::AlignRight},
        {page->m_pComboTriggerMode, 2, 7, 2, Qt::AlignCenter},
        {page->m_pLabelInputLineSelector, 4, 1, 2, Qt::AlignRight},
        {page->m_pComboInputLineSelector, 4, 3, 2, {}},
        {page->m_pLabelLineRouting, 4, 5, 2, Qt::AlignRight},
        {page->m_pCBLineRouting, 4, 7, 2, Qt::AlignCenter},
        {page->m_pButtonSWTrigger, 6, 3, 5, Qt::AlignCenter},
    };
    for (const Expected &e : expected) {
        const GridPlace place = placeOf(page->m_pGridTrigger, e.widget);
        QCOMPARE(place.row, e.row);
        QCOMPARE(place.column, e.column);
        QCOMPARE(place.rowSpan, 1);
        QCOMPARE(place.columnSpan, e.columnSpan);
        QCOMPARE(place.alignment, e.alignment);
    }
    QCOMPARE(page->m_pLabelTriggerSource->text(), QStringLiteral("Source:"));
    QCOMPARE(page->m_pLabelTriggerActivation->text(), QStringLiteral("Activ.:"));
    QCOMPARE(page->m_pLabelInputLineSelector->text(), QStringLiteral("Line Sel.:"));
    QCOMPARE(page->m_pLabelLineRouting->text(), QStringLiteral("Rout.:"));
    QCOMPARE(page->m_pButtonEdge->iconSize(), QSize(56, 42));
    QCOMPARE(page->m_pComboTriggerSource->minimumSize(), QSize(90, 25));

    auto *inputGrid = page->grid_TriggerInput;
    QCOMPARE(placeOf(inputGrid, page->m_pGroupTrigger).row, 0);
    QCOMPARE(placeOf(inputGrid, page->m_pGroupAcquisition).row, 2);
    QCOMPARE(placeOf(inputGrid, page->m_pGroupQuickSettings).row, 3);
    QCOMPARE(placeOf(inputGrid, page->m_pGroupQuickSettings).columnSpan, 9);
}

void tst_TriggerInput::constructionWritesOnlySelectors_data()
{
    QTest::addColumn<QString>("camera");
    for (const char *camera : {"line-routing.json", "exposure-auto.json", "exposure-mode.json", "syncout.json",
                               "lineout.json"})
        QTest::newRow(camera) << camera;
}

// Every box is filled before it is connected: building the page must not
// write a value back, only move selectors to read per-line features.
void tst_TriggerInput::constructionWritesOnlySelectors()
{
    QFETCH(QString, camera);
    build(camera.toUtf8().constData());
    for (const QString &write : TestCamera::writes(*m_camera)) {
        const QString feature = write.section(QLatin1Char('='), 0, 0);
        QVERIFY2(feature.endsWith(QLatin1String("Selector")), qPrintable(write));
    }
}

void tst_TriggerInput::inputLinesWithoutOutputs()
{
    IOTriggerWidget *page = build("line-routing.json");

    QCOMPARE(page->m_LineRoutingList, (QList<int>{2, 3}));
    QCOMPARE(itemTexts(page->m_pComboInputLineSelector), (QStringList{"Line0", "Line1"}));
    QCOMPARE(page->m_pComboInputLineSelector->currentText(), QStringLiteral("Line0"));
    QCOMPARE(QString::fromStdString(m_camera->valueOf("LineSelector")), QStringLiteral("Line0"));
    QVERIFY(!page->m_pCBLineRouting->isChecked());
    QVERIFY(page->m_pCBLineRouting->isEnabled());

    // The positions found at construction stay removed, whatever the modes do later.
    QCOMPARE(m_camera->setFromCamera("LineMode", "Input", "Line2"), TKN::OrvAPI::OrvErrSuccess);
    page->blockAllSignals(true);
    page->updateInputLineSelector();
    page->blockAllSignals(false);
    QCOMPARE(itemTexts(page->m_pComboInputLineSelector), (QStringList{"Line0", "Line1"}));
}

void tst_TriggerInput::triggerSelectorToggling_data()
{
    QTest::addColumn<QString>("camera");
    QTest::addColumn<bool>("modeOn");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("line routing, mode On")
        << "line-routing.json" << true
        << QStringList{"TriggerMode=Off", "TriggerSelector=AcquisitionStart", "TriggerMode=On"};
    QTest::newRow("line routing, mode Off")
        << "line-routing.json" << false << QStringList{"TriggerSelector=AcquisitionStart"};
    QTest::newRow("no line selector box, mode On")
        << "exposure-mode.json" << true << QStringList{"TriggerSelector=AcquisitionStart"};
}

void tst_TriggerInput::triggerSelectorToggling()
{
    QFETCH(QString, camera);
    QFETCH(bool, modeOn);
    QFETCH(QStringList, expected);

    IOTriggerWidget *page = build(camera.toUtf8().constData());
    const QString before = page->m_pComboTriggerSelector->currentText();
    if (modeOn) {
        page->m_pComboTriggerMode->setCurrentText(QStringLiteral("On"));
        QCOMPARE(m_camera->valueOf("TriggerMode", before.toStdString()), std::string("On"));
    }
    m_camera->clearJournal();

    page->m_pComboTriggerSelector->setCurrentText(QStringLiteral("AcquisitionStart"));
    QCOMPARE(TestCamera::writes(*m_camera), expected);
    QCOMPARE(m_camera->valueOf("TriggerSelector"), std::string("AcquisitionStart"));
    if (modeOn && expected.size() == 3) {
        QCOMPARE(m_camera->valueOf("TriggerMode", before.toStdString()), std::string("Off"));
        QCOMPARE(m_camera->valueOf("TriggerMode", "AcquisitionStart"), std::string("On"));
    }
}

void tst_TriggerInput::inputLineRoutingFollowsLine_data()
{
    QTest::addColumn<bool>("routed");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("routed: moved to the new line")
        << true << QStringList{"LineRouting=Off", "LineSelector=Line1", "LineRouting=Trigger"};
    QTest::newRow("not routed: line only") << false << QStringList{"LineSelector=Line1"};
}

void tst_TriggerInput::inputLineRoutingFollowsLine()
{
    QFETCH(bool, routed);
    QFETCH(QStringList, expected);

    IOTriggerWidget *page = build("line-routing.json");
    if (routed)
        page->m_pCBLineRouting->setChecked(true);
    m_camera->clearJournal();

    page->m_pComboInputLineSelector->setCurrentText(QStringLiteral("Line1"));
    QCOMPARE(TestCamera::writes(*m_camera), expected);
    QCOMPARE(m_camera->valueOf("LineRouting", "Line0"), std::string("Off"));
    QCOMPARE(m_camera->valueOf("LineRouting", "Line1"), std::string(routed ? "Trigger" : "Off"));
    QCOMPARE(page->m_pCBLineRouting->isChecked(), routed);
}

void tst_TriggerInput::routingCheckBox_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("written");

    QTest::newRow("checked") << int(Qt::Unchecked) << int(Qt::Checked) << "LineRouting=Trigger";
    QTest::newRow("partially checked") << int(Qt::Unchecked) << int(Qt::PartiallyChecked) << "LineRouting=Trigger";
    QTest::newRow("unchecked") << int(Qt::Checked) << int(Qt::Unchecked) << "LineRouting=Off";
}

void tst_TriggerInput::routingCheckBox()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, written);

    IOTriggerWidget *page = build("line-routing.json");
    page->m_pCBLineRouting->setCheckState(Qt::CheckState(from));
    m_camera->clearJournal();
    page->m_pCBLineRouting->setCheckState(Qt::CheckState(to));
    QCOMPARE(TestCamera::writes(*m_camera), QStringList{written});
}

void tst_TriggerInput::loneSelectorEntryIsWritten_data()
{
    QTest::addColumn<QString>("entries");
    QTest::addColumn<QStringList>("expectedWrites");
    QTest::addColumn<QString>("shown");

    QTest::newRow("one entry left: written")
        << R"([{"entry": "AcquisitionStart", "available": false}, "FrameStart"])"
        << QStringList{"TriggerSelector=FrameStart"} << "FrameStart";
    QTest::newRow("two entries left: nothing written")
        << R"([{"entry": "AcquisitionStart", "available": false}, "FrameStart", "LineStart"])" << QStringList()
        << "";
}

void tst_TriggerInput::loneSelectorEntryIsWritten()
{
    QFETCH(QString, entries);
    QFETCH(QStringList, expectedWrites);
    QFETCH(QString, shown);

    IOTriggerWidget *page = buildCustom(
        {{"TriggerSelector", QStringLiteral(R"({"name": "TriggerSelector", "type": "Enumeration", "entries": %1,
              "value": "AcquisitionStart", "selects": ["TriggerMode", "TriggerSource", "TriggerActivation"]})")
                                 .arg(entries)}});
    QStringList selectorWrites;
    for (const QString &write : TestCamera::writes(*m_camera)) {
        if (write.startsWith(QLatin1String("TriggerSelector=")))
            selectorWrites << write;
    }
    QCOMPARE(selectorWrites, expectedWrites);
    QCOMPARE(page->m_pComboTriggerSelector->currentText(), shown);
    QCOMPARE(page->m_pComboTriggerSelector->currentIndex() >= 0, !shown.isEmpty());
}

void tst_TriggerInput::frameCountSpinBox_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("value");

    QTest::newRow("integer 1..65535")
        << R"({"name": "AcquisitionFrameCount", "type": "Integer", "value": 7, "min": 1, "max": 65535, "inc": 1})"
        << true << 1 << 65535 << 1 << 7;
    QTest::newRow("fractions truncated")
        << R"({"name": "AcquisitionFrameCount", "type": "Float", "value": 6.5, "min": 1.5, "max": 101.5, "inc": 2.5})"
        << true << 1 << 101 << 2 << 6;
    QTest::newRow("limit beyond int clamped")
        << R"({"name": "AcquisitionFrameCount", "type": "Integer", "value": 3, "min": 1, "max": 4294967296, "inc": 1})"
        << true << 1 << INT_MAX << 1 << 3;
    QTest::newRow("read-only: hidden")
        << R"({"name": "AcquisitionFrameCount", "type": "Integer", "value": 1, "min": 1, "max": 9, "inc": 1,
              "writable": false})"
        << false << 1 << 9 << 1 << 1;
    QTest::newRow("missing: hidden") << "" << false << 0 << 0 << 0 << 0;
}

void tst_TriggerInput::frameCountSpinBox()
{
    QFETCH(QString, feature);
    QFETCH(bool, visible);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, step);
    QFETCH(int, value);

    IOTriggerWidget *page = buildCustom({{"AcquisitionFrameCount", feature}});
    QSpinBox *spin = page->m_pSpinAcquisitionFrameCount;
    QCOMPARE(spin->isHidden(), !visible);
    QCOMPARE(page->m_pLabelFrameCount->isHidden(), !visible);
    QVERIFY(spin->isEnabled());
    if (!feature.isEmpty()) {
        QCOMPARE(spin->minimum(), minimum);
        QCOMPARE(spin->maximum(), maximum);
        QCOMPARE(spin->singleStep(), step);
        QCOMPARE(spin->value(), value);
    }
}

void tst_TriggerInput::frameCountAndSoftwareTriggerWrite()
{
    IOTriggerWidget *page = build("exposure-auto.json");
    m_camera->clearJournal();

    page->m_pSpinAcquisitionFrameCount->setValue(10);
    QCOMPARE(TestCamera::writes(*m_camera), QStringList{"AcquisitionFrameCount=10"});

    page->m_pComboTriggerSource->setCurrentText(QStringLiteral("Software"));
    page->updateTriggerSource();
    QVERIFY(page->m_pButtonSWTrigger->isEnabled());
    const long long before = m_camera->commandCount("TriggerSoftware");
    page->m_pButtonSWTrigger->click();
    QCOMPARE(m_camera->commandCount("TriggerSoftware"), before + 1);
}

void tst_TriggerInput::softwareTriggerEnabled_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("Software") << "Software" << true;
    QTest::newRow("SoftwareSignal") << "SoftwareSignal" << true;
    QTest::newRow("SoftwareSignal with digit") << "SoftwareSignal2" << true;
    QTest::newRow("SoftwareSignal inside") << "MySoftwareSignal" << true;
    QTest::newRow("lower case software") << "software" << false;
    QTest::newRow("lower case signal") << "softwaresignal1" << false;
    QTest::newRow("Software with suffix") << "Software2" << false;
    QTest::newRow("input line") << "Line1" << false;
}

void tst_TriggerInput::softwareTriggerEnabled()
{
    QFETCH(QString, source);
    QFETCH(bool, enabled);

    IOTriggerWidget *page = buildCustom(
        {{"TriggerSource", QStringLiteral(R"({"name": "TriggerSource", "type": "Enumeration",
              "entries": ["Line1", "Software", "SoftwareSignal", "SoftwareSignal2", "MySoftwareSignal",
                          "software", "softwaresignal1", "Software2"], "value": "%1"})")
                               .arg(source)}});
    QCOMPARE(page->m_pComboTriggerSource->currentText(), source);
    QCOMPARE(page->m_pButtonSWTrigger->isEnabled(), enabled);
}

void tst_TriggerInput::exposureModeHintWhileAcquiring()
{
    IOTriggerWidget *page = build("line-routing.json");
    QVERIFY(page->l_notAcquireHint->isHidden());

    m_camera->feature("AcquisitionStart")->RunCommand();
    QVERIFY(m_camera->isAcquiring());
    page->updateExposureMode();
    QVERIFY(!page->l_notAcquireHint->isHidden());
    QVERIFY(!page->m_pComboExposureMode->isEnabled());

    m_camera->feature("AcquisitionStop")->RunCommand();
    page->updateExposureMode();
    QVERIFY(page->l_notAcquireHint->isHidden());
    QVERIFY(page->m_pComboExposureMode->isEnabled());
}

QTEST_MAIN(tst_TriggerInput)
#include "tst_triggerinput.moc"
