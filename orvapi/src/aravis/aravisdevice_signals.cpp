// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// AravisDevice: what the Signals and Image docks show of a GenICam camera:
// frames as they arrive from the stream, acquisition on and off, and line
// levels read from LineStatusAll, or LineStatus line by line, a few times a
// second while a client reads the events. Triggers and exposures a GenICam
// camera does not report by itself; polled levels can miss short pulses.
#include "aravisdevice.h"

#include "OrvikFeatureNames.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace TKN::OrvAPI;

namespace OrvArv {

namespace {

// A viewer looks at a few frames a second; copying each one would cost the
// stream thread for nothing.
const long long FrameCopyIntervalUs = 40000;
// Levels are polled while someone read the events this recently.
const long long ReaderTimeoutUs = 2000000;
// Beyond any sensor: such a buffer is not copied for showing.
const std::size_t MaxImageBytes = 256u << 20;

std::string pixelFormatName(ArvPixelFormat format)
{
    static const struct
    {
        ArvPixelFormat format;
        const char *name;
    } names[] = {
        {ARV_PIXEL_FORMAT_MONO_8, "Mono8"},          {ARV_PIXEL_FORMAT_MONO_10, "Mono10"},
        {ARV_PIXEL_FORMAT_MONO_12, "Mono12"},        {ARV_PIXEL_FORMAT_MONO_14, "Mono14"},
        {ARV_PIXEL_FORMAT_MONO_16, "Mono16"},        {ARV_PIXEL_FORMAT_MONO_12_PACKED, "Mono12Packed"},
        {ARV_PIXEL_FORMAT_RGB_8_PACKED, "RGB8"},     {ARV_PIXEL_FORMAT_BGR_8_PACKED, "BGR8"},
        {ARV_PIXEL_FORMAT_BAYER_GR_8, "BayerGR8"},   {ARV_PIXEL_FORMAT_BAYER_RG_8, "BayerRG8"},
        {ARV_PIXEL_FORMAT_BAYER_GB_8, "BayerGB8"},   {ARV_PIXEL_FORMAT_BAYER_BG_8, "BayerBG8"},
        {ARV_PIXEL_FORMAT_BAYER_GR_10, "BayerGR10"}, {ARV_PIXEL_FORMAT_BAYER_RG_10, "BayerRG10"},
        {ARV_PIXEL_FORMAT_BAYER_GB_10, "BayerGB10"}, {ARV_PIXEL_FORMAT_BAYER_BG_10, "BayerBG10"},
        {ARV_PIXEL_FORMAT_BAYER_GR_12, "BayerGR12"}, {ARV_PIXEL_FORMAT_BAYER_RG_12, "BayerRG12"},
        {ARV_PIXEL_FORMAT_BAYER_GB_12, "BayerGB12"}, {ARV_PIXEL_FORMAT_BAYER_BG_12, "BayerBG12"},
        {ARV_PIXEL_FORMAT_BAYER_GR_16, "BayerGR16"}, {ARV_PIXEL_FORMAT_BAYER_RG_16, "BayerRG16"},
        {ARV_PIXEL_FORMAT_BAYER_GB_16, "BayerGB16"}, {ARV_PIXEL_FORMAT_BAYER_BG_16, "BayerBG16"},
    };
    for (const auto &entry : names) {
        if (entry.format == format)
            return entry.name;
    }
    char code[16];
    std::snprintf(code, sizeof(code), "0x%08x", static_cast<unsigned>(format));
    return code;
}

// LineStatusAll has one bit per line: bit n for "Line<n>", else by position.
int bitOf(const std::string &line, int position)
{
    if (line.size() > 4 && line.compare(0, 4, "Line") == 0) {
        char *end = nullptr;
        const long n = std::strtol(line.c_str() + 4, &end, 10);
        if (end && *end == '\0' && n >= 0 && n < 63)
            return static_cast<int>(n);
    }
    return position;
}

} // namespace

long long AravisDevice::signalTime() const
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - m_SignalOrigin)
        .count();
}

void AravisDevice::recordFrame(ArvBuffer *buffer, unsigned long long number)
{
    SignalEvent event;
    event.time = signalTime();
    event.kind = SignalEvent::FrameDelivered;
    event.frame = number;
    event.timestamp = arv_buffer_get_timestamp(buffer);
    m_Signals.append(event);

    std::lock_guard<std::mutex> lock(m_FrameMutex);
    if (m_LastFrameCopy >= 0 && event.time - m_LastFrameCopy < FrameCopyIntervalUs)
        return;
    size_t size = 0;
    const void *data = arv_buffer_get_image_data(buffer, &size);
    if (!data || size > MaxImageBytes)
        return;
    m_LastFrameCopy = event.time;
    m_LatestFrame.frame = number;
    m_LatestFrame.time = event.time;
    m_LatestFrame.timestamp = event.timestamp;
    m_LatestFrame.width = arv_buffer_get_image_width(buffer);
    m_LatestFrame.height = arv_buffer_get_image_height(buffer);
    m_LatestFrame.pixelFormat = pixelFormatName(arv_buffer_get_image_pixel_format(buffer));
    const auto *bytes = static_cast<const unsigned char *>(data);
    m_LatestFrame.data.assign(bytes, bytes + size);
}

void AravisDevice::recordAcquisition(bool active)
{
    SignalEvent event;
    event.time = signalTime();
    event.kind = SignalEvent::AcquisitionActive;
    event.level = active;
    m_Signals.append(event);
}

bool AravisDevice::latestFrame(FrameImage &image)
{
    std::lock_guard<std::mutex> lock(m_FrameMutex);
    if (m_LatestFrame.frame == 0)
        return false;
    image = m_LatestFrame;
    return true;
}

void AravisDevice::findSignalLines()
{
    if (m_SignalLinesFound || !m_pGc)
        return;
    m_SignalLinesFound = true;
    ArvGcNode *selector = arv_gc_get_node(m_pGc, FeatureNames::LineSelector);
    if (!selector || !ARV_IS_GC_ENUMERATION(selector))
        return;
    if (arv_gc_get_node(m_pGc, "LineStatusAll"))
        m_LevelSource = "LineStatusAll";
    else if (arv_gc_get_node(m_pGc, FeatureNames::LineStatus))
        m_LevelSource = FeatureNames::LineStatus;
    else
        return;
    for (const GSList *item = arv_gc_enumeration_get_entries(ARV_GC_ENUMERATION(selector)); item; item = item->next) {
        ArvGcFeatureNode *entry = ARV_GC_FEATURE_NODE(item->data);
        const char *name = arv_gc_feature_node_get_name(entry);
        GError *error = nullptr;
        const bool available = arv_gc_feature_node_is_available(entry, &error);
        if (error)
            g_clear_error(&error);
        // Aravis keeps the entries last-first.
        if (name && available)
            m_SignalLines.insert(m_SignalLines.begin(), name);
    }
    m_LineLevels.assign(m_SignalLines.size(), -1);
}

SignalInfo AravisDevice::signalInfo()
{
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    findSignalLines();
    SignalInfo info;
    info.available = true;
    info.otherLines = m_SignalLines;
    info.levelSource = m_LevelSource;
    if (!m_SignalLines.empty())
        info.levelPollInterval = PollIntervalMs * 1000LL;
    return info;
}

unsigned long long AravisDevice::signalEvents(unsigned long long afterSequence, std::vector<SignalEvent> &events,
                                              std::size_t maxEvents)
{
    m_LastSignalRead.store(signalTime());
    return m_Signals.read(afterSequence, events, maxEvents);
}

void AravisDevice::pollLineLevels()
{
    const long long read = m_LastSignalRead.load();
    if (!m_pDevice || read < 0 || signalTime() - read > ReaderTimeoutUs)
        return;
    findSignalLines();
    if (m_SignalLines.empty())
        return;
    std::vector<int> levels(m_SignalLines.size(), -1);
    GError *error = nullptr;
    if (m_LevelSource == "LineStatusAll") {
        ArvGcNode *all = arv_gc_get_node(m_pGc, "LineStatusAll");
        const gint64 mask = ARV_IS_GC_INTEGER(all) ? arv_gc_integer_get_value(ARV_GC_INTEGER(all), &error) : 0;
        if (!error) {
            for (std::size_t i = 0; i < levels.size(); ++i)
                levels[i] = static_cast<int>((mask >> bitOf(m_SignalLines[i], static_cast<int>(i))) & 1);
        }
        g_clear_error(&error);
    } else {
        // A walk of the selector under the device's lock: no client call sees
        // it moved, and it stands where it stood when the walk ends.
        ArvGcNode *selector = arv_gc_get_node(m_pGc, FeatureNames::LineSelector);
        ArvGcNode *status = arv_gc_get_node(m_pGc, FeatureNames::LineStatus);
        if (!ARV_IS_GC_ENUMERATION(selector) || !ARV_IS_GC_BOOLEAN(status))
            return;
        const char *current = arv_gc_enumeration_get_string_value(ARV_GC_ENUMERATION(selector), &error);
        const std::string remembered = current && !error ? current : "";
        g_clear_error(&error);
        if (remembered.empty())
            return;
        for (std::size_t i = 0; i < levels.size(); ++i) {
            arv_gc_enumeration_set_string_value(ARV_GC_ENUMERATION(selector), m_SignalLines[i].c_str(), &error);
            if (!error) {
                const gboolean high = arv_gc_boolean_get_value(ARV_GC_BOOLEAN(status), &error);
                if (!error)
                    levels[i] = high ? 1 : 0;
            }
            g_clear_error(&error);
        }
        arv_gc_enumeration_set_string_value(ARV_GC_ENUMERATION(selector), remembered.c_str(), &error);
        g_clear_error(&error);
    }
    const long long now = signalTime();
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (levels[i] < 0 || levels[i] == m_LineLevels[i])
            continue;
        m_LineLevels[i] = levels[i];
        SignalEvent event;
        event.time = now;
        event.kind = SignalEvent::LineLevel;
        event.source = m_SignalLines[i];
        event.level = levels[i] != 0;
        event.detail = "polled";
        m_Signals.append(event);
    }
}

} // namespace OrvArv
