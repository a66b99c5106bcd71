// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// AravisDevice: acquisition through an Aravis stream, counting the frames
// that arrive.
#include "aravisdevice.h"

#include "OrvikFeatureNames.h"

#include "aravisfeature.h"

using namespace TKN::OrvAPI;

namespace OrvArv {

namespace {

// Enough for the stream to keep going while one buffer is handed back.
const int StreamBuffers = 4;

} // namespace

void AravisDevice::onStreamEvent(void *user, ArvStreamCallbackType type, ArvBuffer *buffer)
{
    // Runs on Aravis's stream thread: only the stream's queues, never the device.
    auto *self = static_cast<AravisDevice *>(user);
    if (type != ARV_STREAM_CALLBACK_TYPE_BUFFER_DONE || !buffer)
        return;
    if (arv_buffer_get_status(buffer) == ARV_BUFFER_STATUS_SUCCESS)
        self->recordFrame(buffer, ++self->m_FrameCount);
    ArvStream *stream = self->m_pStream.load();
    if (!stream)
        return;
    // The finished buffer reaches the output queue after this callback:
    // recycle those that are there already.
    while (ArvBuffer *done = arv_stream_try_pop_buffer(stream))
        arv_stream_push_buffer(stream, done);
}

OrvErrorType AravisDevice::startAcquisition()
{
    OrvErrorType err = OrvErrSuccess;
    {
        std::lock_guard<std::recursive_mutex> lock(m_Mutex);
        if (!m_pDevice)
            return OrvErrNotAvailable;
        if (m_Acquiring)
            return OrvErrSuccess;
        GError *error = nullptr;
        if (!m_pCamera)
            m_pCamera = arv_camera_new_with_device(m_pDevice, &error);
        if (!m_pCamera)
            return takeError(error);
        const guint payload = arv_camera_get_payload(m_pCamera, &error);
        ArvStream *stream =
            error ? nullptr : arv_camera_create_stream(m_pCamera, &AravisDevice::onStreamEvent, this, &error);
        if (!stream)
            return error ? takeError(error) : OrvErrResources;
        m_pStream.store(stream);
        for (int i = 0; i < StreamBuffers; ++i)
            arv_stream_push_buffer(stream, arv_buffer_new_allocate(payload));
        arv_camera_start_acquisition(m_pCamera, &error);
        err = takeError(error);
        if (err != OrvErrSuccess) {
            stopStream();
            return err;
        }
        m_Acquiring = true;
        recordAcquisition(true);
        const auto found = m_IndexByName.find(FeatureNames::AcquisitionStart);
        if (found != m_IndexByName.end())
            notifyWritten(found->second);
    }
    return err;
}

OrvErrorType AravisDevice::stopAcquisition()
{
    OrvErrorType err;
    {
        std::lock_guard<std::recursive_mutex> lock(m_Mutex);
        if (!m_pDevice)
            return OrvErrNotAvailable;
        err = stopStream();
        const auto found = m_IndexByName.find(FeatureNames::AcquisitionStop);
        if (err == OrvErrSuccess && found != m_IndexByName.end())
            notifyWritten(found->second);
    }
    return err;
}

OrvErrorType AravisDevice::stopStream()
{
    OrvErrorType err = OrvErrSuccess;
    if (m_Acquiring && m_pCamera) {
        GError *error = nullptr;
        arv_camera_stop_acquisition(m_pCamera, &error);
        err = takeError(error);
    }
    if (m_Acquiring)
        recordAcquisition(false);
    m_Acquiring = false;
    if (ArvStream *stream = m_pStream.exchange(nullptr)) {
        // Ends the stream thread and frees its buffers.
        g_object_unref(stream);
    }
    return err;
}

bool AravisDevice::isAcquiring()
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    return m_Acquiring;
}

} // namespace OrvArv
