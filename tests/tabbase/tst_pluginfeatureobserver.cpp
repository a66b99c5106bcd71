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
        { "name": "Million", "type": "Float", "value": 1000000.0, "min": 0.0, "max": 10000000.0 },
        { "name": "Odd", "type": "Float", "value": 1234567.0, "min": 0.0, "max": 10000000.0 },
        { "name": "Half", "type": "Float", "value": 0.5, "min": 0.0, "max": 10.0 },
        { "name": "On", "type": "Boolean", "value": true },
        { "name": "Off", "type": "Boolean", "value": false },
        { "name": "TriggerMode", "type": "Enumeration", "entries": ["Off", "On"], "value": "On" },
        { "name": "DeviceModelName", "type": "String", "value": "GX-2450M" },
        { "name": "TriggerSoftware", "type": "Command" },
        { "name": "Blob", "type": "Raw" }
    ]
})";

} // namespace

/// Lives in the GUI thread and records where the observer's signal arrives.
class Receiver : public QObject
{
    Q_OBJECT

public:
    QStringList names;
    QStringList values;
    QThread *deliveryThread = nullptr;

public slots:
    void OnFeatureChanged(const QString &name, const QString &value)
    {
        deliveryThread = QThread::currentThread();
        names << name;
        values << value;
    }
};

class tst_PluginFeatureObserver : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void valueText_data();
    void valueText();
    void failedValueReadStillEmits_data();
    void failedValueReadStillEmits();
    void nothingEmitted_data();
    void nothingEmitted();
    void metacast();
    void queuedFromLibraryThread();

private:
    std::shared_ptr<OrvSim::Camera> m_Camera;
    PluginFeatureObserver *m_pObserver = nullptr;
    TKN::OrvAPI::IFeatureObserverPtr m_Observer;
};

void tst_PluginFeatureObserver::init()
{
    m_Camera = OrvSim::Camera::fromJson(s_CameraJson, "observer-test");
    m_pObserver = new PluginFeatureObserver();
    m_Observer = TKN::OrvAPI::IFeatureObserverPtr(m_pObserver);
}

void tst_PluginFeatureObserver::cleanup()
{
    m_Observer.reset();
    m_pObserver = nullptr;
    m_Camera.reset();
}

void tst_PluginFeatureObserver::valueText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("negative integer") << "Negative" << "-42";
    QTest::newRow("one tenth") << "Tenth" << "0.1";
    QTest::newRow("one million in exponent form") << "Million" << "1e+06";
    QTest::newRow("six significant digits") << "Odd" << "1.23457e+06";
    QTest::newRow("one half") << "Half" << "0.5";
    QTest::newRow("boolean true") << "On" << "true";
    QTest::newRow("boolean false") << "Off" << "false";
    QTest::newRow("enumeration entry") << "TriggerMode" << "On";
    QTest::newRow("string") << "DeviceModelName" << "GX-2450M";
    QTest::newRow("command") << "TriggerSoftware" << "[COMMAND]";
    QTest::newRow("raw") << "Blob" << "Click here to open";
}

void tst_PluginFeatureObserver::valueText()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    QSignalSpy spy(m_pObserver, SIGNAL(setChangedFeature(const QString &, const QString &)));
    m_pObserver->NotifyFeatureChange(m_Camera->feature(name.toStdString()));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), name);
    QCOMPARE(spy.at(0).at(1).toString(), text);
}

void tst_PluginFeatureObserver::failedValueReadStillEmits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("integer") << "Negative" << "";
    QTest::newRow("float") << "Tenth" << "";
    QTest::newRow("boolean") << "On" << "";
    QTest::newRow("enumeration") << "TriggerMode" << "";
    QTest::newRow("string") << "DeviceModelName" << "";
    // Nothing is read for these, so a failing read cannot touch them.
    QTest::newRow("command") << "TriggerSoftware" << "[COMMAND]";
    QTest::newRow("raw") << "Blob" << "Click here to open";
}

void tst_PluginFeatureObserver::failedValueReadStillEmits()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    m_Camera->injectFailure(name.toStdString(), Operation::GetValue, TKN::OrvAPI::OrvErrIO);
    QSignalSpy spy(m_pObserver, SIGNAL(setChangedFeature(const QString &, const QString &)));
    m_pObserver->NotifyFeatureChange(m_Camera->feature(name.toStdString()));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), name);
    QCOMPARE(spy.at(0).at(1).toString(), text);
}

void tst_PluginFeatureObserver::nothingEmitted_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("failing");

    QTest::newRow("name read fails") << "Negative" << int(Operation::GetName);
    QTest::newRow("type read fails") << "Negative" << int(Operation::GetDataType);
    QTest::newRow("empty pointer") << "" << -1;
}

void tst_PluginFeatureObserver::nothingEmitted()
{
    QFETCH(QString, name);
    QFETCH(int, failing);

    TKN::OrvAPI::FeaturePtr feature;
    if (!name.isEmpty()) {
        feature = m_Camera->feature(name.toStdString());
        QVERIFY(feature);
        m_Camera->injectFailure(name.toStdString(), Operation(failing), TKN::OrvAPI::OrvErrIO);
    }
    QSignalSpy spy(m_pObserver, SIGNAL(setChangedFeature(const QString &, const QString &)));
    m_pObserver->NotifyFeatureChange(feature);
    QCOMPARE(spy.count(), 0);
}

void tst_PluginFeatureObserver::metacast()
{
    TKN::OrvAPI::IFeatureObserver *interfacePart = m_pObserver;
    QVERIFY(static_cast<void *>(interfacePart) != static_cast<void *>(m_pObserver));
    QCOMPARE(m_pObserver->qt_metacast("TKN::OrvAPI::IFeatureObserver"), static_cast<void *>(interfacePart));
    QCOMPARE(m_pObserver->qt_metacast("PluginFeatureObserver"), static_cast<void *>(m_pObserver));
    QCOMPARE(qobject_cast<TKN::OrvAPI::IFeatureObserver *>(m_pObserver), interfacePart);
    QCOMPARE(m_pObserver->qt_metacast("QObject"), static_cast<void *>(static_cast<QObject *>(m_pObserver)));
    QCOMPARE(m_pObserver->qt_metacast("Unrelated"), static_cast<void *>(nullptr));
}

void tst_PluginFeatureObserver::queuedFromLibraryThread()
{
    Receiver receiver;
    QVERIFY(connect(m_pObserver, SIGNAL(setChangedFeature(const QString &, const QString &)), &receiver,
                    SLOT(OnFeatureChanged(const QString &, const QString &))));
    QAtomicPointer<QThread> emittingThread;
    connect(
        m_pObserver, &PluginFeatureObserver::setChangedFeature, m_pObserver,
        [&emittingThread] { emittingThread.storeRelease(QThread::currentThread()); }, Qt::DirectConnection);

    const TKN::OrvAPI::FeaturePtr feature = m_Camera->feature("Negative");
    QCOMPARE(feature->RegisterObserver(m_Observer), TKN::OrvAPI::OrvErrSuccess);
    QCOMPARE(m_Camera->setFromCamera("Negative", "17"), TKN::OrvAPI::OrvErrSuccess);

    QTRY_COMPARE(receiver.names, QStringList{"Negative"});
    QCOMPARE(receiver.values, QStringList{"17"});
    QCOMPARE(receiver.deliveryThread, QThread::currentThread());
    QVERIFY(emittingThread.loadAcquire() != nullptr);
    QVERIFY(emittingThread.loadAcquire() != QThread::currentThread());

    QCOMPARE(feature->UnregisterObserver(m_Observer), TKN::OrvAPI::OrvErrSuccess);
    QCOMPARE(m_Camera->setFromCamera("Negative", "18"), TKN::OrvAPI::OrvErrSuccess);
    OrvSim::Camera::waitForNotifications();
    QCoreApplication::processEvents();
    QCOMPARE(receiver.names, QStringList{"Negative"});
}

QTEST_GUILESS_MAIN(tst_PluginFeatureObserver)
#include "tst_pluginfeatureobserver.moc"
