// The viewer's feature table: what it shows, what it writes, and how it
// follows the camera.
#include <featuretablemodel.h>

#include "testcamera.h"

#include <QSignalSpy>
#include <QtTest>

#include <atomic>
#include <thread>

using OrvSim::Operation;

class tst_FeatureTableModel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsEveryFeature_data();
    void showsEveryFeature();
    void observesEveryFeatureOnce();
    void editableByType_data();
    void editableByType();
    void writes_data();
    void writes();
    void refusedWriteIsReported();
    void followsCameraSideChanges();
    void selectorChangeRereadsSelectedFeatures();
    void clearUnregistersAndStopsFollowing();
    void destroyedWhileTheCameraChanges();

private:
    int rowOf(const QString &name) const;
    QModelIndex valueIndex(const QString &name) const
    {
        return m_Model->index(rowOf(name), FeatureTableModel::ValueColumn);
    }

    std::shared_ptr<OrvSim::Camera> m_Camera;
    FeatureTableModel *m_Model = nullptr;
};

void tst_FeatureTableModel::init()
{
    m_Camera = TestCamera::load("exposure-mode.json");
    m_Model = new FeatureTableModel;
    m_Model->setFeatures(TestCamera::featureList(*m_Camera));
    OrvSim::Camera::waitForNotifications();
    m_Camera->clearJournal();
}

void tst_FeatureTableModel::cleanup()
{
    delete m_Model;
    m_Model = nullptr;
    m_Camera.reset();
}

int tst_FeatureTableModel::rowOf(const QString &name) const
{
    for (int row = 0; row < m_Model->rowCount(); ++row) {
        if (m_Model->featureName(row) == name)
            return row;
    }
    return -1;
}

void tst_FeatureTableModel::showsEveryFeature_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("access");

    QTest::newRow("read-only string") << "DeviceVendorName"
                                      << "String"
                                      << "Orvik"
                                      << "read only";
    QTest::newRow("empty string") << "DeviceUserID"
                                  << "String"
                                  << ""
                                  << "read/write";
    QTest::newRow("integer") << "Width"
                             << "Integer"
                             << "2448"
                             << "read/write";
    QTest::newRow("float") << "ExposureTime"
                           << "Float"
                           << "10000"
                           << "read/write";
    QTest::newRow("enumeration") << "TriggerSource"
                                 << "Enumeration"
                                 << "Line0"
                                 << "read/write";
    QTest::newRow("selected, read-only now") << "LineMode"
                                             << "Enumeration"
                                             << "Input"
                                             << "read only";
    QTest::newRow("command") << "TriggerSoftware"
                             << "Command"
                             << ""
                             << "executable";
    QTest::newRow("raw") << "FileAccessBuffer"
                         << "Raw"
                         << "(raw data)"
                         << "read/write";
}

void tst_FeatureTableModel::showsEveryFeature()
{
    QFETCH(QString, feature);
    QFETCH(QString, type);
    QFETCH(QString, value);
    QFETCH(QString, access);

    QCOMPARE(m_Model->rowCount(), int(m_Camera->features().size()));
    const int row = rowOf(feature);
    QVERIFY(row >= 0);
    QCOMPARE(m_Model->index(row, FeatureTableModel::TypeColumn).data().toString(), type);
    QCOMPARE(m_Model->index(row, FeatureTableModel::ValueColumn).data().toString(), value);
    QCOMPARE(m_Model->index(row, FeatureTableModel::AccessColumn).data().toString(), access);
}

void tst_FeatureTableModel::observesEveryFeatureOnce()
{
    const std::shared_ptr<OrvSim::Camera> camera = TestCamera::load("syncout.json");
    FeatureTableModel model;
    model.setFeatures(TestCamera::featureList(*camera));
    QStringList registered;
    for (const OrvSim::JournalEntry &entry : camera->journal()) {
        if (entry.operation == Operation::RegisterObserver)
            registered << QString::fromStdString(entry.feature);
    }
    QStringList all;
    for (int row = 0; row < model.rowCount(); ++row)
        all << model.featureName(row);
    QCOMPARE(registered, all);
}

void tst_FeatureTableModel::editableByType_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<bool>("checkable");

    QTest::newRow("writable integer") << "Height" << true << false;
    QTest::newRow("writable enumeration") << "PixelFormat" << true << false;
    QTest::newRow("writable string") << "DeviceUserID" << true << false;
    QTest::newRow("read-only string") << "DeviceModelName" << false << false;
    QTest::newRow("writable boolean") << "LineInverter" << false << true;
    QTest::newRow("read-only boolean") << "LineStatus" << false << false;
    QTest::newRow("command") << "AcquisitionStart" << false << false;
    QTest::newRow("raw") << "FileAccessBuffer" << false << false;
}

void tst_FeatureTableModel::editableByType()
{
    QFETCH(QString, feature);
    QFETCH(bool, editable);
    QFETCH(bool, checkable);

    const Qt::ItemFlags flags = m_Model->flags(valueIndex(feature));
    QCOMPARE(bool(flags & Qt::ItemIsEditable), editable);
    QCOMPARE(bool(flags & Qt::ItemIsUserCheckable), checkable);
    QCOMPARE(m_Model->index(rowOf(feature), FeatureTableModel::NameColumn).flags() & Qt::ItemIsEditable,
        Qt::ItemFlags());
}

void tst_FeatureTableModel::writes_data()
{
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("shown");

    QTest::newRow("integer") << "Width" << QVariant(qlonglong(1024)) << int(Qt::EditRole) << "Width=1024"
                             << "1024";
    QTest::newRow("float") << "Gain" << QVariant(2.5) << int(Qt::EditRole) << "Gain=2.5"
                           << "2.5";
    QTest::newRow("enumeration") << "TriggerMode" << QVariant(QStringLiteral("On")) << int(Qt::EditRole)
                                 << "TriggerMode=On"
                                 << "On";
    QTest::newRow("string") << "DeviceUserID" << QVariant(QStringLiteral("bench 2")) << int(Qt::EditRole)
                            << "DeviceUserID=bench 2"
                            << "bench 2";
    QTest::newRow("boolean") << "LineInverter" << QVariant(int(Qt::Checked)) << int(Qt::CheckStateRole)
                             << "LineInverter=true"
                             << "";
}

void tst_FeatureTableModel::writes()
{
    QFETCH(QString, feature);
    QFETCH(QVariant, value);
    QFETCH(int, role);
    QFETCH(QString, written);
    QFETCH(QString, shown);

    QVERIFY(m_Model->setData(valueIndex(feature), value, role));
    QCOMPARE(TestCamera::writes(*m_Camera), QStringList { written });
    QCOMPARE(valueIndex(feature).data().toString(), shown);
    if (role == Qt::CheckStateRole)
        QCOMPARE(valueIndex(feature).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
}

void tst_FeatureTableModel::refusedWriteIsReported()
{
    QSignalSpy failed(m_Model, SIGNAL(writeFailed(QString, int)));
    m_Camera->injectFailure("TriggerMode", Operation::SetValue, TKN::OrvAPI::OrvErrIO, 1);
    QVERIFY(!m_Model->setData(valueIndex(QStringLiteral("TriggerMode")), QStringLiteral("On")));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.at(0).at(0).toString(), QStringLiteral("TriggerMode"));
    QCOMPARE(failed.at(0).at(1).toInt(), int(TKN::OrvAPI::OrvErrIO));
    QCOMPARE(valueIndex(QStringLiteral("TriggerMode")).data().toString(), QStringLiteral("Off"));

    // Off the increment grid: the camera's own refusal.
    QVERIFY(!m_Model->setData(valueIndex(QStringLiteral("Width")), qlonglong(1000)));
    QCOMPARE(failed.count(), 2);
    QCOMPARE(failed.at(1).at(1).toInt(), int(TKN::OrvAPI::OrvErrInvalidValue));
    QCOMPARE(TestCamera::writes(*m_Camera), (QStringList { "TriggerMode=On", "Width=1000" }));
}

void tst_FeatureTableModel::followsCameraSideChanges()
{
    QSignalSpy changed(m_Model, SIGNAL(dataChanged(QModelIndex, QModelIndex, QVector<int>)));
    // Line1 is not the selected line: the row shows Line0, which stays low.
    QCOMPARE(m_Camera->setFromCamera("LineStatus", "true", "Line1"), TKN::OrvAPI::OrvErrSuccess);
    QCOMPARE(m_Camera->setFromCamera("LineStatus", "true", "Line0"), TKN::OrvAPI::OrvErrSuccess);
    QTRY_COMPARE(valueIndex(QStringLiteral("LineStatus")).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(!changed.isEmpty());

    QCOMPARE(m_Camera->setFromCamera("DeviceUserID", "renamed"), TKN::OrvAPI::OrvErrSuccess);
    QTRY_COMPARE(valueIndex(QStringLiteral("DeviceUserID")).data().toString(), QStringLiteral("renamed"));
}

void tst_FeatureTableModel::selectorChangeRereadsSelectedFeatures()
{
    QVERIFY(m_Model->setData(valueIndex(QStringLiteral("LineSelector")), QStringLiteral("Line3")));
    QCOMPARE(valueIndex(QStringLiteral("LineMode")).data().toString(), QStringLiteral("Output"));
    QCOMPARE(valueIndex(QStringLiteral("LineSource")).data().toString(), QStringLiteral("Direct"));
    QCOMPARE(m_Model->index(rowOf(QStringLiteral("LineSource")), FeatureTableModel::AccessColumn)
                 .data()
                 .toString(),
        QStringLiteral("read/write"));

    // Changed by someone else (another page): the table follows too.
    const TKN::OrvAPI::FeaturePtr selector = m_Camera->feature("LineSelector");
    QCOMPARE(selector->SetValue("Line0"), TKN::OrvAPI::OrvErrSuccess);
    QTRY_COMPARE(valueIndex(QStringLiteral("LineMode")).data().toString(), QStringLiteral("Input"));
    QCOMPARE(valueIndex(QStringLiteral("LineSource")).data().toString(), QStringLiteral("Off"));
}

void tst_FeatureTableModel::clearUnregistersAndStopsFollowing()
{
    const int features = m_Model->rowCount();
    m_Model->clear();
    QCOMPARE(m_Model->rowCount(), 0);
    int unregistered = 0;
    for (const OrvSim::JournalEntry &entry : m_Camera->journal()) {
        if (entry.operation == Operation::UnregisterObserver) {
            QCOMPARE(entry.result, TKN::OrvAPI::OrvErrSuccess);
            ++unregistered;
        }
    }
    QCOMPARE(unregistered, features);

    QSignalSpy changed(m_Model, SIGNAL(dataChanged(QModelIndex, QModelIndex, QVector<int>)));
    m_Camera->setFromCamera("DeviceUserID", "after clear");
    OrvSim::Camera::waitForNotifications();
    QCoreApplication::processEvents();
    QCOMPARE(changed.count(), 0);
}

// Changes keep arriving on the library's thread while tables come and go:
// no notification may reach a table that is gone (a sanitizer build
// reports it if one does).
void tst_FeatureTableModel::destroyedWhileTheCameraChanges()
{
    std::atomic<bool> stop(false);
    std::shared_ptr<OrvSim::Camera> camera = m_Camera;
    std::thread changer([camera, &stop]() {
        bool high = false;
        while (!stop.load()) {
            high = !high;
            camera->setFromCamera("LineStatus", high ? "true" : "false", "Line0");
        }
    });
    for (int i = 0; i < 50; ++i) {
        FeatureTableModel model;
        model.setFeatures(TestCamera::featureList(*m_Camera));
        QCoreApplication::processEvents();
    }
    stop = true;
    changer.join();
    OrvSim::Camera::waitForNotifications();
    QCoreApplication::processEvents();
}

QTEST_GUILESS_MAIN(tst_FeatureTableModel)
#include "tst_featuretablemodel.moc"
