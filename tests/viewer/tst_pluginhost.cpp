// The viewer's plug-in loading: which libraries it accepts and what it
// connects.
#include <TabExtensionInterface.h>
#include <pluginhost.h>

#include "testcamera.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

class StreamingHost : public QObject
{
    Q_OBJECT

signals:
    void acquisitionChanged(bool acquiring);
};

class tst_PluginHost : public QObject
{
    Q_OBJECT

private slots:
    void isVerificationData_data();
    void isVerificationData();
    void loadsThePluginFolder();
    void skipsLibrariesWithoutVerificationData();
};

void tst_PluginHost::isVerificationData_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("full text") << QByteArray("pattern=QT_PLUGIN_VERIFICATION_DATA\nversion=4.7.1\n"
                                             "debug=false\nbuildkey=Windows x64 msvc release full-config")
                               << true;
    QTest::newRow("pattern line only") << QByteArray("pattern=QT_PLUGIN_VERIFICATION_DATA") << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("longer pattern") << QByteArray("pattern=QT_PLUGIN_VERIFICATION_DATA_X\nversion=4.7.1")
                                    << false;
    QTest::newRow("pattern not first")
        << QByteArray("version=4.7.1\npattern=QT_PLUGIN_VERIFICATION_DATA") << false;
    QTest::newRow("leading blank") << QByteArray(" pattern=QT_PLUGIN_VERIFICATION_DATA\n") << false;
    QTest::newRow("lower case") << QByteArray("pattern=qt_plugin_verification_data\n") << false;
}

void tst_PluginHost::isVerificationData()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, accepted);
    QCOMPARE(PluginHost::isVerificationData(text), accepted);
}

void tst_PluginHost::loadsThePluginFolder()
{
    StreamingHost sender;
    PluginHost host;
    host.loadAll(QStringLiteral(ORVIK_BIN_DIR "/plugins"), &sender, SIGNAL(acquisitionChanged(bool)));
    QCOMPARE(host.messages(), QStringList());
    QCOMPARE(host.plugins().size(), 1);
    const LoadedPlugin &plugin = host.plugins().first();
    QCOMPARE(plugin.name, QStringLiteral("Trigger IO"));
    QVERIFY(plugin.fileName.endsWith(QLatin1String("/libtabextensiontriggerio.so")));
    QVERIFY(plugin.extension);

    // The host's signal reaches the pages the plug-in builds.
    const std::shared_ptr<OrvSim::Camera> camera = TestCamera::load("lineout.json");
    QWidget container;
    QCOMPARE(plugin.extension->CreateTabWidget(TestCamera::featureList(*camera), &container), 0);
    QLabel *hint = container.findChild<QLabel *>(QStringLiteral("l_notAcquireHint"));
    QVERIFY(hint);
    QVERIFY(hint->isHidden());
    emit sender.acquisitionChanged(true);
    QVERIFY(!hint->isHidden());
}

void tst_PluginHost::skipsLibrariesWithoutVerificationData()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFile fake(folder.filePath(QStringLiteral("libbroken.so")));
    QVERIFY(fake.open(QIODevice::WriteOnly));
    fake.write("not a library");
    fake.close();
    QFile notes(folder.filePath(QStringLiteral("notes_de.qm")));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();

    PluginHost host;
    host.loadAll(folder.path(), nullptr, nullptr);
    QCOMPARE(host.plugins().size(), 0);
    QCOMPARE(host.messages().size(), 1);
    QVERIFY2(host.messages().first().startsWith(
                 QLatin1String("libbroken.so skipped: no plug-in verification data")),
        qPrintable(host.messages().first()));
}

QTEST_MAIN(tst_PluginHost)
#include "tst_pluginhost.moc"
