#include "vieweroptions.h"

namespace {

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

} // namespace

ViewerOptions ViewerOptions::parse(const QStringList &arguments)
{
    ViewerOptions options;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        auto value = [&](QString &target) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).isEmpty()) {
                options.error = QStringLiteral("%1 needs a value").arg(argument);
                return;
            }
            target = arguments.at(++i);
        };
        if (argument == QLatin1String("--camera"))
            value(options.camera);
        else if (argument == QLatin1String("--screenshot"))
            value(options.screenshot);
        else if (argument == QLatin1String("--tab"))
            value(options.tab);
        else if (argument == QLatin1String("--locale"))
            value(options.locale);
        else if (argument == QLatin1String("--link-latency")) {
            QString text;
            value(text);
            bool ok = false;
            const double latency = text.toDouble(&ok);
            // Beyond a few seconds per access nothing would be usable.
            if (options.error.isEmpty() && (!ok || !(latency >= 0) || latency > 10000))
                options.error = QStringLiteral("--link-latency takes milliseconds from 0 to 10000, not \"%1\"").arg(text);
            options.linkLatencyMs = latency;
        } else if (argument == QLatin1String("--click"))
            value(options.click);
        else if (argument == QLatin1String("--pulse-train")) {
            QString train;
            value(train);
            if (options.error.isEmpty() && !parsePulseTrain(train, options))
                options.error = QStringLiteral("--pulse-train takes LINE:PERIOD:WIDTH[:COUNT] in milliseconds, "
                                               "0 < WIDTH < PERIOD, such as Line0:100:20:50");
        } else if (argument == QLatin1String("--wait")) {
            QString wait;
            value(wait);
            bool ok = false;
            options.waitMs = wait.toInt(&ok);
            if (options.error.isEmpty() && (!ok || options.waitMs < 0))
                options.error = QStringLiteral("--wait takes milliseconds, such as 3000");
        } else if (argument == QLatin1String("--list-tabs"))
            options.listTabs = true;
        else if (argument == QLatin1String("--acquire"))
            options.acquire = true;
        else if (argument == QLatin1String("--scan"))
            options.scan = true;
        else if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            options.help = true;
        else
            options.error = QStringLiteral("unknown argument: %1").arg(argument);
        if (!options.error.isEmpty())
            break;
    }
    return options;
}

QString ViewerOptions::usage()
{
    return QStringLiteral("Usage: orvik-viewer [options]\n"
                          "  --camera NAME|FILE   open a camera from the cameras folder (e.g. syncout)\n"
                          "                       or a camera description file (default: exposure-mode)\n"
                          "  --camera aravis:ID   open a GenICam camera through Aravis by its device id,\n"
                          "                       address or serial (aravis:Aravis-Fake-ORV01: Aravis's\n"
                          "                       in-process fake camera)\n"
                          "  --scan               look for GigE Vision and USB3 Vision cameras (broadcasts\n"
                          "                       on the local networks) and offer them in the camera box\n"
                          "  --tab CAPTION        show this tab first (a caption or a plug-in's name)\n"
                          "  --locale NAME        run in this locale, e.g. de_DE\n"
                          "  --click TEXT         click the button with this text on the tab shown,\n"
                          "                       e.g. --tab \"Trigger IO\" --click Edge\n"
                          "  --acquire            start acquisition once the camera is open\n"
                          "  --link-latency MS    each access to a simulated camera takes MS milliseconds,\n"
                          "                       as on a network link (e.g. 0.5)\n"
                          "  --pulse-train LINE:PERIOD:WIDTH[:COUNT]\n"
                          "                       drive a simulated camera's input line with pulses\n"
                          "                       (milliseconds; COUNT 0 or none: endless)\n"
                          "  --screenshot FILE    save a PNG of the window and exit\n"
                          "  --wait MS            let the camera run this long before the screenshot\n"
                          "                       (default 1200)\n"
                          "  --list-tabs          print the tab captions and exit\n"
                          "  --help               show this text\n");
}
