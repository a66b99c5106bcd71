// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The viewer's command line: what each option sets, and that every command
// line it cannot use is refused with the reason.
#include <vieweroptions.h>

#include <QtTest>

namespace {

// What a parse set, in one line to compare: only what differs from the defaults.
QString describe(const ViewerOptions &options)
{
    const ViewerOptions defaults;
    QStringList parts;
    const auto text = [&parts](const char *name, const QString &value) {
        if (!value.isEmpty())
            parts << QStringLiteral("%1=%2").arg(QLatin1String(name), value);
    };
    const auto flag = [&parts](const char *name, bool value) {
        if (value)
            parts << QLatin1String(name);
    };
    text("camera", options.camera);
    text("screenshot", options.screenshot);
    text("tab", options.tab);
    text("locale", options.locale);
    text("click", options.click);
    if (!options.pulseLine.isEmpty())
        parts << QStringLiteral("train=%1:%2:%3:%4")
                     .arg(options.pulseLine)
                     .arg(options.pulsePeriodMs)
                     .arg(options.pulseWidthMs)
                     .arg(options.pulseCount);
    if (options.waitMs != defaults.waitMs)
        parts << QStringLiteral("wait=%1").arg(options.waitMs);
    if (options.linkLatencyMs != defaults.linkLatencyMs)
        parts << QStringLiteral("latency=%1").arg(options.linkLatencyMs);
    flag("list-tabs", options.listTabs);
    flag("acquire", options.acquire);
    flag("scan", options.scan);
    flag("help", options.help);
    flag("version", options.version);
    flag("batch", options.batch());
    return parts.join(QLatin1Char(' '));
}

} // namespace

class tst_ViewerOptions : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
    void readsOursBesideQtOptions();
    void usageNamesTheProgram();
};

void tst_ViewerOptions::accepted_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("parsed");
    const auto row = [](const char *tag, const QStringList &arguments, const char *parsed) {
        QTest::newRow(tag) << arguments << QString::fromUtf8(parsed);
    };
    row("nothing", {}, "");
    row("values", { "--camera", "syncout", "--tab", "Trigger IO", "--locale", "de_DE", "--click", "Edge" },
        "camera=syncout tab=Trigger IO locale=de_DE click=Edge");
    row("value after =", { "--camera=line-routing", "--wait=0" }, "camera=line-routing wait=0");
    row("the last of a repeated option", { "--camera", "a", "--camera", "b" }, "camera=b");
    row("a value that looks like an option", { "--tab", "--scan" }, "tab=--scan");
    row("flags", { "--acquire", "--scan", "--list-tabs" }, "list-tabs acquire scan batch");
    row("screenshot runs without a person", { "--screenshot", "out.png" }, "screenshot=out.png batch");
    row("help", { "--help" }, "help");
    row("short help", { "-h" }, "help");
    row("version", { "--version" }, "version");
    row("latency", { "--link-latency", "0.5" }, "latency=0.5");
    row("highest latency", { "--link-latency", "10000" }, "latency=10000");
    row("endless train", { "--pulse-train", "Line0:100:20" }, "train=Line0:100:20:0");
    row("counted train", { "--pulse-train", "Line0:150:40:50" }, "train=Line0:150:40:50");
    row("one pulse wider than its period", { "--pulse-train", "Line1:10:20:1" }, "train=Line1:10:20:1");
    row("wait", { "--wait", "3000" }, "wait=3000");
    // clang-format on
}

void tst_ViewerOptions::accepted()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, parsed);
    const ViewerOptions options = ViewerOptions::parse(arguments);
    QCOMPARE(options.error, QString());
    QCOMPARE(describe(options), parsed);
}

void tst_ViewerOptions::refused_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    const auto row = [](const char *tag, const QStringList &arguments, const char *error) {
        QTest::newRow(tag) << arguments << QString::fromUtf8(error);
    };
    const char latency[] = "--link-latency takes milliseconds from 0 to 10000, not";
    const char train[] = "--pulse-train takes LINE:PERIOD:WIDTH[:COUNT] in milliseconds";
    row("unknown option", { "--bogus" }, "Unknown option 'bogus'");
    row("Qt's option before Qt took it", { "-platform", "offscreen" }, "Unknown option");
    row("stray argument", { "--list-tabs", "stray" }, "unexpected argument: stray");
    row("after --", { "--", "--camera" }, "unexpected argument: --camera");
    row("missing value", { "--camera" }, "Missing value after '--camera'");
    row("empty value", { "--tab", "" }, "--tab needs a value");
    row("empty value after =", { "--camera=" }, "--camera needs a value");
    row("help with a bad option", { "--help", "--wait", "soon" }, "--wait takes milliseconds");
    row("latency not a number", { "--link-latency", "fast" }, latency);
    row("negative latency", { "--link-latency", "-1" }, latency);
    row("latency too long", { "--link-latency", "10001" }, latency);
    row("latency not a number at all", { "--link-latency", "nan" }, latency);
    row("latency infinite", { "--link-latency", "inf" }, latency);
    row("width not below period", { "--pulse-train", "Line0:10:20" }, train);
    row("no width", { "--pulse-train", "Line0:100:0" }, train);
    row("no line", { "--pulse-train", ":100:20" }, train);
    row("too few parts", { "--pulse-train", "Line0:100" }, train);
    row("too many parts", { "--pulse-train", "Line0:100:20:5:6" }, train);
    row("negative count", { "--pulse-train", "Line0:100:20:-1" }, train);
    row("period not a number", { "--pulse-train", "Line0:a:20" }, train);
    row("wait not a number", { "--wait", "soon" }, "--wait takes milliseconds");
    row("negative wait", { "--wait", "-5" }, "--wait takes milliseconds");
    // clang-format on
}

void tst_ViewerOptions::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    const ViewerOptions options = ViewerOptions::parse(arguments);
    QVERIFY2(options.error.contains(error), qPrintable(options.error));
}

void tst_ViewerOptions::readsOursBesideQtOptions()
{
    const ViewerOptions options =
        ViewerOptions::parse({"-platform", "offscreen", "--locale", "de_DE", "-style", "fusion", "--list-tabs"});
    QVERIFY(!options.error.isEmpty());
    QCOMPARE(options.locale, QStringLiteral("de_DE"));
    QVERIFY(options.batch());
}

// Qt names the program by the path it was started as (here the test's).
void tst_ViewerOptions::usageNamesTheProgram()
{
    const QString usage = ViewerOptions::usage();
    QVERIFY2(usage.startsWith(QLatin1String("Usage: orvik-viewer [options]\n")), qPrintable(usage));
    QVERIFY(usage.contains(QLatin1String("--pulse-train <train>")));
}

QTEST_GUILESS_MAIN(tst_ViewerOptions)
#include "tst_vieweroptions.moc"
