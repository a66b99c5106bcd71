// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include <pluginfeatureobserver.h>

#include <OrvikSim.h>

#include <QAtomicPointer>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <memory>

using OrvSim::Operation;

namespace {

const char s_CameraJson[] = R"({
    "name": "Observer test camera",
    "description": "one feature of every type",
    "features": [
        { "name": "Negative", "type": "Integer", "value": -42, "min": -100, "max": 100, "inc": 1 },
        { "name": "Tenth", "type": "Float", "value": 0.1, "min": 0.0, "max": 10000000.0 },
        { "name": "Odd", "type": "Float", "value": 1234567.0, "min": 0.0, "max": 10000000.0 },
        { "name": "On", "type": "Boolean", "value": true },
        { "name": "Off", "type": "Boolean", "value": false },
        { "name": "TriggerMode", "type": "Enumeration", "entries": ["Off", "On"], "value": "On" },
        { "name": "DeviceModelName", "type": "String", "value": "GX-2450M" },
        { "name": "TriggerSoftware", "type": "Command" },
        { "name": "Blob", "type": "Raw" }
    ]
})";

} // namespace

class tst_PluginFeatureObserver : public QObject
{
    Q_OBJECT

    std::shared_ptr<OrvSim::Camera> m_Camera;
    PluginFeatureObserver *m_pObserver = nullptr;
    TKN::OrvAPI::IFeatureObserverPtr m_Observer;

private slots:
    void init()
    {
        m_Camera = OrvSim::Camera::fromJson(s_CameraJson, "observer-test");
        m_pObserver = new PluginFeatureObserver();
        m_Observer = TKN::OrvAPI::IFeatureObserverPtr(m_pObserver);
    }

    void cleanup()
    {
        m_Observer.reset();
        m_Camera.reset();
    }

    void valueText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("failing");
        QTest::addColumn<int>("emitted");
        QTest::addColumn<QString>("text");

        const int none = -1;
        const int read = int(Operation::GetValue);
        QTest::newRow("negative integer") << "Negative" << none << 1 << "-42";
        QTest::newRow("one tenth") << "Tenth" << none << 1 << "0.1";
        QTest::newRow("six significant digits") << "Odd" << none << 1 << "1.23457e+06";
        QTest::newRow("boolean true") << "On" << none << 1 << "true";
        QTest::newRow("boolean false") << "Off" << none << 1 << "false";
        QTest::newRow("enumeration entry") << "TriggerMode" << none << 1 << "On";
        QTest::newRow("string") << "DeviceModelName" << none << 1 << "GX-2450M";
        QTest::newRow("command") << "TriggerSoftware" << none << 1 << "[COMMAND]";
        QTest::newRow("raw") << "Blob" << none << 1 << "Click here to open";
        // A failed read still reports the change, with no value.
        QTest::newRow("integer read fails") << "Negative" << read << 1 << "";
        QTest::newRow("boolean read fails") << "On" << read << 1 << "";
        QTest::newRow("string read fails") << "DeviceModelName" << read << 1 << "";
        QTest::newRow("command: nothing to read") << "TriggerSoftware" << read << 1 << "[COMMAND]";
        QTest::newRow("name read fails") << "Negative" << int(Operation::GetName) << 0 << "";
        QTest::newRow("type read fails") << "Negative" << int(Operation::GetDataType) << 0 << "";
        QTest::newRow("empty pointer") << "" << none << 0 << "";
    }

    void valueText()
    {
        QFETCH(QString, name);
        QFETCH(int, failing);
        QFETCH(int, emitted);

        const TKN::OrvAPI::FeaturePtr feature = m_Camera->feature(name.toStdString());
        if (failing >= 0)
            m_Camera->injectFailure(name.toStdString(), Operation(failing), TKN::OrvAPI::OrvErrIO);
        QSignalSpy spy(m_pObserver, SIGNAL(setChangedFeature(const QString &, const QString &)));
        m_pObserver->NotifyFeatureChange(feature);
        QCOMPARE(spy.count(), emitted);
        if (emitted) {
            QCOMPARE(spy.at(0).at(0).toString(), name);
            QTEST(spy.at(0).at(1).toString(), "text");
        }
    }

    // Emitted on the library's thread, delivered queued on the receiver's.
    void queuedFromLibraryThread()
    {
        QObject receiver;
        QStringList changes;
        QThread *deliveryThread = nullptr;
        connect(m_pObserver, &PluginFeatureObserver::setChangedFeature, &receiver,
                [&](const QString &name, const QString &value) {
                    deliveryThread = QThread::currentThread();
                    changes << name + "=" + value;
                });
        QAtomicPointer<QThread> emittingThread;
        const auto record = [&emittingThread] { emittingThread.storeRelease(QThread::currentThread()); };
        connect(m_pObserver, &PluginFeatureObserver::setChangedFeature, &receiver, record, Qt::DirectConnection);

        const TKN::OrvAPI::FeaturePtr feature = m_Camera->feature("Negative");
        QCOMPARE(feature->RegisterObserver(m_Observer), TKN::OrvAPI::OrvErrSuccess);
        QCOMPARE(m_Camera->setFromCamera("Negative", "17"), TKN::OrvAPI::OrvErrSuccess);

        QTRY_COMPARE(changes, QStringList{"Negative=17"});
        QCOMPARE(deliveryThread, QThread::currentThread());
        QVERIFY(emittingThread.loadAcquire() != nullptr);
        QVERIFY(emittingThread.loadAcquire() != QThread::currentThread());

        QCOMPARE(feature->UnregisterObserver(m_Observer), TKN::OrvAPI::OrvErrSuccess);
        QCOMPARE(m_Camera->setFromCamera("Negative", "18"), TKN::OrvAPI::OrvErrSuccess);
        OrvSim::Camera::waitForNotifications();
        QCoreApplication::processEvents();
        QCOMPARE(changes, QStringList{"Negative=17"});
    }
};

QTEST_GUILESS_MAIN(tst_PluginFeatureObserver)
#include "tst_pluginfeatureobserver.moc"
