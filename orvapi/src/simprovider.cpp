// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The simulated cameras as a provider: descriptions in the camera folder or
// anywhere by path.
#include "cameraprovider.h"

#include "OrvikSim.h"
#include "simcamera.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

using namespace TKN::OrvAPI;

namespace OrvSim {

namespace {

bool isFile(const std::string &path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool endsWith(const std::string &text, const std::string &end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class SimProvider : public CameraProvider
{
public:
    explicit SimProvider(const std::string &folder)
        : m_Folder(folder)
    {
    }

    std::string name() const override { return "sim"; }

    std::vector<CameraInfo> list() const override
    {
        std::vector<std::string> names;
        if (DIR *dir = opendir(m_Folder.c_str())) {
            while (const dirent *entry = readdir(dir)) {
                const std::string file = entry->d_name;
                if (endsWith(file, ".json") && isFile(m_Folder + "/" + file))
                    names.push_back(file.substr(0, file.size() - 5));
            }
            closedir(dir);
        }
        std::sort(names.begin(), names.end());
        std::vector<CameraInfo> cameras;
        cameras.reserve(names.size());
        for (const std::string &cameraName : names)
            cameras.push_back(
                CameraInfo{"sim:" + cameraName, cameraName, "Orvik simulator", m_Folder + "/" + cameraName + ".json"});
        return cameras;
    }

    std::vector<CameraInfo> find() override { return list(); }

    CameraPtr open(const std::string &localId) override
    {
        std::string path = localId;
        std::string id = "sim:" + localId;
        if (!isFile(path)) {
            const std::string file = endsWith(localId, ".json") ? localId : localId + ".json";
            path = m_Folder + "/" + file;
            if (localId.find('/') != std::string::npos || !isFile(path))
                throw OpenError(localId, 0, "no such file, and no " + file + " in " + m_Folder);
            id = "sim:" + file.substr(0, file.size() - 5);
        }
        return std::make_shared<SimCamera>(OrvSim::Camera::fromFile(path), id);
    }

private:
    std::string m_Folder;
};

} // namespace

std::unique_ptr<CameraProvider> makeSimProvider(const std::string &cameraFolder)
{
    return std::unique_ptr<CameraProvider>(new SimProvider(cameraFolder));
}

} // namespace OrvSim
