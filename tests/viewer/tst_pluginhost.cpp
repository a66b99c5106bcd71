// The viewer's plug-in loading: which libraries it accepts and what it
// connects.
#include <TabExtensionInterface.h>
#include <pluginhost.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_PluginHost : public QObject
{
    Q_OBJECT

signals:
    void acquisitionChanged(bool acquiring);

private slots:
    void isVerificationData_data();
    void isVerificationData();
    void loadsThePluginFolder();
    void checksBeforeLoading();
};

void tst_PluginHost::isVerificationData_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("pattern line only") << QByteArray("pattern=QT_PLUGIN_VERIFICATION_DATA") << true;
    QTest::newRow("longer pattern") << QByteArray("pattern=QT_PLUGIN_VERIFICATION_DATA_X\n") << false;
    QTest::newRow("pattern not first")
        << QByteArray("version=4.7.1\npattern=QT_PLUGIN_VERIFICATION_DATA") << false;
}

void tst_PluginHost::isVerificationData()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, accepted);
    QCOMPARE(PluginHost::isVerificationData(text), accepted);
}

void tst_PluginHost::loadsThePluginFolder()
{
    PluginHost host;
    host.loadAll(QStringLiteral(ORVIK_BIN_DIR "/plugins"), this, SIGNAL(acquisitionChanged(bool)));
    QCOMPARE(host.messages(), QStringList());
    QCOMPARE(host.plugins().size(), 1);
    QCOMPARE(host.plugins().first().name, QStringLiteral("Trigger IO"));
    QVERIFY(host.plugins().first().extension);
    // Connected once, to the plug-in's slot.
    QCOMPARE(receivers(SIGNAL(acquisitionChanged(bool))), 1);
}

// A library without the verification text is never handed to the plug-in
// loader, which would map it and run its initialisers.
void tst_PluginHost::checksBeforeLoading()
{
    QTemporaryDir folder;
    QFile fake(folder.filePath(QStringLiteral("libbroken.so")));
    QVERIFY(fake.open(QIODevice::WriteOnly));
    fake.write("not a library");
    fake.close();
    QVERIFY(QFile(folder.filePath(QStringLiteral("plugin_de.qm"))).open(QIODevice::WriteOnly));

    PluginHost host;
    host.loadAll(folder.path(), nullptr, nullptr);
    QCOMPARE(host.plugins().size(), 0);
    QCOMPARE(host.messages().size(), 1);
    QVERIFY2(host.messages().first().startsWith("libbroken.so skipped: no plug-in verification data"),
        qPrintable(host.messages().first()));
}

QTEST_MAIN(tst_PluginHost)
#include "tst_pluginhost.moc"
