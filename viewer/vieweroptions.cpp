// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "vieweroptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

const char ProgramName[] = "orvik-viewer";

// Every option of the viewer. The texts are made with the parser, so --help
// speaks the language of the translators installed by then.
struct OptionSet
{
    OptionSet();

    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            ViewerOptions::tr("Show this text and exit.")};
    QCommandLineOption version{QStringLiteral("version"), ViewerOptions::tr("Show the version and exit.")};
    QCommandLineOption camera{QStringLiteral("camera"),
                              ViewerOptions::tr("Open this camera: a name from the cameras folder (such as "
                                                "syncout), a camera description file, or aravis:ID for a "
                                                "GenICam camera by its device id, address or serial "
                                                "(aravis:Aravis-Fake-ORV01 is Aravis's in-process fake "
                                                "camera). Default: exposure-mode."),
                              ViewerOptions::tr("camera")};
    QCommandLineOption scan{QStringLiteral("scan"),
                            ViewerOptions::tr("Look for GigE Vision and USB3 Vision cameras (this broadcasts on "
                                              "the local networks) and offer them in the camera box.")};
    QCommandLineOption tab{QStringLiteral("tab"),
                           ViewerOptions::tr("Show this tab first: a caption or a plug-in's name."),
                           ViewerOptions::tr("caption")};
    QCommandLineOption locale{QStringLiteral("locale"),
                              ViewerOptions::tr("Run in this locale, such as de_DE for German texts."),
                              ViewerOptions::tr("name")};
    QCommandLineOption click{QStringLiteral("click"),
                             ViewerOptions::tr("Click the button with this text on the tab shown, such as "
                                               "--tab \"Trigger IO\" --click Edge."),
                             ViewerOptions::tr("text")};
    QCommandLineOption acquire{QStringLiteral("acquire"),
                               ViewerOptions::tr("Start acquisition once the camera is open.")};
    QCommandLineOption linkLatency{QStringLiteral("link-latency"),
                                   ViewerOptions::tr("Each access to a simulated camera takes this many "
                                                     "milliseconds, as on a network link (such as 0.5)."),
                                   ViewerOptions::tr("ms")};
    QCommandLineOption pulseTrain{QStringLiteral("pulse-train"),
                                  ViewerOptions::tr("Drive a simulated camera's input line with pulses: "
                                                    "LINE:PERIOD:WIDTH[:COUNT] in milliseconds, COUNT 0 or "
                                                    "none for endless, such as Line0:100:20:50."),
                                  ViewerOptions::tr("train")};
    QCommandLineOption screenshot{QStringLiteral("screenshot"),
                                  ViewerOptions::tr("Save a PNG picture of the window to this file and exit."),
                                  ViewerOptions::tr("file")};
    QCommandLineOption wait{QStringLiteral("wait"),
                            ViewerOptions::tr("Let the camera run this long before the screenshot "
                                              "(default: 1200)."),
                            ViewerOptions::tr("ms")};
    QCommandLineOption listTabs{QStringLiteral("list-tabs"), ViewerOptions::tr("Print the tab captions and exit.")};
};

OptionSet::OptionSet()
{
    parser.setApplicationDescription(
        ViewerOptions::tr("A camera viewer whose tab pages come from plug-ins, such as the Trigger IO page."));
    parser.addOptions({help, version, camera, scan, tab, locale, click, acquire, linkLatency, pulseTrain, screenshot,
                       wait, listTabs});
}

// "LINE:PERIOD:WIDTH[:COUNT]", milliseconds.
bool parsePulseTrain(const QString &text, ViewerOptions &options)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() < 3 || parts.size() > 4 || parts.at(0).isEmpty())
        return false;
    bool periodOk = false, widthOk = false, countOk = true;
    options.pulseLine = parts.at(0);
    options.pulsePeriodMs = parts.at(1).toDouble(&periodOk);
    options.pulseWidthMs = parts.at(2).toDouble(&widthOk);
    options.pulseCount = parts.size() == 4 ? parts.at(3).toInt(&countOk) : 0;
    return periodOk && widthOk && countOk && options.pulseWidthMs > 0 && options.pulseCount >= 0
           && (options.pulseCount == 1 || options.pulseWidthMs < options.pulsePeriodMs);
}

// The option's value, or an error when it was given empty.
QString valueOf(const QCommandLineParser &parser, const QCommandLineOption &option, ViewerOptions &options)
{
    if (!parser.isSet(option))
        return QString();
    QString value = parser.value(option);
    if (value.isEmpty() && options.error.isEmpty())
        options.error = ViewerOptions::tr("--%1 needs a value").arg(option.names().constLast());
    return value;
}

} // namespace

ViewerOptions ViewerOptions::parse(const QStringList &arguments)
{
    ViewerOptions options;
    OptionSet set;
    const QCommandLineParser &parser = set.parser;
    if (!set.parser.parse(QStringList(QLatin1String(ProgramName)) + arguments))
        options.error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        options.error = tr("unexpected argument: %1").arg(parser.positionalArguments().constFirst());
    // Read even from a line with errors: before QApplication took Qt's own
    // options (-platform NAME) out, they are errors, and --locale must still count.
    options.help = parser.isSet(set.help);
    options.version = parser.isSet(set.version);
    options.listTabs = parser.isSet(set.listTabs);
    options.acquire = parser.isSet(set.acquire);
    options.scan = parser.isSet(set.scan);
    options.camera = valueOf(parser, set.camera, options);
    options.screenshot = valueOf(parser, set.screenshot, options);
    options.tab = valueOf(parser, set.tab, options);
    options.locale = valueOf(parser, set.locale, options);
    options.click = valueOf(parser, set.click, options);

    if (parser.isSet(set.linkLatency)) {
        const QString text = valueOf(parser, set.linkLatency, options);
        bool ok = false;
        options.linkLatencyMs = text.toDouble(&ok);
        // Beyond a few seconds per access nothing would be usable.
        if (options.error.isEmpty() && (!ok || !(options.linkLatencyMs >= 0) || options.linkLatencyMs > 10000))
            options.error = tr("--link-latency takes milliseconds from 0 to 10000, not \"%1\"").arg(text);
    }
    if (parser.isSet(set.pulseTrain)) {
        const QString train = valueOf(parser, set.pulseTrain, options);
        if (options.error.isEmpty() && !parsePulseTrain(train, options))
            options.error = tr("--pulse-train takes LINE:PERIOD:WIDTH[:COUNT] in milliseconds, "
                               "0 < WIDTH < PERIOD, such as Line0:100:20:50");
    }
    if (parser.isSet(set.wait)) {
        bool ok = false;
        options.waitMs = valueOf(parser, set.wait, options).toInt(&ok);
        if (options.error.isEmpty() && (!ok || options.waitMs < 0))
            options.error = tr("--wait takes milliseconds, such as 3000");
    }
    return options;
}

QString ViewerOptions::usage()
{
    OptionSet set;
    QString text = set.parser.helpText();
    // Qt names the program by the path it was started as; a person types its name.
    const QString started = QCoreApplication::arguments().value(0);
    const int at = started.isEmpty() ? -1 : text.indexOf(started);
    if (at >= 0)
        text.replace(at, started.size(), QLatin1String(ProgramName));
    return text;
}

QString ViewerOptions::versionText()
{
    return QStringLiteral("%1 %2").arg(QLatin1String(ProgramName), QLatin1String(ORVIK_VERSION));
}
