// Camera descriptions: the shipped cameras, the large benchmark camera, and
// the errors a broken description gives.
#include "orvapitest.h"

#include <testcamera.h>

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <set>

using namespace TKN::OrvAPI;
using namespace OrvapiTest;

namespace {

QStringList entriesOf(const FeaturePtr &feature)
{
    std::vector<std::string> entries;
    if (feature->GetValues(entries) != OrvErrSuccess)
        return QStringList{"error"};
    return q(entries);
}

} // namespace

class tst_DescriptionLoader : public QObject
{
    Q_OBJECT

private slots:
    void shippedEntries_data();
    void shippedEntries();
    void shippedFeaturePresence_data();
    void shippedFeaturePresence();
    void shippedRanges_data();
    void shippedRanges();
    void badDescriptions_data();
    void badDescriptions();
    void fileErrorsNameTheFile();
    void largeCamera();
};

void tst_DescriptionLoader::shippedEntries_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QStringList>("entries");

    const QStringList activations = {"RisingEdge", "FallingEdge", "AnyEdge", "LevelHigh", "LevelLow"};
    const QStringList acquisitionModes = {"SingleFrame", "MultiFrame", "Continuous"};
    for (const char *file : {"exposure-mode.json", "line-routing.json", "exposure-auto.json", "syncout.json",
                             "lineout.json"}) {
        QTest::addRow("%s activation", file) << file << "TriggerActivation" << activations;
        QTest::addRow("%s trigger mode", file) << file << "TriggerMode" << QStringList{"Off", "On"};
    }
    for (const char *file : {"exposure-mode.json", "line-routing.json", "exposure-auto.json", "syncout.json",
                             "lineout.json", "no-trigger-io.json"})
        QTest::addRow("%s acquisition mode", file) << file << "AcquisitionMode" << acquisitionModes;

    QTest::newRow("default camera sources")
        << "exposure-mode.json" << "TriggerSource"
        << QStringList{"Line0", "Line1", "Line2", "Line3", "Line4", "Line5", "Software", "SoftwareSignal0"};
    QTest::newRow("default camera selector") << "exposure-mode.json" << "TriggerSelector"
                                             << QStringList{"AcquisitionStart", "FrameStart"};
    QTest::newRow("default camera exposure mode") << "exposure-mode.json" << "ExposureMode"
                                                  << QStringList{"Timed", "TriggerWidth"};
    QTest::newRow("default camera lines") << "exposure-mode.json" << "LineSelector"
                                          << QStringList{"Line0", "Line1", "Line2", "Line3", "Line4", "Line5"};
    QTest::newRow("default camera line sources")
        << "exposure-mode.json" << "LineSource"
        << QStringList{"Off", "Direct", "UserOutput1", "UserOutput2", "UserOutput3", "ExposureActive",
                       "FrameTriggerWait", "AcquisitionActive"};
    QTest::newRow("default camera user outputs") << "exposure-mode.json" << "UserOutputSelector"
                                                 << QStringList{"UserOutput1", "UserOutput2", "UserOutput3"};
    QTest::newRow("routing camera sources") << "line-routing.json" << "TriggerSource"
                                            << QStringList{"InputLines", "Software"};
    QTest::newRow("routing camera selector") << "line-routing.json" << "TriggerSelector"
                                             << QStringList{"ExposureStart", "ExposureActive", "AcquisitionStart"};
    QTest::newRow("routing") << "line-routing.json" << "LineRouting" << QStringList{"Off", "Trigger"};
    QTest::newRow("routing camera line sources")
        << "line-routing.json" << "LineSource"
        << QStringList{"Off", "Direct", "ExposureActive", "FrameTriggerWait", "UserOutput1", "UserOutput2"};
    QTest::newRow("exposure auto") << "exposure-auto.json" << "ExposureAuto"
                                   << QStringList{"Off", "Once", "Continuous", "other"};
    QTest::newRow("auto camera exposure mode") << "exposure-auto.json" << "ExposureMode" << QStringList{"Timed"};
    QTest::newRow("auto camera selector") << "exposure-auto.json" << "TriggerSelector"
                                          << QStringList{"FrameStart", "AcquisitionStart"};
    QTest::newRow("auto camera sources") << "exposure-auto.json" << "TriggerSource"
                                         << QStringList{"Line0", "Line1", "Software", "SoftwareSignal0"};
    QTest::newRow("sync outs") << "syncout.json" << "SyncOutSelector"
                               << QStringList{"SyncOut1", "SyncOut2", "SyncOut3", "SyncOut4"};
    QTest::newRow("sync out sources") << "syncout.json" << "SyncOutSource"
                                      << QStringList{"GPO", "Exposing", "FrameTriggerReady", "FrameTrigger", "Imaging"};
    QTest::newRow("sync out polarity") << "syncout.json" << "SyncOutPolarity" << QStringList{"Normal", "Invert"};
    QTest::newRow("sync out camera sources") << "syncout.json" << "TriggerSource"
                                             << QStringList{"Freerun", "Line1", "Line2", "Software"};
    QTest::newRow("sync out camera selector") << "syncout.json" << "TriggerSelector" << QStringList{"FrameStart"};
    QTest::newRow("line outs") << "lineout.json" << "LineOutSelector" << QStringList{"LineOut1", "LineOut2", "LineOut3"};
    QTest::newRow("line out sources") << "lineout.json" << "LineOutSource"
                                      << QStringList{"GPO", "Exposing", "FrameTriggerReady", "FrameTrigger", "Imaging"};
    QTest::newRow("line out polarity") << "lineout.json" << "LineOutPolarity" << QStringList{"Normal", "Invert"};
}

void tst_DescriptionLoader::shippedEntries()
{
    QFETCH(QString, file);
    QFETCH(QString, feature);
    QFETCH(QStringList, entries);

    const std::shared_ptr<OrvSim::Camera> camera = TestCamera::load(file.toUtf8().constData());
    const FeaturePtr f = camera->feature(feature.toStdString());
    QVERIFY(f);
    QCOMPARE(entriesOf(f), entries);
}

void tst_DescriptionLoader::shippedFeaturePresence_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("feature");
    QTest::addColumn<bool>("present");

    QTest::newRow("plain camera has no lines") << "no-trigger-io.json" << "LineSelector" << false;
    QTest::newRow("plain camera has no line out levels") << "no-trigger-io.json" << "LineOutLevels" << false;
    QTest::newRow("plain camera has no sync out levels") << "no-trigger-io.json" << "SyncOutLevels" << false;
    QTest::newRow("plain camera has commands") << "no-trigger-io.json" << "AcquisitionStart" << true;
    QTest::newRow("auto camera has no routing") << "exposure-auto.json" << "LineRouting" << false;
    QTest::newRow("default camera has no routing") << "exposure-mode.json" << "LineRouting" << false;
    QTest::newRow("default camera has no exposure auto") << "exposure-mode.json" << "ExposureAuto" << false;
    QTest::newRow("sync out camera has no line selector") << "syncout.json" << "LineSelector" << false;
    QTest::newRow("line out camera has no user outputs") << "lineout.json" << "UserOutputSelector" << false;
    QTest::newRow("line out camera has no line selector") << "lineout.json" << "LineSelector" << false;
    for (const char *file : {"exposure-mode.json", "line-routing.json", "exposure-auto.json", "syncout.json",
                             "lineout.json", "no-trigger-io.json"}) {
        for (const char *feature : {"Width", "Height", "ExposureTime", "PixelFormat", "DeviceModelName",
                                    "AcquisitionFrameCount", "AcquisitionStop"})
            QTest::addRow("%s %s", file, feature) << file << feature << true;
    }
    for (const char *file : {"exposure-mode.json", "line-routing.json", "exposure-auto.json", "syncout.json",
                             "lineout.json"})
        QTest::addRow("%s software trigger", file) << file << "TriggerSoftware" << true;
}

void tst_DescriptionLoader::shippedFeaturePresence()
{
    QFETCH(QString, file);
    QFETCH(QString, feature);
    QFETCH(bool, present);

    const std::shared_ptr<OrvSim::Camera> camera = TestCamera::load(file.toUtf8().constData());
    QCOMPARE(bool(camera->feature(feature.toStdString())), present);
}

void tst_DescriptionLoader::shippedRanges_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("feature");
    QTest::addColumn<qlonglong>("minimum");
    QTest::addColumn<qlonglong>("maximum");
    QTest::addColumn<qlonglong>("increment");

    for (const char *file : {"exposure-mode.json", "line-routing.json", "exposure-auto.json", "syncout.json",
                             "lineout.json", "no-trigger-io.json"})
        QTest::addRow("%s frame count", file) << file << "AcquisitionFrameCount" << 1LL << 65535LL << 1LL;
    QTest::newRow("sync out levels") << "syncout.json" << "SyncOutLevels" << 0LL << 15LL << 1LL;
    QTest::newRow("line out levels") << "lineout.json" << "LineOutLevels" << 0LL << 7LL << 1LL;
}

void tst_DescriptionLoader::shippedRanges()
{
    QFETCH(QString, file);
    QFETCH(QString, feature);
    QFETCH(qlonglong, minimum);
    QFETCH(qlonglong, maximum);
    QFETCH(qlonglong, increment);

    const std::shared_ptr<OrvSim::Camera> camera = TestCamera::load(file.toUtf8().constData());
    const FeaturePtr f = camera->feature(feature.toStdString());
    QVERIFY(f);
    long long low = 0, high = 0, step = 0;
    QCOMPARE(f->GetRange(low, high), OrvErrSuccess);
    QCOMPARE(f->GetIncrement(step), OrvErrSuccess);
    QCOMPARE(qlonglong(low), minimum);
    QCOMPARE(qlonglong(high), maximum);
    QCOMPARE(qlonglong(step), increment);
}

void tst_DescriptionLoader::badDescriptions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing comma") << "{\n  \"name\": \"x\",\n  \"features\": [ { \"name\": \"A\" \"type\": \"String\" } ]\n}"
                                   << 3 << "JSON syntax error";
    QTest::newRow("cut off") << "{\n  \"features\": [\n    { \"name\": \"A\", \"type\": \"String\" }\n" << 4
                             << "unexpected end of input";
    QTest::newRow("empty") << "" << 1 << "JSON syntax error";
    QTest::newRow("not an object") << "\n[]" << 2 << "a camera description is a JSON object";
    QTest::newRow("no features") << "{\n  \"name\": \"x\"\n}" << 1 << "no \"features\" list";
    QTest::newRow("unknown top-level key") << "{\n  \"features\": [],\n  \"vendor\": \"x\"\n}" << 3
                                           << "unknown key \"vendor\"";
    QTest::newRow("unknown type")
        << "{ \"features\": [\n    { \"name\": \"Width\", \"type\": \"Integer\", \"min\": 0, \"max\": 10 },\n"
           "    { \"name\": \"Gain\",\n      \"type\": \"Integr\" }\n] }"
        << 4 << "feature \"Gain\": unknown type \"Integr\"";
    QTest::newRow("missing name")
        << "{ \"features\": [\n    { \"name\": \"A\", \"type\": \"Boolean\" },\n    {\n      \"type\": \"Boolean\" }\n] }"
        << 3 << "feature 2 has no \"name\"";
    QTest::newRow("duplicate name")
        << "{ \"features\": [\n    { \"name\": \"Width\", \"type\": \"Boolean\" },\n"
           "    { \"name\": \"Width\", \"type\": \"Boolean\" }\n] }"
        << 3 << "duplicate feature name \"Width\"";
    QTest::newRow("value not an entry")
        << "{ \"features\": [\n    { \"name\": \"TriggerMode\", \"type\": \"Enumeration\",\n"
           "      \"entries\": [\"Off\", \"On\"],\n      \"value\": \"Of\" }\n] }"
        << 4 << "feature \"TriggerMode\": value \"Of\" is not an entry";
    QTest::newRow("selector selects itself")
        << "{ \"features\": [\n    { \"name\": \"LineSelector\", \"type\": \"Enumeration\", \"entries\": [\"Line0\"],\n"
           "      \"selects\": [\n        \"LineSelector\" ] }\n] }"
        << 4 << "a selector cannot select itself";
    QTest::newRow("selects an unknown feature")
        << "{ \"features\": [\n    { \"name\": \"LineSelector\", \"type\": \"Enumeration\", \"entries\": [\"Line0\"],\n"
           "      \"selects\": [\"LineMod\"] }\n] }"
        << 3 << "selects unknown feature \"LineMod\"";
    QTest::newRow("selected twice")
        << "{ \"features\": [\n    { \"name\": \"A\", \"type\": \"Boolean\" },\n"
           "    { \"name\": \"S1\", \"type\": \"Enumeration\", \"entries\": [\"x\"], \"selects\": [\"A\"] },\n"
           "    { \"name\": \"S2\", \"type\": \"Enumeration\", \"entries\": [\"y\"],\n      \"selects\": [\"A\"] }\n] }"
        << 5 << "\"A\" is already selected by \"S1\"";
    QTest::newRow("condition on an unknown feature")
        << "{ \"features\": [\n    { \"name\": \"LineSource\", \"type\": \"Boolean\",\n      \"writable\": {\n"
           "        \"feature\": \"LineMod\", \"is\": \"Output\" } }\n] }"
        << 4 << "condition names unknown feature \"LineMod\"";
    QTest::newRow("condition value not an entry")
        << "{ \"features\": [\n    { \"name\": \"Mode\", \"type\": \"Enumeration\", \"entries\": [\"Input\", \"Output\"] },\n"
           "    { \"name\": \"Source\", \"type\": \"Boolean\", \"writable\": { \"feature\": \"Mode\",\n"
           "      \"is\": \"Outptu\" } }\n] }"
        << 4 << "which is not an entry";
    QTest::newRow("min above max")
        << "{ \"features\": [\n    { \"name\": \"Width\", \"type\": \"Integer\",\n      \"min\": 100,\n      \"max\": 10 }\n] }"
        << 3 << "min 100 is greater than max 10";
    QTest::newRow("float min above max")
        << "{ \"features\": [\n    { \"name\": \"Gain\", \"type\": \"Float\", \"min\": 2.5, \"max\": 1 }\n] }" << 2
        << "min 2.5 is greater than max 1";
    QTest::newRow("misspelt key")
        << "{ \"features\": [\n    { \"name\": \"Width\", \"type\": \"Integer\", \"min\": 0, \"max\": 10,\n"
           "      \"writeable\": false }\n] }"
        << 3 << "unknown key \"writeable\"";
    QTest::newRow("value for a command")
        << "{ \"features\": [\n    { \"name\": \"TriggerSoftware\", \"type\": \"Command\", \"value\": 1 }\n] }" << 2
        << "unknown key \"value\" for type Command";
    QTest::newRow("values for a feature nobody selects")
        << "{ \"features\": [\n    { \"name\": \"LineMode\", \"type\": \"Boolean\",\n      \"values\": { \"Line1\": true } }\n] }"
        << 3 << "no selector selects this feature";
    QTest::newRow("values for an unknown selector entry")
        << "{ \"features\": [\n    { \"name\": \"S\", \"type\": \"Enumeration\", \"entries\": [\"Line0\"], \"selects\": [\"M\"] },\n"
           "    { \"name\": \"M\", \"type\": \"Boolean\", \"values\": {\n        \"Line7\": true } }\n] }"
        << 4 << "\"Line7\" is not an entry of the selector \"S\"";
    QTest::newRow("value off the grid")
        << "{ \"features\": [\n    { \"name\": \"Width\", \"type\": \"Integer\", \"min\": 16, \"max\": 64, \"inc\": 16,\n"
           "      \"value\": 20 }\n] }"
        << 3 << "value 20 is not min plus a multiple of inc";
    QTest::newRow("value out of range")
        << "{ \"features\": [\n    { \"name\": \"Gain\", \"type\": \"Float\", \"min\": 0, \"max\": 1, \"value\": 2 }\n] }"
        << 2 << "value 2 is outside 0..1";
    QTest::newRow("zero increment")
        << "{ \"features\": [\n    { \"name\": \"Width\", \"type\": \"Integer\", \"min\": 0, \"max\": 8, \"inc\": 0 }\n] }"
        << 2 << "inc must be greater than 0";
    QTest::newRow("enumeration without entries")
        << "{ \"features\": [\n    { \"name\": \"Mode\", \"type\": \"Enumeration\", \"entries\": [] }\n] }" << 2
        << "\"entries\" must be a non-empty list";
    QTest::newRow("duplicate entry")
        << "{ \"features\": [\n    { \"name\": \"Mode\", \"type\": \"Enumeration\",\n      \"entries\": [\"On\",\n"
           "                  \"On\"] }\n] }"
        << 4 << "duplicate entry \"On\"";
    QTest::newRow("selector entry condition without selector")
        << "{ \"features\": [\n    { \"name\": \"Mode\", \"type\": \"Boolean\",\n"
           "      \"writable\": { \"selectorEntry\": [\"Line4\"] } }\n] }"
        << 3 << "\"selectorEntry\" on a feature that no selector selects";
    QTest::newRow("boolean given a text")
        << "{ \"features\": [\n    { \"name\": \"LineInverter\", \"type\": \"Boolean\", \"value\": \"yes\" }\n] }" << 2
        << "the value must be true or false";
    QTest::newRow("nested selectors")
        << "{ \"features\": [\n    { \"name\": \"A\", \"type\": \"Enumeration\", \"entries\": [\"x\"], \"selects\": [\"B\"] },\n"
           "    { \"name\": \"B\", \"type\": \"Enumeration\", \"entries\": [\"y\"], \"selects\": [\"C\"] },\n"
           "    { \"name\": \"C\", \"type\": \"Boolean\" }\n] }"
        << 2 << "selectors do not nest";
    QTest::newRow("integer beyond 64 bits")
        << "{ \"features\": [\n    { \"name\": \"Big\", \"type\": \"Integer\", \"min\": 0,\n"
           "      \"max\": 18446744073709551615 }\n] }"
        << 3 << "beyond the 64-bit range";
}

void tst_DescriptionLoader::badDescriptions()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(QString, message);

    try {
        OrvSim::Camera::fromJson(text.toStdString(), "bad.json");
        QFAIL("the description was accepted");
    } catch (const OrvSim::LoadError &error) {
        QCOMPARE(q(error.file()), QString("bad.json"));
        QVERIFY2(q(error.message()).contains(message), error.what());
        QCOMPARE(error.line(), line);
        QCOMPARE(QString(error.what()), QString("bad.json:%1: %2").arg(line).arg(q(error.message())));
    }
}

void tst_DescriptionLoader::fileErrorsNameTheFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::string missing = (dir.path() + "/missing.json").toStdString();
    try {
        OrvSim::Camera::fromFile(missing);
        QFAIL("a missing file was accepted");
    } catch (const OrvSim::LoadError &error) {
        QCOMPARE(q(error.file()), q(missing));
        QCOMPARE(error.line(), 0);
        QVERIFY2(q(error.message()).contains("cannot open"), error.what());
    }

    const std::string broken = (dir.path() + "/broken.json").toStdString();
    std::ofstream(broken) << "{\n  \"features\": [\n    { \"name\": \"A\", \"type\": \"String\", }\n  ]\n}\n";
    try {
        OrvSim::Camera::fromFile(broken);
        QFAIL("a broken file was accepted");
    } catch (const OrvSim::LoadError &error) {
        QCOMPARE(q(error.file()), q(broken));
        QCOMPARE(error.line(), 3);
    }
}

void tst_DescriptionLoader::largeCamera()
{
    const std::string json = OrvSim::Camera::largeCameraJson(2000, 8);
    const std::shared_ptr<OrvSim::Camera> camera = OrvSim::Camera::fromJson(json, "large");
    QCOMPARE(camera->features().size(), std::size_t(2000));
    std::set<std::string> names;
    std::set<OrvFeatureDataType> types;
    for (const FeaturePtr &feature : camera->features()) {
        std::string featureName;
        OrvFeatureDataType type = OrvFeatureDataUnknown;
        QCOMPARE(feature->GetName(featureName), OrvErrSuccess);
        QCOMPARE(feature->GetDataType(type), OrvErrSuccess);
        names.insert(featureName);
        types.insert(type);
    }
    QCOMPARE(names.size(), std::size_t(2000));
    QCOMPARE(types.size(), std::size_t(7));
    QCOMPARE(entriesOf(camera->feature("LineSelector")).size(), 8);
    QCOMPARE(q(camera->valueOf("LineMode", "Line3")), QString("Input"));
    QCOMPARE(q(camera->valueOf("LineMode", "Line4")), QString("Output"));
    QVERIFY(camera->feature("TriggerSoftware"));
    QVERIFY(camera->feature("UserOutputValue"));
}

QTEST_APPLESS_MAIN(tst_DescriptionLoader)
#include "tst_descriptionloader.moc"
