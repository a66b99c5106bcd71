#include <featuremanager.h>
#include <pluginlog.h>

#include <OrvikSim.h>
#include <testcamera.h>

#include <QComboBox>
#include <QLoggingCategory>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

using OrvSim::Operation;

Q_DECLARE_METATYPE(OrvSim::Operation)

namespace {

const char s_CameraJson[] = R"({
    "name": "Test camera",
    "description": "features for FeatureManager",
    "features": [
        { "name": "Gain", "type": "Integer", "value": 1, "min": 0, "max": 100, "inc": 1 },
        { "name": "IntFeature", "type": "Integer", "value": 4, "min": 0, "max": 10, "inc": 4 },
        { "name": "IntFrom10", "type": "Integer", "value": 10, "min": 10, "max": 30, "inc": 4 },
        { "name": "Negative", "type": "Integer", "value": -42, "min": -100, "max": 100, "inc": 1 },
        { "name": "ReadOnlyInt", "type": "Integer", "value": 3, "min": 0, "max": 10, "inc": 1, "writable": false },
        { "name": "FloatTenth", "type": "Float", "value": 1.0, "min": 0.0, "max": 10.0, "inc": 0.1 },
        { "name": "FloatQuarter", "type": "Float", "value": 0.5, "min": 0.0, "max": 10.1, "inc": 0.25 },
        { "name": "FloatNoInc", "type": "Float", "value": 1.0, "min": 0.0, "max": 10.0 },
        { "name": "BoolFeature", "type": "Boolean", "value": true },
        { "name": "LineSelector", "displayName": "Line Selector", "type": "Enumeration",
          "entries": ["Line0", "Line1", "Line2"], "value": "Line0" },
        { "name": "TriggerSource", "type": "Enumeration",
          "entries": ["Line0", { "entry": "Software", "available": false }, "Line1"], "value": "Line1" },
        { "name": "Unavailable", "type": "Enumeration",
          "entries": ["A", { "entry": "B", "available": { "feature": "BoolFeature", "is": false } }], "value": "A" },
        { "name": "ReadOnlyEnum", "type": "Enumeration", "entries": ["A", "B"], "value": "B", "writable": false },
        { "name": "DeviceModelName", "displayName": "Model Name", "type": "String", "value": "GX-1", "writable": false },
        { "name": "TriggerSoftware", "type": "Command" }
    ]
})";

// A second camera whose only feature repeats a name of the first.
const char s_DuplicateJson[] = R"({
    "name": "Duplicate",
    "description": "",
    "features": [ { "name": "Gain", "type": "Integer", "value": 2, "min": 0, "max": 100, "inc": 1 } ]
})";

QStringList s_Messages;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    s_Messages << message;
}

} // namespace

class tst_FeatureManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void findFeature_data();
    void findFeature();
    void duplicateNames();
    void emptyOrMissingList();

    void getValue_data();
    void getValue();
    void getValueAndRange_data();
    void getValueAndRange();
    void getValueAndRangeOfMissingFeature();

    void setValue_data();
    void setValue();
    void setValueLogs_data();
    void setValueLogs();

    void getStringValue_data();
    void getStringValue();
    void setStringValue_data();
    void setStringValue();

    void questions();
    void runCommandFeature();
    void firstFeatureName_data();
    void firstFeatureName();

    void getAvailableEntries_data();
    void getAvailableEntries();
    void fillComboBox_data();
    void fillComboBox();
    void fillComboBoxNullBox();

private:
    void inject(const QString &feature, int operation);

    std::shared_ptr<OrvSim::Camera> m_Camera;
    std::shared_ptr<OrvSim::Camera> m_Duplicate;
    CameraFeatureList m_List;
    std::unique_ptr<FeatureManager> m_Manager;
    QtMessageHandler m_PreviousHandler = nullptr;
};

void tst_FeatureManager::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("orvik.tabextension.debug=true"));
}

void tst_FeatureManager::init()
{
    m_Camera = OrvSim::Camera::fromJson(s_CameraJson, "featuremanager-test");
    m_Duplicate = OrvSim::Camera::fromJson(s_DuplicateJson, "duplicate-test");
    m_List = TestCamera::featureList(*m_Camera);
    for (const TKN::OrvAPI::FeaturePtr &feature : m_Duplicate->features())
        m_List->append(feature);
    m_Manager.reset(new FeatureManager(m_List));
    s_Messages.clear();
    m_PreviousHandler = qInstallMessageHandler(captureMessage);
}

void tst_FeatureManager::cleanup()
{
    qInstallMessageHandler(m_PreviousHandler);
    m_Manager.reset();
    m_List.reset();
    m_Duplicate.reset();
    m_Camera.reset();
}

void tst_FeatureManager::inject(const QString &feature, int operation)
{
    if (operation >= 0)
        m_Camera->injectFailure(feature.toStdString(), Operation(operation), TKN::OrvAPI::OrvErrIO);
}

void tst_FeatureManager::findFeature_data()
{
    QTest::addColumn<QString>("name1");
    QTest::addColumn<QString>("name2");
    QTest::addColumn<QString>("name3");
    QTest::addColumn<QString>("found");

    QTest::newRow("exact name") << "LineSelector" << "" << "" << "LineSelector";
    QTest::newRow("letter case differs") << "lineselector" << "" << "" << "";
    QTest::newRow("prefix only") << "LineSel" << "" << "" << "";
    QTest::newRow("first alternative wins") << "TriggerSource" << "LineSelector" << "" << "TriggerSource";
    QTest::newRow("second alternative") << "LineOutSelector" << "LineSelector" << "" << "LineSelector";
    QTest::newRow("third alternative") << "LineOutSelector" << "SyncOutSelector" << "LineSelector"
                                       << "LineSelector";
    QTest::newRow("empty second ends the search") << "LineOutSelector" << "" << "LineSelector" << "";
    QTest::newRow("empty first, second searched") << "" << "LineSelector" << "" << "LineSelector";
    QTest::newRow("none exists") << "LineOutSelector" << "SyncOutSelector" << "Nothing" << "";
}

void tst_FeatureManager::findFeature()
{
    QFETCH(QString, name1);
    QFETCH(QString, name2);
    QFETCH(QString, name3);
    QFETCH(QString, found);

    const TKN::OrvAPI::FeaturePtr feature = m_Manager->FindFeature(name1, name2, name3);
    std::string name;
    if (feature)
        QCOMPARE(feature->GetName(name), TKN::OrvAPI::OrvErrSuccess);
    QCOMPARE(QString::fromStdString(name), found);
    QCOMPARE(m_Manager->FeatureExists(name1, name2), !found.isEmpty() && name3.isEmpty());
}

void tst_FeatureManager::duplicateNames()
{
    QCOMPARE(m_Manager->GetValue("Gain"), 1.0);
    QCOMPARE(m_Manager->SetValue("Gain", 7.0), 7.0);
    QCOMPARE(m_Camera->valueOf("Gain"), std::string("7"));
    QCOMPARE(m_Duplicate->valueOf("Gain"), std::string("2"));

    // A feature whose name cannot be read is passed over, not taken.
    m_Camera->injectFailure("Gain", Operation::GetName, TKN::OrvAPI::OrvErrIO);
    QCOMPARE(m_Manager->GetValue("Gain"), 2.0);
}

void tst_FeatureManager::emptyOrMissingList()
{
    const FeatureManager empty{CameraFeatureList(new FeatureVector)};
    QVERIFY(!empty.FindFeature("LineSelector"));
    QCOMPARE(empty.GetValue("Gain"), -1.0);
    QCOMPARE(empty.FirstFeatureName({"Gain"}), QString());

    const FeatureManager none{CameraFeatureList()};
    QVERIFY(!none.FeatureExists("Gain"));
    QCOMPARE(none.SetStringValue("LineSelector", "Line1"), QString());
}

void tst_FeatureManager::getValue_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("failing");
    QTest::addColumn<double>("expected");

    QTest::newRow("negative integer") << "Negative" << -1 << -42.0;
    QTest::newRow("float") << "FloatQuarter" << -1 << 0.5;
    QTest::newRow("boolean true") << "BoolFeature" << -1 << 1.0;
    QTest::newRow("enumeration") << "LineSelector" << -1 << -1.0;
    QTest::newRow("string") << "DeviceModelName" << -1 << -1.0;
    QTest::newRow("missing") << "Nothing" << -1 << -1.0;
    QTest::newRow("integer read fails") << "Negative" << int(Operation::GetValue) << -1.0;
    QTest::newRow("float read fails") << "FloatQuarter" << int(Operation::GetValue) << -1.0;
    QTest::newRow("boolean read fails") << "BoolFeature" << int(Operation::GetValue) << 0.0;
    QTest::newRow("type query fails") << "Negative" << int(Operation::GetDataType) << -1.0;
}

void tst_FeatureManager::getValue()
{
    QFETCH(QString, name);
    QFETCH(int, failing);
    QFETCH(double, expected);

    inject(name, failing);
    QCOMPARE(m_Manager->GetValue(name), expected);
}

void tst_FeatureManager::getValueAndRange_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("failing");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("increment");

    QTest::newRow("integer, max snapped to the grid") << "IntFeature" << -1 << 4.0 << true << 0.0 << 8.0 << 4.0;
    QTest::newRow("integer, increment fails: 1, max unsnapped")
        << "IntFeature" << int(Operation::GetIncrement) << 4.0 << true << 0.0 << 10.0 << 1.0;
    QTest::newRow("integer, range fails") << "IntFrom10" << int(Operation::GetRange) << 10.0 << true << -1.0 << -1.0
                                          << 4.0;
    QTest::newRow("read-only integer") << "ReadOnlyInt" << -1 << 3.0 << false << 0.0 << 10.0 << 1.0;
    QTest::newRow("writable query fails") << "IntFeature" << int(Operation::IsWritable) << 4.0 << false << 0.0
                                          << 8.0 << 4.0;
    QTest::newRow("float, max snapped") << "FloatQuarter" << -1 << 0.5 << true << 0.0 << 10.0 << 0.25;
    QTest::newRow("float without increment: 0.01") << "FloatNoInc" << -1 << 1.0 << true << 0.0 << 10.0 << 0.01;
    QTest::newRow("float, increment fails: 0.01")
        << "FloatQuarter" << int(Operation::GetIncrement) << 0.5 << true << 0.0 << 10.1 << 0.01;
    QTest::newRow("enumeration") << "LineSelector" << -1 << -1.0 << false << -1.0 << -1.0 << -1.0;
}

void tst_FeatureManager::getValueAndRange()
{
    QFETCH(QString, name);
    QFETCH(int, failing);
    QFETCH(bool, writable);

    inject(name, failing);
    const bool expectedWritable = writable;
    writable = !expectedWritable;
    double min = 99, max = 99, increment = 99;
    const double value = m_Manager->GetValueAndRange(name, writable, min, max, increment);
    QTEST(value, "value");
    QCOMPARE(writable, expectedWritable);
    QTEST(min, "min");
    QTEST(max, "max");
    QTEST(increment, "increment");
}

void tst_FeatureManager::getValueAndRangeOfMissingFeature()
{
    bool writable = true;
    double min = 99, max = 98, increment = 97;
    QCOMPARE(m_Manager->GetValueAndRange("Nothing", writable, min, max, increment), -1.0);
    QCOMPARE(writable, true);
    QCOMPARE(min, 99.0);
    QCOMPARE(max, 98.0);
    QCOMPARE(increment, 97.0);
}

void tst_FeatureManager::setValue_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("failing");
    QTest::addColumn<double>("value");
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<double>("result");

    const double nan = std::numeric_limits<double>::quiet_NaN();

    QTest::newRow("int 9.5 snaps down to 8") << "IntFeature" << -1 << 9.5 << QStringList{"IntFeature=8"} << 8.0;
    QTest::newRow("int 50 clamps to the snapped max") << "IntFeature" << -1 << 50.0 << QStringList{"IntFeature=8"}
                                                      << 8.0;
    QTest::newRow("int 7.9 snaps down to 4") << "IntFeature" << -1 << 7.9 << QStringList{"IntFeature=4"} << 4.0;
    QTest::newRow("int below zero clamps to min") << "IntFeature" << -1 << -0.5 << QStringList{"IntFeature=0"}
                                                  << 0.0;
    QTest::newRow("int below min 10 clamps to 10") << "IntFrom10" << -1 << 3.0 << QStringList{"IntFrom10=10"}
                                                   << 10.0;
    QTest::newRow("int grid counts from min") << "IntFrom10" << -1 << 25.0 << QStringList{"IntFrom10=22"} << 22.0;
    QTest::newRow("int negative value") << "Negative" << -1 << -7.0 << QStringList{"Negative=-7"} << -7.0;
    QTest::newRow("int range fails: no -1, the camera takes a valid value")
        << "IntFeature" << int(Operation::GetRange) << 8.0 << QStringList{"IntFeature=8"} << 8.0;
    QTest::newRow("int range fails: the camera refuses an off-grid value")
        << "IntFeature" << int(Operation::GetRange) << 9.0 << QStringList{"IntFeature=9"} << 4.0;
    QTest::newRow("int range fails: the camera refuses an out-of-range value")
        << "IntFeature" << int(Operation::GetRange) << 50.0 << QStringList{"IntFeature=50"} << 4.0;
    QTest::newRow("int NaN writes nothing") << "IntFeature" << -1 << nan << QStringList() << 4.0;
    QTest::newRow("read-only int is read back only") << "ReadOnlyInt" << -1 << 7.0 << QStringList() << 3.0;
    QTest::newRow("refused int write returns the camera's value")
        << "IntFeature" << int(Operation::SetValue) << 8.0 << QStringList{"IntFeature=8"} << 4.0;

    QTest::newRow("float on the grid stays") << "FloatTenth" << -1 << 0.3 << QStringList{"FloatTenth=0.3"} << 0.3;
    QTest::newRow("float snaps down") << "FloatQuarter" << -1 << 0.9 << QStringList{"FloatQuarter=0.75"} << 0.75;
    QTest::newRow("float clamps to the snapped max") << "FloatQuarter" << -1 << 11.0
                                                     << QStringList{"FloatQuarter=10"} << 10.0;
    QTest::newRow("float without increment unchanged") << "FloatNoInc" << -1 << 3.37
                                                       << QStringList{"FloatNoInc=3.37"} << 3.37;
    QTest::newRow("float increment fails: unchanged") << "FloatNoInc" << int(Operation::GetIncrement) << 3.37
                                                      << QStringList{"FloatNoInc=3.37"} << 3.37;
    QTest::newRow("float increment fails: clamped up") << "FloatNoInc" << int(Operation::GetIncrement) << -5.0
                                                       << QStringList{"FloatNoInc=0"} << 0.0;
    QTest::newRow("float increment fails: clamped down") << "FloatNoInc" << int(Operation::GetIncrement) << 12.0
                                                         << QStringList{"FloatNoInc=10"} << 10.0;
    QTest::newRow("float range fails: value written") << "FloatNoInc" << int(Operation::GetRange) << 7.5
                                                      << QStringList{"FloatNoInc=7.5"} << 7.5;

    QTest::newRow("bool 0.5 is true") << "BoolFeature" << -1 << 0.5 << QStringList{"BoolFeature=true"} << 1.0;
    QTest::newRow("bool 0 is false") << "BoolFeature" << -1 << 0.0 << QStringList{"BoolFeature=false"} << 0.0;
    QTest::newRow("bool -1 is false") << "BoolFeature" << -1 << -1.0 << QStringList{"BoolFeature=false"} << 0.0;
    QTest::newRow("bool NaN is false") << "BoolFeature" << -1 << nan << QStringList{"BoolFeature=false"} << 0.0;

    QTest::newRow("enumeration writes nothing") << "LineSelector" << -1 << 1.0 << QStringList() << 1.0;
    QTest::newRow("missing feature") << "Nothing" << -1 << 5.0 << QStringList() << 5.0;
}

void tst_FeatureManager::setValue()
{
    QFETCH(QString, name);
    QFETCH(int, failing);
    QFETCH(double, value);
    QFETCH(QStringList, writes);
    QFETCH(double, result);

    inject(name, failing);
    m_Camera->clearJournal();
    QCOMPARE(m_Manager->SetValue(name, value), result);
    QCOMPARE(TestCamera::writes(*m_Camera), writes);
}

void tst_FeatureManager::setValueLogs_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("failing");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("written") << "IntFeature" << -1 << QStringList{"Set  IntFeature  =  9.5"};
    QTest::newRow("int refused") << "IntFeature" << int(Operation::SetValue)
                                 << QStringList{"Set  IntFeature  =  9.5",
                                                "Error: FeatureManager::SetValue:Int:  \"IntFeature\"  :  -13"};
    QTest::newRow("float refused") << "FloatNoInc" << int(Operation::SetValue)
                                   << QStringList{"Set  FloatNoInc  =  9.5",
                                                  "Error: FeatureManager::SetValue:Double:  \"FloatNoInc\"  :  -13"};
    QTest::newRow("bool refused") << "BoolFeature" << int(Operation::SetValue)
                                  << QStringList{"Set  BoolFeature  =  9.5",
                                                 "Error: FeatureManager::SetValue:Bool:  \"BoolFeature\"  :  -13"};
    QTest::newRow("enumeration") << "LineSelector" << -1 << QStringList{"Set  LineSelector  =  9.5"};
    QTest::newRow("read-only") << "ReadOnlyInt" << -1 << QStringList{"Set  ReadOnlyInt  =  9.5"};
    QTest::newRow("missing logs nothing") << "Nothing" << -1 << QStringList();
}

void tst_FeatureManager::setValueLogs()
{
    QFETCH(QString, name);
    QFETCH(int, failing);
    QFETCH(QStringList, messages);

    inject(name, failing);
    m_Manager->SetValue(name, 9.5);
    QCOMPARE(s_Messages, messages);
}

void tst_FeatureManager::getStringValue_data()
{
    QTest::addColumn<QString>("name1");
    QTest::addColumn<QString>("name2");
    QTest::addColumn<int>("failing");
    QTest::addColumn<QString>("expected");

    QTest::newRow("enumeration") << "TriggerSource" << "" << -1 << "Line1";
    QTest::newRow("string") << "DeviceModelName" << "" << -1 << "GX-1";
    QTest::newRow("second name") << "LineOutSelector" << "LineSelector" << -1 << "Line0";
    QTest::newRow("read fails") << "TriggerSource" << "" << int(Operation::GetValue) << "";
    QTest::newRow("missing") << "Nothing" << "" << -1 << "";
}

void tst_FeatureManager::getStringValue()
{
    QFETCH(QString, name1);
    QFETCH(QString, name2);
    QFETCH(int, failing);

    inject(name1, failing);
    QTEST(m_Manager->GetStringValue(name1, name2), "expected");
}

void tst_FeatureManager::setStringValue_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("failing");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QStringList>("writes");

    QTest::newRow("entry written") << QStringList{"TriggerSource"} << -1 << "Line0" << "Line0"
                                   << QStringList{"TriggerSource=Line0"};
    QTest::newRow("third alternative") << QStringList{"LineOutSelector", "SyncOutSelector", "LineSelector"} << -1
                                       << "Line2" << "Line2" << QStringList{"LineSelector=Line2"};
    QTest::newRow("unavailable entry refused") << QStringList{"TriggerSource"} << -1 << "Software" << ""
                                               << QStringList{"TriggerSource=Software"};
    QTest::newRow("unknown entry refused") << QStringList{"TriggerSource"} << -1 << "Bogus" << ""
                                           << QStringList{"TriggerSource=Bogus"};
    QTest::newRow("read-only refused") << QStringList{"ReadOnlyEnum"} << -1 << "A" << ""
                                       << QStringList{"ReadOnlyEnum=A"};
    QTest::newRow("camera fails") << QStringList{"TriggerSource"} << int(Operation::SetValue) << "Line0" << ""
                                  << QStringList{"TriggerSource=Line0"};
    QTest::newRow("missing") << QStringList{"Nothing"} << -1 << "Line0" << "" << QStringList();
}

void tst_FeatureManager::setStringValue()
{
    QFETCH(QStringList, names);
    QFETCH(int, failing);
    QFETCH(QString, value);
    QFETCH(QString, result);
    QFETCH(QStringList, writes);

    inject(names.first(), failing);
    m_Camera->clearJournal();
    QString returned;
    if (names.size() == 1)
        returned = m_Manager->SetStringValue(names[0], value);
    else
        returned = m_Manager->SetStringValue(names[0], names[1], names[2], value);
    QCOMPARE(returned, result);
    QCOMPARE(TestCamera::writes(*m_Camera), writes);
    // Text writes do not ask first and log nothing.
    for (const OrvSim::JournalEntry &entry : m_Camera->journal())
        QVERIFY(entry.operation != Operation::IsWritable);
    QCOMPARE(s_Messages, QStringList());
}

void tst_FeatureManager::questions()
{
    QVERIFY(m_Manager->IsFeatureWritable("LineSelector"));
    QVERIFY(m_Manager->IsFeatureWritable("Nothing", "LineSelector"));
    QVERIFY(!m_Manager->IsFeatureWritable("ReadOnlyEnum"));
    QVERIFY(!m_Manager->IsFeatureWritable("Nothing"));
    m_Camera->injectFailure("LineSelector", Operation::IsWritable, TKN::OrvAPI::OrvErrIO);
    QVERIFY(!m_Manager->IsFeatureWritable("LineSelector"));

    QVERIFY(m_Manager->FeatureExists("Nothing", "TriggerSoftware"));
    QVERIFY(!m_Manager->FeatureExists("triggersoftware"));
}

void tst_FeatureManager::runCommandFeature()
{
    m_Manager->RunCommandFeature("TriggerSoftware");
    m_Manager->RunCommandFeature("TriggerSoftware");
    m_Manager->RunCommandFeature("Nothing");
    QCOMPARE(m_Camera->commandCount("TriggerSoftware"), 2LL);

    m_Camera->injectFailure("TriggerSoftware", Operation::RunCommand, TKN::OrvAPI::OrvErrIO);
    m_Manager->RunCommandFeature("TriggerSoftware");
    QCOMPARE(s_Messages, QStringList());
}

void tst_FeatureManager::firstFeatureName_data()
{
    QTest::addColumn<QStringList>("candidates");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("displayName");

    QTest::newRow("empty list") << QStringList() << "" << "";
    QTest::newRow("none exists") << QStringList{"LineOutSelector", "SyncOutSelector"} << "" << "";
    QTest::newRow("first existing in list order")
        << QStringList{"SyncOutSelector", "LineSelector", "DeviceModelName"} << "LineSelector" << "Line Selector";
    QTest::newRow("display name defaults to name") << QStringList{"TriggerSource"} << "TriggerSource"
                                                   << "TriggerSource";
}

void tst_FeatureManager::firstFeatureName()
{
    QFETCH(QStringList, candidates);
    QTEST(m_Manager->FirstFeatureName(candidates), "name");
    QTEST(m_Manager->FirstFeatureDisplayName(candidates), "displayName");
}

void tst_FeatureManager::getAvailableEntries_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("failing");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("all available") << "LineSelector" << -1 << QStringList{"Line0", "Line1", "Line2"};
    QTest::newRow("unavailable dropped, order kept") << "TriggerSource" << -1 << QStringList{"Line0", "Line1"};
    QTest::newRow("availability query fails") << "TriggerSource" << int(Operation::IsValueAvailable)
                                              << QStringList();
    QTest::newRow("entry list fails") << "TriggerSource" << int(Operation::GetValues) << QStringList();
    QTest::newRow("missing") << "Nothing" << -1 << QStringList();
}

void tst_FeatureManager::getAvailableEntries()
{
    QFETCH(QString, name);
    QFETCH(int, failing);

    inject(name, failing);
    QTEST(m_Manager->GetAvailableEntries(name), "entries");
}

void tst_FeatureManager::fillComboBox_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("withToolTips");
    QTest::addColumn<QString>("cameraValue");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("current selected") << "TriggerSource" << false << "" << QStringList{"Line0", "Line1"} << 1
                                      << true;
    QTest::newRow("with tool tips") << "LineSelector" << true << "Line2" << QStringList{"Line0", "Line1", "Line2"}
                                    << 2 << true;
    QTest::newRow("read-only disabled") << "ReadOnlyEnum" << false << "" << QStringList{"A", "B"} << 1 << false;
    // The camera holds B, then BoolFeature turns true and B becomes unavailable.
    QTest::newRow("current not available") << "Unavailable" << false << "B" << QStringList{"A"} << -1 << true;
    QTest::newRow("missing") << "Nothing" << false << "" << QStringList() << -1 << false;
}

void tst_FeatureManager::fillComboBox()
{
    QFETCH(QString, name);
    QFETCH(bool, withToolTips);
    QFETCH(QString, cameraValue);
    QFETCH(QStringList, items);
    QFETCH(int, index);
    QFETCH(bool, enabled);

    if (!cameraValue.isEmpty()) {
        if (name == "Unavailable") {
            QCOMPARE(m_Camera->setFromCamera("BoolFeature", "false"), TKN::OrvAPI::OrvErrSuccess);
            QCOMPARE(m_Camera->setFromCamera(name.toStdString(), cameraValue.toStdString()),
                     TKN::OrvAPI::OrvErrSuccess);
            QCOMPARE(m_Camera->setFromCamera("BoolFeature", "true"), TKN::OrvAPI::OrvErrSuccess);
        } else {
            QCOMPARE(m_Camera->setFromCamera(name.toStdString(), cameraValue.toStdString()),
                     TKN::OrvAPI::OrvErrSuccess);
        }
    }

    QComboBox box;
    box.addItems({"stale", "Line1"});
    box.setCurrentIndex(1);
    box.setEnabled(!enabled);
    m_Camera->clearJournal();

    QCOMPARE(m_Manager->FillComboBox(name, &box, withToolTips), enabled);
    QStringList shown;
    for (int i = 0; i < box.count(); ++i) {
        shown << box.itemText(i);
        QCOMPARE(box.itemData(i, Qt::ToolTipRole).toString(), withToolTips ? box.itemText(i) : QString());
    }
    QCOMPARE(shown, items);
    QCOMPARE(box.currentIndex(), index);
    QCOMPARE(box.isEnabled(), enabled);
    QCOMPARE(TestCamera::writes(*m_Camera), QStringList());
}

void tst_FeatureManager::fillComboBoxNullBox()
{
    m_Camera->clearJournal();
    QVERIFY(!m_Manager->FillComboBox("TriggerSource", nullptr, true));
    QVERIFY(m_Camera->journal().empty());
}

QTEST_MAIN(tst_FeatureManager)
#include "tst_featuremanager.moc"
