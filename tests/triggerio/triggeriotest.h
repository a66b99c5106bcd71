// Variants of the shipped cameras for the output-row tests: a few features
// changed, added or removed without a file of their own.
#ifndef CAMERAVARIANT_H
#define CAMERAVARIANT_H

#include <testcamera.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace CameraVariant {

/// Each patch names a feature ("name") and the keys to set on it; a feature
/// the camera lacks is appended, and "remove": true drops it.
inline std::shared_ptr<OrvSim::Camera> load(const char *fileName, const QJsonArray &patches)
{
    QFile file(QString::fromStdString(TestCamera::path(fileName)));
    if (!file.open(QIODevice::ReadOnly))
        throw OrvSim::LoadError(fileName, 0, "cannot open");
    QJsonObject camera = QJsonDocument::fromJson(file.readAll()).object();
    QJsonArray features = camera.value("features").toArray();

    for (const QJsonValue &patchValue : patches) {
        const QJsonObject patch = patchValue.toObject();
        const QString name = patch.value("name").toString();
        int index = 0;
        while (index < features.size() && features.at(index).toObject().value("name").toString() != name)
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
    return OrvSim::Camera::fromJson(QJsonDocument(camera).toJson().toStdString(), fileName);
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

#endif // CAMERAVARIANT_H
