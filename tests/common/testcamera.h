// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Loading the shipped simulated cameras in tests.
#ifndef TESTCAMERA_H
#define TESTCAMERA_H

#include <OrvikSim.h>
#include <featurelist.h>

#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

namespace TestCamera {

inline std::string path(const char *fileName)
{
    return std::string(ORVIK_CAMERA_DIR) + "/" + fileName;
}

/// Loads cameras/<fileName>; throws OrvSim::LoadError when it cannot.
inline std::shared_ptr<OrvSim::Camera> load(const char *fileName)
{
    return OrvSim::Camera::fromFile(path(fileName));
}

/// The camera's features as a host hands them to a page.
inline CameraFeatureList featureList(const OrvSim::Camera &camera)
{
    CameraFeatureList list(new FeatureVector);
    for (const TKN::OrvAPI::FeaturePtr &feature : camera.features())
        list->append(feature);
    return list;
}

/// The camera's SetValue calls since the journal was last cleared, as
/// "Feature=value", after waiting for pending notifications.
inline QStringList writes(const OrvSim::Camera &camera)
{
    QStringList result;
    for (const std::string &write : camera.writes())
        result << QString::fromStdString(write);
    return result;
}

} // namespace TestCamera

#endif // TESTCAMERA_H
