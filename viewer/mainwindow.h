// MainWindow: orvik-viewer's window: the open camera, its plug-in tab pages,
// the feature table, acquisition control and the simulator panel.
#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "pluginhost.h"

#include <featurelist.h>

#include <QHash>
#include <QMainWindow>

#include <memory>

namespace OrvSim {
class Camera;
}

class FeatureTableModel;
class QAction;
class QComboBox;
class QTabWidget;
class QTableView;
class SimulatorPanel;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    /// Also writes every status message to stderr (runs without a person).
    void setEchoMessages(bool echo) { m_bEchoMessages = echo; }

    /// Loads the tab plug-ins of `folder` (relative paths from the working
    /// directory, which main sets to the binary's folder).
    void loadPlugins(const QString &folder);
    /// The camera descriptions found in `folder`, offered in the camera box.
    void setCameraFolder(const QString &folder);

    /// Opens a camera by its name in the camera folder or by file path. On
    /// failure the camera that was open stays open and `error` says why.
    bool openCamera(const QString &nameOrFile, QString *error);
    void closeCamera();

    QStringList tabCaptions() const;
    /// Makes the tab with this caption, or the tab of the plug-in of this
    /// name, current. False when there is none.
    bool showTab(const QString &captionOrName);

    /// Starts or stops acquisition; false when the camera refused.
    bool setAcquiring(bool acquiring);

    /// Shows why a camera could not be opened: a dialog, or only the status
    /// line and stderr when no person is at the screen.
    void showOpenError(const QString &error);

public slots:
    void notice(const QString &text);

signals:
    /// true while the camera acquires; the plug-ins' pages follow it.
    void acquisitionChanged(bool acquiring);

private slots:
    void onCameraChosen(int index);
    void onOpenFile();
    void onAcquireToggled(bool on);
    void onWriteFailed(const QString &featureName, int code);
    void onModelReset();
    void syncAcquisitionState();

private:
    void buildPluginTabs();
    void removePluginTabs();
    QString resolveCamera(const QString &nameOrFile) const;

    PluginHost m_Plugins;
    QString m_CameraFolder;
    std::shared_ptr<OrvSim::Camera> m_Camera;
    QString m_CameraFile;
    CameraFeatureList m_Features;
    bool m_bAcquiring = false;
    bool m_bEchoMessages = false;

    QComboBox *m_pComboCamera;
    QAction *m_pActionAcquire;
    QTabWidget *m_pTabs;
    QTableView *m_pFeatureView;
    FeatureTableModel *m_pFeatureModel;
    SimulatorPanel *m_pSimulator;
    QHash<QWidget *, QString> m_PluginOfContainer;
};

#endif // MAINWINDOW_H
