// Camera descriptions: the errors a broken one gives, and the large benchmark camera.
// Every other test loads the shipped cameras.
#include "orvapitest.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <set>

using namespace OrvapiTest;

class tst_DescriptionLoader : public QObject
{
    Q_OBJECT

private slots:
    void badDescriptions_data();
    void badDescriptions();
    void fileErrorsNameTheFile();
    void largeCamera();
};

void tst_DescriptionLoader::badDescriptions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing comma") << R"({
  "name": "x",
  "features": [ { "name": "A" "type": "String" } ]
})" << 3 << "JSON syntax error";
    QTest::newRow("cut off") << R"({
  "features": [
    { "name": "A", "type": "String" }
)" << 4 << "unexpected end of input";
    QTest::newRow("misspelt key") << R"({ "features": [
    { "name": "Width", "type": "Integer", "min": 0, "max": 10,
      "writeable": false }
] })" << 3 << "unknown key \"writeable\"";
    QTest::newRow("unknown type") << R"({ "features": [
    { "name": "Width", "type": "Integer", "min": 0, "max": 10 },
    { "name": "Gain",
      "type": "Integr" }
] })" << 4 << "feature \"Gain\": unknown type \"Integr\"";
    QTest::newRow("duplicate entry") << R"({ "features": [
    { "name": "Mode", "type": "Enumeration",
      "entries": ["On",
                  "On"] }
] })" << 4 << "duplicate entry \"On\"";
    QTest::newRow("condition value not an entry") << R"({ "features": [
    { "name": "Mode", "type": "Enumeration", "entries": ["Input", "Output"] },
    { "name": "Source", "type": "Boolean", "writable": { "feature": "Mode",
      "is": "Outptu" } }
] })" << 4 << "which is not an entry";
    QTest::newRow("values for an unknown selector entry") << R"({ "features": [
    { "name": "S", "type": "Enumeration", "entries": ["Line0"], "selects": ["M"] },
    { "name": "M", "type": "Boolean", "values": {
        "Line7": true } }
] })" << 4 << "\"Line7\" is not an entry of the selector \"S\"";
    QTest::newRow("zero increment") << R"({ "features": [
    { "name": "Width", "type": "Integer", "min": 0, "max": 8, "inc": 0 }
] })" << 2 << "inc must be greater than 0";
    QTest::newRow("value off the grid") << R"({ "features": [
    { "name": "Width", "type": "Integer", "min": 16, "max": 64, "inc": 16,
      "value": 20 }
] })" << 3 << "value 20 is not min plus a multiple of inc";
    QTest::newRow("integer beyond 64 bits") << R"({ "features": [
    { "name": "Big", "type": "Integer", "min": 0,
      "max": 18446744073709551615 }
] })" << 3 << "beyond the 64-bit range";
    QTest::newRow("frame rate of zero") << R"({ "features": [],
  "timing": { "readoutTime": 500,
              "frameRate": 0 } })" << 3 << "\"frameRate\" must be a number of frames per second";
    QTest::newRow("readout time in seconds") << R"({ "features": [],
  "timing": { "readoutTime": 0.5 } })" << 2 << "\"readoutTime\" must be whole microseconds";
    QTest::newRow("misspelt timing key") << R"({ "features": [],
  "timing": {
    "framerate": 30 } })" << 3 << "unknown key \"framerate\" in \"timing\"";
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
        QVERIFY2(q(error.message()).contains(message), error.what());
        QCOMPARE(QString(error.what()), QString("bad.json:%1: %2").arg(line).arg(q(error.message())));
        QCOMPARE(q(error.file()), QString("bad.json"));
        QCOMPARE(error.line(), line);
    }
}

void tst_DescriptionLoader::fileErrorsNameTheFile()
{
    QTemporaryDir dir;
    const std::string missing = (dir.path() + "/missing.json").toStdString();
    const std::string broken = (dir.path() + "/broken.json").toStdString();
    std::ofstream(broken) << "{\n  \"features\": [\n    { \"name\": \"A\", \"type\": \"String\", }\n  ]\n}\n";
    for (const std::string &path : {missing, broken}) {
        try {
            OrvSim::Camera::fromFile(path);
            QFAIL("the file was accepted");
        } catch (const OrvSim::LoadError &error) {
            QCOMPARE(q(error.file()), q(path));
            QCOMPARE(error.line(), path == missing ? 0 : 3);
            QVERIFY2(path == broken || q(error.message()).contains("cannot open"), error.what());
        }
    }
}

void tst_DescriptionLoader::largeCamera()
{
    const std::shared_ptr<OrvSim::Camera> camera =
        OrvSim::Camera::fromJson(OrvSim::Camera::largeCameraJson(2000, 8), "large");
    QCOMPARE(camera->features().size(), std::size_t(2000));
    std::set<OrvFeatureDataType> types;
    for (const FeaturePtr &feature : camera->features()) {
        OrvFeatureDataType type = OrvFeatureDataUnknown;
        QCOMPARE(feature->GetDataType(type), OrvErrSuccess);
        types.insert(type);
    }
    QCOMPARE(types.size(), std::size_t(7));
    std::vector<std::string> lines;
    QCOMPARE(camera->feature("LineSelector")->GetValues(lines), OrvErrSuccess);
    QCOMPARE(lines.size(), std::size_t(8));
    QCOMPARE(q(camera->valueOf("LineMode", "Line3")) + q(camera->valueOf("LineMode", "Line4")), QString("InputOutput"));
    QVERIFY(camera->feature("TriggerSoftware") && camera->feature("UserOutputValue"));
}

QTEST_APPLESS_MAIN(tst_DescriptionLoader)
#include "tst_descriptionloader.moc"
