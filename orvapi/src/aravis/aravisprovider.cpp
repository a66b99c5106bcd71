// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// The Aravis provider: GenICam cameras (GigE Vision, USB3 Vision) and
// Aravis's in-process fake camera.
#include "cameraprovider.h"

#include "OrvikAravis.h"
#include "araviscamera.h"
#include "aravisdevice.h"
#include "aravisfeature.h"
#include "aravislink.h"

#include <arv.h>

#include <sys/stat.h>

#include <mutex>

using namespace TKN::OrvAPI;

namespace OrvArv {

namespace {

// Aravis's device list and the fake camera's description name are process-wide.
std::mutex s_SystemMutex;

const char FakePrefix[] = "Aravis-Fake-";
const char FakeSerial[] = "ORV01";
const char FakeDescription[] = "genicam/orvik-fake.xml";

bool isFile(const std::string &path)
{
    struct stat info
    {
    };
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string errorText(GError *error)
{
    std::string text = error && error->message ? error->message : "unknown error";
    if (error)
        g_error_free(error);
    return text;
}

CameraPtr openDevice(ArvDevice *device, const std::string &id)
{
    return std::make_shared<AravisCamera>(AravisDevice::create(device, id));
}

class AravisProvider : public OrvSim::CameraProvider
{
public:
    explicit AravisProvider(const std::string &folder)
        : m_Description(folder + "/" + FakeDescription)
    {
    }

    std::string name() const override { return "aravis"; }

    std::vector<CameraInfo> list() const override
    {
        if (!isFile(m_Description))
            return {};
        return {CameraInfo{std::string("aravis:") + FakePrefix + FakeSerial, "OrvikFake", "Aravis",
                           "in-process fake camera, " + m_Description}};
    }

    std::vector<CameraInfo> find() override
    {
        std::vector<CameraInfo> cameras;
        std::lock_guard<std::mutex> lock(s_SystemMutex);
        arv_update_device_list();
        for (unsigned int i = 0; i < arv_get_n_devices(); ++i) {
            auto text = [](const char *value) { return std::string(value ? value : ""); };
            cameras.push_back(CameraInfo{"aravis:" + text(arv_get_device_id(i)), text(arv_get_device_model(i)),
                                         text(arv_get_device_vendor(i)),
                                         text(arv_get_device_protocol(i)) + " " + text(arv_get_device_address(i))});
        }
        return cameras;
    }

    CameraPtr open(const std::string &localId) override
    {
        const std::string prefix = FakePrefix;
        if (localId.compare(0, prefix.size(), prefix) == 0) {
            if (!isFile(m_Description))
                throw OpenError(m_Description, 0, "the fake camera's GenICam description is missing");
            return openFakeCamera(localId.substr(prefix.size()), m_Description);
        }
        GError *error = nullptr;
        ArvDevice *device = nullptr;
        {
            std::lock_guard<std::mutex> lock(s_SystemMutex);
            device = arv_open_device(localId.c_str(), &error);
        }
        if (!device)
            throw OpenError("aravis:" + localId, 0, errorText(error));
        return openDevice(device, localId);
    }

private:
    std::string m_Description;
};

} // namespace

namespace {

ArvDevice *newFakeDevice(const std::string &serial, const std::string &genicamFile)
{
    if (!genicamFile.empty() && !isFile(genicamFile))
        throw OpenError(genicamFile, 0, "no such GenICam description");
    GError *error = nullptr;
    ArvDevice *device = nullptr;
    {
        std::lock_guard<std::mutex> lock(s_SystemMutex);
        arv_set_fake_camera_genicam_filename(genicamFile.empty() ? nullptr : genicamFile.c_str());
        device = arv_fake_device_new(serial.c_str(), &error);
        arv_set_fake_camera_genicam_filename(nullptr);
    }
    if (!device)
        throw OpenError(FakePrefix + serial, 0, errorText(error));
    return device;
}

/// The link device of a camera from openFakeCameraOnLink, with the device's lock held.
template <class Action>
bool withLink(const CameraPtr &camera, Action &&action)
{
    bool done = false;
    withDevice(camera, [&](ArvDevice *device) {
        if (device && linkDeviceInner(device))
            done = action(device);
    });
    return done;
}

} // namespace

CameraPtr openFakeCamera(const std::string &serial, const std::string &genicamFile)
{
    return openDevice(newFakeDevice(serial, genicamFile), FakePrefix + serial);
}

CameraPtr openFakeCameraOnLink(const std::string &serial, const std::string &genicamFile)
{
    return openDevice(linkDeviceNew(newFakeDevice(serial, genicamFile)), FakePrefix + serial);
}

bool setFakeLink(const CameraPtr &camera, double latencyMs, bool registerCache)
{
    return withLink(camera, [&](ArvDevice *device) {
        arv_device_set_register_cache_policy(device, registerCache ? ARV_REGISTER_CACHE_POLICY_ENABLE
                                                                   : ARV_REGISTER_CACHE_POLICY_DISABLE);
        return linkDeviceSetLatency(device, latencyMs);
    });
}

bool fakeLinkAccesses(const CameraPtr &camera, unsigned long long &openingThread, unsigned long long &otherThreads)
{
    return withLink(camera, [&](ArvDevice *device) { return linkDeviceAccesses(device, openingThread, otherThreads); });
}

bool resetFakeLinkAccesses(const CameraPtr &camera)
{
    return withLink(camera, [](ArvDevice *device) { return linkDeviceResetAccesses(device); });
}

bool writeFakeRegister(const CameraPtr &camera, unsigned int address, unsigned int value)
{
    return withLink(camera, [&](ArvDevice *device) {
        ArvDevice *inner = linkDeviceInner(device);
        return ARV_IS_FAKE_DEVICE(inner)
               && arv_fake_camera_write_register(arv_fake_device_get_fake_camera(ARV_FAKE_DEVICE(inner)), address,
                                                 value);
    });
}

void withDevice(const CameraPtr &camera, const std::function<void(_ArvDevice *)> &action)
{
    const auto *aravisCamera = dynamic_cast<const AravisCamera *>(camera.get());
    if (!aravisCamera) {
        action(nullptr);
        return;
    }
    std::lock_guard<std::recursive_mutex> lock(aravisCamera->device()->mutex());
    action(aravisCamera->device()->device());
}

} // namespace OrvArv

namespace OrvSim {

std::unique_ptr<CameraProvider> makeAravisProvider(const std::string &cameraFolder)
{
    return std::unique_ptr<CameraProvider>(new OrvArv::AravisProvider(cameraFolder));
}

} // namespace OrvSim
