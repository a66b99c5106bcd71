// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// orvik-viewer: a camera viewer that hosts tab plug-ins, for a person at the
// screen or, with --screenshot / --list-tabs, for scripts.
#include "mainwindow.h"
#include "pluginhost.h"
#include "vieweroptions.h"
#include "viewerpaths.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

QtMessageHandler s_DefaultHandler = nullptr;

// Without a desktop session Qt reports these on every run; they say nothing
// about the viewer and would bury its own messages.
void dropSessionNoise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))
        || message.startsWith(QLatin1String("This plugin does not support propagateSizeHints")))
        return;
    if (s_DefaultHandler)
        s_DefaultHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

void printError(const QString &text)
{
    std::fprintf(stderr, "orvik-viewer: %s\n", qPrintable(text));
}

// Everything here must happen before QApplication exists: the platform is
// chosen and the system locale is read when it is constructed.
void prepareEnvironment(const ViewerOptions &options)
{
    const bool haveDisplay = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    // Help and argument errors need no window either. Qt's own options
    // (-platform ...) read as errors here; -platform still wins over this.
    const bool windowless = options.batch() || options.help || options.version || !options.error.isEmpty();
    if (windowless && !haveDisplay && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!options.locale.isEmpty()) {
        const QByteArray name = options.locale.toLatin1() + ".UTF-8";
        qputenv("LC_ALL", name);
        qputenv("LANG", name);
        qputenv("LANGUAGE", options.locale.toLatin1());
    }
}

// A problem ends a run without a window (exit status 1); a person is told
// in the window instead.
bool endsBatchRun(MainWindow &window, const ViewerOptions &options, const QString &text)
{
    if (options.batch()) {
        printError(text);
        return true;
    }
    window.notice(text);
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList rawArguments;
    for (int i = 1; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    prepareEnvironment(ViewerOptions::parse(rawArguments));
    s_DefaultHandler = qInstallMessageHandler(dropSessionNoise);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvik-viewer"));
    QApplication::setApplicationVersion(QStringLiteral(ORVIK_VERSION));
    // Before any text is made, the help included: the viewer's own
    // translation, and Qt's for its dialogs where the system has it.
    installTranslation(QStringLiteral("orvik-viewer"), ViewerPaths::translations());
    installTranslation(QStringLiteral("qtbase"), QLibraryInfo::location(QLibraryInfo::TranslationsPath));

    // Parsed again now that Qt has taken its own options out.
    const ViewerOptions options = ViewerOptions::parse(QApplication::arguments().mid(1));
    if (!options.error.isEmpty()) {
        printError(options.error);
        std::fputs(qPrintable(ViewerOptions::usage()), stderr);
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(ViewerOptions::usage()), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("%s\n", qPrintable(ViewerOptions::versionText()));
        return 0;
    }
    if (!options.locale.isEmpty())
        QLocale::setDefault(QLocale(options.locale));

    // Paths on the command line are meant from where the viewer was started.
    const QString screenshot =
        options.screenshot.isEmpty() ? QString() : QFileInfo(options.screenshot).absoluteFilePath();
    QString camera = options.camera.isEmpty() ? QStringLiteral("exposure-mode") : options.camera;
    if (!camera.startsWith(QLatin1String("aravis:")) && QFileInfo(camera).isFile())
        camera = QFileInfo(camera).absoluteFilePath();

    MainWindow window;
    window.setEchoMessages(options.batch());
    window.setLinkLatency(options.linkLatencyMs);
    window.setCameraFolder(ViewerPaths::cameras());
    window.loadPlugins(ViewerPaths::plugins());

    QString error;
    if (!window.openCamera(camera, &error)) {
        if (options.batch()) {
            printError(QCoreApplication::translate("main", "cannot open the camera: %1").arg(error));
            return 1;
        }
        window.show();
        window.showOpenError(error);
    }
    if (options.scan)
        window.findCameras();
    if (!options.tab.isEmpty() && !window.showTab(options.tab)
        && endsBatchRun(window, options,
                        QCoreApplication::translate("main", "no tab \"%1\"; the tabs are: %2")
                            .arg(options.tab, window.tabCaptions().join(QStringLiteral(", ")))))
        return 1;
    // In this order, as a person would: set up the triggers, start, then feed the input.
    if (!options.click.isEmpty() && !window.clickButton(options.click)
        && endsBatchRun(
            window, options,
            QCoreApplication::translate("main", "no button \"%1\" to click on the tab shown").arg(options.click)))
        return 1;
    if (options.acquire && !window.setAcquiring(true) && options.batch())
        return 1;
    if (!options.pulseLine.isEmpty()
        && !window.startPulseTrain(options.pulseLine, options.pulsePeriodMs, options.pulseWidthMs, options.pulseCount,
                                   &error)
        && endsBatchRun(window, options,
                        QCoreApplication::translate("main", "cannot drive %1: %2").arg(options.pulseLine, error)))
        return 1;
    if (options.listTabs) {
        for (const QString &caption : window.tabCaptions())
            std::printf("%s\n", qPrintable(caption));
        return 0;
    }

    window.show();
    if (!screenshot.isEmpty()) {
        // At least long enough for a page's first one-second refresh to have run.
        QTimer::singleShot(options.waitMs, &window, [&window, screenshot]() {
            if (!window.grab().save(screenshot, "PNG")) {
                printError(QCoreApplication::translate("main", "cannot write %1").arg(screenshot));
                QApplication::exit(1);
                return;
            }
            std::printf("%s\n", qPrintable(screenshot));
            QApplication::exit(0);
        });
    }
    return app.exec();
}
