// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
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

    void shows_data();
    void shows();
    void writes();
    void followsTheCamera();
    void destroyedWhileTheCameraChanges();

private:
    QModelIndex cell(const QString &name, int column = FeatureTableModel::ValueColumn) const
    {
        for (int row = 0; row < m_Model->rowCount(); ++row) {
            if (m_Model->featureName(row) == name)
                return m_Model->index(row, column);
        }
        return QModelIndex();
    }
    QString value(const QString &name) const { return cell(name).data().toString(); }

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
    m_Camera.reset();
}

void tst_FeatureTableModel::shows_data()
{
    // clang-format off
    QTest::addColumn<QString>("feature");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("access");

    const int none = 0, edit = Qt::ItemIsEditable, check = Qt::ItemIsUserCheckable;
    QTest::newRow("read-only string") << "DeviceVendorName" << QString("Orvik") << none << "read only";
    QTest::newRow("integer") << "Width" << QString("2448") << edit << "read/write";
    QTest::newRow("float") << "ExposureTime" << QString("10000") << edit << "read/write";
    QTest::newRow("read-only on this line") << "LineMode" << QString("Input") << none << "read only";
    QTest::newRow("boolean") << "LineInverter" << QString() << check << "read/write";
    QTest::newRow("read-only boolean") << "LineStatus" << QString() << none << "read only";
    QTest::newRow("command") << "TriggerSoftware" << QString() << none << "executable";
    QTest::newRow("raw") << "FileAccessBuffer" << QString("(raw data)") << none << "read/write";
    // clang-format on
}

void tst_FeatureTableModel::shows()
{
    QFETCH(QString, feature);
    QFETCH(QString, shown);
    QFETCH(int, flags);
    QFETCH(QString, access);

    QCOMPARE(m_Model->rowCount(), int(m_Camera->features().size()));
    QCOMPARE(value(feature), shown);
    QCOMPARE(int(m_Model->flags(cell(feature)) & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)), flags);
    QCOMPARE(cell(feature, FeatureTableModel::AccessColumn).data().toString(), access);
}

void tst_FeatureTableModel::writes()
{
    QSignalSpy failed(m_Model, SIGNAL(writeFailed(QString, int)));
    QVERIFY(m_Model->setData(cell("Width"), qlonglong(1024)));
    QVERIFY(m_Model->setData(cell("Gain"), 2.5));
    QVERIFY(m_Model->setData(cell("LineInverter"), int(Qt::Checked), Qt::CheckStateRole));
    m_Camera->injectFailure("TriggerMode", Operation::SetValue, TKN::OrvAPI::OrvErrIO, 1);
    QVERIFY(!m_Model->setData(cell("TriggerMode"), QStringLiteral("On")));
    QVERIFY(m_Model->setData(cell("TriggerMode"), QStringLiteral("On")));
    // Off the increment grid: the camera's own refusal, not rounded here.
    QVERIFY(!m_Model->setData(cell("Width"), qlonglong(1000)));

    QCOMPARE(TestCamera::writes(*m_Camera), (QStringList{"Width=1024", "Gain=2.5", "LineInverter=true",
                                                         "TriggerMode=On", "TriggerMode=On", "Width=1000"}));
    QCOMPARE(failed.count(), 2);
    QCOMPARE(failed.at(0), (QVariantList{QStringLiteral("TriggerMode"), int(TKN::OrvAPI::OrvErrIO)}));
    QCOMPARE(failed.at(1).at(1).toInt(), int(TKN::OrvAPI::OrvErrInvalidValue));
    // What the camera holds, not what was asked for last.
    QCOMPARE(value("Width"), QStringLiteral("1024"));
    QCOMPARE(value("TriggerMode"), QStringLiteral("On"));
}

void tst_FeatureTableModel::followsTheCamera()
{
    // Line1 is not the selected line: the row shows Line0's level.
    m_Camera->setFromCamera("LineStatus", "true", "Line1");
    m_Camera->setFromCamera("LineStatus", "true", "Line0");
    QTRY_COMPARE(cell("LineStatus").data(Qt::CheckStateRole).toInt(), int(Qt::Checked));

    // A selector's change alters the features it selects, which send nothing.
    QVERIFY(m_Model->setData(cell("LineSelector"), QStringLiteral("Line3")));
    QCOMPARE(value("LineMode"), QStringLiteral("Output"));
    QCOMPARE(cell("LineSource", FeatureTableModel::AccessColumn).data().toString(), QStringLiteral("read/write"));
    QCOMPARE(m_Camera->feature("LineSelector")->SetValue("Line0"), TKN::OrvAPI::OrvErrSuccess);
    QTRY_COMPARE(value("LineMode"), QStringLiteral("Input"));

    // Cleared, the table unregisters from every feature and follows nothing.
    OrvSim::Camera::waitForNotifications();
    QCoreApplication::processEvents();
    m_Camera->clearJournal();
    const int rows = m_Model->rowCount();
    m_Model->clear();
    int unregistered = 0;
    for (const OrvSim::JournalEntry &entry : m_Camera->journal())
        unregistered += entry.operation == Operation::UnregisterObserver && entry.result == 0;
    QCOMPARE(unregistered, rows);
    QSignalSpy refreshed(m_Model, SIGNAL(refreshed()));
    m_Camera->setFromCamera("LineStatus", "false", "Line0");
    OrvSim::Camera::waitForNotifications();
    QCoreApplication::processEvents();
    QCOMPARE(refreshed.count(), 0);
}

// Changes keep arriving on the library's thread while tables come and go: no
// notification may reach a table that is gone (the sanitizer build sees it).
void tst_FeatureTableModel::destroyedWhileTheCameraChanges()
{
    std::atomic<bool> stop(false);
    std::shared_ptr<OrvSim::Camera> camera = m_Camera;
    std::thread changer([camera, &stop]() {
        for (bool high = false; !stop.load(); high = !high)
            camera->setFromCamera("LineStatus", high ? "true" : "false", "Line0");
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
