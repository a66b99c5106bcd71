// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "aravislink.h"

#include "linkcharge.h"

#include <atomic>

namespace {

struct LinkState
{
    std::atomic<double> latencyMs{0};
    std::atomic<unsigned long long> ownThread{0};
    std::atomic<unsigned long long> otherThreads{0};
    std::thread::id owner = std::this_thread::get_id();
};

} // namespace

extern "C" {

typedef struct
{
    ArvDevice parent;
    ArvDevice *inner;
    ArvGc *genicam;
    LinkState *state;
} OrvLinkDevice;

typedef struct
{
    ArvDeviceClass parent;
} OrvLinkDeviceClass;

G_DEFINE_TYPE(OrvLinkDevice, orv_link_device, ARV_TYPE_DEVICE)

} // extern "C"

namespace {

OrvLinkDevice *linkOf(ArvDevice *device)
{
    return G_TYPE_CHECK_INSTANCE_TYPE(device, orv_link_device_get_type())
               ? G_TYPE_CHECK_INSTANCE_CAST(device, orv_link_device_get_type(), OrvLinkDevice)
               : nullptr;
}

void charge(ArvDevice *device)
{
    LinkState &state = *linkOf(device)->state;
    if (std::this_thread::get_id() == state.owner)
        ++state.ownThread;
    else
        ++state.otherThreads;
    OrvSim::LinkCharge::wait(state.latencyMs.load());
}

gboolean readMemory(ArvDevice *device, guint64 address, guint32 size, void *buffer, GError **error)
{
    charge(device);
    return arv_device_read_memory(linkOf(device)->inner, address, size, buffer, error);
}

gboolean writeMemory(ArvDevice *device, guint64 address, guint32 size, void *buffer, GError **error)
{
    charge(device);
    return arv_device_write_memory(linkOf(device)->inner, address, size, buffer, error);
}

gboolean readRegister(ArvDevice *device, guint64 address, guint32 *value, GError **error)
{
    charge(device);
    return arv_device_read_register(linkOf(device)->inner, address, value, error);
}

gboolean writeRegister(ArvDevice *device, guint64 address, guint32 value, GError **error)
{
    charge(device);
    return arv_device_write_register(linkOf(device)->inner, address, value, error);
}

const char *genicamXml(ArvDevice *device, size_t *size)
{
    return arv_device_get_genicam_xml(linkOf(device)->inner, size);
}

ArvGc *genicam(ArvDevice *device)
{
    return linkOf(device)->genicam;
}

ArvStream *createStream(ArvDevice *device, ArvStreamCallback callback, void *user, GDestroyNotify destroy,
                        GError **error)
{
    return arv_device_create_stream_full(linkOf(device)->inner, callback, user, destroy, error);
}

void finalize(GObject *object)
{
    OrvLinkDevice *self = G_TYPE_CHECK_INSTANCE_CAST(object, orv_link_device_get_type(), OrvLinkDevice);
    g_clear_object(&self->genicam);
    g_clear_object(&self->inner);
    delete self->state;
    self->state = nullptr;
    G_OBJECT_CLASS(orv_link_device_parent_class)->finalize(object);
}

} // namespace

extern "C" {

static void orv_link_device_init(OrvLinkDevice *self)
{
    self->inner = nullptr;
    self->genicam = nullptr;
    self->state = new LinkState;
}

static void orv_link_device_class_init(OrvLinkDeviceClass *klass)
{
    G_OBJECT_CLASS(klass)->finalize = finalize;
    ArvDeviceClass *device = ARV_DEVICE_CLASS(klass);
    device->read_memory = readMemory;
    device->write_memory = writeMemory;
    device->read_register = readRegister;
    device->write_register = writeRegister;
    device->get_genicam_xml = genicamXml;
    device->get_genicam = genicam;
    device->create_stream = createStream;
}

} // extern "C"

namespace OrvArv {

ArvDevice *linkDeviceNew(ArvDevice *inner)
{
    auto *self = static_cast<OrvLinkDevice *>(g_object_new(orv_link_device_get_type(), nullptr));
    self->inner = inner;
    size_t size = 0;
    const char *xml = arv_device_get_genicam_xml(inner, &size);
    // Its nodes reach the registers through this device, so through the link.
    self->genicam = arv_gc_new(ARV_DEVICE(self), xml, size);
    return ARV_DEVICE(self);
}

ArvDevice *linkDeviceInner(ArvDevice *device)
{
    OrvLinkDevice *self = linkOf(device);
    return self ? self->inner : nullptr;
}

bool linkDeviceSetLatency(ArvDevice *device, double milliseconds)
{
    OrvLinkDevice *self = linkOf(device);
    if (!self)
        return false;
    self->state->latencyMs = milliseconds;
    return true;
}

bool linkDeviceAccesses(ArvDevice *device, unsigned long long &ownThread, unsigned long long &otherThreads)
{
    OrvLinkDevice *self = linkOf(device);
    if (!self)
        return false;
    ownThread = self->state->ownThread.load();
    otherThreads = self->state->otherThreads.load();
    return true;
}

bool linkDeviceResetAccesses(ArvDevice *device)
{
    OrvLinkDevice *self = linkOf(device);
    if (!self)
        return false;
    self->state->ownThread = 0;
    self->state->otherThreads = 0;
    return true;
}

} // namespace OrvArv
