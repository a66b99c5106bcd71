// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The provider-neutral camera API over the simulated cameras: ids, errors,
// acquisition and closing.
#include <OrvikCamera.h>
#include <OrvikSim.h>

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

using namespace TKN::OrvAPI;

class tst_CameraSystem : public QObject
{
    Q_OBJECT

private slots:
    void opens_data();
    void opens();
    void listsTheFolder();
    void cameraLifecycle();
    void featureGroups_data();
    void featureGroups();
    void valueText_data();
    void valueText();
};

void tst_CameraSystem::opens_data()
{
    // clang-format off
    QTest::addColumn<QString>("id");
    // The camera's id, or for a refusal "error: source:line".
    QTest::addColumn<QString>("expected");

    const QString folder = QStringLiteral(ORVIK_CAMERA_DIR);
    QTest::newRow("bare name") << "exposure-mode" << "sim:exposure-mode";
    QTest::newRow("provider and name") << "sim:syncout" << "sim:syncout";
    QTest::newRow("name with extension") << "sim:lineout.json" << "sim:lineout";
    QTest::newRow("file path") << "sim:" + folder + "/line-routing.json" << "sim:" + folder + "/line-routing.json";
    QTest::newRow("no such camera") << "no-such-camera" << "error: no-such-camera:0";
    QTest::newRow("a path is not looked up in the folder") << "sim:/nowhere/exposure-mode" << "error: /nowhere/exposure-mode:0";
    QTest::newRow("broken description") << "broken" << "error: broken.json:3";
    // clang-format on
}

void tst_CameraSystem::opens()
{
    QFETCH(QString, id);
    QFETCH(QString, expected);

    QTemporaryDir folder;
    for (const char *name : {"exposure-mode", "syncout", "lineout"}) {
        QVERIFY(QFile::copy(QStringLiteral(ORVIK_CAMERA_DIR "/%1.json").arg(name),
                            folder.filePath(QStringLiteral("%1.json").arg(name))));
    }
    std::ofstream(folder.filePath("broken.json").toStdString())
        << "{\n  \"name\": \"Broken\",\n  \"features\": [ { \"name\": 1 } ]\n}\n";
    CameraSystem cameras(folder.path().toStdString());
    try {
        const CameraPtr camera = cameras.OpenCamera(id.toStdString());
        QCOMPARE(QString::fromStdString(camera->GetId()), expected);
        QCOMPARE(QString::fromStdString(camera->GetProviderName()), QStringLiteral("sim"));
        QVERIFY(camera->GetFeature("TriggerMode") || camera->GetFeature("TriggerSelector"));
    } catch (const OpenError &e) {
        const QString source = QFileInfo(QString::fromStdString(e.source())).fileName() == QLatin1String("broken.json")
                                   ? QStringLiteral("broken.json")
                                   : QString::fromStdString(e.source());
        QCOMPARE(QStringLiteral("error: %1:%2").arg(source).arg(e.line()), expected);
        QVERIFY(!e.message().empty());
    }
}

void tst_CameraSystem::listsTheFolder()
{
    CameraSystem cameras(ORVIK_CAMERA_DIR);
    QStringList simulated;
    for (const CameraInfo &info : cameras.ListCameras()) {
        if (info.id.rfind("sim:", 0) == 0)
            simulated << QString::fromStdString(info.id);
    }
    QCOMPARE(simulated, (QStringList{"sim:exposure-auto", "sim:exposure-mode", "sim:line-routing", "sim:lineout",
                                     "sim:no-trigger-io", "sim:syncout"}));
    for (const CameraInfo &info : cameras.ListCameras()) {
        // Listing is only what is known here: Aravis's in-process fake at most.
        if (info.id.rfind("aravis:", 0) == 0)
            QCOMPARE(QString::fromStdString(info.id), QStringLiteral("aravis:Aravis-Fake-ORV01"));
    }
}

void tst_CameraSystem::cameraLifecycle()
{
    CameraSystem cameras(ORVIK_CAMERA_DIR);
    CameraPtr camera = cameras.OpenCamera("syncout");
    QVERIFY(OrvSim::Camera::of(camera));
    QVERIFY(camera->CountsFrames());
    QCOMPARE(camera->StartAcquisition(), OrvErrSuccess);
    QVERIFY(camera->IsAcquiring());
    QVERIFY(OrvSim::Camera::of(camera)->isAcquiring());
    QCOMPARE(camera->StopAcquisition(), OrvErrSuccess);
    QVERIFY(!camera->IsAcquiring());

    const FeaturePtr mode = camera->GetFeature("TriggerMode");
    QVERIFY(mode);
    camera->Close();
    camera->Close();
    std::string value;
    QCOMPARE(mode->GetValue(value), OrvErrNotAvailable);
    QVERIFY(!OrvSim::Camera::of(camera));
    QCOMPARE(camera->StartAcquisition(), OrvErrNotAvailable);
}

void tst_CameraSystem::featureGroups_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QStringList>("groups"); // "name|display name|feature count", root features as "|root|n"

    QTest::newRow("exposure-mode") << "exposure-mode" << QStringList{
        "|root|0", "DeviceControl|Device Control|4", "ImageFormatControl|Image Format Control|3",
        "AcquisitionControl|Acquisition Control|11", "AnalogControl|Analog Control|1",
        "DigitalIOControl|Digital IO Control|7", "FileAccessControl|File Access Control|1"};
    QTest::newRow("no categories") << "sim:%1/flat.json" << QStringList{"|root|2"};
    // clang-format on
}

// The feature tree of a simulated camera: its descriptions' categories, in
// order, each feature in exactly one place.
void tst_CameraSystem::featureGroups()
{
    QFETCH(QString, camera);
    QFETCH(QStringList, groups);

    QTemporaryDir folder;
    std::ofstream(folder.filePath("flat.json").toStdString())
        << R"({"features":[{"name":"A","type":"Boolean"},{"name":"B","type":"Boolean"}]})";
    CameraSystem cameras(ORVIK_CAMERA_DIR);
    const CameraPtr opened = cameras.OpenCamera(camera.arg(folder.path()).toStdString());
    const FeatureGroup root = opened->GetFeatureGroups();
    QStringList shown{QStringLiteral("|root|%1").arg(root.features.size())};
    std::size_t placed = root.features.size();
    for (const FeatureGroup &group : root.groups) {
        QVERIFY(group.groups.empty());
        shown << QStringLiteral("%1|%2|%3")
                     .arg(QString::fromStdString(group.name), QString::fromStdString(group.displayName))
                     .arg(group.features.size());
        placed += group.features.size();
    }
    QCOMPARE(shown, groups);
    QCOMPARE(placed, opened->GetFeatures().size());
}

void tst_CameraSystem::valueText_data()
{
    // clang-format off
    QTest::addColumn<QString>("feature"); // "type:value" in a description
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("expected"); // the text, or "error <code>"

    QTest::newRow("integer") << "Integer:-1234567890123" << 6 << "-1234567890123";
    QTest::newRow("float, six digits") << "Float:12345.678" << 6 << "12345.7";
    QTest::newRow("float, twelve digits") << "Float:12345.678" << 12 << "12345.678";
    QTest::newRow("float, small") << "Float:0.00001" << 6 << "1e-05";
    QTest::newRow("float, large") << "Float:1e7" << 6 << "1e+07";
    QTest::newRow("float, whole") << "Float:10000" << 6 << "10000";
    QTest::newRow("boolean") << "Boolean:true" << 6 << "true";
    QTest::newRow("string") << "String:a b" << 6 << "a b";
    QTest::newRow("enumeration") << "Enumeration:Off" << 6 << "Off";
    QTest::newRow("command: no value") << "Command:" << 6 << "error " + QString::number(OrvErrWrongType);
    // clang-format on
}

// The text the feature tables, the page's observer and orvik-features show.
void tst_CameraSystem::valueText()
{
    QFETCH(QString, feature);
    QFETCH(int, precision);
    QFETCH(QString, expected);

    const QString type = feature.section(':', 0, 0), value = feature.section(':', 1);
    QString entry = QStringLiteral("{\"name\":\"F\",\"type\":\"%1\"").arg(type);
    if (type == "Enumeration")
        entry += QStringLiteral(",\"entries\":[\"On\",\"Off\"],\"value\":\"%1\"").arg(value);
    else if (type == "String")
        entry += QStringLiteral(",\"value\":\"%1\"").arg(value);
    else if (type == "Boolean")
        entry += QStringLiteral(",\"value\":%1").arg(value);
    else if (type != "Command")
        entry += QStringLiteral(",\"min\":-9000000000000,\"max\":9000000000000,\"value\":%1").arg(value);
    const std::shared_ptr<OrvSim::Camera> camera =
        OrvSim::Camera::fromJson(("{\"features\":[" + entry + "}]}").toStdString(), "value.json");
    const FeaturePtr f = camera->feature("F");
    QVERIFY(f);
    OrvFeatureDataType dataType = OrvFeatureDataUnknown;
    f->GetDataType(dataType);

    std::string text;
    const OrvErrorType read = ReadValueText(*f, dataType, text, precision);
    QCOMPARE(read == OrvErrSuccess ? QString::fromStdString(text) : "error " + QString::number(read), expected);

    camera->injectFailure("F", OrvSim::Operation::GetValue, OrvErrTimeout, 1);
    text = "stale";
    const OrvErrorType err = ReadValueText(*f, dataType, text, precision);
    if (type != "Command") {
        QCOMPARE(err, OrvErrTimeout);
        QVERIFY(text.empty());
    }
}

QTEST_APPLESS_MAIN(tst_CameraSystem)
#include "tst_camerasystem.moc"
