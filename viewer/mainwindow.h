// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// MainWindow: orvik-viewer's window: the open camera, its plug-in tab pages,
// the feature tree, acquisition control and, for simulated cameras, the
// simulator panel.
#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "pluginhost.h"

#include <OrvikCamera.h>
#include <featurelist.h>

#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>

#include <memory>

class FeatureTableModel;
class FeatureTreeModel;
class ImageView;
class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QTabWidget;
class QTimer;
class QTreeView;
class SignalsPanel;
class SimulatorPanel;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    /// Also writes every status message to stderr (runs without a person).
    void setEchoMessages(bool echo) { m_bEchoMessages = echo; }

    /// Loads the tab plug-ins of `folder` (a relative path is taken from the
    /// working directory).
    void loadPlugins(const QString &folder);
    /// The camera descriptions found in `folder`, offered in the camera box
    /// with the other cameras known without asking the network.
    void setCameraFolder(const QString &folder);

    /// Opens a camera by id ("sim:...", "aravis:<device id>"), by its name
    /// in the camera folder or by file path. On failure the camera that was
    /// open stays open and `error` says why.
    bool openCamera(const QString &idNameOrFile, QString *error);
    /// Each access to a simulated camera opened from now on takes this long.
    void setLinkLatency(double milliseconds) { m_LinkLatencyMs = milliseconds; }
    void closeCamera();
    /// The open camera; null when none.
    TKN::OrvAPI::CameraPtr camera() const { return m_Camera; }

    QStringList tabCaptions() const;
    /// Makes the tab with this caption, or the tab of the plug-in of this
    /// name, current. False when there is none.
    bool showTab(const QString &captionOrName);

    /// Starts or stops acquisition; false when the camera refused.
    bool setAcquiring(bool acquiring);

    /// Clicks the button with this text on the tab shown (for scripts:
    /// "Edge" on the Trigger IO page). False when there is none or it is disabled.
    bool clickButton(const QString &text);
    /// Starts a pulse train on an input line of a simulated camera; false,
    /// with `error` saying why, when it cannot.
    bool startPulseTrain(const QString &line, double periodMs, double widthMs, int count, QString *error);

    /// Shows why a camera could not be opened: a dialog, or only the status
    /// line and stderr when no person is at the screen.
    void showOpenError(const QString &error);

public slots:
    void notice(const QString &text);
    /// Asks every provider for cameras (Aravis broadcasts a discovery on the
    /// local networks) and adds what it finds to the camera box. Runs only
    /// when a person asks for it.
    void findCameras();

signals:
    /// true while the camera acquires; the plug-ins' pages follow it.
    void acquisitionChanged(bool acquiring);

private slots:
    void onCameraChosen(int index);
    void onOpenFile();
    void onAcquireToggled(bool on);
    void onWriteFailed(const QString &featureName, int code);
    void addCommandButtons();
    void onFilterChanged(const QString &text);
    void syncAcquisitionState();
    void updateFrameCounter();

private:
    void createFeaturePage();
    void buildPluginTabs();
    void removePluginTabs();
    QString cameraId(const QString &idNameOrFile) const;
    QString frameCounterText(unsigned long long frames, const QString &rate) const;
    void addCameraItem(const TKN::OrvAPI::CameraInfo &info);

    PluginHost m_Plugins;
    QString m_CameraFolder;
    std::unique_ptr<TKN::OrvAPI::CameraSystem> m_Cameras;
    double m_LinkLatencyMs = 0;
    TKN::OrvAPI::CameraPtr m_Camera;
    CameraFeatureList m_Features;
    bool m_bAcquiring = false;
    bool m_bEchoMessages = false;

    QComboBox *m_pComboCamera;
    QAction *m_pActionAcquire;
    QTabWidget *m_pTabs;
    QWidget *m_pFeaturePage;
    QLineEdit *m_pEditFilter;
    QTreeView *m_pFeatureView;
    FeatureTableModel *m_pFeatureModel;
    FeatureTreeModel *m_pFeatureTree;
    QSortFilterProxyModel *m_pFeatureFilter;
    SimulatorPanel *m_pSimulator;
    QDockWidget *m_pSimulatorDock;
    SignalsPanel *m_pSignals;
    QDockWidget *m_pSignalsDock;
    ImageView *m_pImage;
    QDockWidget *m_pImageDock;
    QLabel *m_pLabelFrames;
    QTimer *m_pFrameTimer;
    QElapsedTimer m_FrameClock;
    unsigned long long m_LastFrameCount = 0;
    QHash<QWidget *, QString> m_PluginOfContainer;
};

#endif // MAINWINDOW_H
