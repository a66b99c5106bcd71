// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// BaseTabPluginWidget: the base of a tab page; owns the page's connection to
// the camera's features and the one-second refresh cycle.
#ifndef BASETABPLUGINWIDGET_H
#define BASETABPLUGINWIDGET_H

#include <featurelist.h>

#include <OrvikCPP.h>

#include <QPair>
#include <QStringList>
#include <QVector>
#include <QWidget>

class FeatureManager;
class QMutex;
class QTimer;

class BaseTabPluginWidget : public QWidget
{
    Q_OBJECT

public:
    BaseTabPluginWidget(const CameraFeatureList &features, QWidget *parent);
    ~BaseTabPluginWidget() override;

signals:
    void resetFPS();

protected slots:
    void updateTimer();

private slots:
    void OnFeatureChanged(const QString &name, const QString &value);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    /// Called with WidgetMutex held; must not lock it again.
    virtual void RefreshChangedFeatures() = 0;

    void RegisterFeatureObservers(bool markChanged);
    void UnregisterFeatureObservers();

    FeatureManager *m_pFeatureManager;
    QStringList *ChangedFeatureList;
    QStringList ObservedFeatureNames;
    CameraFeatureList FeatureList;
    QTimer *RefreshTimer;
    QMutex *WidgetMutex;
    TKN::OrvAPI::IFeatureObserverPtr FeatureObserver;

private:
    /// The camera's features whose names are observed, with those names, in list order.
    QVector<QPair<TKN::OrvAPI::FeaturePtr, QString>> observedFeatures() const;
};

#endif // BASETABPLUGINWIDGET_H
