// The plug-in as a host sees it: loaded from bin/plugins, through
// QPluginLoader and through its exported functions.
#include <TabExtensionInterface.h>

#include "testcamera.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLibrary>
#include <QLocale>
#include <QMetaMethod>
#include <QPluginLoader>
#include <QPointer>
#include <QPushButton>
#include <QScopedPointer>
#include <QThread>
#include <QVBoxLayout>
#include <QtTest>

namespace {

const char PluginPath[] = ORVIK_BIN_DIR "/plugins/libtabextensiontriggerio.so";
const char EdgeIcon[] = ":/OrvikViewer/Images/triggering_edge_256.png";

typedef QObject *(*InstanceFunction)();
typedef const char *(*VerificationFunction)();

} // namespace

/// Stands in for the viewer's window.
class HostStub : public QObject
{
    Q_OBJECT

signals:
    void acquisitionChanged(bool acquiring);
};

class tst_TabExtensionPlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void verificationData();
    void metaData();
    void instanceIsSingleAndRecreated();
    void metaObject();
    void metaCast_data();
    void metaCast();
    void createTabWidget_data();
    void createTabWidget();
    void createTabWidgetWithoutContainer();
    void queryFlag_data();
    void queryFlag();
    void connectStreamingSignal_data();
    void connectStreamingSignal();
    void streamingReachesEveryPage();
    void streamingFromAnotherThread();
    void iconsResolveFromThePage();
    void translation();
    void resourcesGoWithTheLibrary();

private:
    QWidget *createPage(const char *cameraFile, int *result = nullptr);

    QScopedPointer<QPluginLoader> m_Loader;
    TabExtensionInterface *m_Extension = nullptr;
    std::vector<std::shared_ptr<OrvSim::Camera>> m_Cameras;
    QList<QWidget *> m_Containers;
};

void tst_TabExtensionPlugin::initTestCase()
{
    QVERIFY2(QFile::exists(QLatin1String(PluginPath)), PluginPath);
    // One load for the whole run, so that the last test can unload it. Qt 5
    // loaders keep plug-ins mapped by default (PreventUnloadHint).
    m_Loader.reset(new QPluginLoader(QLatin1String(PluginPath)));
    m_Loader->setLoadHints(QLibrary::LoadHints());
    QVERIFY2(m_Loader->load(), qPrintable(m_Loader->errorString()));
}

void tst_TabExtensionPlugin::init()
{
    m_Extension = qobject_cast<TabExtensionInterface *>(m_Loader->instance());
    QVERIFY2(m_Extension, qPrintable(m_Loader->errorString()));
}

void tst_TabExtensionPlugin::cleanup()
{
    // Pages first: they hold the cameras' features.
    qDeleteAll(m_Containers);
    m_Containers.clear();
    m_Cameras.clear();
    m_Extension = nullptr;
}

QWidget *tst_TabExtensionPlugin::createPage(const char *cameraFile, int *result)
{
    m_Cameras.push_back(TestCamera::load(cameraFile));
    auto *container = new QWidget;
    m_Containers << container;
    const int code = m_Extension->CreateTabWidget(TestCamera::featureList(*m_Cameras.back()), container);
    if (result)
        *result = code;
    return container;
}

void tst_TabExtensionPlugin::verificationData()
{
    QLibrary library { QLatin1String(PluginPath) };
    auto query = reinterpret_cast<VerificationFunction>(library.resolve("qt_plugin_query_verification_data"));
    QVERIFY2(query, qPrintable(library.errorString()));
    QCOMPARE(QByteArray(query()),
        QByteArray("pattern=QT_PLUGIN_VERIFICATION_DATA\n"
                   "version=4.7.1\n"
                   "debug=false\n"
                   "buildkey=Windows x64 msvc release full-config"));
}

void tst_TabExtensionPlugin::metaData()
{
    QCOMPARE(m_Loader->metaData().value(QStringLiteral("IID")).toString(),
        QStringLiteral("com.tkn.OrvikViewer.Plugin.TabExtensionInterface/1.0"));
    QCOMPARE(m_Loader->metaData().value(QStringLiteral("className")).toString(),
        QStringLiteral("TabExtensionPlugin"));
}

void tst_TabExtensionPlugin::instanceIsSingleAndRecreated()
{
    QLibrary library { QLatin1String(PluginPath) };
    auto instance = reinterpret_cast<InstanceFunction>(library.resolve("qt_plugin_instance"));
    QVERIFY2(instance, qPrintable(library.errorString()));

    QPointer<QObject> first = instance();
    QVERIFY(first);
    QCOMPARE(instance(), first.data());
    QCOMPARE(m_Loader->instance(), first.data());
    QVERIFY(!first->parent());

    // A new object may reuse the old address; the marker tells them apart.
    first->setObjectName(QStringLiteral("first"));
    delete first.data();
    QVERIFY(first.isNull());

    QObject *second = instance();
    QVERIFY(second);
    QVERIFY(second->objectName().isEmpty());
    QCOMPARE(instance(), second);
    QCOMPARE(m_Loader->instance(), second);
}

void tst_TabExtensionPlugin::metaObject()
{
    // The interface brings no meta-object of its own.
    QCOMPARE(&TabExtensionInterface::staticMetaObject, &QObject::staticMetaObject);

    const QMetaObject *meta = m_Loader->instance()->metaObject();
    QCOMPARE(meta->className(), "TabExtensionPlugin");
    QVERIFY(meta->superClass());
    QCOMPARE(meta->superClass()->className(), "QObject");
    QCOMPARE(meta->methodCount() - meta->methodOffset(), 2);
    const QMetaMethod signal = meta->method(meta->methodOffset());
    QCOMPARE(signal.methodSignature(), QByteArray("camStreaming(bool)"));
    QCOMPARE(signal.methodType(), QMetaMethod::Signal);
    const QMetaMethod slot = meta->method(meta->methodOffset() + 1);
    QCOMPARE(slot.methodSignature(), QByteArray("OnCamIsStreaming(bool)"));
    QCOMPARE(slot.methodType(), QMetaMethod::Slot);
    QCOMPARE(slot.access(), QMetaMethod::Public);
    QCOMPARE(meta->propertyCount(), meta->propertyOffset());
}

void tst_TabExtensionPlugin::metaCast_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("answered");

    QTest::newRow("own class") << QByteArray("TabExtensionPlugin") << true;
    QTest::newRow("interface id") << QByteArray(TabExtensionInterface_iid) << true;
    QTest::newRow("QObject") << QByteArray("QObject") << true;
    QTest::newRow("interface class name") << QByteArray("TabExtensionInterface") << false;
    QTest::newRow("other version") << QByteArray("com.tkn.OrvikViewer.Plugin.TabExtensionInterface/2.0")
                                   << false;
    QTest::newRow("page class") << QByteArray("IOTriggerWidget") << false;
    QTest::newRow("unknown") << QByteArray("NoSuchClass") << false;
}

void tst_TabExtensionPlugin::metaCast()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, answered);

    QObject *instance = m_Loader->instance();
    void *cast = instance->qt_metacast(name.constData());
    if (!answered) {
        QCOMPARE(cast, static_cast<void *>(nullptr));
        return;
    }
    QVERIFY(cast);
    if (name == TabExtensionInterface_iid)
        QCOMPARE(static_cast<TabExtensionInterface *>(cast), m_Extension);
    else
        QCOMPARE(static_cast<QObject *>(cast), instance);
}

void tst_TabExtensionPlugin::createTabWidget_data()
{
    QTest::addColumn<QString>("camera");
    QTest::addColumn<int>("result");

    QTest::newRow("exposure mode") << "exposure-mode.json" << 0;
    QTest::newRow("exposure auto") << "exposure-auto.json" << 0;
    QTest::newRow("line routing") << "line-routing.json" << 0;
    QTest::newRow("LineOut levels") << "lineout.json" << 0;
    QTest::newRow("SyncOut levels") << "syncout.json" << 0;
    QTest::newRow("no trigger I/O") << "no-trigger-io.json" << 4;
}

void tst_TabExtensionPlugin::createTabWidget()
{
    QFETCH(QString, camera);
    QFETCH(int, result);

    int code = -1;
    QWidget *container = createPage(camera.toLatin1().constData(), &code);
    QCOMPARE(code, result);

    if (result != 0) {
        QVERIFY(!container->layout());
        QVERIFY(container->accessibleName().isEmpty());
        QVERIFY(container->findChildren<QWidget *>().isEmpty());
        return;
    }
    auto *layout = qobject_cast<QVBoxLayout *>(container->layout());
    QVERIFY(layout);
    QCOMPARE(layout->count(), 1);
    QWidget *page = layout->itemAt(0)->widget();
    QVERIFY(page);
    QCOMPARE(page->metaObject()->className(), "IOTriggerWidget");
    QCOMPARE(page->parentWidget(), container);
    QCOMPARE(layout->stretch(0), 0);
    QCOMPARE(layout->itemAt(0)->alignment(), Qt::Alignment());
    QCOMPARE(container->accessibleName(), QStringLiteral("Trigger IO"));
    QCOMPARE(page->accessibleName(), QStringLiteral("Trigger IO"));
}

void tst_TabExtensionPlugin::createTabWidgetWithoutContainer()
{
    const std::shared_ptr<OrvSim::Camera> camera = TestCamera::load("exposure-mode.json");
    camera->clearJournal();
    QCOMPARE(m_Extension->CreateTabWidget(TestCamera::featureList(*camera), nullptr), -1);
    // Refused before a page existed: nothing was read from the camera.
    QVERIFY(camera->journal().empty());
}

void tst_TabExtensionPlugin::queryFlag_data()
{
    QTest::addColumn<int>("flag");
    QTest::newRow("zero") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("negative") << -1;
    QTest::newRow("large") << 0x7fffffff;
}

void tst_TabExtensionPlugin::queryFlag()
{
    QFETCH(int, flag);
    QCOMPARE(m_Extension->QueryFlag(flag), false);
}

void tst_TabExtensionPlugin::connectStreamingSignal_data()
{
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<bool>("connected");

    QTest::newRow("bool signal") << QByteArray(SIGNAL(acquisitionChanged(bool))) << true;
    QTest::newRow("missing signal") << QByteArray(SIGNAL(started(bool))) << false;
    QTest::newRow("incompatible arguments") << QByteArray(SIGNAL(objectNameChanged(QString))) << false;
    QTest::newRow("slot, not signal") << QByteArray(SLOT(deleteLater())) << false;
}

void tst_TabExtensionPlugin::connectStreamingSignal()
{
    QFETCH(QByteArray, signal);
    QFETCH(bool, connected);

    HostStub host;
    if (!connected)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("QObject::connect")));
    QCOMPARE(m_Extension->ConnectStreamingSignal(&host, signal.constData()), connected);
}

void tst_TabExtensionPlugin::streamingReachesEveryPage()
{
    HostStub host;
    // One page before the connection, one after: both are served.
    QWidget *before = createPage("syncout.json");
    QVERIFY(m_Extension->ConnectStreamingSignal(&host, SIGNAL(acquisitionChanged(bool))));
    QWidget *after = createPage("syncout.json");

    const QList<QWidget *> containers { before, after };
    for (QWidget *container : containers) {
        QVERIFY(container->layout());
        QLabel *hint = container->findChild<QLabel *>(QStringLiteral("l_notAcquireHint"));
        QVERIFY(hint);
        QVERIFY(hint->isHidden());
    }

    emit host.acquisitionChanged(true);
    for (QWidget *container : containers) {
        QVERIFY(!container->findChild<QLabel *>(QStringLiteral("l_notAcquireHint"))->isHidden());
        const QList<QPushButton *> buttons = container->findChildren<QPushButton *>();
        for (QPushButton *button : buttons) {
            if (!button->icon().isNull())
                QVERIFY2(!button->isEnabled(), qPrintable(button->text()));
        }
    }

    emit host.acquisitionChanged(false);
    for (QWidget *container : containers)
        QVERIFY(container->findChild<QLabel *>(QStringLiteral("l_notAcquireHint"))->isHidden());
}

void tst_TabExtensionPlugin::streamingFromAnotherThread()
{
    HostStub host;
    QVERIFY(m_Extension->ConnectStreamingSignal(&host, SIGNAL(acquisitionChanged(bool))));
    QWidget *container = createPage("lineout.json");
    QLabel *hint = container->findChild<QLabel *>(QStringLiteral("l_notAcquireHint"));
    QVERIFY(hint);

    QScopedPointer<QThread> thread(QThread::create([&host]() { emit host.acquisitionChanged(true); }));
    thread->start();
    QVERIFY(thread->wait(5000));
    // Queued to the GUI thread: nothing has happened before events run.
    QVERIFY(hint->isHidden());
    QTRY_VERIFY(!hint->isHidden());
}

void tst_TabExtensionPlugin::iconsResolveFromThePage()
{
    QWidget *container = createPage("exposure-mode.json");
    const QStringList texts { QStringLiteral("Edge"), QStringLiteral("Level"), QStringLiteral("Bulk") };
    const QList<QPushButton *> buttons = container->findChildren<QPushButton *>();
    for (const QString &text : texts) {
        QPushButton *button = nullptr;
        for (QPushButton *candidate : buttons) {
            if (candidate->text() == text)
                button = candidate;
        }
        QVERIFY2(button, qPrintable(text));
        QCOMPARE(button->iconSize(), QSize(56, 42));
        const QImage image = button->icon().pixmap(button->iconSize()).toImage();
        QVERIFY2(!image.isNull(), qPrintable(text));
        // Drawn, not blank: some opaque pixel in the middle row.
        bool opaque = false;
        for (int x = 0; x < image.width() && !opaque; ++x)
            opaque = qAlpha(image.pixel(x, image.height() / 2)) == 255;
        QVERIFY2(opaque, qPrintable(text));
    }

    const QImage edge { QLatin1String(EdgeIcon) };
    QCOMPARE(edge.size(), QSize(256, 256));
    QVERIFY(edge.hasAlphaChannel());
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
    for (QWidget *container : { first, second }) {
        QGroupBox *input = container->findChild<QGroupBox *>(QStringLiteral("gb_TriggerInput"));
        QVERIFY(input);
        QCOMPARE(
            input->title(), german ? QStringLiteral("Trigger - Eingang") : QStringLiteral("Trigger - Input"));
        bool found = false;
        const QList<QPushButton *> buttons = container->findChildren<QPushButton *>();
        for (QPushButton *button : buttons)
            found = found || button->text() == (german ? QStringLiteral("Flanke") : QStringLiteral("Edge"));
        QVERIFY(found);
    }
}

void tst_TabExtensionPlugin::resourcesGoWithTheLibrary()
{
    QVERIFY(QFile::exists(QLatin1String(EdgeIcon)));
    m_Extension = nullptr;
    QVERIFY2(m_Loader->unload(), qPrintable(m_Loader->errorString()));
    QVERIFY(!QFile::exists(QLatin1String(EdgeIcon)));
}

QTEST_MAIN(tst_TabExtensionPlugin)
#include "tst_tabextensionplugin.moc"
