// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Camera descriptions: the errors a broken or hostile one gives, and the large
// benchmark camera. Every other test loads the shipped cameras.
#include "orvapitest.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <set>

using namespace OrvapiTest;

class tst_DescriptionLoader : public QObject
{
    Q_OBJECT

private slots:
    void badDescriptions_data();
    void badDescriptions();
    void fileErrors_data();
    void fileErrors();
    void unreadableFile();
    void crashFiles_data();
    void crashFiles();
    void nestingLimit_data();
    void nestingLimit();
    void largeCamera();
};

void tst_DescriptionLoader::badDescriptions_data()
{
    // clang-format off
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
    QTest::newRow("category not a text") << R"({ "features": [
    { "name": "Width", "type": "Integer", "min": 0, "max": 10,
      "category": ["ImageFormatControl"] }
] })" << 3 << "\"category\" must be a text";
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
    QTest::newRow("duplicate key spelt with an escape") << R"({ "features": [
    { "name": "Width", "type": "Integer", "min": 0, "max": 10,
      "\u006dax": 20 }
] })" << 3 << "duplicate key \"max\"";
    QTest::newRow("misspelt key with escapes on its own line") << R"({ "features": [
    { "name": "Width", "type": "Integer", "min": 0, "max": 10,
      "v\u00e4lue": 1, "\ud83d\ude00": 2 }
] })" << 3 << "unknown key \"v\u00e4lue\"";
    QTest::newRow("long value cut short in the message") << QString(R"({ "features": [
    { "name": "S", "type": "Enumeration", "entries": ["Line0"], "selects": ["B"] },
    { "name": "B", "type": "Boolean", "writable": { "selectorEntry": [
      [%1] ] } }
] })").arg(QString("1,").repeated(50000) + "1") << 4 << "names [1,1,1,";
    QTest::newRow("volatile not a truth value") << R"({ "features": [
    { "name": "LineStatus", "type": "Boolean",
      "volatile": "yes" }
] })" << 3 << "\"volatile\" must be true or false";
    QTest::newRow("frame rate of zero") << R"({ "features": [],
  "timing": { "readoutTime": 500,
              "frameRate": 0 } })" << 3 << "\"frameRate\" must be a number of frames per second";
    QTest::newRow("readout time in seconds") << R"({ "features": [],
  "timing": { "readoutTime": 0.5 } })" << 2 << "\"readoutTime\" must be whole microseconds";
    QTest::newRow("misspelt timing key") << R"({ "features": [],
  "timing": {
    "framerate": 30 } })" << 3 << "unknown key \"framerate\" in \"timing\"";
    // clang-format on
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

void tst_DescriptionLoader::fileErrors_data()
{
    // clang-format off
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "missing" << 0 << "cannot open the file: No such file or directory";
    QTest::newRow("broken") << "broken" << 3 << "JSON syntax error";
    QTest::newRow("folder") << "folder" << 0 << "is a folder, not a camera description file";
    // Read to its end, a FIFO blocks and /dev/zero never ends.
    QTest::newRow("FIFO") << "fifo" << 0 << "is not a regular file";
    QTest::newRow("device") << "device" << 0 << "is not a regular file";
    QTest::newRow("too long") << "long" << 0 << "the description has 52428800 bytes, more than the limit";
    // clang-format on
}

void tst_DescriptionLoader::fileErrors()
{
    QFETCH(QString, kind);
    QFETCH(int, line);
    QFETCH(QString, message);

    QTemporaryDir dir;
    std::string path = (dir.path() + "/" + kind + ".json").toStdString();
    if (kind == "broken") {
        std::ofstream(path) << "{\n  \"features\": [\n    { \"name\": \"A\", \"type\": \"String\", }\n  ]\n}\n";
    } else if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir(kind + ".json"));
    } else if (kind == "fifo") {
        QCOMPARE(mkfifo(path.c_str(), 0600), 0);
    } else if (kind == "device") {
        path = "/dev/zero";
    } else if (kind == "long") {
        QFile file(QString::fromStdString(path));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(50 * 1024 * 1024));
    }
    try {
        OrvSim::Camera::fromFile(path);
        QFAIL("the file was accepted");
    } catch (const OrvSim::LoadError &error) {
        QCOMPARE(q(error.file()), q(path));
        QCOMPARE(error.line(), line);
        QVERIFY2(q(error.message()).contains(message), error.what());
        // No "line 0" in the text: the line is left out when there is none.
        QCOMPARE(QString(error.what()), line > 0 ? QString("%1:%2: %3").arg(q(path)).arg(line).arg(q(error.message()))
                                                 : QString("%1: %2").arg(q(path), q(error.message())));
    }
}

// Root reads any file, so the test reads as an unprivileged user in a child.
void tst_DescriptionLoader::unreadableFile()
{
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                                  | QFile::ExeOther));
    const std::string path = (dir.path() + "/secret.json").toStdString();
    std::ofstream(path) << "{ \"features\": [] }";
    QCOMPARE(chmod(path.c_str(), 0), 0);

    int channel[2];
    QCOMPARE(pipe(channel), 0);
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        close(channel[0]);
        std::string text = "accepted";
        if (geteuid() != 0 || setuid(65534) == 0) {
            try {
                OrvSim::Camera::fromFile(path);
            } catch (const OrvSim::LoadError &error) {
                text = error.what();
            }
        }
        const ssize_t written = write(channel[1], text.data(), text.size());
        _exit(written == static_cast<ssize_t>(text.size()) ? 0 : 1);
    }
    close(channel[1]);
    QByteArray text;
    char buffer[512];
    ssize_t got = 0;
    while ((got = read(channel[0], buffer, sizeof(buffer))) > 0)
        text.append(buffer, static_cast<int>(got));
    close(channel[0]);
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QCOMPARE(QString(text), QString("%1: cannot open the file: Permission denied").arg(q(path)));
}

// Files that once crashed the loader, or made it run out of memory, each with
// what it must say now. A file added without a row only has to fail cleanly.
void tst_DescriptionLoader::crashFiles_data()
{
    // clang-format off
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");

    const QMap<QString, QPair<int, QString>> expected {
        { "deep-lists.json", { 5, "nested deeper than 64 levels" } },
        { "deep-lists-line-map.json", { 4, "nested deeper than 64 levels" } },
        { "deep-not.json", { 4, "nested deeper than 64 levels" } },
        { "deep-value-in-message.json", { 5, "nested deeper than 64 levels" } },
        { "number-overflow.json", { 3, "JSON number 1e400 is beyond the range of a number" } },
        { "duplicate-key.json", { 4, "duplicate key \"max\"" } },
        { "nul-in-name.json", { 4, "a text holds a NUL character (\\u0000)" } },
    };
    const QStringList files = QDir(ORVIK_CRASH_DIR).entryList(QDir::Files, QDir::Name);
    QVERIFY(files.size() >= expected.size());
    for (const QString &file : files) {
        const QPair<int, QString> row = expected.value(file, { -1, QString() });
        QTest::newRow(qPrintable(file)) << file << row.first << row.second;
    }
    // clang-format on
}

void tst_DescriptionLoader::crashFiles()
{
    QFETCH(QString, fileName);
    QFETCH(int, line);
    QFETCH(QString, message);

    const std::string path = QString(ORVIK_CRASH_DIR "/" + fileName).toStdString();
    try {
        OrvSim::Camera::fromFile(path);
        QVERIFY2(line < 0, "the file was accepted");
    } catch (const OrvSim::LoadError &error) {
        QCOMPARE(q(error.file()), q(path));
        if (line >= 0) {
            QCOMPARE(error.line(), line);
            QCOMPARE(q(error.message()), message);
        }
    }
}

// Conditions nest up to the limit, and are evaluated there; one more is refused.
void tst_DescriptionLoader::nestingLimit_data()
{
    // clang-format off
    QTest::addColumn<int>("depth");
    // The description, the feature list and the feature come first.
    QTest::newRow("at the limit") << OrvSim::Camera::MaxNestingDepth;
    QTest::newRow("one beyond") << OrvSim::Camera::MaxNestingDepth + 1;
    // clang-format on
}

void tst_DescriptionLoader::nestingLimit()
{
    QFETCH(int, depth);
    const int nots = depth - 3;
    const QString text =
        QString("{\n\"features\": [\n{ \"name\": \"A\", \"type\": \"Boolean\",\n\"writable\":\n%1true%2 } ] }")
            .arg(QString("{\"not\": ").repeated(nots), QString("}").repeated(nots));
    try {
        const std::shared_ptr<OrvSim::Camera> camera = OrvSim::Camera::fromJson(text.toStdString(), "deep.json");
        QVERIFY2(depth <= OrvSim::Camera::MaxNestingDepth, "accepted beyond the limit");
        bool writable = false;
        QCOMPARE(camera->feature("A")->IsWritable(writable), OrvErrSuccess);
        QCOMPARE(writable, nots % 2 == 0);
    } catch (const OrvSim::LoadError &error) {
        QVERIFY2(depth > OrvSim::Camera::MaxNestingDepth, error.what());
        QCOMPARE(error.line(), 5);
        QCOMPARE(q(error.message()), QString("nested deeper than %1 levels").arg(OrvSim::Camera::MaxNestingDepth));
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
