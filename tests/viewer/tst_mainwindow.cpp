// The viewer's window around its plug-in pages: opening and switching
// cameras, refusals, and the acquisition state the pages follow.
#include <mainwindow.h>

#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tabsPerCamera_data();
    void tabsPerCamera();
    void switchingCamerasReplacesPages();
    void failedOpenKeepsTheCamera();
    void acquisitionReachesThePages();
    void closingStopsAcquisition();

private:
    QWidget *page() const;
    QLabel *hint() const;

    MainWindow *m_Window = nullptr;
};

void tst_MainWindow::init()
{
    // Tests run in bin/, as the viewer does after it sets its directory.
    m_Window = new MainWindow;
    m_Window->setEchoMessages(true);
    m_Window->setCameraFolder(QStringLiteral("cameras"));
    m_Window->loadPlugins(QStringLiteral("plugins"));
}

void tst_MainWindow::cleanup()
{
    delete m_Window;
    m_Window = nullptr;
}

QWidget *tst_MainWindow::page() const
{
    const QList<QWidget *> widgets = m_Window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (widget->inherits("IOTriggerWidget"))
            return widget;
    }
    return nullptr;
}

QLabel *tst_MainWindow::hint() const
{
    QWidget *p = page();
    return p ? p->findChild<QLabel *>(QStringLiteral("l_notAcquireHint")) : nullptr;
}

void tst_MainWindow::tabsPerCamera_data()
{
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QStringList>("tabs");

    const QStringList both { QStringLiteral("Trigger IO"), QStringLiteral("Features") };
    QTest::newRow("exposure-mode") << "exposure-mode" << both;
    QTest::newRow("file name") << "line-routing.json" << both;
    QTest::newRow("syncout") << "syncout" << both;
    QTest::newRow("no trigger I/O") << "no-trigger-io" << QStringList { QStringLiteral("Features") };
}

void tst_MainWindow::tabsPerCamera()
{
    QFETCH(QString, camera);
    QFETCH(QStringList, tabs);

    QString error;
    QVERIFY2(m_Window->openCamera(camera, &error), qPrintable(error));
    QCOMPARE(m_Window->tabCaptions(), tabs);
    auto *tabWidget = m_Window->findChild<QTabWidget *>();
    QVERIFY(tabWidget);
    QCOMPARE(tabWidget->currentIndex(), 0);
    QCOMPARE(bool(page()), tabs.size() == 2);
    if (tabs.size() == 1) {
        QCOMPARE(m_Window->statusBar()->currentMessage(),
            QStringLiteral("\"Trigger IO\" is not available for this camera (code 4)"));
    }
}

void tst_MainWindow::switchingCamerasReplacesPages()
{
    QString error;
    QVERIFY(m_Window->openCamera(QStringLiteral("exposure-mode"), &error));
    QPointer<QWidget> first = page();
    QVERIFY(first);

    QVERIFY(m_Window->openCamera(QStringLiteral("no-trigger-io"), &error));
    QVERIFY(first.isNull());
    QVERIFY(!page());

    QVERIFY(m_Window->openCamera(QStringLiteral("lineout"), &error));
    QVERIFY(page());
    QVERIFY(m_Window->showTab(QStringLiteral("Trigger IO")));
    QVERIFY(!m_Window->showTab(QStringLiteral("Output")));
    QCOMPARE(m_Window->findChildren<QWidget *>().count(page()), 1);

    // The tab in front stays in front across cameras that have it.
    auto *tabs = m_Window->findChild<QTabWidget *>();
    QVERIFY(tabs);
    QVERIFY(m_Window->showTab(QStringLiteral("Features")));
    QVERIFY(m_Window->openCamera(QStringLiteral("syncout"), &error));
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("Features"));
    QVERIFY(m_Window->showTab(QStringLiteral("Trigger IO")));
    QVERIFY(m_Window->openCamera(QStringLiteral("exposure-auto"), &error));
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("Trigger IO"));
}

void tst_MainWindow::failedOpenKeepsTheCamera()
{
    QString error;
    QVERIFY(m_Window->openCamera(QStringLiteral("syncout"), &error));
    QPointer<QWidget> before = page();

    QTemporaryDir folder;
    const QString broken = folder.filePath(QStringLiteral("broken.json"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\n  \"name\": \"Broken\",\n  \"features\": [ 1, ]\n}\n");
    file.close();

    QVERIFY(!m_Window->openCamera(broken, &error));
    QVERIFY2(error.startsWith(broken + QStringLiteral(", line 3: ")), qPrintable(error));
    QVERIFY(!m_Window->openCamera(QStringLiteral("no-such-camera"), &error));
    QVERIFY(error.contains(QLatin1String("no-such-camera")));

    QVERIFY(before);
    QCOMPARE(page(), before.data());
    QCOMPARE(
        m_Window->tabCaptions(), (QStringList { QStringLiteral("Trigger IO"), QStringLiteral("Features") }));
}

void tst_MainWindow::acquisitionReachesThePages()
{
    QString error;
    QVERIFY(m_Window->openCamera(QStringLiteral("syncout"), &error));
    QSignalSpy changed(m_Window, SIGNAL(acquisitionChanged(bool)));
    QVERIFY(hint());
    QVERIFY(hint()->isHidden());

    QVERIFY(m_Window->setAcquiring(true));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toBool(), true);
    QVERIFY(!hint()->isHidden());

    // Starting again changes nothing the pages see.
    m_Window->setAcquiring(true);
    QCOMPARE(changed.count(), 1);

    QVERIFY(m_Window->setAcquiring(false));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(0).toBool(), false);
    QVERIFY(hint()->isHidden());
}

void tst_MainWindow::closingStopsAcquisition()
{
    QString error;
    QVERIFY(m_Window->openCamera(QStringLiteral("syncout"), &error));
    QVERIFY(m_Window->setAcquiring(true));
    QSignalSpy changed(m_Window, SIGNAL(acquisitionChanged(bool)));

    // The next camera starts idle: pages built for it must not inherit "acquiring".
    QVERIFY(m_Window->openCamera(QStringLiteral("lineout"), &error));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toBool(), false);
    QVERIFY(hint()->isHidden());
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
