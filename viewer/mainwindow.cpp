#include "mainwindow.h"

#include "TabExtensionInterface.h"
#include "featuredelegate.h"
#include "featuretablemodel.h"
#include "simulatorpanel.h"

#include <OrvikSim.h>

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
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>

#include <cstdio>
#include <exception>

using namespace TKN::OrvAPI;

namespace {

const char AcquisitionStart[] = "AcquisitionStart";
const char AcquisitionStop[] = "AcquisitionStop";
const char FeaturesCaption[] = "Features";

QString loadErrorText(const OrvSim::LoadError &error)
{
    const QString file = QString::fromStdString(error.file());
    const QString message = QString::fromStdString(error.message());
    // Line 0: the file itself could not be read.
    return error.line() > 0 ? QStringLiteral("%1, line %2: %3").arg(file).arg(error.line()).arg(message)
                            : QStringLiteral("%1: %2").arg(file, message);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Orvik Viewer"));

    auto *toolBar = addToolBar(QStringLiteral("Camera"));
    toolBar->setObjectName(QStringLiteral("cameraToolBar"));
    toolBar->setMovable(false);
    toolBar->addWidget(new QLabel(QStringLiteral(" Camera: ")));
    m_pComboCamera = new QComboBox;
    m_pComboCamera->setMinimumContentsLength(16);
    m_pComboCamera->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    toolBar->addWidget(m_pComboCamera);
    QAction *open = toolBar->addAction(QStringLiteral("Open File…"), this, SLOT(onOpenFile()));
    open->setShortcut(QKeySequence::Open);
    open->setToolTip(QStringLiteral("Open a camera description (%1)").arg(open->shortcut().toString()));
    toolBar->addSeparator();
    m_pActionAcquire = toolBar->addAction(QStringLiteral("Start Acquisition"));
    m_pActionAcquire->setCheckable(true);
    m_pActionAcquire->setEnabled(false);
    m_pActionAcquire->setShortcut(QKeySequence(Qt::Key_F5));
    m_pActionAcquire->setToolTip(QStringLiteral("Start or stop acquisition (F5); the pages follow it"));
    QAction *quit = new QAction(this);
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, SIGNAL(triggered()), this, SLOT(close()));
    addAction(quit);

    m_pTabs = new QTabWidget;
    setCentralWidget(m_pTabs);

    m_pFeatureModel = new FeatureTableModel(this);
    m_pFeatureView = new QTableView;
    m_pFeatureView->setModel(m_pFeatureModel);
    m_pFeatureView->setItemDelegate(new FeatureDelegate(m_pFeatureView));
    m_pFeatureView->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_pFeatureView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pFeatureView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pFeatureView->setAlternatingRowColors(true);
    m_pFeatureView->verticalHeader()->hide();
    m_pFeatureView->horizontalHeader()->setSectionResizeMode(
        FeatureTableModel::NameColumn, QHeaderView::ResizeToContents);
    m_pFeatureView->horizontalHeader()->setSectionResizeMode(
        FeatureTableModel::TypeColumn, QHeaderView::ResizeToContents);
    m_pFeatureView->horizontalHeader()->setSectionResizeMode(
        FeatureTableModel::ValueColumn, QHeaderView::Stretch);
    m_pFeatureView->horizontalHeader()->setSectionResizeMode(
        FeatureTableModel::AccessColumn, QHeaderView::ResizeToContents);
    m_pTabs->addTab(m_pFeatureView, QLatin1String(FeaturesCaption));

    m_pSimulator = new SimulatorPanel;
    auto *dock = new QDockWidget(QStringLiteral("Simulator"));
    dock->setObjectName(QStringLiteral("simulatorDock"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(m_pSimulator);
    addDockWidget(Qt::RightDockWidgetArea, dock);

    connect(m_pComboCamera, SIGNAL(activated(int)), this, SLOT(onCameraChosen(int)));
    connect(m_pActionAcquire, SIGNAL(toggled(bool)), this, SLOT(onAcquireToggled(bool)));
    connect(m_pFeatureModel, SIGNAL(writeFailed(QString, int)), this, SLOT(onWriteFailed(QString, int)));
    connect(m_pFeatureModel, SIGNAL(modelReset()), this, SLOT(onModelReset()));
    connect(m_pFeatureModel, SIGNAL(refreshed()), m_pSimulator, SLOT(refresh()));
    connect(m_pSimulator, SIGNAL(message(QString)), this, SLOT(notice(QString)));

    resize(1180, 1000);
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
    m_CameraFolder = folder;
    const QSignalBlocker blocker(m_pComboCamera);
    m_pComboCamera->clear();
    const QDir dir(folder);
    for (const QFileInfo &file :
        dir.entryInfoList(QStringList() << QStringLiteral("*.json"), QDir::Files, QDir::Name))
        m_pComboCamera->addItem(file.completeBaseName(), file.absoluteFilePath());
    m_pComboCamera->setCurrentIndex(-1);
}

QString MainWindow::resolveCamera(const QString &nameOrFile) const
{
    const QFileInfo file(nameOrFile);
    if (file.isFile())
        return file.absoluteFilePath();
    const QDir dir(m_CameraFolder);
    const QString named = dir.absoluteFilePath(
        nameOrFile.endsWith(QLatin1String(".json")) ? nameOrFile : nameOrFile + QLatin1String(".json"));
    return QFileInfo(named).isFile() ? named : QString();
}

bool MainWindow::openCamera(const QString &nameOrFile, QString *error)
{
    const QString path = resolveCamera(nameOrFile);
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("No camera \"%1\": no such file, and no %1.json in %2")
                         .arg(nameOrFile, QDir(m_CameraFolder).absolutePath());
        return false;
    }
    std::shared_ptr<OrvSim::Camera> camera;
    try {
        camera = OrvSim::Camera::fromFile(QFile::encodeName(path).toStdString());
    } catch (const OrvSim::LoadError &e) {
        if (error)
            *error = loadErrorText(e);
        return false;
    } catch (const std::exception &e) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(e.what()));
        return false;
    }

    // The same tab stays in front when the next camera has it too.
    // The first camera opens on the first tab, a plug-in's page if any.
    QWidget *current = m_pTabs->currentWidget();
    const QString currentTab = m_Camera
        ? m_PluginOfContainer.value(current, m_pTabs->tabText(m_pTabs->currentIndex()))
        : QString();

    closeCamera();
    m_Camera = camera;
    m_CameraFile = path;
    m_Features = CameraFeatureList(new FeatureVector);
    for (const FeaturePtr &feature : m_Camera->features())
        m_Features->append(feature);

    m_pFeatureModel->setFeatures(m_Features);
    m_pSimulator->setCamera(m_Camera);
    buildPluginTabs();
    if (currentTab.isEmpty() || !showTab(currentTab))
        m_pTabs->setCurrentIndex(0);

    {
        const QSignalBlocker blocker(m_pComboCamera);
        int item = m_pComboCamera->findData(path);
        if (item < 0) {
            m_pComboCamera->addItem(QFileInfo(path).completeBaseName(), path);
            item = m_pComboCamera->count() - 1;
        }
        m_pComboCamera->setCurrentIndex(item);
    }
    m_pActionAcquire->setEnabled(m_Camera->feature(AcquisitionStart) && m_Camera->feature(AcquisitionStop));
    syncAcquisitionState();
    setWindowTitle(QStringLiteral("%1 - Orvik Viewer").arg(QString::fromStdString(m_Camera->name())));
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
    m_pSimulator->setCamera(nullptr);
    m_Features.clear();
    m_Camera.reset();
    m_CameraFile.clear();
    m_pActionAcquire->setEnabled(false);
    setWindowTitle(QStringLiteral("Orvik Viewer"));
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
            notice(QStringLiteral("\"%1\" failed for this camera: %2")
                       .arg(plugin.name, QString::fromLocal8Bit(e.what())));
            continue;
        } catch (...) {
            delete container;
            notice(QStringLiteral("\"%1\" failed for this camera").arg(plugin.name));
            continue;
        }
        if (result != 0) {
            delete container;
            notice(QStringLiteral("\"%1\" is not available for this camera (code %2)")
                       .arg(plugin.name)
                       .arg(result));
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
        delete it.key();
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
        if (m_pTabs->tabText(i) == captionOrName
            || m_PluginOfContainer.value(m_pTabs->widget(i)) == captionOrName) {
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
    const char *command = acquiring ? AcquisitionStart : AcquisitionStop;
    const FeaturePtr feature = m_Camera->feature(command);
    const OrvErrorType err = feature ? feature->RunCommand() : OrvErrorType(OrvErrNotFound);
    if (err != OrvErrSuccess)
        notice(QStringLiteral("%1 failed (error %2)").arg(QLatin1String(command)).arg(err));
    syncAcquisitionState();
    return err == OrvErrSuccess;
}

void MainWindow::syncAcquisitionState()
{
    const bool acquiring = m_Camera && m_Camera->isAcquiring();
    {
        const QSignalBlocker blocker(m_pActionAcquire);
        m_pActionAcquire->setChecked(acquiring);
        m_pActionAcquire->setText(
            acquiring ? QStringLiteral("Stop Acquisition") : QStringLiteral("Start Acquisition"));
    }
    if (acquiring == m_bAcquiring)
        return;
    m_bAcquiring = acquiring;
    emit acquisitionChanged(acquiring);
}

void MainWindow::onCameraChosen(int index)
{
    const QString path = m_pComboCamera->itemData(index).toString();
    if (path.isEmpty() || path == m_CameraFile)
        return;
    QString error;
    if (!openCamera(path, &error))
        showOpenError(error);
}

void MainWindow::onOpenFile()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open Camera Description"), m_CameraFolder, QStringLiteral("Cameras (*.json)"));
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
    m_pComboCamera->setCurrentIndex(m_pComboCamera->findData(m_CameraFile));
    notice(QStringLiteral("Cannot open the camera: %1").arg(error));
    if (!m_bEchoMessages)
        QMessageBox::critical(this, QStringLiteral("Cannot Open Camera"), error);
}

void MainWindow::onAcquireToggled(bool on)
{
    setAcquiring(on);
}

void MainWindow::onWriteFailed(const QString &featureName, int code)
{
    notice(QStringLiteral("The camera refused %1 (error %2)").arg(featureName).arg(code));
}

void MainWindow::notice(const QString &text)
{
    statusBar()->showMessage(text);
    if (m_bEchoMessages)
        std::fprintf(stderr, "orvik-viewer: %s\n", qPrintable(text));
}

void MainWindow::onModelReset()
{
    for (int row = 0; row < m_pFeatureModel->rowCount(); ++row) {
        if (m_pFeatureModel->dataType(row) != OrvFeatureDataCommand)
            continue;
        auto *button = new QPushButton(QStringLiteral("Execute"));
        connect(button, &QPushButton::clicked, this, [this, row]() {
            m_pFeatureModel->runCommand(row);
            syncAcquisitionState();
        });
        m_pFeatureView->setIndexWidget(m_pFeatureModel->index(row, FeatureTableModel::ValueColumn), button);
    }
}
