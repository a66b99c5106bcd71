// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The viewer's plug-in loading: which libraries it accepts and what it
// connects, and that no file in the plug-in folder can take it down.
#include <TabExtensionInterface.h>
#include <pluginhost.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>

namespace {

const char RealPlugin[] = ORVIK_BIN_DIR "/plugins/libtabextensiontriggerio.so";

bool isMapped(const QString &path)
{
    void *handle = dlopen(QFile::encodeName(path).constData(), RTLD_LAZY | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

} // namespace

class tst_PluginHost : public QObject
{
    Q_OBJECT

signals:
    void acquisitionChanged(bool acquiring);

private slots:
    void isVerificationData_data();
    void isVerificationData();
    void loadsThePluginFolder();
    void skipsWhatIsNoTabPlugin_data();
    void skipsWhatIsNoTabPlugin();
};

void tst_PluginHost::isVerificationData_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("pattern line only") << QByteArray("pattern=QT_PLUGIN_VERIFICATION_DATA") << true;
    QTest::newRow("longer pattern") << QByteArray("pattern=QT_PLUGIN_VERIFICATION_DATA_X\n") << false;
    QTest::newRow("pattern not first")
        << QByteArray("version=4.7.1\npattern=QT_PLUGIN_VERIFICATION_DATA") << false;
    // clang-format on
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

// Each file alone in the folder. A file that fails a check made on the file
// itself is never loaded, so its constructors never run; one refused after
// loading is unloaded again.
void tst_PluginHost::skipsWhatIsNoTabPlugin_data()
{
    // clang-format off
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("constructed");

    const QString hostile = QStringLiteral(ORVIK_HOSTILE_PLUGIN_DIR "/libhostile%1.so");
    QTest::newRow("text") << QString() << 0 << "not an ELF shared library" << false;
    const qint64 size = QFileInfo(QLatin1String(RealPlugin)).size();
    for (int bytes : { 1000, 4096, 20000, 50000, 100000 })
        QTest::newRow(qPrintable(QStringLiteral("cut to %1 bytes").arg(bytes)))
            << RealPlugin << bytes << "truncated: a segment ends at byte" << false;
    QTest::newRow("section table cut off") << RealPlugin << int(size - 100)
                                           << "truncated: its section table ends past the end" << false;
    QTest::newRow("no Qt metadata") << hostile.arg("notqt") << -1 << "not a Qt plug-in" << false;
    QTest::newRow("another interface")
        << hostile.arg("otherinterface") << -1
        << "a plug-in for \"com.example.OtherViewer.Plugin.ExportInterface/1.0\", not a tab extension" << false;
    QTest::newRow("verification symbol is data")
        << hostile.arg("datasymbol") << -1 << "its verification data is not a function" << true;
    QTest::newRow("verification function throws")
        << hostile.arg("throwing") << -1 << "its verification function failed: verification refused by design"
        << true;
    QTest::newRow("wrong verification pattern")
        << hostile.arg("wrongpattern") << -1 << "no plug-in verification data" << true;
    QTest::newRow("root object no tab extension")
        << hostile.arg("notextension") << -1 << "not a tab extension" << true;
    // clang-format on
}

void tst_PluginHost::skipsWhatIsNoTabPlugin()
{
    QFETCH(QString, source);
    QFETCH(int, bytes);
    QFETCH(QString, message);
    QFETCH(bool, constructed);

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("libunderTest.so"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    if (source.isEmpty()) {
        file.write("not a library");
    } else {
        QFile original(source);
        QVERIFY2(original.open(QIODevice::ReadOnly), qPrintable(source));
        file.write(bytes < 0 ? original.readAll() : original.read(bytes));
    }
    file.close();
    // Translations and other files beside the plug-ins are no libraries.
    QVERIFY(QFile(folder.filePath(QStringLiteral("plugin_de.qm"))).open(QIODevice::WriteOnly));

    const QByteArray marker = "ORVIK_HOSTILE_LOADED_" + QFileInfo(source).baseName().mid(10).toLatin1();
    qunsetenv(marker.constData());
    PluginHost host;
    host.loadAll(folder.path(), this, SIGNAL(acquisitionChanged(bool)));
    QCOMPARE(host.plugins().size(), 0);
    QCOMPARE(host.messages().size(), 1);
    QVERIFY2(host.messages().first().startsWith("libunderTest.so skipped: " + message),
             qPrintable(host.messages().first()));
    QVERIFY(!isMapped(path));
    if (source.contains(QLatin1String("hostile")))
        QCOMPARE(qEnvironmentVariableIsSet(marker.constData()), constructed);
}

QTEST_MAIN(tst_PluginHost)
#include "tst_pluginhost.moc"
