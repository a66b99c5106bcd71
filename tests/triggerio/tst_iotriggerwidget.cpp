// The Trigger IO page as a whole: refusal, form, observed features, the
// streaming lock and its translation.
#include <iotriggerwidget.h>
#include <tabextensionexception.h>
#include <testcamera.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {

const char ChildMarker[] = "ORVIK_TRANSLATION_CHILD";

// Counts the language changes the application is told about: one per
// translator installed or removed.
class LanguageChangeCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::LanguageChange)
            ++count;
        return false;
    }
};

} // namespace

class tst_IOTriggerWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void refusesCameraWithoutTriggerIo();
    void titlesPageAndContainer_data();
    void titlesPageAndContainer();
    void form();
    void observedFeatures_data();
    void observedFeatures();
    void streamingLocksInputs_data();
    void streamingLocksInputs();
    void translations_data();
    void translations();

private:
    IOTriggerWidget *build(const char *cameraFile, QWidget *parent = nullptr);

    std::shared_ptr<OrvSim::Camera> m_camera;
    std::unique_ptr<IOTriggerWidget> m_page;
};

void tst_IOTriggerWidget::init()
{
    m_page.reset();
    m_camera.reset();
}

void tst_IOTriggerWidget::cleanup()
{
    m_page.reset();
    m_camera.reset();
}

IOTriggerWidget *tst_IOTriggerWidget::build(const char *cameraFile, QWidget *parent)
{
    m_camera = TestCamera::load(cameraFile);
    m_page.reset(new IOTriggerWidget(TestCamera::featureList(*m_camera), parent));
    return m_page.get();
}

void tst_IOTriggerWidget::refusesCameraWithoutTriggerIo()
{
    m_camera = TestCamera::load("no-trigger-io.json");
    QWidget container;
    container.setAccessibleName(QStringLiteral("stale"));

    bool caught = false;
    try {
        IOTriggerWidget page(TestCamera::featureList(*m_camera), &container);
    } catch (const TabExtensionException &e) {
        caught = true;
        QCOMPARE(e.ErrorCode, 4);
        QCOMPARE(e.Origin, QStringLiteral("IOTriggerWidget::IOTriggerWidget"));
        QCOMPARE(e.Message, QStringLiteral("Trigger functionality not available, widget not constructed"));
    }
    QVERIFY(caught);
    QCOMPARE(container.accessibleName(), QString());
    QVERIFY(container.findChildren<QWidget *>().isEmpty());
    QCOMPARE(TestCamera::writes(*m_camera), QStringList());
}

void tst_IOTriggerWidget::titlesPageAndContainer_data()
{
    QTest::addColumn<QString>("camera");
    QTest::addColumn<bool>("withParent");
    QTest::newRow("line-selector camera in a container") << "exposure-mode.json" << true;
    QTest::newRow("line routing in a container") << "line-routing.json" << true;
    QTest::newRow("SyncOut levels, no parent") << "syncout.json" << false;
    QTest::newRow("LineOut levels in a container") << "lineout.json" << true;
}

void tst_IOTriggerWidget::titlesPageAndContainer()
{
    QFETCH(QString, camera);
    QFETCH(bool, withParent);

    QWidget container;
    IOTriggerWidget *page = build(camera.toUtf8().constData(), withParent ? &container : nullptr);
    QCOMPARE(page->accessibleName(), QStringLiteral("Trigger IO"));
    QCOMPARE(container.accessibleName(), withParent ? QStringLiteral("Trigger IO") : QString());
    m_page.reset(); // before the container that parents it
}

void tst_IOTriggerWidget::form()
{
    // A camera without selectable outputs: the output groups keep the form's sizes.
    IOTriggerWidget *page = build("syncout.json");

    QCOMPARE(page->objectName(), QStringLiteral("IOTriggerWidget"));
    QCOMPARE(page->windowTitle(), QStringLiteral("Form"));
    QCOMPARE(page->locale(), QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(page->sizePolicy().horizontalPolicy(), QSizePolicy::MinimumExpanding);
    QCOMPARE(page->sizePolicy().verticalPolicy(), QSizePolicy::Preferred);

    auto *gridLayout = page->findChild<QGridLayout *>(QStringLiteral("gridLayout"));
    QVERIFY(gridLayout);
    QCOMPARE(page->layout(), static_cast<QLayout *>(gridLayout));
    QCOMPARE(gridLayout->sizeConstraint(), QLayout::SetMinAndMaxSize);

    auto *scrollArea = page->findChild<QScrollArea *>(QStringLiteral("scrollArea"));
    QVERIFY(scrollArea);
    QVERIFY(scrollArea->widgetResizable());
    QCOMPARE(scrollArea->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    auto *contents = page->findChild<QWidget *>(QStringLiteral("scrollAreaWidgetContents"));
    QCOMPARE(scrollArea->widget(), contents);
    auto *contentsGrid = contents->findChild<QGridLayout *>(QStringLiteral("gridLayout_2"));
    QCOMPARE(contents->layout(), static_cast<QLayout *>(contentsGrid));

    struct Cell
    {
        const char *name;
        int row;
    };
    for (const Cell &cell : {Cell{"l_notAcquireHint", 0}, Cell{"gb_TriggerInput", 1}, Cell{"gb_Output", 3},
                             Cell{"gb_SelectOutput", 6}}) {
        QWidget *widget = contents->findChild<QWidget *>(QLatin1String(cell.name));
        QVERIFY2(widget, cell.name);
        int row = -1, column = -1, rowSpan = -1, columnSpan = -1;
        contentsGrid->getItemPosition(contentsGrid->indexOf(widget), &row, &column, &rowSpan, &columnSpan);
        QCOMPARE(row, cell.row);
        QCOMPARE(column, 0);
        QCOMPARE(rowSpan, 1);
        QCOMPARE(columnSpan, 1);
    }

    struct Group
    {
        const char *name;
        const char *title;
        const char *outerGrid;
        const char *innerGrid;
        QSize minimum;
        QSize maximum;
    };
    const Group groups[] = {
        {"gb_TriggerInput", "Trigger - Input", "gridLayout_5", "grid_TriggerInput", QSize(350, 425),
         QSize(16777215, 425)},
        {"gb_Output", "Output", "gridLayout_3", "grid_Output", QSize(350, -1), QSize(-1, -1)},
        {"gb_SelectOutput", "Selectable Output", "gridLayout_4", "grid_SelectableOut", QSize(350, 80),
         QSize(16777215, 150)},
    };
    for (const Group &group : groups) {
        auto *box = page->findChild<QGroupBox *>(QLatin1String(group.name));
        QVERIFY2(box, group.name);
        QCOMPARE(box->title(), QLatin1String(group.title));
        auto *outer = box->findChild<QGridLayout *>(QLatin1String(group.outerGrid));
        auto *inner = box->findChild<QGridLayout *>(QLatin1String(group.innerGrid));
        QVERIFY2(outer && inner, group.name);
        QCOMPARE(box->layout(), static_cast<QLayout *>(outer));
        QCOMPARE(outer->itemAtPosition(0, 0)->layout(), static_cast<QLayout *>(inner));
        QCOMPARE(box->minimumWidth(), group.minimum.width());
        if (group.maximum.width() >= 0)
            QCOMPARE(box->maximumWidth(), group.maximum.width());
        if (group.minimum.height() >= 0)
            QCOMPARE(box->minimumHeight(), group.minimum.height());
        if (group.maximum.height() >= 0)
            QCOMPARE(box->maximumHeight(), group.maximum.height());
    }

    QVERIFY(page->gb_SelectOutput->isHidden());

    auto *hint = page->findChild<QLabel *>(QStringLiteral("l_notAcquireHint"));
    QVERIFY(hint->isHidden());
    QCOMPARE(hint->text(), QStringLiteral("Full Input configuration only if camera is not acquiring!"));
    QCOMPARE(hint->styleSheet(), QStringLiteral("color : rgb(64,94,127);"));
    QCOMPARE(hint->alignment(), Qt::Alignment(Qt::AlignCenter));
    QVERIFY(hint->font().bold());
    QVERIFY(hint->font().italic());
}

void tst_IOTriggerWidget::observedFeatures_data()
{
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QStringList>("queued");

    // In the camera's own feature order; UserOutputSelector is not observed.
    QTest::newRow("line-selector camera")
        << "exposure-mode.json"
        << QStringList{"AcquisitionMode", "AcquisitionFrameCount", "ExposureMode", "TriggerSelector",
                       "TriggerMode", "TriggerSource", "TriggerActivation", "LineSelector", "LineMode",
                       "LineSource", "LineInverter", "LineStatus", "UserOutputValue"};
    QTest::newRow("SyncOut camera")
        << "syncout.json"
        << QStringList{"AcquisitionMode", "AcquisitionFrameCount", "ExposureMode",  "TriggerSelector",
                       "TriggerMode",     "TriggerSource",         "TriggerActivation", "SyncOutSource",
                       "SyncOutPolarity", "SyncOutLevels",         "UserOutputValue"};
}

void tst_IOTriggerWidget::observedFeatures()
{
    QFETCH(QString, camera);
    QFETCH(QStringList, queued);

    IOTriggerWidget *page = build(camera.toUtf8().constData());
    const QStringList observed{"TriggerActivation", "TriggerSource",   "TriggerMode",      "TriggerSelector",
                               "AcquisitionFrameCount", "AcquisitionMode", "LineRouting",  "LineSelector",
                               "LineSource",        "SyncOutSource",   "LineInverter",     "SyncOutPolarity",
                               "LineStatus",        "SyncOutLevels",   "UserOutSelector",  "UserOutputValue",
                               "LineMode",          "LineOutSource",   "LineOutPolarity",  "LineOutLevels",
                               "ExposureMode",      "ExposureAuto"};
    QCOMPARE(page->observedFeatureNames(), observed);
    QCOMPARE(page->changedFeatureList(), queued);
}

void tst_IOTriggerWidget::streamingLocksInputs_data()
{
    QTest::addColumn<QString>("camera");
    QTest::addColumn<bool>("locks");

    QTest::newRow("SyncOut levels: locked") << "syncout.json" << true;
    QTest::newRow("LineOut levels: locked") << "lineout.json" << true;
    QTest::newRow("line selector only: ignored") << "exposure-mode.json" << false;
    QTest::newRow("line routing: ignored") << "line-routing.json" << false;
}

void tst_IOTriggerWidget::streamingLocksInputs()
{
    QFETCH(QString, camera);
    QFETCH(bool, locks);

    IOTriggerWidget *page = build(camera.toUtf8().constData());
    const QList<QWidget *> locked{page->m_pComboTriggerSelector, page->m_pComboTriggerSource,
                                  page->m_pComboTriggerActivation, page->m_pComboTriggerMode,
                                  page->m_pComboAcquisitionMode, page->m_pSpinAcquisitionFrameCount,
                                  page->m_pButtonEdge,            page->m_pButtonLevel,
                                  page->m_pButtonBulk};
    for (QWidget *widget : locked)
        QVERIFY(widget->isEnabled());

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
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("translated");

    QTest::newRow("German") << "de_DE" << true;
    QTest::newRow("French, no file") << "fr_FR" << false;
}

// The system locale is read once per process, so each locale runs in a
// child process of this same test.
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
    const QString qmFile = QStringLiteral("plugins/tabextensiontriggerio_de.qm");
    QVERIFY2(QFile::exists(qmFile), "the German translation is built into bin/plugins");
    QTranslator german;
    QVERIFY(german.load(qmFile));
    auto expected = [&](const char *source) {
        return translated ? german.translate("IOTriggerWidget", source) : QString::fromLatin1(source);
    };
    if (translated)
        QVERIFY(expected("Trigger IO") != QLatin1String("Trigger IO"));

    LanguageChangeCounter counter;
    qApp->installEventFilter(&counter);

    m_camera = TestCamera::load("exposure-mode.json");
    // The first page is titled with the translators installed before it.
    IOTriggerWidget first(TestCamera::featureList(*m_camera), nullptr);
    QCOMPARE(first.accessibleName(), QStringLiteral("Trigger IO"));
    QCOMPARE(first.m_pLabelTriggerSource->text(), expected("Source:"));
    QCOMPARE(first.gb_TriggerInput->title(), expected("Trigger - Input"));
    QCOMPARE(first.m_pButtonSWTrigger->text(), expected("SW Trigger"));

    IOTriggerWidget second(TestCamera::featureList(*m_camera), nullptr);
    IOTriggerWidget third(TestCamera::featureList(*m_camera), nullptr);
    QCOMPARE(second.accessibleName(), expected("Trigger IO"));
    QCOMPARE(third.l_notAcquireHint->text(), expected("Full Input configuration only if camera is not acquiring!"));

    // One translator for the process, however many pages are built.
    QCOMPARE(counter.count, translated ? 1 : 0);
    qApp->removeEventFilter(&counter);
}

QTEST_MAIN(tst_IOTriggerWidget)
#include "tst_iotriggerwidget.moc"
