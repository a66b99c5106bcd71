// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The committed .ts files against the sources: the lupdate target's own run
// on a copy finds no text the file lacks and none it has too many, and every
// message is translated with the same placeholders as its source.
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Message
{
    QString type;
    QStringList translations;
    int locations = 0;
};

// Messages by "context | source | comment".
using Messages = QMap<QString, Message>;

Messages readTs(const QString &fileName, QString *error)
{
    Messages messages;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString context, source, comment;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringRef name = xml.name();
        if (xml.isStartElement()) {
            if (name == QLatin1String("name"))
                context = xml.readElementText();
            else if (name == QLatin1String("message"))
                message = Message(), source.clear(), comment.clear();
            else if (name == QLatin1String("location"))
                ++message.locations;
            else if (name == QLatin1String("source"))
                source = xml.readElementText();
            else if (name == QLatin1String("comment"))
                comment = xml.readElementText();
            else if (name == QLatin1String("translation")) {
                message.type = xml.attributes().value(QLatin1String("type")).toString();
                // Plain text, or one <numerusform> per plural form.
                QString plain;
                bool numerus = false;
                while (!xml.atEnd()
                       && !(xml.readNext() == QXmlStreamReader::EndElement
                            && xml.name() == QLatin1String("translation"))) {
                    if (xml.isStartElement() && xml.name() == QLatin1String("numerusform")) {
                        message.translations << xml.readElementText();
                        numerus = true;
                    } else if (xml.isCharacters()) {
                        plain += xml.text();
                    }
                }
                if (!numerus)
                    message.translations << plain;
            }
        } else if (xml.isEndElement() && name == QLatin1String("message")) {
            messages.insert(QStringList{context, source, comment}.join(QLatin1String(" | ")), message);
        }
    }
    if (xml.hasError())
        *error = QStringLiteral("%1, line %2: %3").arg(fileName).arg(xml.lineNumber()).arg(xml.errorString());
    return messages;
}

QSet<QString> placeholders(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("%L?([0-9]+|n)"));
    QSet<QString> found;
    for (auto it = pattern.globalMatch(text); it.hasNext();)
        found.insert(it.next().captured(1));
    return found;
}

QString listed(const QStringList &keys)
{
    return QLatin1String("\n  ") + keys.join(QLatin1String("\n  "));
}

} // namespace

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void inStepWithTheSources_data();
    void inStepWithTheSources();
    void complete_data();
    void complete();
};

// ORVIK_TRANSLATIONS: "<.ts file>|<lupdate list file>", comma separated.
static void addTsFiles()
{
    QTest::addColumn<QString>("ts");
    QTest::addColumn<QString>("list");
    const QStringList entries = QStringLiteral(ORVIK_TRANSLATIONS).split(QLatin1Char(','), Qt::SkipEmptyParts);
    QVERIFY(entries.size() >= 2);
    for (const QString &entry : entries) {
        const QStringList parts = entry.split(QLatin1Char('|'));
        QVERIFY(parts.size() == 2);
        QTest::newRow(qPrintable(QFileInfo(parts.at(0)).fileName())) << parts.at(0) << parts.at(1);
    }
}

void tst_Translations::inStepWithTheSources_data()
{
    // clang-format off
    addTsFiles();
    // clang-format on
}

void tst_Translations::inStepWithTheSources()
{
    QFETCH(QString, ts);
    QFETCH(QString, list);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString copy = dir.filePath(QFileInfo(ts).fileName());
    QVERIFY(QFile::copy(ts, copy));

    QProcess lupdate;
    lupdate.start(QStringLiteral(ORVIK_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("relative"),
                   QStringLiteral("-no-obsolete"), QLatin1Char('@') + list, QStringLiteral("-ts"), copy});
    QVERIFY2(lupdate.waitForFinished(120000), qPrintable(lupdate.errorString()));
    QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
             lupdate.readAllStandardError().constData());

    QString error;
    const Messages committed = readTs(ts, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const Messages updated = readTs(copy, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList added, gone;
    for (auto it = updated.constBegin(); it != updated.constEnd(); ++it) {
        if (!committed.contains(it.key()))
            added << it.key();
    }
    for (auto it = committed.constBegin(); it != committed.constEnd(); ++it) {
        if (!updated.contains(it.key()))
            gone << it.key();
    }
    QVERIFY2(added.isEmpty(),
             qPrintable(QLatin1String("texts in the sources but not in the .ts file (build the lupdate target and "
                                      "translate them):")
                        + listed(added)));
    QVERIFY2(gone.isEmpty(),
             qPrintable(QLatin1String("texts no longer in the sources (build the lupdate target):") + listed(gone)));
}

void tst_Translations::complete_data()
{
    // clang-format off
    addTsFiles();
    // clang-format on
}

void tst_Translations::complete()
{
    QFETCH(QString, ts);
    QString error;
    const Messages messages = readTs(ts, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(!messages.isEmpty());
    QStringList untranslated, unlocated, mismatched;
    for (auto it = messages.constBegin(); it != messages.constEnd(); ++it) {
        const Message &message = it.value();
        if (!message.type.isEmpty() || message.translations.isEmpty() || message.translations.contains(QString()))
            untranslated << it.key();
        if (message.locations == 0)
            unlocated << it.key();
        const QSet<QString> wanted = placeholders(it.key().section(QLatin1String(" | "), 1, 1));
        for (const QString &translation : message.translations) {
            if (placeholders(translation) != wanted)
                mismatched << QStringLiteral("%1 -> %2").arg(it.key(), translation);
        }
    }
    QVERIFY2(untranslated.isEmpty(), qPrintable(QLatin1String("untranslated:") + listed(untranslated)));
    QVERIFY2(unlocated.isEmpty(), qPrintable(QLatin1String("without a source location:") + listed(unlocated)));
    QVERIFY2(mismatched.isEmpty(), qPrintable(QLatin1String("placeholders differ:") + listed(mismatched)));
}

QTEST_GUILESS_MAIN(tst_Translations)
#include "tst_translations.moc"
