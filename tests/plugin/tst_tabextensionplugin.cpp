// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The plug-in as a host sees it: loaded from bin/plugins, through
// QPluginLoader and through its exported functions.
#include <TabExtensionInterface.h>

#include "testcamera.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {

const char PluginPath[] = ORVIK_BIN_DIR "/plugins/libtabextensiontriggerio.so";
const char *const Icons[] = {":/OrvikViewer/Images/triggering_edge_256.png",
                             ":/OrvikViewer/Images/triggering_level_256.png",
                             ":/OrvikViewer/Images/triggering_bulk_256.png"};

QPushButton *button(QWidget *container, const QString &text)
{
    const QList<QPushButton *> buttons = container->findChildren<QPushButton *>();
    for (QPushButton *button : buttons) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

bool hintShown(QWidget *container)
{
    QLabel *hint = container->findChild<QLabel *>(QStringLiteral("l_notAcquireHint"));
    return hint && !hint->isHidden();
}

} // namespace

class tst_TabExtensionPlugin : public QObject
{
    Q_OBJECT

signals:
    // The viewer's acquisition signal.
    void acquisitionChanged(bool acquiring);

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void exportedFunctions();
    void metaCast_data();
    void metaCast();
    void createTabWidget_data();
    void createTabWidget();
    void queryFlag();
    void streamingReachesEveryPage();
    void translation();
    void resourcesGoWithTheLibrary();

private:
    QWidget *createPage(const char *cameraFile, bool withContainer = true);

    QScopedPointer<QPluginLoader> m_Loader;
    TabExtensionInterface *m_Extension = nullptr;
    std::vector<std::shared_ptr<OrvSim::Camera>> m_Cameras;
    QList<QWidget *> m_Containers;
    int m_Result = 0;
};

void tst_TabExtensionPlugin::initTestCase()
{
    // Qt 5 keeps plug-ins mapped unless told otherwise; the last test unloads.
    m_Loader.reset(new QPluginLoader(QLatin1String(PluginPath)));
    m_Loader->setLoadHints(QLibrary::LoadHints());
    QVERIFY2(m_Loader->load(), qPrintable(m_Loader->errorString()));
}

void tst_TabExtensionPlugin::init()
{
    m_Extension = qobject_cast<TabExtensionInterface *>(m_Loader->instance());
    QVERIFY(m_Extension);
}

void tst_TabExtensionPlugin::cleanup()
{
    // Pages first: they hold the cameras' features.
    qDeleteAll(m_Containers);
    m_Containers.clear();
    m_Cameras.clear();
}

QWidget *tst_TabExtensionPlugin::createPage(const char *cameraFile, bool withContainer)
{
    m_Cameras.push_back(TestCamera::load(cameraFile));
    m_Cameras.back()->clearJournal();
    QWidget *container = withContainer ? new QWidget : nullptr;
    if (container)
        m_Containers << container;
    m_Result = m_Extension->CreateTabWidget(TestCamera::featureList(*m_Cameras.back()), container);
    return container;
}

void tst_TabExtensionPlugin::exportedFunctions()
{
    QLibrary library{QLatin1String(PluginPath)};
    auto query = reinterpret_cast<const char *(*)()>(library.resolve("qt_plugin_query_verification_data"));
    auto instance = reinterpret_cast<QObject *(*)()>(library.resolve("qt_plugin_instance"));
    QVERIFY(query && instance);
    QCOMPARE(QByteArray(query()), QByteArray("pattern=QT_PLUGIN_VERIFICATION_DATA\nversion=4.7.1\ndebug=false\n"
                                             "buildkey=Windows x64 msvc release full-config"));

    QPointer<QObject> first = instance();
    QVERIFY(first && !first->parent());
    QCOMPARE(instance(), first.data());
    QCOMPARE(m_Loader->instance(), first.data());
    // A new object may reuse the old address; the marker tells them apart.
    first->setObjectName(QStringLiteral("first"));
    delete first.data();
    QObject *second = instance();
    QVERIFY(second && second->objectName().isEmpty());
    QCOMPARE(instance(), second);
}

void tst_TabExtensionPlugin::metaCast_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("answered");
    QTest::newRow("own class") << QByteArray("TabExtensionPlugin") << true;
    QTest::newRow("interface id") << QByteArray(TabExtensionInterface_iid) << true;
    QTest::newRow("QObject") << QByteArray("QObject") << true;
    QTest::newRow("interface class name") << QByteArray("TabExtensionInterface") << false;
    QTest::newRow("page class") << QByteArray("IOTriggerWidget") << false;
    // clang-format on
}

void tst_TabExtensionPlugin::metaCast()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, answered);
    QObject *instance = m_Loader->instance();
    QCOMPARE(instance->qt_metacast(name.constData()), answered ? static_cast<void *>(instance) : nullptr);
}

void tst_TabExtensionPlugin::createTabWidget_data()
{
    // clang-format off
    QTest::addColumn<QString>("camera");
    QTest::addColumn<bool>("withContainer");
    QTest::addColumn<int>("result");
    QTest::newRow("LineSelector") << "exposure-mode.json" << true << 0;
    QTest::newRow("SyncOut levels") << "syncout.json" << true << 0;
    QTest::newRow("no trigger I/O") << "no-trigger-io.json" << true << 4;
    QTest::newRow("no container") << "exposure-mode.json" << false << -1;
    // clang-format on
}

void tst_TabExtensionPlugin::createTabWidget()
{
    QFETCH(QString, camera);
    QFETCH(bool, withContainer);
    QFETCH(int, result);

    QWidget *container = createPage(camera.toLatin1().constData(), withContainer);
    QCOMPARE(m_Result, result);
    if (!container) {
        // Refused before a page existed, so none is left without an owner.
        QVERIFY(m_Cameras.back()->journal().empty());
    } else if (result != 0) {
        QVERIFY(!container->layout());
        QVERIFY(container->accessibleName().isEmpty());
        QVERIFY(container->findChildren<QWidget *>().isEmpty());
    } else {
        auto *layout = qobject_cast<QVBoxLayout *>(container->layout());
        QVERIFY(layout);
        QCOMPARE(layout->count(), 1);
        QWidget *page = layout->itemAt(0)->widget();
        QVERIFY(page && page->inherits("IOTriggerWidget"));
        QCOMPARE(layout->stretch(0), 0);
        QCOMPARE(container->accessibleName(), QStringLiteral("Trigger IO"));
        QCOMPARE(page->accessibleName(), QStringLiteral("Trigger IO"));
    }
}

void tst_TabExtensionPlugin::queryFlag()
{
    for (int flag : {0, 1, -1, 0x7fffffff})
        QVERIFY(!m_Extension->QueryFlag(flag));
}

void tst_TabExtensionPlugin::streamingReachesEveryPage()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("QObject::connect")));
    QVERIFY(!m_Extension->ConnectStreamingSignal(this, SIGNAL(objectNameChanged(QString))));
    // One page before the connection, one after: both are served.
    QWidget *before = createPage("syncout.json");
    QVERIFY(m_Extension->ConnectStreamingSignal(this, SIGNAL(acquisitionChanged(bool))));
    QWidget *after = createPage("lineout.json");
    QVERIFY(!hintShown(before) && !hintShown(after));

    // From another thread the state is queued to the pages' thread.
    QScopedPointer<QThread> thread(QThread::create([this]() { emit acquisitionChanged(true); }));
    thread->start();
    QVERIFY(thread->wait(5000));
    QTRY_VERIFY(hintShown(before) && hintShown(after));

    emit acquisitionChanged(false);
    QVERIFY(!hintShown(before) && !hintShown(after));
}

// Run twice by ctest: in the C locale and with LC_ALL=de_DE.UTF-8.
void tst_TabExtensionPlugin::translation()
{
    const bool german = QLocale::system().name() == QLatin1String("de_DE");
    QWidget *first = createPage("exposure-mode.json");
    QWidget *second = createPage("exposure-mode.json");

    // The caption is translated before the page installs its translator,
    // so only a later page is sure to get it.
    QCOMPARE(second->accessibleName(), german ? QStringLiteral("Trigger-E/A") : QStringLiteral("Trigger IO"));
    for (QWidget *container : {first, second}) {
        const QStringList quickModes =
            german ? QStringList{"Flanke", "Pegel", "Serie"} : QStringList{"Edge", "Level", "Bulk"};
        for (const QString &text : quickModes) {
            QPushButton *quick = button(container, text);
            QVERIFY2(quick && !quick->icon().isNull(), qPrintable(text));
        }
    }
}

void tst_TabExtensionPlugin::resourcesGoWithTheLibrary()
{
    for (const char *path : Icons) {
        const QImage image{QLatin1String(path)};
        QVERIFY2(image.size() == QSize(256, 256) && image.hasAlphaChannel(), path);
    }
    m_Extension = nullptr;
    QVERIFY2(m_Loader->unload(), qPrintable(m_Loader->errorString()));
    QVERIFY(!QFile::exists(QLatin1String(Icons[0])));
}

QTEST_MAIN(tst_TabExtensionPlugin)
#include "tst_tabextensionplugin.moc"
