// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "basetabpluginwidget.h"

#include "pluginfeatureobserver.h"

#include <featuremanager.h>
#include <pluginlog.h>

#include <QMutex>
#include <QMutexLocker>
#include <QTimer>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

using TKN::OrvAPI::FeaturePtr;
using TKN::OrvAPI::OrvErrorType;
using TKN::OrvAPI::OrvErrSuccess;

namespace {

// Disabled controls are drawn grey.
const char s_DisabledStyleSheet[] =
    "QPushButton:disabled, QLineEdit:disabled, QComboBox:disabled, QDoubleSpinBox:disabled,"
    "                                            "
    "QSpinBox:disabled, QwtSlider:disabled, QGroupBox:disabled, QLabel:disabled { color: gray }";

const int s_RefreshIntervalMs = 1000;
const OrvErrorType s_NoFeaturesCode = -3;

} // namespace

// No message handler is installed: the page's own diagnostics go through the
// lcTabExtension category, which is off by default, and the host's messages
// stay the host's.
BaseTabPluginWidget::BaseTabPluginWidget(const CameraFeatureList &features, QWidget *parent)
    : QWidget(parent),
      m_pFeatureManager(nullptr),
      ChangedFeatureList(nullptr),
      RefreshTimer(nullptr),
      WidgetMutex(nullptr)
{
    FeatureList = features;
    m_pFeatureManager = new FeatureManager(features);

    PluginFeatureObserver *observer = new PluginFeatureObserver();
    FeatureObserver = TKN::OrvAPI::IFeatureObserverPtr(observer);
    connect(observer, SIGNAL(setChangedFeature(const QString &, const QString &)), this,
            SLOT(OnFeatureChanged(const QString &, const QString &)));

    setFocusPolicy(Qt::StrongFocus);
    setStyleSheet(QString::fromUtf8(s_DisabledStyleSheet));

    WidgetMutex = new QMutex();

    RefreshTimer = new QTimer(this);
    connect(RefreshTimer, SIGNAL(timeout()), this, SLOT(updateTimer()));

    ChangedFeatureList = new QStringList();
}

BaseTabPluginWidget::~BaseTabPluginWidget()
{
    // Unregistering first: the library waits for a notification in progress,
    // so none can reach the list or the mutex after this.
    UnregisterFeatureObservers();
    delete ChangedFeatureList;
    ChangedFeatureList = nullptr;
    delete WidgetMutex;
    WidgetMutex = nullptr;
    FeatureObserver.reset();
    FeatureList.reset();
    delete m_pFeatureManager;
    m_pFeatureManager = nullptr;
}

QVector<QPair<FeaturePtr, QString>> BaseTabPluginWidget::observedFeatures() const
{
    QVector<QPair<FeaturePtr, QString>> observed;
    const FeatureVector features = FeatureList ? *FeatureList : FeatureVector();
    if (features.isEmpty()) {
        qCDebug(lcTabExtension) << "Could not get features. Error code: " << s_NoFeaturesCode;
        return observed;
    }
    // In list order, as a walk over the list would find them.
    QStringList names = ObservedFeatureNames;
    names.removeDuplicates();
    std::vector<std::pair<int, QString>> found;
    for (const QString &name : qAsConst(names)) {
        for (int position : m_pFeatureManager->Positions(name))
            found.emplace_back(position, name);
    }
    std::sort(found.begin(), found.end(),
              [](const std::pair<int, QString> &a, const std::pair<int, QString> &b) { return a.first < b.first; });
    for (const std::pair<int, QString> &item : found)
        observed.append(qMakePair(features.at(item.first), item.second));
    return observed;
}

void BaseTabPluginWidget::RegisterFeatureObservers(bool markChanged)
{
    for (const QPair<FeaturePtr, QString> &observed : observedFeatures()) {
        const OrvErrorType err = observed.first->RegisterObserver(FeatureObserver);
        if (err != OrvErrSuccess)
            qCDebug(lcTabExtension) << "Could not register feature observer. Error code: " << err;
        if (markChanged)
            ChangedFeatureList->append(observed.second);
    }
}

void BaseTabPluginWidget::UnregisterFeatureObservers()
{
    for (const QPair<FeaturePtr, QString> &observed : observedFeatures()) {
        const OrvErrorType err = observed.first->UnregisterObserver(FeatureObserver);
        if (err != OrvErrSuccess)
            qCDebug(lcTabExtension) << "Could not unregister feature observer. Error code: " << err;
    }
}

void BaseTabPluginWidget::OnFeatureChanged(const QString &name, const QString &value)
{
    Q_UNUSED(value);
    QMutexLocker locker(WidgetMutex);
    if (!ChangedFeatureList->contains(name))
        ChangedFeatureList->append(name);
}

void BaseTabPluginWidget::updateTimer()
{
    UnregisterFeatureObservers();
    WidgetMutex->lock();
    RefreshChangedFeatures();
    RegisterFeatureObservers(false);
    ChangedFeatureList->clear();
    WidgetMutex->unlock();
}

void BaseTabPluginWidget::showEvent(QShowEvent *event)
{
    Q_UNUSED(event);
    RefreshTimer->start(s_RefreshIntervalMs);
    RegisterFeatureObservers(true);
    WidgetMutex->lock();
    RefreshChangedFeatures();
    WidgetMutex->unlock();
}

void BaseTabPluginWidget::hideEvent(QHideEvent *event)
{
    Q_UNUSED(event);
    RefreshTimer->stop();
    ChangedFeatureList->clear();
    UnregisterFeatureObservers();
}
