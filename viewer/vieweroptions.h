// ViewerOptions: what the command line asks of orvik-viewer.
#ifndef VIEWEROPTIONS_H
#define VIEWEROPTIONS_H

#include <QString>
#include <QStringList>

struct ViewerOptions
{
    /// A camera id ("sim:...", "aravis:<device id>"), a camera name from the
    /// cameras folder or a path to a description.
    QString camera;
    /// Write a picture of the window here and exit.
    QString screenshot;
    /// Tab to show first: a caption or a plug-in's name.
    QString tab;
    /// Locale name such as de_DE; empty: the system's.
    QString locale;
    bool listTabs = false;
    bool acquire = false;
    /// Look for GenICam cameras on the networks once the window is up.
    bool scan = false;
    bool help = false;
    /// Milliseconds each access to a simulated camera takes, as on a network link.
    double linkLatencyMs = 0;

    /// Set when the command line cannot be used; says why.
    QString error;

    /// Parses the arguments after the program name.
    static ViewerOptions parse(const QStringList &arguments);
    static QString usage();

    /// True when the viewer runs without a person at it.
    bool batch() const { return listTabs || !screenshot.isEmpty(); }
};

#endif // VIEWEROPTIONS_H
