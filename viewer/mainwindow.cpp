// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "mainwindow.h"

#include <TabExtensionInterface.h>
#include "featuredelegate.h"
#include "featuretablemodel.h"
#include "featuretreemodel.h"
#include "imageview.h"
#include "signalspanel.h"
#include "simulatorpanel.h"

#include <OrvikFeatureNames.h>
#include <OrvikSim.h> // the Simulator dock's camera only

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>
#include <exception>

using namespace TKN::OrvAPI;

namespace {

using FeatureNames::AcquisitionStart;
using FeatureNames::AcquisitionStop;
const int FrameCounterIntervalMs = 500;

// Docks move and float; none can be closed, so none gets lost.
QDockWidget *newDock(const QString &title, const char *name, QWidget *content)
{
    auto *dock = new QDockWidget(title);
    dock->setObjectName(QLatin1String(name));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(content);
    return dock;
}

QString openErrorText(const OpenError &error)
{
    if (error.line() > 0)
        return QCoreApplication::translate("MainWindow", "%1, line %2: %3")
            .arg(QString::fromStdString(error.source()))
            .arg(error.line())
            .arg(QString::fromStdString(error.message()));
    return QStringLiteral("%1: %2").arg(QString::fromStdString(error.source()),
                                        QString::fromStdString(error.message()));
}

QString cameraCaption(const CameraInfo &info)
{
    const QString id = QString::fromStdString(info.id);
    if (id.startsWith(QLatin1String("sim:")))
        return id.mid(4);
    return QStringLiteral("%1 (%2)").arg(QString::fromStdString(info.model), id);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(tr("Orvik Viewer"));

    auto *toolBar = addToolBar(tr("Camera"));
    toolBar->setObjectName(QStringLiteral("cameraToolBar"));
    toolBar->setMovable(false);
    toolBar->addWidget(new QLabel(QStringLiteral(" %1 ").arg(tr("Camera:"))));
    m_pComboCamera = new QComboBox;
    m_pComboCamera->setMinimumContentsLength(16);
    m_pComboCamera->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    toolBar->addWidget(m_pComboCamera);
    QAction *open = toolBar->addAction(tr("Open File…"), this, SLOT(onOpenFile()));
    open->setShortcut(QKeySequence::Open);
    open->setToolTip(tr("Open a camera description (%1)").arg(open->shortcut().toString()));
    QAction *find = toolBar->addAction(tr("Find Cameras"), this, SLOT(findCameras()));
    find->setObjectName(QStringLiteral("actionFindCameras"));
    find->setToolTip(tr("Look for GigE Vision and USB3 Vision cameras on this computer's networks and buses"));
    toolBar->addSeparator();
    m_pActionAcquire = toolBar->addAction(tr("Start Acquisition"));
    m_pActionAcquire->setCheckable(true);
    m_pActionAcquire->setEnabled(false);
    m_pActionAcquire->setShortcut(QKeySequence(Qt::Key_F5));
    m_pActionAcquire->setToolTip(tr("Start or stop acquisition (F5); the pages follow it"));
    QAction *quit = new QAction(this);
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, SIGNAL(triggered()), this, SLOT(close()));
    addAction(quit);

    m_pTabs = new QTabWidget;
    setCentralWidget(m_pTabs);

    createFeaturePage();

    m_pSimulator = new SimulatorPanel;
    m_pSimulatorDock = newDock(tr("Simulator"), "simulatorDock", m_pSimulator);
    m_pImage = new ImageView;
    m_pImageDock = newDock(tr("Image"), "imageDock", m_pImage);
    addDockWidget(Qt::RightDockWidgetArea, m_pImageDock);
    addDockWidget(Qt::RightDockWidgetArea, m_pSimulatorDock);
    splitDockWidget(m_pImageDock, m_pSimulatorDock, Qt::Vertical);

    m_pSignals = new SignalsPanel;
    m_pSignalsDock = newDock(tr("Signals"), "signalsDock", m_pSignals);
    addDockWidget(Qt::BottomDockWidgetArea, m_pSignalsDock);

    // Shown only for cameras that count the frames they deliver.
    m_pLabelFrames = new QLabel;
    m_pLabelFrames->setObjectName(QStringLiteral("labelFrames"));
    m_pLabelFrames->hide();
    statusBar()->addPermanentWidget(m_pLabelFrames);
    m_pFrameTimer = new QTimer(this);
    m_pFrameTimer->setInterval(FrameCounterIntervalMs);
    connect(m_pFrameTimer, SIGNAL(timeout()), this, SLOT(updateFrameCounter()));

    connect(m_pComboCamera, SIGNAL(activated(int)), this, SLOT(onCameraChosen(int)));
    connect(m_pActionAcquire, SIGNAL(toggled(bool)), this, SLOT(onAcquireToggled(bool)));
    connect(m_pFeatureModel, SIGNAL(writeFailed(QString, int)), this, SLOT(onWriteFailed(QString, int)));
    connect(m_pFeatureFilter, SIGNAL(modelReset()), this, SLOT(addCommandButtons()));
    connect(m_pEditFilter, SIGNAL(textChanged(QString)), this, SLOT(onFilterChanged(QString)));
    connect(m_pFeatureModel, SIGNAL(refreshed()), m_pSimulator, SLOT(refresh()));
    connect(m_pSimulator, SIGNAL(message(QString)), this, SLOT(notice(QString)));

    resize(1560, 1200);
}

// The feature tree with its filter, the first tab.
void MainWindow::createFeaturePage()
{
    m_pFeatureModel = new FeatureTableModel(this);
    m_pFeatureTree = new FeatureTreeModel(m_pFeatureModel, this);
    m_pFeatureFilter = new QSortFilterProxyModel(this);
    m_pFeatureFilter->setSourceModel(m_pFeatureTree);
    m_pFeatureFilter->setRecursiveFilteringEnabled(true);
    m_pFeatureFilter->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_pFeatureFilter->setFilterKeyColumn(FeatureTableModel::NameColumn);
    m_pEditFilter = new QLineEdit;
    m_pEditFilter->setObjectName(QStringLiteral("editFeatureFilter"));
    m_pEditFilter->setPlaceholderText(tr("Filter features by name"));
    m_pEditFilter->setClearButtonEnabled(true);
    m_pFeatureView = new QTreeView;
    m_pFeatureView->setObjectName(QStringLiteral("featureTree"));
    m_pFeatureView->setModel(m_pFeatureFilter);
    m_pFeatureView->setItemDelegate(new FeatureDelegate(m_pFeatureView));
    m_pFeatureView->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_pFeatureView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pFeatureView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pFeatureView->setAlternatingRowColors(true);
    m_pFeatureView->header()->setSectionResizeMode(FeatureTableModel::NameColumn, QHeaderView::ResizeToContents);
    m_pFeatureView->header()->setSectionResizeMode(FeatureTableModel::TypeColumn, QHeaderView::ResizeToContents);
    m_pFeatureView->header()->setSectionResizeMode(FeatureTableModel::ValueColumn, QHeaderView::Stretch);
    m_pFeatureView->header()->setSectionResizeMode(FeatureTableModel::AccessColumn, QHeaderView::ResizeToContents);
    m_pFeatureView->header()->setStretchLastSection(false);
    m_pFeaturePage = new QWidget;
    auto *featureLayout = new QVBoxLayout(m_pFeaturePage);
    featureLayout->setContentsMargins(0, 0, 0, 0);
    featureLayout->addWidget(m_pEditFilter);
    featureLayout->addWidget(m_pFeatureView);
    m_pTabs->addTab(m_pFeaturePage, tr("Features"));
}

MainWindow::~MainWindow()
{
    closeCamera();
}

void MainWindow::loadPlugins(const QString &folder)
{
    m_Plugins.loadAll(folder, this, SIGNAL(acquisitionChanged(bool)));
    for (const QString &message : m_Plugins.messages())
        notice(message);
}

void MainWindow::setCameraFolder(const QString &folder)
{
    closeCamera();
    m_CameraFolder = QDir(folder).absolutePath();
    m_Cameras.reset(new CameraSystem(QFile::encodeName(m_CameraFolder).toStdString()));
    const QSignalBlocker blocker(m_pComboCamera);
    m_pComboCamera->clear();
    for (const CameraInfo &info : m_Cameras->ListCameras())
        addCameraItem(info);
    m_pComboCamera->setCurrentIndex(-1);
}

void MainWindow::addCameraItem(const CameraInfo &info)
{
    const QString id = QString::fromStdString(info.id);
    if (m_pComboCamera->findData(id) >= 0)
        return;
    m_pComboCamera->addItem(cameraCaption(info), id);
    m_pComboCamera->setItemData(m_pComboCamera->count() - 1,
                                QString::fromStdString(info.vendor + " " + info.model + "\n" + info.detail),
                                Qt::ToolTipRole);
}

void MainWindow::findCameras()
{
    if (!m_Cameras)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<CameraInfo> found;
    try {
        found = m_Cameras->FindCameras();
    } catch (const std::exception &e) {
        notice(tr("Finding cameras failed: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    QApplication::restoreOverrideCursor();
    const QSignalBlocker blocker(m_pComboCamera);
    int cameras = 0;
    for (const CameraInfo &info : found) {
        if (QString::fromStdString(info.id).startsWith(QLatin1String("sim:")))
            continue;
        addCameraItem(info);
        ++cameras;
    }
    m_pComboCamera->setCurrentIndex(m_Camera ? m_pComboCamera->findData(QString::fromStdString(m_Camera->GetId()))
                                             : -1);
    notice(cameras == 1 ? tr("Found 1 camera") : tr("Found %1 cameras").arg(cameras));
}

QString MainWindow::cameraId(const QString &idNameOrFile) const
{
    if (idNameOrFile.startsWith(QLatin1String("sim:")) || idNameOrFile.startsWith(QLatin1String("aravis:")))
        return idNameOrFile;
    const QFileInfo file(idNameOrFile);
    if (file.isFile())
        return QStringLiteral("sim:") + file.absoluteFilePath();
    return QStringLiteral("sim:") + idNameOrFile;
}

bool MainWindow::openCamera(const QString &idNameOrFile, QString *error)
{
    if (!m_Cameras)
        setCameraFolder(QStringLiteral("cameras"));
    CameraPtr camera;
    try {
        camera = m_Cameras->OpenCamera(QFile::encodeName(cameraId(idNameOrFile)).toStdString());
        if (const std::shared_ptr<OrvSim::Camera> simulator = OrvSim::Camera::of(camera)) {
            OrvSim::LinkSettings link = simulator->link();
            link.latencyMs = m_LinkLatencyMs;
            simulator->setLink(link);
        }
    } catch (const OpenError &e) {
        if (error)
            *error = openErrorText(e);
        return false;
    } catch (const std::exception &e) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(idNameOrFile, QString::fromLocal8Bit(e.what()));
        return false;
    }

    // The same tab stays in front when the next camera has it too.
    // The first camera opens on the first tab, a plug-in's page if any.
    QWidget *current = m_pTabs->currentWidget();
    const QString currentTab =
        m_Camera ? m_PluginOfContainer.value(current, m_pTabs->tabText(m_pTabs->currentIndex())) : QString();

    closeCamera();
    m_Camera = camera;
    m_Features = CameraFeatureList(new FeatureVector);
    for (const FeaturePtr &feature : m_Camera->GetFeatures())
        m_Features->append(feature);

    m_pFeatureModel->setFeatures(m_Features);
    QHash<QString, QString> descriptions;
    for (int row = 0; row < m_pFeatureModel->rowCount(); ++row) {
        const QString name = m_pFeatureModel->featureName(row);
        const std::string description = m_Camera->GetFeatureDescription(name.toStdString());
        if (!description.empty())
            descriptions.insert(name, QString::fromStdString(description));
    }
    m_pFeatureTree->setGroups(m_Camera->GetFeatureGroups(), descriptions);
    m_pFeatureView->expandAll();

    const std::shared_ptr<OrvSim::Camera> simulator = OrvSim::Camera::of(m_Camera);
    m_pSimulator->setCamera(simulator);
    m_pSimulatorDock->setVisible(bool(simulator));
    m_pSignals->setCamera(m_Camera);
    m_pImage->setCamera(m_Camera);
    // Every row of the strip in view, the page above it keeping what it needs.
    resizeDocks({m_pSignalsDock}, {m_pSignals->sizeHint().height()}, Qt::Vertical);
    buildPluginTabs();
    if (currentTab.isEmpty() || !showTab(currentTab))
        m_pTabs->setCurrentIndex(0);

    {
        const QSignalBlocker blocker(m_pComboCamera);
        const QString id = QString::fromStdString(m_Camera->GetId());
        int item = m_pComboCamera->findData(id);
        if (item < 0) {
            const QString caption =
                id.startsWith(QLatin1String("sim:"))
                    ? QFileInfo(id.mid(4)).completeBaseName()
                    : cameraCaption(CameraInfo{m_Camera->GetId(), m_Camera->GetModelName(), "", ""});
            m_pComboCamera->addItem(caption, id);
            item = m_pComboCamera->count() - 1;
        }
        m_pComboCamera->setCurrentIndex(item);
    }
    m_pActionAcquire->setEnabled(m_Camera->GetFeature(AcquisitionStart) && m_Camera->GetFeature(AcquisitionStop));
    syncAcquisitionState();
    setWindowTitle(tr("%1 - Orvik Viewer").arg(QString::fromStdString(m_Camera->GetModelName())));
    return true;
}

void MainWindow::closeCamera()
{
    if (!m_Camera)
        return;
    if (m_bAcquiring)
        setAcquiring(false);
    // The pages hold the camera's features and observe them: they go first.
    removePluginTabs();
    m_pFeatureModel->clear();
    m_pFeatureTree->setGroups(FeatureGroup(), QHash<QString, QString>());
    m_pSimulator->setCamera(nullptr);
    m_pSignals->setCamera(nullptr);
    m_pImage->setCamera(nullptr);
    m_Features.clear();
    m_Camera->Close();
    m_Camera.reset();
    m_pActionAcquire->setEnabled(false);
    syncAcquisitionState();
    setWindowTitle(tr("Orvik Viewer"));
}

void MainWindow::buildPluginTabs()
{
    int position = 0;
    for (const LoadedPlugin &plugin : m_Plugins.plugins()) {
        auto *container = new QWidget;
        int32_t result = 0;
        try {
            result = plugin.extension->CreateTabWidget(m_Features, container);
        } catch (const std::exception &e) {
            delete container;
            notice(tr("\"%1\" failed for this camera: %2").arg(plugin.name, QString::fromLocal8Bit(e.what())));
            continue;
        } catch (...) {
            delete container;
            notice(tr("\"%1\" failed for this camera").arg(plugin.name));
            continue;
        }
        if (result != 0) {
            delete container;
            notice(tr("\"%1\" is not available for this camera (code %2)").arg(plugin.name).arg(result));
            continue;
        }
        QString caption = container->accessibleName();
        if (caption.isEmpty())
            caption = plugin.name;
        m_PluginOfContainer.insert(container, plugin.name);
        m_pTabs->insertTab(position++, container, caption);
    }
}

void MainWindow::removePluginTabs()
{
    for (auto it = m_PluginOfContainer.constBegin(); it != m_PluginOfContainer.constEnd(); ++it) {
        m_pTabs->removeTab(m_pTabs->indexOf(it.key()));
        // A page may be inside one of its own slots (a quick mode lets events
        // run): it goes once control is back in the event loop.
        it.key()->hide();
        it.key()->deleteLater();
    }
    m_PluginOfContainer.clear();
}

QStringList MainWindow::tabCaptions() const
{
    QStringList captions;
    for (int i = 0; i < m_pTabs->count(); ++i)
        captions << m_pTabs->tabText(i);
    return captions;
}

bool MainWindow::showTab(const QString &captionOrName)
{
    for (int i = 0; i < m_pTabs->count(); ++i) {
        if (m_pTabs->tabText(i) == captionOrName || m_PluginOfContainer.value(m_pTabs->widget(i)) == captionOrName) {
            m_pTabs->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

bool MainWindow::setAcquiring(bool acquiring)
{
    if (!m_Camera)
        return false;
    const OrvErrorType err = acquiring ? m_Camera->StartAcquisition() : m_Camera->StopAcquisition();
    if (err != OrvErrSuccess)
        notice(tr("%1 failed (error %2)").arg(QLatin1String(acquiring ? AcquisitionStart : AcquisitionStop)).arg(err));
    syncAcquisitionState();
    return err == OrvErrSuccess;
}

void MainWindow::syncAcquisitionState()
{
    const bool acquiring = m_Camera && m_Camera->IsAcquiring();
    {
        const QSignalBlocker blocker(m_pActionAcquire);
        m_pActionAcquire->setChecked(acquiring);
        m_pActionAcquire->setText(acquiring ? tr("Stop Acquisition") : tr("Start Acquisition"));
    }
    const bool counting = acquiring && m_Camera->CountsFrames();
    if (counting && !m_pFrameTimer->isActive()) {
        m_LastFrameCount = m_Camera->GetFrameCount();
        m_FrameClock.start();
        m_pLabelFrames->setText(frameCounterText(m_LastFrameCount, QString()));
        m_pFrameTimer->start();
    } else if (!counting) {
        m_pFrameTimer->stop();
    }
    m_pLabelFrames->setVisible(counting);
    if (acquiring == m_bAcquiring)
        return;
    m_bAcquiring = acquiring;
    emit acquisitionChanged(acquiring);
}

void MainWindow::updateFrameCounter()
{
    if (!m_Camera)
        return;
    const unsigned long long frames = m_Camera->GetFrameCount();
    const qint64 elapsed = m_FrameClock.restart();
    const double rate = elapsed > 0 ? double(frames - m_LastFrameCount) * 1000.0 / double(elapsed) : 0.0;
    m_LastFrameCount = frames;
    m_pLabelFrames->setText(frameCounterText(frames, tr("%1 fps").arg(rate, 0, 'f', 1)));
}

QString MainWindow::frameCounterText(unsigned long long frames, const QString &rate) const
{
    QString text = tr("Frames: %1").arg(frames);
    if (!rate.isEmpty())
        text += QStringLiteral("  ") + rate;
    // Only a camera that reports its triggers knows which it missed.
    if (m_Camera && !m_Camera->GetSignalInfo().triggers.empty())
        text += QStringLiteral("  ") + tr("Missed triggers: %1").arg(m_Camera->GetMissedTriggerCount());
    return text;
}

bool MainWindow::clickButton(const QString &text)
{
    QWidget *tab = m_pTabs->currentWidget();
    if (!tab)
        return false;
    for (QAbstractButton *button : tab->findChildren<QAbstractButton *>()) {
        if (QString(button->text()).remove(QLatin1Char('&')) == text && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}

bool MainWindow::startPulseTrain(const QString &line, double periodMs, double widthMs, int count, QString *error)
{
    const std::shared_ptr<OrvSim::Camera> simulator = OrvSim::Camera::of(m_Camera);
    if (!simulator) {
        if (error)
            *error = tr("only a simulated camera's lines can be driven");
        return false;
    }
    const OrvErrorType err = simulator->timing().pulseTrain(line.toStdString(), std::llround(periodMs * 1000),
                                                            std::llround(widthMs * 1000), count);
    if (err != OrvErrSuccess && error) {
        *error = err == OrvErrNotFound        ? tr("the camera has no line %1").arg(line)
                 : err == OrvErrInvalidAccess ? tr("%1 is an output").arg(line)
                                              : tr("a pulse needs 0 < width < period");
    }
    m_pSimulator->refresh();
    return err == OrvErrSuccess;
}

void MainWindow::onCameraChosen(int index)
{
    const QString id = m_pComboCamera->itemData(index).toString();
    if (id.isEmpty() || (m_Camera && id == QString::fromStdString(m_Camera->GetId())))
        return;
    QString error;
    if (!openCamera(id, &error))
        showOpenError(error);
}

void MainWindow::onOpenFile()
{
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Open Camera Description"), m_CameraFolder, tr("Cameras (*.json)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!openCamera(path, &error))
        showOpenError(error);
}

void MainWindow::showOpenError(const QString &error)
{
    // The box shows the camera that stays open.
    const QSignalBlocker blocker(m_pComboCamera);
    m_pComboCamera->setCurrentIndex(m_Camera ? m_pComboCamera->findData(QString::fromStdString(m_Camera->GetId()))
                                             : -1);
    notice(tr("Cannot open the camera: %1").arg(error));
    if (!m_bEchoMessages)
        QMessageBox::critical(this, tr("Cannot Open Camera"), error);
}

void MainWindow::onAcquireToggled(bool on)
{
    setAcquiring(on);
}

void MainWindow::onWriteFailed(const QString &featureName, int code)
{
    notice(tr("The camera refused %1 (error %2)").arg(featureName).arg(code));
}

void MainWindow::notice(const QString &text)
{
    statusBar()->showMessage(text);
    if (m_bEchoMessages)
        std::fprintf(stderr, "orvik-viewer: %s\n", qPrintable(text));
}

void MainWindow::onFilterChanged(const QString &text)
{
    m_pFeatureFilter->setFilterFixedString(text);
    m_pFeatureView->expandAll();
    addCommandButtons();
}

// Commands have no value to edit: their value cell is a button. Placed again
// whenever the rows shown change.
void MainWindow::addCommandButtons()
{
    QVector<QModelIndex> pending{QModelIndex()};
    while (!pending.isEmpty()) {
        const QModelIndex parent = pending.takeLast();
        for (int row = 0; row < m_pFeatureFilter->rowCount(parent); ++row) {
            const QModelIndex name = m_pFeatureFilter->index(row, FeatureTableModel::NameColumn, parent);
            pending.append(name);
            if (name.data(FeatureTableModel::DataTypeRole).toInt() != OrvFeatureDataCommand)
                continue;
            const QModelIndex value = m_pFeatureFilter->index(row, FeatureTableModel::ValueColumn, parent);
            if (m_pFeatureView->indexWidget(value))
                continue;
            const int sourceRow = name.data(FeatureTreeModel::SourceRowRole).toInt();
            auto *button = new QPushButton(tr("Execute"));
            connect(button, &QPushButton::clicked, this, [this, sourceRow]() {
                m_pFeatureModel->runCommand(sourceRow);
                syncAcquisitionState();
            });
            m_pFeatureView->setIndexWidget(value, button);
        }
    }
}
