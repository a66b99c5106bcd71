// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "signalspanel.h"

#include "signalsview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const int RefreshIntervalMs = 50;

QString spanText(long long micros)
{
    if (micros >= 1000000)
        return QStringLiteral("%1 s").arg(double(micros) / 1e6, 0, 'g', 3);
    return QStringLiteral("%1 ms").arg(double(micros) / 1e3, 0, 'g', 3);
}

QToolButton *toolButton(const QString &text, const QString &name, const QString &tip)
{
    auto *button = new QToolButton;
    button->setText(text);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

} // namespace

SignalsPanel::SignalsPanel(QWidget *parent)
    : QWidget(parent)
{
    m_pButtonPause = toolButton(tr("Pause"), QStringLiteral("buttonPause"),
                                tr("Stop following the present; events keep being recorded"));
    m_pButtonPause->setCheckable(true);
    QToolButton *zoomIn = toolButton(tr("Zoom In"), QStringLiteral("buttonZoomIn"),
                                     tr("Show half the time (or turn the wheel over the strip)"));
    QToolButton *zoomOut = toolButton(tr("Zoom Out"), QStringLiteral("buttonZoomOut"), tr("Show twice the time"));
    QToolButton *clearButton =
        toolButton(tr("Clear"), QStringLiteral("buttonClear"), tr("Forget the events recorded so far"));
    m_pLabelSpan = new QLabel;
    m_pLabelSpan->setObjectName(QStringLiteral("labelSpan"));
    m_pLabelCursors = new QLabel(tr("Click: cursor A, right-click: cursor B, drag: move, wheel: zoom"));
    m_pLabelCursors->setObjectName(QStringLiteral("labelCursors"));
    m_pLabelCursors->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pLabelNote = new QLabel;
    m_pLabelNote->setObjectName(QStringLiteral("labelNote"));
    m_pLabelNote->setWordWrap(true);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_pButtonPause);
    bar->addWidget(zoomIn);
    bar->addWidget(zoomOut);
    bar->addWidget(m_pLabelSpan);
    bar->addWidget(clearButton);
    bar->addSpacing(12);
    bar->addWidget(m_pLabelCursors, 1);

    m_pView = new SignalsView;
    m_pView->setModel(&m_Timeline);
    auto *scroll = new QScrollArea;
    scroll->setWidget(m_pView);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addLayout(bar);
    layout->addWidget(scroll, 1);
    layout->addWidget(m_pLabelNote);

    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(RefreshIntervalMs);
    connect(m_pTimer, SIGNAL(timeout()), this, SLOT(refresh()));
    connect(m_pButtonPause, SIGNAL(toggled(bool)), this, SLOT(setPaused(bool)));
    connect(zoomIn, SIGNAL(clicked()), this, SLOT(zoomIn()));
    connect(zoomOut, SIGNAL(clicked()), this, SLOT(zoomOut()));
    connect(clearButton, SIGNAL(clicked()), this, SLOT(clear()));
    connect(m_pView, SIGNAL(cursorsChanged()), this, SLOT(onCursorsChanged()));
    connect(m_pView, &SignalsView::spanChanged, this, &SignalsPanel::onSpanChanged);
    // Moving the strip by hand stops it following the present.
    connect(m_pView, &SignalsView::panned, this, [this]() { setPaused(true); });
    onSpanChanged();
    setCamera(nullptr);
}

void SignalsPanel::setCamera(const TKN::OrvAPI::CameraPtr &camera)
{
    m_Camera = camera;
    m_Timeline = TimelineModel();
    m_pView->setCursors(-1, -1);
    const TKN::OrvAPI::SignalInfo info = camera ? camera->GetSignalInfo() : TKN::OrvAPI::SignalInfo();
    m_pView->setSignalInfo(info);
    updateGeometry();
    QString note;
    if (!camera)
        note = tr("No camera open.");
    else if (!info.available)
        note = tr("This camera reports no signal events.");
    else if (info.levelPollInterval > 0)
        note = tr("Frames are shown as they arrive from the stream. Line levels are read from %1 every "
                  "%2 ms, so pulses shorter than that can pass unseen, and edges show up to %2 ms late; "
                  "triggers and exposures are not reported by this camera.")
                   .arg(QString::fromStdString(info.levelSource))
                   .arg(info.levelPollInterval / 1000);
    else if (info.levelSource.empty() && info.otherLines.empty() && info.inputLines.empty() && info.outputLines.empty())
        note = tr("Frames are shown as they arrive from the stream; this camera has no line status to read.");
    else
        note = tr("Simulated camera: every edge, trigger and exposure as its timing model made them.");
    m_pLabelNote->setText(note);
    setPaused(false);
    if (camera && info.available) {
        refresh();
        m_pTimer->start();
    } else {
        m_pTimer->stop();
    }
}

QSize SignalsPanel::sizeHint() const
{
    const QSize strip = m_pView->sizeHint();
    return QSize(strip.width(), strip.height() + m_pButtonPause->sizeHint().height() + 2 * fontMetrics().height() + 16);
}

bool SignalsPanel::isPaused() const
{
    return m_pButtonPause->isChecked();
}

void SignalsPanel::setPaused(bool paused)
{
    if (m_pButtonPause->isChecked() != paused)
        m_pButtonPause->setChecked(paused); // comes back here through toggled()
    else if (!paused)
        refresh();
}

void SignalsPanel::refresh()
{
    if (!m_Camera)
        return;
    m_Timeline.poll(*m_Camera);
    if (!isPaused())
        m_pView->setEnd(m_Camera->GetSignalTime());
    else
        m_pView->update();
    if (m_Timeline.lost() > 0)
        m_pLabelSpan->setToolTip(m_Timeline.lost() == 1
                                     ? tr("1 event was lost before it could be read")
                                     : tr("%1 events were lost before they could be read").arg(m_Timeline.lost()));
}

void SignalsPanel::zoomIn()
{
    m_pView->setSpan(m_pView->span() / 2);
}

void SignalsPanel::zoomOut()
{
    m_pView->setSpan(m_pView->span() * 2);
}

void SignalsPanel::clear()
{
    m_Timeline.clear();
    m_pView->setCursors(-1, -1);
}

QString SignalsPanel::intervalText(long long a, long long b)
{
    const auto seconds = [](long long t) { return QStringLiteral("%1 s").arg(double(t) / 1e6, 0, 'f', 6); };
    QStringList parts;
    if (a >= 0)
        parts << QStringLiteral("A %1").arg(seconds(a));
    if (b >= 0)
        parts << QStringLiteral("B %1").arg(seconds(b));
    if (a >= 0 && b >= 0) {
        const long long delta = b - a;
        QString interval = QStringLiteral("B\u2212A %1 ms").arg(double(delta) / 1e3, 0, 'f', 3);
        if (delta != 0)
            interval += QStringLiteral(" (%1 Hz)").arg(1e6 / double(qAbs(delta)), 0, 'f', 2);
        parts << interval;
    }
    return parts.join(QStringLiteral("   "));
}

void SignalsPanel::onCursorsChanged()
{
    const long long a = m_pView->cursorA(), b = m_pView->cursorB();
    if (a >= 0 || b >= 0)
        m_pLabelCursors->setText(intervalText(a, b));
}

void SignalsPanel::onSpanChanged()
{
    m_pLabelSpan->setText(spanText(m_pView->span()));
}
