// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Shared by the Trigger IO page tests: shipped cameras with a few features
// changed, added or removed, and the camera/page pair under test.
#ifndef TRIGGERIOTEST_H
#define TRIGGERIOTEST_H

#include <iotriggerwidget.h>
#include <testcamera.h>

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QLayout>
#include <QMap>
#include <QSet>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <memory>

namespace CameraVariant {

/// "file.json", or "file.json [patches]": each patch names a feature and the
/// keys to set on it; a feature the camera lacks is appended, and
/// "remove": true drops it.
inline QJsonObject description(const QString &camera)
{
    const std::string fileName = camera.section(' ', 0, 0).toStdString();
    QFile file(QString::fromStdString(TestCamera::path(fileName.c_str())));
    QJsonParseError error{};
    const QJsonArray patches = QJsonDocument::fromJson(camera.section(' ', 1).toUtf8(), &error).array();
    if (!file.open(QIODevice::ReadOnly) || (camera.contains(' ') && error.error != QJsonParseError::NoError))
        throw OrvSim::LoadError(fileName, 0, "cannot open, or bad patches");
    QJsonObject description = QJsonDocument::fromJson(file.readAll()).object();
    QJsonArray features = description.value("features").toArray();

    for (const QJsonValue &patchValue : patches) {
        const QJsonObject patch = patchValue.toObject();
        int index = 0;
        while (index < features.size() && features.at(index)["name"] != patch["name"])
            ++index;
        QJsonObject feature = features.at(index).toObject(); // empty past the end
        for (auto key = patch.begin(); key != patch.end(); ++key)
            feature.insert(key.key(), key.value());
        const bool found = index < features.size(), remove = patch["remove"].toBool();
        if (found && remove)
            features.removeAt(index);
        else if (found)
            features.replace(index, feature);
        else if (!remove)
            features.append(feature);
    }
    description.insert("features", features);
    return description;
}

inline std::shared_ptr<OrvSim::Camera> load(const QString &camera)
{
    const std::string fileName = camera.section(' ', 0, 0).toStdString();
    return OrvSim::Camera::fromJson(QJsonDocument(description(camera)).toJson().toStdString(), fileName);
}

/// Each selected feature of the description with the selector that selects it.
inline QHash<QString, QString> selectors(const QJsonObject &description)
{
    QHash<QString, QString> selectorOf;
    for (const QJsonValue &feature : description.value("features").toArray()) {
        for (const QJsonValue &selected : feature["selects"].toArray())
            selectorOf.insert(selected.toString(), feature["name"].toString());
    }
    return selectorOf;
}

} // namespace CameraVariant

/// The output group is as high as the fixed 35 pixels a row (plus 85 with a
/// levels row, else 50) and never lower than its rows need.
inline bool outputGroupFits(const QWidget *group, int rows, bool levels)
{
    const int height = group->minimumHeight();
    return height == group->maximumHeight() && height >= 35 * rows + (levels ? 85 : 50)
           && height >= group->layout()->minimumSize().height();
}

/// The camera and the page under test; the page goes first.
struct PageUnderTest
{
    std::shared_ptr<OrvSim::Camera> camera;
    std::unique_ptr<IOTriggerWidget> page;
    /// Selected feature -> its selector, from the camera's description.
    QHash<QString, QString> selectorOf;

    IOTriggerWidget *open(const std::shared_ptr<OrvSim::Camera> &newCamera)
    {
        page.reset();
        camera = newCamera;
        page.reset(new IOTriggerWidget(TestCamera::featureList(*camera), nullptr));
        return page.get();
    }
    IOTriggerWidget *open(const QString &camera)
    {
        prepare(camera);
        return open(this->camera);
    }
    /// Loads the camera without a page on it.
    void prepare(const QString &camera)
    {
        page.reset();
        const QJsonObject description = CameraVariant::description(camera);
        selectorOf = CameraVariant::selectors(description);
        this->camera = OrvSim::Camera::fromJson(QJsonDocument(description).toJson().toStdString(),
                                                camera.section(' ', 0, 0).toStdString());
    }
    /// Lets pending notifications pass, then forgets the calls so far.
    void settle()
    {
        OrvSim::Camera::waitForNotifications();
        QCoreApplication::processEvents();
        camera->clearJournal();
    }
    QStringList writes() const { return TestCamera::writes(*camera); }
    QString value(const QString &feature, const QString &entry = QString()) const
    {
        return QString::fromStdString(camera->valueOf(feature.toStdString(), entry.toStdString()));
    }
    /// The entries of an enumeration, through the library.
    QStringList entries(const QString &feature) const
    {
        QStringList result;
        std::vector<std::string> names;
        const TKN::OrvAPI::FeaturePtr f = camera->feature(feature.toStdString());
        if (f && f->GetValues(names) == TKN::OrvAPI::OrvErrSuccess) {
            for (const std::string &name : names)
                result << QString::fromStdString(name);
        }
        return result;
    }
    /// Camera-side changes, space-separated: "Feature=value" for the selected
    /// entry, "Feature[entry]=value", or "Feature[*]=value" for every entry of
    /// its selector.
    void change(const QString &changes)
    {
        for (const QString &change : changes.split(' ', Qt::SkipEmptyParts)) {
            const QString target = change.section('=', 0, 0), value = change.section('=', 1);
            const QString feature = target.section('[', 0, 0);
            QString entry = target.section('[', 1).chopped(target.contains('[') ? 1 : 0);
            const QStringList all = entry == "*" ? entries(selectorOf.value(feature)) : QStringList{entry};
            for (const QString &e : all)
                camera->setFromCamera(feature.toStdString(), value.toStdString(), e.toStdString());
        }
    }
    /// Every value the camera holds, per selector entry: "Feature[entry]" -> value.
    QMap<QString, QString> snapshot() const
    {
        QMap<QString, QString> values;
        for (const TKN::OrvAPI::FeaturePtr &feature : camera->features()) {
            std::string name;
            feature->GetName(name);
            const QString qname = QString::fromStdString(name);
            const QStringList perEntry = entries(selectorOf.value(qname));
            for (const QString &entry : perEntry.isEmpty() ? QStringList{QString()} : perEntry)
                values.insert(qname + '[' + entry + ']', value(qname, entry));
        }
        return values;
    }
    /// The first write to a selected feature that the camera took while its
    /// selector stood where the page did not know (its last selection was
    /// refused, and it has not read the selector since), or an empty text
    /// written; "" when there is none.
    QString misdirectedWrite() const
    {
        const QSet<QString> selectorNames(selectorOf.cbegin(), selectorOf.cend());
        QHash<QString, bool> standingKnown;
        // The page's calls before a misdirected write, for the failure message.
        QStringList recent;
        const auto misdirected = [&recent](const std::string &what) {
            return QString::fromStdString(what) + "\n  after: " + recent.join("\n         ");
        };
        for (const OrvSim::JournalEntry &entry : camera->journal()) {
            if (entry.fromNotificationThread)
                continue;
            if (recent.size() == 24)
                recent.removeFirst();
            if (entry.operation != OrvSim::Operation::GetName)
                recent << QString::fromStdString(entry.text());
            const QString feature = QString::fromStdString(entry.feature);
            const bool succeeded = entry.result == TKN::OrvAPI::OrvErrSuccess;
            if (entry.operation == OrvSim::Operation::GetValue && succeeded && selectorNames.contains(feature))
                standingKnown.insert(feature, true);
            if (entry.operation != OrvSim::Operation::SetValue)
                continue;
            if (entry.value.empty())
                return misdirected(entry.text() + " (empty text)");
            if (selectorNames.contains(feature))
                standingKnown.insert(feature, succeeded);
            const QString selector = selectorOf.value(feature);
            if (!selector.isEmpty() && succeeded && !standingKnown.value(selector, true))
                return misdirected(entry.text() + " after a refused " + selector.toStdString());
        }
        return QString();
    }
    void reset()
    {
        page.reset();
        camera.reset();
    }
};

#endif // TRIGGERIOTEST_H
