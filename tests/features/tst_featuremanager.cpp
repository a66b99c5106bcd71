// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include <featuremanager.h>

#include <OrvikSim.h>
#include <testcamera.h>

#include <QComboBox>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

#include <limits>
#include <memory>

using OrvSim::Operation;

namespace {

const char s_CameraJson[] = R"({
    "name": "Test camera",
    "description": "features for FeatureManager",
    "features": [
        { "name": "Gain", "type": "Integer", "value": 1, "min": 0, "max": 100, "inc": 1 },
        { "name": "IntFeature", "type": "Integer", "value": 4, "min": 0, "max": 10, "inc": 4 },
        { "name": "IntFrom10", "type": "Integer", "value": 10, "min": 10, "max": 30, "inc": 4 },
        { "name": "Negative", "type": "Integer", "value": -42, "min": -100, "max": 100, "inc": 1 },
        { "name": "ReadOnlyInt", "type": "Integer", "value": 3, "min": 0, "max": 10, "inc": 1, "writable": false },
        { "name": "FloatTenth", "type": "Float", "value": 1.0, "min": 0.0, "max": 10.0, "inc": 0.1 },
        { "name": "FloatQuarter", "type": "Float", "value": 0.5, "min": 0.0, "max": 10.1, "inc": 0.25 },
        { "name": "FloatNoInc", "type": "Float", "value": 1.0, "min": 0.0, "max": 10.0 },
        { "name": "BoolFeature", "type": "Boolean", "value": true },
        { "name": "LineSelector", "displayName": "Line Selector", "type": "Enumeration",
          "entries": ["Line0", "Line1", "Line2"], "value": "Line0" },
        { "name": "TriggerSource", "type": "Enumeration",
          "entries": ["Line0", { "entry": "Software", "available": false }, "Line1"], "value": "Line1" },
        { "name": "Unavailable", "type": "Enumeration",
          "entries": ["A", { "entry": "B", "available": { "feature": "BoolFeature", "is": false } }], "value": "A" },
        { "name": "ReadOnlyEnum", "type": "Enumeration", "entries": ["A", "B"], "value": "B", "writable": false },
        { "name": "TriggerSoftware", "type": "Command" }
    ]
})";

// A second camera whose only feature repeats a name of the first.
const char s_DuplicateJson[] = R"({ "name": "Duplicate", "description": "",
    "features": [ { "name": "Gain", "type": "Integer", "value": 2, "min": 0, "max": 100, "inc": 1 } ] })";

const int s_None = -1;

} // namespace

class tst_FeatureManager : public QObject
{
    Q_OBJECT

    std::shared_ptr<OrvSim::Camera> m_Camera;
    std::shared_ptr<OrvSim::Camera> m_Duplicate;
    std::unique_ptr<FeatureManager> m_Manager;

    void inject(const QString &feature, int operation)
    {
        if (operation != s_None)
            m_Camera->injectFailure(feature.toStdString(), Operation(operation), TKN::OrvAPI::OrvErrIO);
    }

private slots:
    void init()
    {
        m_Camera = OrvSim::Camera::fromJson(s_CameraJson, "featuremanager-test");
        m_Duplicate = OrvSim::Camera::fromJson(s_DuplicateJson, "duplicate-test");
        CameraFeatureList list = TestCamera::featureList(*m_Camera);
        for (const TKN::OrvAPI::FeaturePtr &feature : m_Duplicate->features())
            list->append(feature);
        m_Manager.reset(new FeatureManager(list));
    }

    void cleanup()
    {
        m_Manager.reset();
        m_Duplicate.reset();
        m_Camera.reset();
    }

    void findFeature_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("found");

        const QStringList third{"LineOutSelector", "SyncOutSelector", "LineSelector"};
        QTest::newRow("letter case differs") << QStringList{"lineselector", "", ""} << "";
        QTest::newRow("prefix only") << QStringList{"LineSel", "", ""} << "";
        QTest::newRow("first alternative wins") << QStringList{"TriggerSource", "LineSelector", ""} << "TriggerSource";
        QTest::newRow("third alternative") << third << "LineSelector";
        QTest::newRow("empty second ends the search") << QStringList{"LineOutSelector", "", "LineSelector"} << "";
        QTest::newRow("empty first, second searched") << QStringList{"", "LineSelector", ""} << "LineSelector";
    }

    void findFeature()
    {
        QFETCH(QStringList, names);
        const TKN::OrvAPI::FeaturePtr feature = m_Manager->FindFeature(names[0], names[1], names[2]);
        std::string name;
        if (feature)
            feature->GetName(name);
        QTEST(QString::fromStdString(name), "found");
    }

    void duplicateNames()
    {
        QCOMPARE(m_Manager->SetValue("Gain", 7.0), 7.0);
        QCOMPARE(m_Camera->valueOf("Gain"), std::string("7"));
        QCOMPARE(m_Duplicate->valueOf("Gain"), std::string("2"));

        // A feature whose name cannot be read is passed over, not taken.
        m_Camera->injectFailure("Gain", Operation::GetName, TKN::OrvAPI::OrvErrIO);
        QCOMPARE(m_Manager->GetValue("Gain"), 2.0);
    }

    // The name index answers as the specified walk: the first feature of a
    // name whose name can be read now, the alternatives tried in order.
    void lookupMatchesWalk()
    {
        const std::shared_ptr<OrvSim::Camera> large =
            OrvSim::Camera::fromJson(OrvSim::Camera::largeCameraJson(300, 8), "large");
        CameraFeatureList list(new FeatureVector);
        for (const auto &camera : {m_Camera, m_Duplicate, large, m_Duplicate}) {
            for (const TKN::OrvAPI::FeaturePtr &feature : camera->features())
                list->append(feature);
        }
        QStringList pool{"", "Missing", "gain"};
        for (const TKN::OrvAPI::FeaturePtr &feature : *list) {
            std::string name;
            feature->GetName(name);
            pool << QString::fromStdString(name);
        }
        const auto walk = [&list](const QString &name) {
            std::string read;
            for (const TKN::OrvAPI::FeaturePtr &feature : *list) {
                if (feature->GetName(read) == TKN::OrvAPI::OrvErrSuccess && read == name.toStdString())
                    return feature;
            }
            return TKN::OrvAPI::FeaturePtr();
        };

        FeatureManager manager(list);
        QRandomGenerator random(20261206);
        for (int round = 0; round < 20; ++round) {
            // Some names cannot be read this round, on both cameras with duplicates.
            for (const auto &camera : {m_Camera, m_Duplicate, large})
                camera->clearFailures();
            for (int i = 0; i < 10; ++i) {
                const std::string name = pool.at(random.bounded(pool.size())).toStdString();
                for (const auto &camera : {m_Camera, m_Duplicate, large})
                    camera->injectFailure(name, Operation::GetName, TKN::OrvAPI::OrvErrIO);
            }
            for (int lookup = 0; lookup < 200; ++lookup) {
                const QString n1 = pool.at(random.bounded(pool.size()));
                const QString n2 = pool.at(random.bounded(pool.size()));
                const QString n3 = pool.at(random.bounded(pool.size()));
                TKN::OrvAPI::FeaturePtr expected = walk(n1);
                if (!expected && !n2.isEmpty())
                    expected = walk(n2);
                if (!expected && !n2.isEmpty() && !n3.isEmpty())
                    expected = walk(n3);
                QVERIFY2(manager.FindFeature(n1, n2, n3).get() == expected.get(),
                         qPrintable(QString("round %1: %2 / %3 / %4").arg(round).arg(n1, n2, n3)));
            }
        }

        // The host's list grows: the new feature is found.
        const std::shared_ptr<OrvSim::Camera> late = OrvSim::Camera::fromJson(
            R"({"name": "n", "description": "", "features": [{"name": "Late", "type": "Boolean"}]})", "late");
        list->append(late->features().front());
        QVERIFY(manager.FeatureExists("Late"));
    }

    void missingFeature_data()
    {
        QTest::addColumn<int>("list");
        QTest::newRow("name not on the camera") << 0;
        QTest::newRow("empty list") << 1;
        QTest::newRow("null list") << 2;
    }

    // Every call answers its neutral value and writes nothing.
    void missingFeature()
    {
        QFETCH(int, list);
        const FeatureManager empty{list == 1 ? CameraFeatureList(new FeatureVector) : CameraFeatureList()};
        const FeatureManager &manager = list == 0 ? *m_Manager : empty;
        const QString name = list == 0 ? QStringLiteral("Nothing") : QStringLiteral("LineSelector");
        m_Camera->clearJournal();

        QVERIFY(!manager.FeatureExists(name));
        QCOMPARE(manager.GetValue(name), -1.0);
        bool writable = true;
        double min = 99, max = 98, increment = 97;
        QCOMPARE(manager.GetValueAndRange(name, writable, min, max, increment), -1.0);
        QVERIFY(writable && min == 99 && max == 98 && increment == 97);
        QCOMPARE(manager.SetValue(name, 5.0), 5.0);
        QCOMPARE(manager.GetStringValue(name), QString());
        QCOMPARE(manager.SetStringValue(name, "Line1"), QString());
        QVERIFY(!manager.IsFeatureWritable(name));
        manager.RunCommandFeature(name);
        QCOMPARE(manager.GetAvailableEntries(name), QStringList());
        QCOMPARE(manager.FirstFeatureName({name}), QString());
        QComboBox box;
        box.addItem("stale");
        QVERIFY(!manager.FillComboBox(name, &box, true));
        QVERIFY(box.count() == 0 && !box.isEnabled());
        QVERIFY(!m_Manager->FillComboBox("TriggerSource", nullptr, true));

        QCOMPARE(TestCamera::writes(*m_Camera), QStringList());
    }

    void getValueAndRange_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("failing");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QList<double>>("range"); // min, max, increment
        QTest::addColumn<double>("plain");        // GetValue

        auto row = [](const char *tag, const char *name, int failing, double value, bool writable, QList<double> range,
                      double plain) {
            QTest::newRow(tag) << QString(name) << failing << value << writable << range << plain;
        };
        const int increment = int(Operation::GetIncrement);
        const int read = int(Operation::GetValue);
        row("integer, max snapped to the grid", "IntFeature", s_None, 4, true, {0, 8, 4}, 4);
        row("integer, increment fails: 1, max unsnapped", "IntFeature", increment, 4, true, {0, 10, 1}, 4);
        row("integer, range fails", "IntFrom10", int(Operation::GetRange), 10, true, {-1, -1, 4}, 10);
        row("integer read fails", "IntFeature", read, -1, true, {0, 8, 4}, -1);
        row("negative integer, writable query fails", "Negative", int(Operation::IsWritable), -42, false,
            {-100, 100, 1}, -42);
        row("float, max snapped", "FloatQuarter", s_None, 0.5, true, {0, 10, 0.25}, 0.5);
        row("float without increment: 0.01", "FloatNoInc", s_None, 1, true, {0, 10, 0.01}, 1);
        row("float read fails", "FloatQuarter", read, -1, true, {0, 10, 0.25}, -1);
        row("boolean: no range", "BoolFeature", s_None, -1, false, {-1, -1, -1}, 1);
        row("boolean read fails", "BoolFeature", read, -1, false, {-1, -1, -1}, 0);
        row("enumeration", "LineSelector", s_None, -1, false, {-1, -1, -1}, -1);
    }

    void getValueAndRange()
    {
        QFETCH(QString, name);
        QFETCH(int, failing);
        QFETCH(bool, writable);

        inject(name, failing);
        const bool expectedWritable = writable;
        writable = !expectedWritable;
        QList<double> range{99, 99, 99};
        QTEST(m_Manager->GetValueAndRange(name, writable, range[0], range[1], range[2]), "value");
        QCOMPARE(writable, expectedWritable);
        QTEST(range, "range");
        QTEST(m_Manager->GetValue(name), "plain");
    }

    void setValue_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("failing");
        QTest::addColumn<double>("value");
        QTest::addColumn<QStringList>("writes");
        QTest::addColumn<double>("result");

        // write: what the camera receives, "" for no write.
        auto row = [](const char *tag, const char *name, int failing, double value, const char *write, double result) {
            const QStringList writes = *write ? QStringList{name + QString("=") + write} : QStringList();
            QTest::newRow(tag) << QString(name) << failing << value << writes << result;
        };
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const int range = int(Operation::GetRange);
        const int set = int(Operation::SetValue);

        row("int 50 clamps to the snapped max", "IntFeature", s_None, 50, "8", 8);
        row("int below min 10 clamps to 10", "IntFrom10", s_None, 3, "10", 10);
        row("int grid counts from min", "IntFrom10", s_None, 25, "22", 22);
        row("negative int snaps down, not toward zero", "Negative", s_None, -7.5, "-8", -8);
        row("int range fails: the camera takes a valid value", "IntFeature", range, 8, "8", 8);
        row("int range fails: written as asked, the camera refuses", "IntFeature", range, 50, "50", 4);
        row("int NaN writes nothing", "IntFeature", s_None, nan, "", 4);
        row("read-only int is read back only", "ReadOnlyInt", s_None, 7, "", 3);
        row("refused int write returns the camera's value", "IntFeature", set, 8, "8", 4);

        row("float on the grid stays", "FloatTenth", s_None, 0.3, "0.3", 0.3);
        row("float snaps down", "FloatQuarter", s_None, 0.9, "0.75", 0.75);
        row("float clamps to the snapped max", "FloatQuarter", s_None, 11, "10", 10);
        row("float without increment unchanged", "FloatNoInc", s_None, 3.37, "3.37", 3.37);
        row("float increment fails: clamped up", "FloatNoInc", int(Operation::GetIncrement), -5, "0", 0);
        row("float range fails: written as asked", "FloatNoInc", range, 12, "12", 1);
        row("refused float write", "FloatTenth", set, 2, "2", 1);

        row("bool 0.5 is true", "BoolFeature", s_None, 0.5, "true", 1);
        row("bool 0 is false", "BoolFeature", s_None, 0, "false", 0);
        row("bool NaN is false", "BoolFeature", s_None, nan, "false", 0);
        row("refused bool write", "BoolFeature", set, 0, "false", 1);

        row("enumeration writes nothing", "LineSelector", s_None, 1, "", 1);
    }

    void setValue()
    {
        QFETCH(QString, name);
        QFETCH(int, failing);
        QFETCH(double, value);

        inject(name, failing);
        m_Camera->clearJournal();
        QTEST(m_Manager->SetValue(name, value), "result");
        QTEST(TestCamera::writes(*m_Camera), "writes");
    }

    void stringValues_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("failing");
        QTest::addColumn<QString>("read"); // GetStringValue of the first two names
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("result");

        const QStringList source{"TriggerSource"};
        QTest::newRow("entry written") << source << s_None << "Line1"
                                       << "Line0"
                                       << "Line0";
        const QStringList second{"LineOutSelector", "LineSelector"};
        const QStringList third{"LineOutSelector", "SyncOutSelector", "LineSelector"};
        QTest::newRow("second alternative") << second << s_None << "Line0"
                                            << "Line1"
                                            << "Line1";
        QTest::newRow("third alternative") << third << s_None << ""
                                           << "Line2"
                                           << "Line2";
        // A refused write answers "" so callers can tell it did not happen.
        QTest::newRow("unavailable entry refused") << source << s_None << "Line1"
                                                   << "Software"
                                                   << "";
        QTest::newRow("read-only refused") << QStringList{"ReadOnlyEnum"} << s_None << "B"
                                           << "A"
                                           << "";
        QTest::newRow("read fails, write works") << source << int(Operation::GetValue) << ""
                                                 << "Line0"
                                                 << "Line0";
        // What a failed read hands back is never written back.
        QTest::newRow("empty text not written") << source << s_None << "Line1"
                                                << ""
                                                << "";
    }

    void stringValues()
    {
        QFETCH(QStringList, names);
        QFETCH(int, failing);
        QFETCH(QString, value);

        inject(names.first(), failing);
        QTEST(m_Manager->GetStringValue(names[0], names.value(1)), "read");
        m_Camera->clearJournal();
        QString returned;
        if (names.size() == 1)
            returned = m_Manager->SetStringValue(names[0], value);
        else if (names.size() == 2)
            returned = m_Manager->SetStringValue(names[0], names[1], value);
        else
            returned = m_Manager->SetStringValue(names[0], names[1], names[2], value);
        QTEST(returned, "result");
        // Sent whether or not the camera takes it; an empty text is not sent.
        QCOMPARE(TestCamera::writes(*m_Camera),
                 value.isEmpty() ? QStringList() : QStringList{names.last() + "=" + value});
    }

    void questionsAndCommands()
    {
        QVERIFY(m_Manager->IsFeatureWritable("Nothing", "LineSelector"));
        QVERIFY(!m_Manager->IsFeatureWritable("ReadOnlyEnum"));
        m_Camera->injectFailure("LineSelector", Operation::IsWritable, TKN::OrvAPI::OrvErrIO);
        QVERIFY(!m_Manager->IsFeatureWritable("LineSelector"));
        QVERIFY(m_Manager->FeatureExists("Nothing", "TriggerSoftware"));

        m_Manager->RunCommandFeature("TriggerSoftware");
        m_Manager->RunCommandFeature("TriggerSoftware");
        QCOMPARE(m_Camera->commandCount("TriggerSoftware"), 2LL);

        const QStringList candidates{"SyncOutSelector", "LineSelector", "Gain"};
        QCOMPARE(m_Manager->FirstFeatureName(candidates), QString("LineSelector"));
        QCOMPARE(m_Manager->FirstFeatureDisplayName(candidates), QString("Line Selector"));
        QCOMPARE(m_Manager->FirstFeatureDisplayName({"TriggerSource"}), QString("TriggerSource"));
    }

    // GetAvailableEntries feeds the box, so its rows are here too.
    void fillComboBox_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("failing");
        QTest::addColumn<bool>("withToolTips");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("enabled");

        const QStringList lines{"Line0", "Line1", "Line2"};
        QTest::newRow("unavailable dropped, order kept, current selected")
            << "TriggerSource" << s_None << false << QStringList{"Line0", "Line1"} << 1 << true;
        QTest::newRow("availability query fails")
            << "TriggerSource" << int(Operation::IsValueAvailable) << false << QStringList() << -1 << true;
        QTest::newRow("entry list fails")
            << "TriggerSource" << int(Operation::GetValues) << false << QStringList() << -1 << true;
        QTest::newRow("with tool tips") << "LineSelector" << s_None << true << lines << 0 << true;
        QTest::newRow("read-only disabled") << "ReadOnlyEnum" << s_None << false << QStringList{"A", "B"} << 1 << false;
        QTest::newRow("current not available") << "Unavailable" << s_None << false << QStringList{"A"} << -1 << true;
    }

    void fillComboBox()
    {
        QFETCH(QString, name);
        QFETCH(int, failing);
        QFETCH(bool, withToolTips);
        QFETCH(bool, enabled);

        inject(name, failing);
        if (name == "Unavailable") {
            // The camera holds B, then BoolFeature turns true and B becomes unavailable.
            QCOMPARE(m_Camera->setFromCamera("BoolFeature", "false"), TKN::OrvAPI::OrvErrSuccess);
            QCOMPARE(m_Camera->setFromCamera("Unavailable", "B"), TKN::OrvAPI::OrvErrSuccess);
            QCOMPARE(m_Camera->setFromCamera("BoolFeature", "true"), TKN::OrvAPI::OrvErrSuccess);
        }
        QComboBox box;
        box.addItems({"stale", "Line1"});
        box.setCurrentIndex(1);
        box.setEnabled(!enabled);
        m_Camera->clearJournal();

        QTEST(m_Manager->GetAvailableEntries(name), "items");
        // A refill reads: a slot on the box must not hear it and write back.
        QSignalSpy changes(&box, SIGNAL(currentIndexChanged(int)));
        QCOMPARE(m_Manager->FillComboBox(name, &box, withToolTips), enabled);
        QCOMPARE(changes.count(), 0);
        QStringList shown;
        for (int i = 0; i < box.count(); ++i)
            shown << box.itemText(i);
        QTEST(shown, "items");
        QCOMPARE(box.itemData(1, Qt::ToolTipRole).toString(), withToolTips ? shown[1] : QString());
        QTEST(box.currentIndex(), "index");
        QCOMPARE(box.isEnabled(), enabled);
        QCOMPARE(TestCamera::writes(*m_Camera), QStringList());
    }
};

QTEST_MAIN(tst_FeatureManager)
#include "tst_featuremanager.moc"
