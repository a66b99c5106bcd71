// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The viewer on Aravis's in-process fake camera with our description: the
// Trigger IO page through the plug-in, the feature tree, the frame counter.
#include "pagecheck.h"

#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>

using namespace AravisTest;

namespace {
const char FakeId[] = "aravis:Aravis-Fake-ORV01";
}

class tst_AravisPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { keepOffTheNetwork(); }
    void init();
    void cleanup() { delete m_Window; }

    void quickModes_data() { PageCheck::addQuickModeRows(); }
    void quickModes();
    void outputRows_data() { PageCheck::addOutputRows(); }
    void outputRows();
    void pageFollowsASelectorChange();
    void viewerAroundTheCamera();

private:
    MainWindow *m_Window = nullptr;
};

void tst_AravisPage::init()
{
    // Tests run in bin/, where the viewer finds cameras/ and plugins/.
    m_Window = new MainWindow;
    m_Window->setEchoMessages(true);
    m_Window->setCameraFolder(QStringLiteral("cameras"));
    m_Window->loadPlugins(QStringLiteral("plugins"));
    QString error;
    QVERIFY2(m_Window->openCamera(FakeId, &error), qPrintable(error));
    QVERIFY(PageCheck::page(*m_Window));
}

void tst_AravisPage::quickModes()
{
    QFETCH(QString, mode);
    QFETCH(QString, expected);
    QVERIFY(PageCheck::runQuickMode(*m_Window, mode));
    const QStringList wrong = mismatches(m_Window->camera(), expected);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
}

void tst_AravisPage::outputRows()
{
    QFETCH(int, row);
    QFETCH(QString, source);
    QFETCH(QString, expected);
    PageCheck::driveOutputRow(*m_Window, row, source);
    const QStringList wrong = mismatches(m_Window->camera(), expected);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
}

// A selector chosen on the page must pull the mode box along: the page
// learns of TriggerMode's new value only through the selector's ties.
void tst_AravisPage::pageFollowsASelectorChange()
{
    // The page follows the camera while it is shown.
    m_Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_Window));
    const CameraPtr camera = m_Window->camera();
    for (const char *step : {"TriggerSelector=AcquisitionStart", "TriggerMode=On", "TriggerSelector=FrameStart"})
        QCOMPARE(int(applyStep(camera, step)), int(OrvErrSuccess));
    QComboBox *selector = nullptr, *mode = nullptr;
    for (QComboBox *box : PageCheck::page(*m_Window)->findChildren<QComboBox *>()) {
        if (box->count() == 2 && box->findText(QStringLiteral("On")) >= 0 && box->findText(QStringLiteral("Off")) >= 0)
            mode = box;
        if (box->findText(QStringLiteral("AcquisitionStart")) >= 0 && box->findText(QStringLiteral("FrameStart")) >= 0)
            selector = box;
    }
    QVERIFY(selector && mode);
    QTRY_COMPARE(selector->currentText(), QStringLiteral("FrameStart"));
    QTRY_COMPARE(mode->currentText(), QStringLiteral("Off"));
    selector->setCurrentIndex(selector->findText(QStringLiteral("AcquisitionStart")));
    QCOMPARE(value(camera, "TriggerSelector"), QStringLiteral("AcquisitionStart"));
    QTRY_COMPARE(mode->currentText(), QStringLiteral("On"));
}

void tst_AravisPage::viewerAroundTheCamera()
{
    QCOMPARE(m_Window->tabCaptions(), (QStringList{"Trigger IO", "Features"}));
    QVERIFY(m_Window->findChild<QDockWidget *>(QStringLiteral("simulatorDock"))->isHidden());

    // The feature tree: categories, with a filter that keeps the path to a match.
    auto *tree = m_Window->findChild<QTreeView *>(QStringLiteral("featureTree"));
    QAbstractItemModel *model = tree->model();
    QStringList categories;
    for (int row = 0; row < model->rowCount(); ++row)
        categories << model->index(row, 0).data().toString();
    QVERIFY2(categories.contains("DigitalIOControl") && categories.contains("AcquisitionControl"),
             qPrintable(categories.join(", ")));
    m_Window->findChild<QLineEdit *>(QStringLiteral("editFeatureFilter"))->setText(QStringLiteral("linesou"));
    QCOMPARE(model->rowCount(), 1);
    const QModelIndex category = model->index(0, 0);
    QCOMPARE(category.data().toString(), QStringLiteral("DigitalIOControl"));
    QCOMPARE(model->rowCount(category), 1);
    QCOMPARE(model->index(0, 0, category).data().toString(), QStringLiteral("LineSource"));
    QCOMPARE(model->index(0, 0, category).data(Qt::ToolTipRole).toString(),
             QStringLiteral("The internal signal that drives the selected output line."));

    // The frame counter shows while the fake delivers frames.
    auto *frames = m_Window->findChild<QLabel *>(QStringLiteral("labelFrames"));
    QVERIFY(frames->isHidden());
    QVERIFY(m_Window->setAcquiring(true));
    QVERIFY(!frames->isHidden());
    QTRY_VERIFY(frames->text().contains(QLatin1String("fps"))
                && !frames->text().startsWith(QLatin1String("Frames: 0 ")));
    QVERIFY(m_Window->setAcquiring(false));
    QVERIFY(frames->isHidden());

    // Back on a simulated camera: the Simulator dock again, and its own frames.
    QString error;
    QVERIFY2(m_Window->openCamera(QStringLiteral("exposure-mode"), &error), qPrintable(error));
    QVERIFY(!m_Window->findChild<QDockWidget *>(QStringLiteral("simulatorDock"))->isHidden());
    QVERIFY(m_Window->setAcquiring(true));
    QTRY_VERIFY(!frames->text().startsWith(QLatin1String("Frames: 0 ")));
}

QTEST_MAIN(tst_AravisPage)
#include "tst_aravispage.moc"
