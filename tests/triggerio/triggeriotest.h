// Shared by the Trigger IO page tests: shipped cameras with a few features
// changed, added or removed, and the camera/page pair under test.
#ifndef TRIGGERIOTEST_H
#define TRIGGERIOTEST_H

#include <iotriggerwidget.h>
#include <testcamera.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <memory>

namespace CameraVariant {

/// Each patch names a feature ("name") and the keys to set on it; a feature
/// the camera lacks is appended, and "remove": true drops it.
inline std::shared_ptr<OrvSim::Camera> load(const QString &fileName, const QJsonArray &patches = {})
{
    const std::string name = fileName.toStdString();
    QFile file(QString::fromStdString(TestCamera::path(name.c_str())));
    if (!file.open(QIODevice::ReadOnly))
        throw OrvSim::LoadError(name, 0, "cannot open");
    QJsonObject camera = QJsonDocument::fromJson(file.readAll()).object();
    QJsonArray features = camera.value("features").toArray();

    for (const QJsonValue &patchValue : patches) {
        const QJsonObject patch = patchValue.toObject();
        int index = 0;
        while (index < features.size() && features.at(index)["name"] != patch["name"])
            ++index;
        if (patch.value("remove").toBool()) {
            if (index < features.size())
                features.removeAt(index);
            continue;
        }
        QJsonObject feature = index < features.size() ? features.at(index).toObject() : QJsonObject();
        for (auto key = patch.begin(); key != patch.end(); ++key)
            feature.insert(key.key(), key.value());
        if (index < features.size())
            features.replace(index, feature);
        else
            features.append(feature);
    }
    camera.insert("features", features);
    return OrvSim::Camera::fromJson(QJsonDocument(camera).toJson().toStdString(), name);
}

/// The same with the patches written as a JSON array.
inline std::shared_ptr<OrvSim::Camera> load(const QString &fileName, const QString &patches)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(patches.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        throw OrvSim::LoadError(fileName.toStdString(), 0, "patches: " + error.errorString().toStdString());
    return load(fileName, document.array());
}

/// "Prefix1".."PrefixN".
inline QStringList numbered(const QString &prefix, int first, int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << prefix + QString::number(first + i);
    return names;
}

} // namespace CameraVariant

/// The camera and the page under test; the page goes first.
struct PageUnderTest
{
    std::shared_ptr<OrvSim::Camera> camera;
    std::unique_ptr<IOTriggerWidget> page;

    IOTriggerWidget *open(const std::shared_ptr<OrvSim::Camera> &newCamera)
    {
        page.reset();
        camera = newCamera;
        page.reset(new IOTriggerWidget(TestCamera::featureList(*camera), nullptr));
        return page.get();
    }
    IOTriggerWidget *open(const QString &file, const QString &patches = QStringLiteral("[]"))
    {
        return open(CameraVariant::load(file, patches));
    }
    /// Lets the construction's notifications pass, then forgets its calls.
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
    void reset()
    {
        page.reset();
        camera.reset();
    }
};

#endif // TRIGGERIOTEST_H
