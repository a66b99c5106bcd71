// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// A shown page under random use: picks in every box, toggles, quick modes,
// show and hide, acquisition on and off, while four threads change the
// camera from its side and about one call in ten fails. Nothing may crash
// or hang, and the camera's journal may show no write that reached another
// line or trigger than the page asked for, and no empty text written.
//
// ORVIK_SOAK_SECONDS sets the seconds per camera (default 8), ORVIK_SOAK_SEED
// the random seed (default: new each run; a failure prints the one it used).
#include "triggeriotest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

using OrvSim::Operation;
using TKN::OrvAPI::FeaturePtr;

namespace {

/// What the camera side may set a feature to: entries, the ends and middle of
/// a range, or both truth values.
struct Settable
{
    std::string name;
    std::vector<std::string> values;
};

std::vector<Settable> settableFeatures(const OrvSim::Camera &camera, const QHash<QString, QString> &selectorOf)
{
    const QSet<QString> selectors(selectorOf.cbegin(), selectorOf.cend());
    std::vector<Settable> result;
    for (const FeaturePtr &feature : camera.features()) {
        Settable settable;
        TKN::OrvAPI::OrvFeatureDataType type = TKN::OrvAPI::OrvFeatureDataUnknown;
        feature->GetName(settable.name);
        feature->GetDataType(type);
        // A real camera never moves a selector by itself: a client's write
        // after its selection could not help landing elsewhere.
        if (selectors.contains(QString::fromStdString(settable.name)))
            continue;
        if (type == TKN::OrvAPI::OrvFeatureDataEnum) {
            feature->GetValues(settable.values);
        } else if (type == TKN::OrvAPI::OrvFeatureDataBool) {
            settable.values = {"true", "false"};
        } else if (type == TKN::OrvAPI::OrvFeatureDataInt) {
            long long min = 0, max = 0;
            feature->GetRange(min, max);
            settable.values = {std::to_string(min), std::to_string(max), std::to_string(min + (max - min) / 2)};
        }
        if (!settable.values.empty())
            result.push_back(settable);
    }
    return result;
}

const Operation s_FailingOperations[] = {
    Operation::GetName,      Operation::GetDataType,      Operation::GetValue,          Operation::SetValue,
    Operation::GetValues,    Operation::IsValueAvailable, Operation::IsWritable,        Operation::GetRange,
    Operation::GetIncrement, Operation::RegisterObserver, Operation::UnregisterObserver};
const TKN::OrvAPI::OrvErrorType s_FailureCodes[] = {TKN::OrvAPI::OrvErrInternalFault,
                                                    TKN::OrvAPI::OrvErrInvalidAccess,
                                                    TKN::OrvAPI::OrvErrInvalidValue,
                                                    TKN::OrvAPI::OrvErrTimeout,
                                                    TKN::OrvAPI::OrvErrIO,
                                                    TKN::OrvAPI::OrvErrResources};

} // namespace

class tst_Soak : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m.reset(); }
    void randomUse_data();
    void randomUse();

private:
    void randomAction(QRandomGenerator &random);
    void checkJournal(quint32 seed);

    PageUnderTest m;
    int m_Calls = 0;
    int m_Failed = 0;
};

void tst_Soak::randomUse_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::newRow("exposure-mode") << "exposure-mode.json";
    QTest::newRow("line-routing") << "line-routing.json";
    QTest::newRow("syncout") << "syncout.json";
    QTest::newRow("2000 features") << "";
    // clang-format on
}

void tst_Soak::randomAction(QRandomGenerator &random)
{
    IOTriggerWidget *page = m.page.get();
    const int kind = random.bounded(100);
    if (kind < 2) {
        const char *modes[] = {"OnEdgeMode", "OnLevelMode", "OnBulkMode"};
        QMetaObject::invokeMethod(page, modes[random.bounded(3)]);
    } else if (kind < 5) {
        page->setVisible(!page->isVisible());
    } else if (kind < 8) {
        const bool acquire = random.bounded(2);
        if (const FeaturePtr command = m.camera->feature(acquire ? "AcquisitionStart" : "AcquisitionStop"))
            command->RunCommand();
        page->camIsStreaming(acquire);
    } else if (kind < 15) {
        QMetaObject::invokeMethod(page, "updateTimer");
    } else {
        const QList<QWidget *> controls = page->findChildren<QWidget *>();
        QWidget *control = controls.at(random.bounded(controls.size()));
        if (auto *box = qobject_cast<QComboBox *>(control)) {
            if (box->count() > 0)
                box->setCurrentIndex(random.bounded(box->count()));
        } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
            check->toggle();
        } else if (auto *spin = qobject_cast<QSpinBox *>(control)) {
            spin->setValue(spin->minimum() + random.bounded(qMax(1, spin->maximum() - spin->minimum())));
        }
    }
    QCoreApplication::processEvents();
}

void tst_Soak::checkJournal(quint32 seed)
{
    OrvSim::Camera::waitForNotifications();
    const QString misdirected = m.misdirectedWrite();
    QVERIFY2(misdirected.isEmpty(), qPrintable(misdirected + QString(" (seed %1)").arg(seed)));
    for (const OrvSim::JournalEntry &entry : m.camera->journal()) {
        ++m_Calls;
        m_Failed += entry.result != TKN::OrvAPI::OrvErrSuccess;
    }
    m.camera->clearJournal();
}

void tst_Soak::randomUse()
{
    QFETCH(QString, camera);
    if (camera.isEmpty()) {
        const QByteArray description = QByteArray::fromStdString(OrvSim::Camera::largeCameraJson(2000, 8));
        m.selectorOf = CameraVariant::selectors(QJsonDocument::fromJson(description).object());
        m.camera = OrvSim::Camera::fromJson(description.toStdString(), "generated");
    } else {
        m.prepare(camera);
    }
    const quint32 seed = qEnvironmentVariableIsSet("ORVIK_SOAK_SEED")
                             ? quint32(qEnvironmentVariableIntValue("ORVIK_SOAK_SEED"))
                             : QRandomGenerator::global()->generate();
    const int seconds =
        qEnvironmentVariableIsSet("ORVIK_SOAK_SECONDS") ? qEnvironmentVariableIntValue("ORVIK_SOAK_SECONDS") : 8;
    qInfo("seed %u, %d s", seed, seconds);

    const std::vector<Settable> settable = settableFeatures(*m.camera, m.selectorOf);
    m.open(m.camera);
    m.page->show();
    // Failures go to the features the page uses, not to the thousands it never reads.
    std::vector<std::string> names;
    for (const OrvSim::JournalEntry &entry : m.camera->journal()) {
        if (std::find(names.begin(), names.end(), entry.feature) == names.end())
            names.push_back(entry.feature);
    }
    QVERIFY(!names.empty());
    m.camera->clearJournal();
    m_Calls = m_Failed = 0;

    std::atomic<bool> stop(false);
    std::vector<std::thread> threads;
    const std::shared_ptr<OrvSim::Camera> cameraHeld = m.camera;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            QRandomGenerator random(seed + 1 + t);
            while (!stop.load()) {
                const Settable &feature = settable.at(random.bounded(int(settable.size())));
                cameraHeld->setFromCamera(feature.name, feature.values.at(random.bounded(int(feature.values.size()))));
                std::this_thread::sleep_for(std::chrono::milliseconds(1 + random.bounded(5)));
            }
        });
    }
    // Failures on a moving set of features and operations, each for one call.
    threads.emplace_back([&] {
        QRandomGenerator random(seed + 99);
        while (!stop.load()) {
            for (int i = 0; i < 6; ++i) {
                cameraHeld->injectFailure(names.at(random.bounded(int(names.size()))),
                                          s_FailingOperations[random.bounded(int(std::size(s_FailingOperations)))],
                                          s_FailureCodes[random.bounded(int(std::size(s_FailureCodes)))], 1);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });

    QRandomGenerator random(seed);
    QElapsedTimer clock;
    clock.start();
    int actions = 0;
    while (clock.elapsed() < seconds * 1000 && !QTest::currentTestFailed()) {
        randomAction(random);
        if (++actions % 200 == 0)
            checkJournal(seed);
    }
    stop = true;
    for (std::thread &thread : threads)
        thread.join();
    m.camera->clearFailures();
    if (!QTest::currentTestFailed())
        checkJournal(seed);
    m.page.reset();
    qInfo("%d actions, %d library calls, %.1f %% failed", actions, m_Calls, m_Calls ? 100.0 * m_Failed / m_Calls : 0.0);
}

QTEST_MAIN(tst_Soak)
#include "tst_soak.moc"
