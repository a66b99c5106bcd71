// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The simulated camera's link: a cached answer is always the answer the
// camera gives, and only the accesses that need the camera reach it.
#include "orvapitest.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <random>

using namespace OrvapiTest;

namespace {

/// What the random sequences need to know of a camera's features.
struct FeatureInfo
{
    std::string name;
    OrvFeatureDataType type = OrvFeatureDataUnknown;
    std::vector<std::string> entries;
    std::vector<std::string> selectorEntries; ///< of the selector that selects it
    bool isSelector = false;
    long long intMin = 0, intMax = 0, intInc = 1;
    double floatMin = 0, floatMax = 0, floatInc = 0;
};

// Rules the shipped cameras do not have: reads across selectors, of a
// selector itself, of another entry of the reader's own selector, of a
// volatile value, and locks.
const char s_Rules[] = R"({ "features": [
    { "name": "A", "type": "Enumeration", "entries": ["A0", "A1", "A2"], "selects": ["P", "Q", "R"] },
    { "name": "B", "type": "Enumeration", "entries": ["B0", "B1"], "selects": ["X", "Y"] },
    { "name": "P", "type": "Enumeration", "entries": ["Off", "On"] },
    { "name": "Q", "type": "Integer", "min": 0, "max": 3,
      "writable": { "any": [ { "feature": "P", "entry": "A1", "is": "On" }, { "selectorEntry": ["A2"] } ] } },
    { "name": "R", "type": "Boolean", "lockedWhileAcquiring": true,
      "writable": { "all": [ { "feature": "P", "is": "Off" }, { "feature": "X", "isNot": "Off" } ] } },
    { "name": "X", "type": "Enumeration", "values": { "B1": "On" },
      "entries": ["Off", "On", { "entry": "Auto", "available": { "feature": "A", "in": ["A1", "A2"] } }] },
    { "name": "Y", "type": "Integer", "min": 0, "max": 7, "volatile": true },
    { "name": "Z", "type": "Enumeration", "lockedWhileAcquiring": true,
      "entries": ["Z0", { "entry": "Z1", "available": { "feature": "Y", "isNot": 0 } },
                 { "entry": "Z2", "available": { "feature": "Q", "is": 2 } }],
      "writable": { "feature": "B", "is": "B1" } },
    { "name": "AcquisitionStart", "type": "Command" },
    { "name": "AcquisitionStop", "type": "Command" }
] })";

std::string descriptionText(const QString &camera)
{
    if (camera == "generated")
        return OrvSim::Camera::largeCameraJson(150, 8);
    if (camera == "rules")
        return s_Rules;
    // The level mask not marked volatile: cached, so every change the timing
    // model drives into it must reach the cache.
    if (camera == "syncout, levels cachable") {
        std::string text = descriptionText("syncout.json");
        const std::string mark = ", \"volatile\": true";
        for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark))
            text.erase(at, mark.size());
        return text;
    }
    QFile file(q(TestCamera::path(camera.toUtf8().constData())));
    if (!file.open(QIODevice::ReadOnly))
        return std::string();
    return file.readAll().toStdString();
}

std::vector<FeatureInfo> featureInfos(const std::string &text)
{
    const std::shared_ptr<OrvSim::Camera> camera = OrvSim::Camera::fromJson(text, "info");
    const QJsonArray described = QJsonDocument::fromJson(QByteArray::fromStdString(text))["features"].toArray();
    QHash<QString, QString> selectorOf;
    for (const QJsonValue &feature : described)
        for (const QJsonValue &selected : feature["selects"].toArray())
            selectorOf.insert(selected.toString(), feature["name"].toString());

    std::vector<FeatureInfo> infos;
    for (const FeaturePtr &feature : camera->features()) {
        FeatureInfo info;
        feature->GetName(info.name);
        feature->GetDataType(info.type);
        feature->GetValues(info.entries);
        feature->GetRange(info.intMin, info.intMax);
        feature->GetIncrement(info.intInc);
        feature->GetRange(info.floatMin, info.floatMax);
        feature->GetIncrement(info.floatInc);
        const QString selector = selectorOf.value(q(info.name));
        if (!selector.isEmpty())
            camera->feature(selector.toStdString())->GetValues(info.selectorEntries);
        info.isSelector = selectorOf.key(q(info.name)).size() > 0;
        infos.push_back(info);
    }
    return infos;
}

/// Runs the same random steps on a camera behind a cache and on one without,
/// and says what each answered.
class Comparison
{
public:
    Comparison(const std::string &text, const OrvSim::LinkSettings &link, unsigned seed)
        : m_Infos(featureInfos(text)),
          m_Random(seed)
    {
        m_Cached = OrvSim::Camera::fromJson(text, "cached");
        m_Plain = OrvSim::Camera::fromJson(text, "plain");
        m_Cached->setJournaling(false);
        m_Plain->setJournaling(false);
        m_Cached->setLink(link);
        m_Plain->setLink(OrvSim::LinkSettings{0, false, false});
        // Both cameras' timing runs on clocks the steps move together, so
        // what the camera drives (outputs, levels) changes alike on both.
        m_Cached->timing().useSteppedClock();
        m_Plain->timing().useSteppedClock();
        for (int k = 0; k < static_cast<int>(m_Infos.size()); ++k)
            if (m_Infos[k].isSelector || !m_Infos[k].selectorEntries.empty())
                m_Selecting.push_back(k);
    }

    /// One random step on both cameras; false with a description when they differ.
    bool step(QString &difference)
    {
        const int kind = pick(100);
        const FeatureInfo &info = randomFeature();
        QString action;
        std::string cached, plain;
        if (kind < 30) {
            const std::string value = randomValue(info);
            action = q("write " + info.name + "=" + value);
            cached = write(*m_Cached, info, value);
            plain = write(*m_Plain, info, value);
        } else if (kind < 38) {
            std::string entry;
            if (!info.selectorEntries.empty() && pick(2) == 0)
                entry = info.selectorEntries[pick(info.selectorEntries.size())];
            const std::string value = pick(20) == 0 ? std::string("nonsense") : randomValue(info);
            action = q("camera " + info.name + "[" + entry + "]=" + value);
            cached = std::to_string(m_Cached->setFromCamera(info.name, value, entry));
            plain = std::to_string(m_Plain->setFromCamera(info.name, value, entry));
        } else if (kind < 41) {
            const char *command = pick(2) == 0 ? "AcquisitionStart" : "AcquisitionStop";
            action = QString("run %1").arg(command);
            cached = run(*m_Cached, command);
            plain = run(*m_Plain, command);
        } else if (kind < 46) {
            // Time passes: an acquiring camera exposes, reads out and drives its outputs.
            const long long microseconds = 1 + pick(50000);
            action = QString("advance %1 us").arg(microseconds);
            cached = std::to_string(m_Cached->timing().advance(microseconds));
            plain = std::to_string(m_Plain->timing().advance(microseconds));
        } else {
            const int operation = pick(7);
            std::string entry;
            if (!info.entries.empty())
                entry = pick(10) == 0 ? std::string("NoSuchEntry") : info.entries[pick(info.entries.size())];
            action = q("read " + std::to_string(operation) + " " + info.name + " " + entry);
            cached = read(*m_Cached, info, operation, entry);
            plain = read(*m_Plain, info, operation, entry);
        }
        m_Recent << action;
        if (m_Recent.size() > 12)
            m_Recent.removeFirst();
        if (cached != plain) {
            difference = QString("%1: cached %2, camera %3; steps before: %4")
                             .arg(action, q(cached), q(plain), m_Recent.join(" | "));
            return false;
        }
        return true;
    }

    /// Every value at every selector entry, as each camera's client sees it.
    bool sameValues(QString &difference) const
    {
        for (const FeatureInfo &info : m_Infos) {
            std::vector<std::string> entries = info.selectorEntries;
            entries.push_back(std::string());
            for (const std::string &entry : entries) {
                if (m_Cached->valueOf(info.name, entry) != m_Plain->valueOf(info.name, entry)) {
                    difference = q(info.name + "[" + entry + "]: " + m_Cached->valueOf(info.name, entry) + " vs "
                                   + m_Plain->valueOf(info.name, entry));
                    return false;
                }
            }
        }
        return true;
    }

    unsigned long long cachedWire() const { return m_Cached->wireAccesses(); }
    unsigned long long plainWire() const { return m_Plain->wireAccesses(); }

private:
    std::size_t pick(std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(m_Random); }

    // Selectors and what they select half of the time: that is where a cache goes wrong.
    const FeatureInfo &randomFeature()
    {
        if (!m_Selecting.empty() && pick(2) == 0)
            return m_Infos[m_Selecting[pick(m_Selecting.size())]];
        return m_Infos[pick(m_Infos.size())];
    }

    std::string randomValue(const FeatureInfo &info)
    {
        switch (info.type) {
        case OrvFeatureDataInt: {
            const long long steps = std::min<long long>((info.intMax - info.intMin) / info.intInc, 1000);
            const long long k = static_cast<long long>(pick(steps + 3)) - 1;
            return std::to_string(info.intMin + k * info.intInc + (pick(8) == 0 ? 1 : 0));
        }
        case OrvFeatureDataFloat: {
            const double span = info.floatMax - info.floatMin;
            double value =
                info.floatMin - span * 0.05 + span * 1.1 * std::uniform_real_distribution<double>(0, 1)(m_Random);
            if (info.floatInc > 0 && pick(2) == 0)
                value = info.floatMin + info.floatInc * static_cast<double>(pick(20));
            return std::to_string(value);
        }
        case OrvFeatureDataBool: return pick(2) == 0 ? "true" : "false";
        case OrvFeatureDataEnum:
            return pick(12) == 0 ? std::string("NoSuchEntry") : info.entries[pick(info.entries.size())];
        case OrvFeatureDataString: return "text" + std::to_string(pick(4));
        default: return std::string();
        }
    }

    static std::string write(OrvSim::Camera &camera, const FeatureInfo &info, const std::string &value)
    {
        const FeaturePtr feature = camera.feature(info.name);
        switch (info.type) {
        case OrvFeatureDataInt:
            return std::to_string(feature->SetValue(static_cast<const long long &>(std::stoll(value))));
        case OrvFeatureDataFloat:
            return std::to_string(feature->SetValue(static_cast<const double &>(std::stod(value))));
        case OrvFeatureDataBool: return std::to_string(feature->SetValue(value == "true"));
        case OrvFeatureDataCommand: return std::to_string(feature->RunCommand());
        default: return std::to_string(feature->SetValue(value.c_str()));
        }
    }

    static std::string run(OrvSim::Camera &camera, const char *command)
    {
        const FeaturePtr feature = camera.feature(command);
        return feature ? std::to_string(feature->RunCommand()) : std::string("none");
    }

    static std::string read(const OrvSim::Camera &camera, const FeatureInfo &info, int operation,
                            const std::string &entry)
    {
        const FeaturePtr feature = camera.feature(info.name);
        OrvErrorType err = OrvErrSuccess;
        std::string answer;
        switch (operation) {
        case 0: {
            // By the feature's own type, or a mismatched one now and then through the text form.
            if (info.type == OrvFeatureDataInt) {
                long long value = 0;
                err = feature->GetValue(value);
                answer = std::to_string(value);
            } else if (info.type == OrvFeatureDataFloat) {
                double value = 0;
                err = feature->GetValue(value);
                answer = std::to_string(value);
            } else if (info.type == OrvFeatureDataBool) {
                bool value = false;
                err = feature->GetValue(value);
                answer = value ? "true" : "false";
            } else {
                err = feature->GetValue(answer);
            }
            break;
        }
        case 1: {
            long long minimum = 0, maximum = 0;
            double fMinimum = 0, fMaximum = 0;
            err = info.type == OrvFeatureDataFloat ? feature->GetRange(fMinimum, fMaximum)
                                                   : feature->GetRange(minimum, maximum);
            answer = std::to_string(minimum) + ".." + std::to_string(maximum) + " " + std::to_string(fMinimum) + ".."
                     + std::to_string(fMaximum);
            break;
        }
        case 2: {
            long long increment = 0;
            double fIncrement = 0;
            err =
                info.type == OrvFeatureDataFloat ? feature->GetIncrement(fIncrement) : feature->GetIncrement(increment);
            answer = std::to_string(increment) + " " + std::to_string(fIncrement);
            break;
        }
        case 3: {
            std::vector<std::string> entries;
            err = feature->GetValues(entries);
            for (const std::string &name : entries)
                answer += name + ",";
            break;
        }
        case 4: {
            bool available = false;
            err = feature->IsValueAvailable(entry.c_str(), available);
            answer = available ? "available" : "unavailable";
            break;
        }
        case 5: {
            bool writable = false;
            err = feature->IsWritable(writable);
            answer = writable ? "writable" : "read-only";
            break;
        }
        default: {
            std::string text;
            err = feature->GetValue(text);
            answer = text;
            break;
        }
        }
        return std::to_string(err) + " " + (err == OrvErrSuccess ? answer : std::string());
    }

    std::vector<FeatureInfo> m_Infos;
    std::vector<int> m_Selecting;
    std::mt19937 m_Random;
    std::shared_ptr<OrvSim::Camera> m_Cached, m_Plain;
    QStringList m_Recent;
};

/// One step of a short sequence: "get:F", "F=value", "camera:F=value",
/// "run:Command", "writable:F", "available:F=entry", "range:F".
void perform(OrvSim::Camera &camera, const QString &step)
{
    const QString verb = step.section(':', 0, 0);
    const QString rest = step.section(':', 1);
    const std::string name = rest.section('=', 0, 0).toStdString();
    const std::string value = rest.section('=', 1).toStdString();
    const FeaturePtr feature = camera.feature(step.contains(':') ? name : step.section('=', 0, 0).toStdString());
    QVERIFY2(feature, qPrintable(step));
    if (verb == "get") {
        std::string text;
        OrvFeatureDataType type = OrvFeatureDataUnknown;
        feature->GetDataType(type);
        bool flag = false;
        long long number = 0;
        if (type == OrvFeatureDataBool)
            QCOMPARE(feature->GetValue(flag), OrvErrSuccess);
        else if (type == OrvFeatureDataInt)
            QCOMPARE(feature->GetValue(number), OrvErrSuccess);
        else
            QCOMPARE(feature->GetValue(text), OrvErrSuccess);
    } else if (verb == "camera") {
        QCOMPARE(camera.setFromCamera(name, value), OrvErrSuccess);
    } else if (verb == "run") {
        QCOMPARE(feature->RunCommand(), OrvErrSuccess);
    } else if (verb == "writable") {
        bool writable = false;
        QCOMPARE(feature->IsWritable(writable), OrvErrSuccess);
    } else if (verb == "available") {
        bool available = false;
        QCOMPARE(feature->IsValueAvailable(value.c_str(), available), OrvErrSuccess);
    } else if (verb == "range") {
        long long minimum = 0, maximum = 0;
        QCOMPARE(feature->GetRange(minimum, maximum), OrvErrSuccess);
    } else {
        QCOMPARE(apply(camera, step), OrvErrSuccess);
    }
}

} // namespace

class tst_FeatureCache : public QObject
{
    Q_OBJECT

private slots:
    void cachedAnswersAreTheCamerasAnswers_data();
    void cachedAnswersAreTheCamerasAnswers();
    void wireAccesses_data();
    void wireAccesses();
    void accessesWaitForTheLink();
};

void tst_FeatureCache::cachedAnswersAreTheCamerasAnswers_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<bool>("defer");
    QTest::addColumn<unsigned>("seed");
    const char *const cameras[] = {"exposure-mode.json", "line-routing.json", "exposure-auto.json", "syncout.json",
                                   "lineout.json", "generated", "rules", "syncout, levels cachable"};
    unsigned seed = 1;
    for (const char *camera : cameras) {
        QTest::newRow(qPrintable(QString("%1, cache").arg(camera))) << QString(camera) << false << seed++;
        QTest::newRow(qPrintable(QString("%1, cache and deferred selector writes").arg(camera)))
            << QString(camera) << true << seed++;
    }
    // clang-format on
}

void tst_FeatureCache::cachedAnswersAreTheCamerasAnswers()
{
    QFETCH(QString, camera);
    QFETCH(bool, defer);
    QFETCH(unsigned, seed);

    Comparison comparison(descriptionText(camera), OrvSim::LinkSettings{0, true, defer}, seed);
    QString difference;
    for (int step = 1; step <= 20000; ++step) {
        QVERIFY2(comparison.step(difference), qPrintable(QString("step %1, %2").arg(step).arg(difference)));
        if (step % 250 == 0)
            QVERIFY2(comparison.sameValues(difference), qPrintable(QString("step %1, %2").arg(step).arg(difference)));
    }
    // Not a cache that never answers.
    QVERIFY2(comparison.cachedWire() * 4 < comparison.plainWire() * 3,
             qPrintable(QString("%1 vs %2").arg(comparison.cachedWire()).arg(comparison.plainWire())));
}

void tst_FeatureCache::wireAccesses_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("warmUp");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("uncached");
    QTest::addColumn<int>("cached");
    QTest::addColumn<int>("deferred");

    QTest::newRow("a read again") << QStringList{"get:TriggerMode"} << QStringList{"get:TriggerMode"} << 1 << 0 << 0;
    QTest::newRow("a read after the client's write")
        << QStringList() << QStringList{"TriggerMode=On", "get:TriggerMode"} << 2 << 1 << 1;
    QTest::newRow("volatile: every read") << QStringList{"get:LineStatus"} << QStringList{"get:LineStatus"} << 1 << 1
                                          << 1;
    QTest::newRow("a camera-side change is read again")
        << QStringList{"get:LineInverter"} << QStringList{"camera:LineInverter=true", "get:LineInverter"} << 1 << 1
        << 1;
    QTest::newRow("per selector entry")
        << QStringList{"get:LineMode", "LineSelector=Line4", "get:LineMode", "LineSelector=Line0"}
        << QStringList{"LineSelector=Line4", "get:LineMode", "LineSelector=Line0", "get:LineMode"} << 4 << 2 << 0;
    QTest::newRow("a walk that only reads cached values")
        << QStringList{"writable:LineSelector", "available:LineSelector=Line1", "available:LineSelector=Line0",
                       "get:LineSelector", "LineSelector=Line1", "get:LineInverter", "LineSelector=Line0",
                       "get:LineInverter"}
        << QStringList{"LineSelector=Line1", "get:LineInverter", "LineSelector=Line0"} << 3 << 2 << 0;
    QTest::newRow("a deferred selector write reaches the camera with a read that needs it")
        << QStringList{"writable:LineSelector", "available:LineSelector=Line1", "get:LineSelector"}
        << QStringList{"LineSelector=Line1", "get:LineStatus"} << 2 << 2 << 2;
    QTest::newRow("availability depends on another feature's value")
        << QStringList{"available:TriggerSource=Line4"}
        << QStringList{"available:TriggerSource=Line4", "LineSelector=Line4", "LineMode=Output",
                       "available:TriggerSource=Line4"}
        << 4 << 3 << 3;
    QTest::newRow("acquisition locks: writability asked again")
        << QStringList{"writable:TriggerMode"} << QStringList{"run:AcquisitionStart", "writable:TriggerMode"} << 2 << 2
        << 2;
    QTest::newRow("what the description fixes needs no camera")
        << QStringList() << QStringList{"range:Width", "writable:Gain", "available:TriggerSource=Line0"} << 3 << 0
        << 0;
    // clang-format on
}

void tst_FeatureCache::wireAccesses()
{
    QFETCH(QStringList, warmUp);
    QFETCH(QStringList, steps);
    QFETCH(int, uncached);
    QFETCH(int, cached);
    QFETCH(int, deferred);

    const OrvSim::LinkSettings links[] = {{0, false, false}, {0, true, false}, {0, true, true}};
    const int expected[] = {uncached, cached, deferred};
    for (int k = 0; k < 3; ++k) {
        const std::shared_ptr<OrvSim::Camera> camera = TestCamera::load("exposure-mode.json");
        camera->setLink(links[k]);
        for (const QString &step : warmUp)
            perform(*camera, step);
        camera->resetWireAccesses();
        for (const QString &step : steps)
            perform(*camera, step);
        QVERIFY2(camera->wireAccesses() == static_cast<unsigned long long>(expected[k]),
                 qPrintable(QString("link %1: %2 accesses").arg(k).arg(camera->wireAccesses())));
    }
}

void tst_FeatureCache::accessesWaitForTheLink()
{
    const std::shared_ptr<OrvSim::Camera> camera = TestCamera::load("exposure-mode.json");
    camera->setLink(OrvSim::LinkSettings{20, true, true});
    std::string mode;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(camera->feature("TriggerMode")->GetValue(mode), OrvErrSuccess);
    QVERIFY2(timer.nsecsElapsed() >= 20000000, qPrintable(QString::number(timer.nsecsElapsed())));
    QCOMPARE(camera->wireAccesses(), 1ull);
    QCOMPARE(camera->feature("TriggerMode")->GetValue(mode), OrvErrSuccess);
    QCOMPARE(camera->wireAccesses(), 1ull);
}

QTEST_APPLESS_MAIN(tst_FeatureCache)

#include "tst_featurecache.moc"
