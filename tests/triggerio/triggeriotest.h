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

/// "file.json", or "file.json [patches]": each patch names a feature and the
/// keys to set on it; a feature the camera lacks is appended, and
/// "remove": true drops it.
inline std::shared_ptr<OrvSim::Camera> load(const QString &camera)
{
    const std::string fileName = camera.section(' ', 0, 0).toStdString();
    QFile file(QString::fromStdString(TestCamera::path(fileName.c_str())));
    QJsonParseError error {};
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
    return OrvSim::Camera::fromJson(QJsonDocument(description).toJson().toStdString(), fileName);
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
    IOTriggerWidget *open(const QString &camera) { return open(CameraVariant::load(camera)); }
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
    void reset()
    {
        page.reset();
        camera.reset();
    }
};

#endif // TRIGGERIOTEST_H
