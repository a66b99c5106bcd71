// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The Trigger IO page as a whole: title or refusal, the streaming lock and
// the translation.
#include "triggeriotest.h"

#include <tabextensionexception.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTranslator>
#include <QtTest>

const char ChildMarker[] = "ORVIK_TRANSLATION_CHILD";

class tst_IOTriggerWidget : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m.reset(); }

    void titleOrRefusal_data();
    void titleOrRefusal();
    void viewingChangesNothing_data();
    void viewingChangesNothing();
    void streamingLocksInputs_data();
    void streamingLocksInputs();
    void translations_data();
    void translations();

private:
    // One language change per translator installed or removed.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        m_languageChanges += watched == qApp && event->type() == QEvent::LanguageChange;
        return false;
    }

    PageUnderTest m;
    int m_languageChanges = 0;
};

void tst_IOTriggerWidget::titleOrRefusal_data()
{
    // clang-format off
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("refused");
    QTest::newRow("no levels, no line selector") << "no-trigger-io.json" << true;
    QTest::newRow("SyncOut levels") << "syncout.json" << false;
    QTest::newRow("LineOut levels") << "lineout.json" << false;
    QTest::newRow("line selector") << "exposure-mode.json" << false;
    QTest::newRow("line routing") << "line-routing.json" << false;
    QTest::newRow("exposure auto") << "exposure-auto.json" << false;
    // clang-format on
}

void tst_IOTriggerWidget::titleOrRefusal()
{
    QFETCH(QString, file);
    QFETCH(bool, refused);

    m.camera = CameraVariant::load(file);
    QWidget container;
    container.setAccessibleName(QStringLiteral("stale"));
    int code = 0;
    try {
        IOTriggerWidget page(TestCamera::featureList(*m.camera), &container);
        QCOMPARE(page.accessibleName(), QStringLiteral("Trigger IO"));
    } catch (const TabExtensionException &e) {
        code = e.ErrorCode;
        QCOMPARE(e.Message, QStringLiteral("Trigger functionality not available, widget not constructed"));
    }
    QCOMPARE(code, refused ? 4 : 0);
    QCOMPARE(container.accessibleName(), refused ? QString() : QStringLiteral("Trigger IO"));
    QVERIFY(container.findChildren<QWidget *>().isEmpty());
    // Every box is filled before it is connected: building the page moves
    // selectors to read per-line features and writes no value back.
    for (const QString &write : m.writes())
        QVERIFY2(write.section('=', 0, 0).endsWith("Selector"), qPrintable(write));
    if (refused)
        QCOMPARE(m.writes(), QStringList());
}

void tst_IOTriggerWidget::viewingChangesNothing_data()
{
    // clang-format off
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("state"); // camera-side changes before the page opens
    for (const char *file : { "exposure-mode.json", "line-routing.json", "exposure-auto.json", "syncout.json",
             "lineout.json" })
        QTest::newRow(file) << file << "";
    QTest::newRow("routed input line other than Line0")
        << "line-routing.json" << "LineSelector=Line1 LineRouting[Line1]=Trigger";
    QTest::newRow("routing camera, later trigger selected, all armed")
        << "line-routing.json" << "TriggerSelector=AcquisitionStart TriggerMode[*]=On TriggerSource[*]=Software";
    QTest::newRow("switchable line selected, one switched to output")
        << "exposure-mode.json"
        << "LineSelector=Line5 LineMode[Line4]=Output TriggerSelector=AcquisitionStart TriggerMode[*]=On "
           "UserOutputSelector=UserOutput3 UserOutputValue[*]=true";
    QTest::newRow("exposure auto, later trigger selected, all armed")
        << "exposure-auto.json" << "TriggerSelector=AcquisitionStart TriggerMode[*]=On LineSelector=Line3";
    QTest::newRow("last sync out selected") << "syncout.json" << "SyncOutSelector=SyncOut4 TriggerMode=On";
    QTest::newRow("output line selected") << "lineout.json" << "LineOutSelector=LineOut2";
    // clang-format on
}

// Building, showing, refreshing, hiding and destroying the page leave every
// setting of the camera as it was, for every selector entry.
void tst_IOTriggerWidget::viewingChangesNothing()
{
    QFETCH(QString, file);
    QFETCH(QString, state);

    m.prepare(file);
    m.change(state);
    OrvSim::Camera::waitForNotifications();
    const QMap<QString, QString> before = m.snapshot();

    m.open(m.camera);
    m.page->show();
    for (int tick = 0; tick < 3; ++tick) {
        QVERIFY(QMetaObject::invokeMethod(m.page.get(), "updateTimer"));
        OrvSim::Camera::waitForNotifications();
        QCoreApplication::processEvents();
    }
    m.page->hide();
    m.page.reset();

    const QMap<QString, QString> after = m.snapshot();
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QVERIFY2(after.value(it.key()) == it.value(),
                 qPrintable(it.key() + ": " + it.value() + " became " + after.value(it.key())));
    QCOMPARE(m.misdirectedWrite(), QString());
}

void tst_IOTriggerWidget::streamingLocksInputs_data()
{
    // clang-format off
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("locks");
    QTest::newRow("SyncOut levels: locked") << "syncout.json" << true;
    QTest::newRow("LineOut levels: locked") << "lineout.json" << true;
    QTest::newRow("line selector only: ignored") << "exposure-mode.json" << false;
    // clang-format on
}

void tst_IOTriggerWidget::streamingLocksInputs()
{
    QFETCH(QString, file);
    QFETCH(bool, locks);

    IOTriggerWidget *page = m.open(file);
    const QList<QWidget *> locked{
        page->m_pComboTriggerSelector, page->m_pComboTriggerSource,   page->m_pComboTriggerActivation,
        page->m_pComboTriggerMode,     page->m_pComboAcquisitionMode, page->m_pSpinAcquisitionFrameCount,
        page->m_pButtonEdge,           page->m_pButtonLevel,          page->m_pButtonBulk};

    page->camIsStreaming(true);
    for (QWidget *widget : locked)
        QCOMPARE(widget->isEnabled(), !locks);
    QCOMPARE(page->l_notAcquireHint->isHidden(), !locks);

    page->camIsStreaming(false);
    for (QWidget *widget : locked)
        QVERIFY(widget->isEnabled());
    QVERIFY(page->l_notAcquireHint->isHidden());
}

void tst_IOTriggerWidget::translations_data()
{
    // clang-format off
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("translated");
    QTest::newRow("German") << "de_DE" << true;
    QTest::newRow("French, no file") << "fr_FR" << false;
    // clang-format on
}

// The system locale is read once per process: each locale runs in a child
// process of this same test.
void tst_IOTriggerWidget::translations()
{
    QFETCH(QString, locale);
    QFETCH(bool, translated);

    if (!qEnvironmentVariableIsSet(ChildMarker)) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(ChildMarker), QStringLiteral("1"));
        environment.insert(QStringLiteral("LC_ALL"), locale + QStringLiteral(".UTF-8"));
        environment.insert(QStringLiteral("LANG"), locale + QStringLiteral(".UTF-8"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("translations:") + QString::fromLatin1(QTest::currentDataTag())});
        QVERIFY(child.waitForFinished(60000));
        const QByteArray output = child.readAll();
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
        return;
    }

    QCOMPARE(QLocale::system().name(), locale);
    QTranslator german;
    QVERIFY2(german.load(QStringLiteral("plugins/tabextensiontriggerio_de.qm")), "built into bin/plugins");
    auto expected = [&](const char *source) {
        return translated ? german.translate("IOTriggerWidget", source) : QString::fromLatin1(source);
    };
    if (translated)
        QVERIFY(expected("Trigger IO") != QLatin1String("Trigger IO"));

    qApp->installEventFilter(this);

    m.camera = CameraVariant::load(QStringLiteral("exposure-mode.json"));
    // The first page is titled before its own translator is installed.
    IOTriggerWidget first(TestCamera::featureList(*m.camera), nullptr);
    QCOMPARE(first.accessibleName(), QStringLiteral("Trigger IO"));
    QCOMPARE(first.m_pLabelTriggerSource->text(), expected("Source:"));
    QCOMPARE(first.gb_TriggerInput->title(), expected("Trigger - Input"));

    IOTriggerWidget second(TestCamera::featureList(*m.camera), nullptr);
    IOTriggerWidget third(TestCamera::featureList(*m.camera), nullptr);
    QCOMPARE(second.accessibleName(), expected("Trigger IO"));
    QCOMPARE(third.m_pButtonSWTrigger->text(), expected("SW Trigger"));

    // One translator for the process, however many pages are built.
    qApp->removeEventFilter(this);
    QCOMPARE(m_languageChanges, translated ? 1 : 0);
}

QTEST_MAIN(tst_IOTriggerWidget)
#include "tst_iotriggerwidget.moc"
