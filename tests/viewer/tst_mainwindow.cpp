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
    void switchingCameras();
    void failedOpenKeepsTheCamera();
    void acquisitionReachesThePages();

private:
    QWidget *page() const
    {
        const QList<QWidget *> widgets = m_Window->findChildren<QWidget *>();
        for (QWidget *widget : widgets) {
            if (widget->inherits("IOTriggerWidget"))
                return widget;
        }
        return nullptr;
    }
    bool hintShown() const { return !page()->findChild<QLabel *>("l_notAcquireHint")->isHidden(); }
    QString currentTab() const
    {
        auto *tabs = m_Window->findChild<QTabWidget *>();
        return tabs->tabText(tabs->currentIndex());
    }

    MainWindow *m_Window = nullptr;
    QString m_Error;
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
}

void tst_MainWindow::tabsPerCamera_data()
{
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QStringList>("tabs");
    QTest::newRow("by name") << "exposure-mode" << QStringList { "Trigger IO", "Features" };
    QTest::newRow("by file name") << "syncout.json" << QStringList { "Trigger IO", "Features" };
    QTest::newRow("no trigger I/O") << "no-trigger-io" << QStringList { "Features" };
}

void tst_MainWindow::tabsPerCamera()
{
    QFETCH(QString, camera);
    QFETCH(QStringList, tabs);

    QVERIFY2(m_Window->openCamera(camera, &m_Error), qPrintable(m_Error));
    QCOMPARE(m_Window->tabCaptions(), tabs);
    QCOMPARE(currentTab(), tabs.first());
    QCOMPARE(bool(page()), tabs.size() == 2);
    // A refused page is a notice, not a tab.
    QCOMPARE(m_Window->statusBar()->currentMessage(),
        tabs.size() == 2 ? QString()
                         : QStringLiteral("\"Trigger IO\" is not available for this camera (code 4)"));
}

void tst_MainWindow::switchingCameras()
{
    QVERIFY(m_Window->openCamera(QStringLiteral("exposure-mode"), &m_Error));
    QPointer<QWidget> first = page();
    QVERIFY(m_Window->openCamera(QStringLiteral("no-trigger-io"), &m_Error));
    QVERIFY(first.isNull());
    QVERIFY(!page());

    // The tab in front stays in front across cameras that have it.
    QVERIFY(m_Window->openCamera(QStringLiteral("lineout"), &m_Error));
    QVERIFY(m_Window->showTab(QStringLiteral("Features")));
    QVERIFY(m_Window->openCamera(QStringLiteral("syncout"), &m_Error));
    QCOMPARE(currentTab(), QStringLiteral("Features"));
    QVERIFY(m_Window->showTab(QStringLiteral("Trigger IO")));
    QVERIFY(m_Window->openCamera(QStringLiteral("exposure-auto"), &m_Error));
    QCOMPARE(currentTab(), QStringLiteral("Trigger IO"));
    QVERIFY(!m_Window->showTab(QStringLiteral("Output")));
}

void tst_MainWindow::failedOpenKeepsTheCamera()
{
    QVERIFY(m_Window->openCamera(QStringLiteral("syncout"), &m_Error));
    QPointer<QWidget> before = page();

    QTemporaryDir folder;
    const QString broken = folder.filePath(QStringLiteral("broken.json"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\n  \"name\": \"Broken\",\n  \"features\": [ 1, ]\n}\n");
    file.close();
    QVERIFY(!m_Window->openCamera(broken, &m_Error));
    QVERIFY2(m_Error.startsWith(broken + QStringLiteral(", line 3: ")), qPrintable(m_Error));
    QVERIFY(!m_Window->openCamera(QStringLiteral("no-such-camera"), &m_Error));
    QVERIFY(m_Error.contains(QLatin1String("no-such-camera")));

    QVERIFY(before);
    QCOMPARE(page(), before.data());
}

void tst_MainWindow::acquisitionReachesThePages()
{
    QVERIFY(m_Window->openCamera(QStringLiteral("syncout"), &m_Error));
    QSignalSpy changed(m_Window, SIGNAL(acquisitionChanged(bool)));
    QVERIFY(!hintShown());
    QVERIFY(m_Window->setAcquiring(true));
    QVERIFY(hintShown());
    // Starting again changes nothing the pages see.
    m_Window->setAcquiring(true);
    QVERIFY(m_Window->setAcquiring(false));
    QVERIFY(!hintShown());

    // The next camera starts idle: its pages must not inherit "acquiring".
    QVERIFY(m_Window->setAcquiring(true));
    QVERIFY(m_Window->openCamera(QStringLiteral("lineout"), &m_Error));
    QVERIFY(!hintShown());
    QCOMPARE(changed.count(), 4);
    QCOMPARE(changed.at(1).at(0).toBool(), false);
    QCOMPARE(changed.at(3).at(0).toBool(), false);
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
