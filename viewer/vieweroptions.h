// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// ViewerOptions: what the command line asks of orvik-viewer.
#ifndef VIEWEROPTIONS_H
#define VIEWEROPTIONS_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>

struct ViewerOptions
{
    Q_DECLARE_TR_FUNCTIONS(ViewerOptions)

public:
    /// A camera id ("sim:...", "aravis:<device id>"), a camera name from the
    /// cameras folder or a path to a description.
    QString camera;
    /// Write a picture of the window here and exit.
    QString screenshot;
    /// Tab to show first: a caption or a plug-in's name.
    QString tab;
    /// Locale name such as de_DE; empty: the system's.
    QString locale;
    /// Text of a button to click on the tab shown, such as "Edge".
    QString click;
    /// A pulse train on a simulated camera's input line: its line, period
    /// and width in milliseconds, and count (0: endless).
    QString pulseLine;
    double pulsePeriodMs = 0;
    double pulseWidthMs = 0;
    int pulseCount = 0;
    /// How long to let the camera run before a screenshot, in milliseconds.
    int waitMs = 1200;
    bool listTabs = false;
    bool acquire = false;
    /// Look for GenICam cameras on the networks once the window is up.
    bool scan = false;
    bool help = false;
    bool version = false;
    /// Milliseconds each access to a simulated camera takes, as on a network link.
    double linkLatencyMs = 0;

    /// Set when the command line cannot be used; says why.
    QString error;

    /// Parses the arguments after the program name.
    static ViewerOptions parse(const QStringList &arguments);
    /// The --help text, in the language of the translators installed. Only
    /// once the QCoreApplication exists: Qt's help text needs it.
    static QString usage();
    /// "orvik-viewer <version>".
    static QString versionText();

    /// True when the viewer runs without a person at it.
    bool batch() const { return listTabs || !screenshot.isEmpty(); }
};

#endif // VIEWEROPTIONS_H
