// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "aravisfeature.h"

#include "aravisdevice.h"
#include "simfeature.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

using namespace TKN::OrvAPI;

namespace OrvArv {

OrvErrorType takeError(GError *error)
{
    if (!error)
        return OrvErrSuccess;
    OrvErrorType code = OrvErrIO;
    if (error->domain == arv_gc_error_quark()) {
        switch (error->code) {
        case ARV_GC_ERROR_OUT_OF_RANGE:
        case ARV_GC_ERROR_ENUM_ENTRY_NOT_FOUND:
        case ARV_GC_ERROR_INVALID_LENGTH: code = OrvErrInvalidValue; break;
        case ARV_GC_ERROR_READ_ONLY: code = OrvErrInvalidAccess; break;
        case ARV_GC_ERROR_NODE_NOT_FOUND: code = OrvErrNotFound; break;
        case ARV_GC_ERROR_SET_FROM_STRING_UNDEFINED:
        case ARV_GC_ERROR_GET_AS_STRING_UNDEFINED: code = OrvErrWrongType; break;
        default: code = OrvErrInternalFault; break;
        }
    } else if (error->domain == arv_device_error_quark()) {
        switch (error->code) {
        case ARV_DEVICE_ERROR_TIMEOUT: code = OrvErrTimeout; break;
        case ARV_DEVICE_ERROR_FEATURE_NOT_FOUND:
        case ARV_DEVICE_ERROR_NOT_FOUND: code = OrvErrNotFound; break;
        case ARV_DEVICE_ERROR_INVALID_PARAMETER: code = OrvErrBadParameter; break;
        case ARV_DEVICE_ERROR_NOT_CONTROLLER: code = OrvErrInvalidAccess; break;
        default: code = OrvErrIO; break;
        }
    }
    g_error_free(error);
    return code;
}

// Holds the device and its lock for one call; answers OrvErrNotAvailable
// once the camera is closed. The arguments name the variables it declares.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define WITH_DEVICE(device, lock)                                                                                      \
    const std::shared_ptr<AravisDevice> device = m_Device.lock();                                                      \
    if (!device)                                                                                                       \
        return OrvErrNotAvailable;                                                                                     \
    std::lock_guard<std::recursive_mutex> lock(device->mutex());                                                       \
    if (!device->device())                                                                                             \
        return OrvErrNotAvailable;
// NOLINTEND(bugprone-macro-parentheses)

OrvFeatureDataType AravisFeature::typeOf(ArvGcNode *node)
{
    // Enumerations also read as integers and strings, registers of numbers
    // as numbers: the most specific kind first.
    if (ARV_IS_GC_ENUMERATION(node))
        return OrvFeatureDataEnum;
    if (ARV_IS_GC_BOOLEAN(node))
        return OrvFeatureDataBool;
    if (ARV_IS_GC_COMMAND(node))
        return OrvFeatureDataCommand;
    if (ARV_IS_GC_FLOAT(node))
        return OrvFeatureDataFloat;
    if (ARV_IS_GC_INTEGER(node))
        return OrvFeatureDataInt;
    if (ARV_IS_GC_STRING(node))
        return OrvFeatureDataString;
    if (ARV_IS_GC_REGISTER(node))
        return OrvFeatureDataRaw;
    return OrvFeatureDataUnknown;
}

AravisFeature::AravisFeature(const std::weak_ptr<AravisDevice> &device, int index, ArvGcNode *node)
    : m_Device(device),
      m_Index(index),
      m_pNode(node),
      m_Name(arv_gc_feature_node_get_name(ARV_GC_FEATURE_NODE(node))),
      m_DisplayName(arv_gc_feature_node_get_display_name(ARV_GC_FEATURE_NODE(node))
                        ? arv_gc_feature_node_get_display_name(ARV_GC_FEATURE_NODE(node))
                        : m_Name),
      m_Type(typeOf(node))
{
    if (m_Type != OrvFeatureDataEnum)
        return;
    // Aravis keeps the entries last-first.
    for (const GSList *entry = arv_gc_enumeration_get_entries(ARV_GC_ENUMERATION(node)); entry; entry = entry->next) {
        auto *entryNode = ARV_GC_FEATURE_NODE(entry->data);
        m_Entries.insert(m_Entries.begin(), arv_gc_feature_node_get_name(entryNode));
        m_EntryNodes.insert(m_EntryNodes.begin(), entryNode);
    }
}

AravisFeature::~AravisFeature() = default;

OrvErrorType AravisFeature::GetName(char *pBuffer, unsigned int &rnLength) const
{
    return OrvSim::SimFeature::copyText(m_Name, pBuffer, rnLength);
}

OrvErrorType AravisFeature::GetDisplayName(char *pBuffer, unsigned int &rnLength) const
{
    return OrvSim::SimFeature::copyText(m_DisplayName, pBuffer, rnLength);
}

OrvErrorType AravisFeature::GetDataType(OrvFeatureDataType &rType) const
{
    rType = m_Type;
    return OrvErrSuccess;
}

OrvErrorType AravisFeature::readText(std::string &text) const
{
    GError *error = nullptr;
    const char *value = nullptr;
    if (m_Type == OrvFeatureDataEnum)
        value = arv_gc_enumeration_get_string_value(ARV_GC_ENUMERATION(m_pNode), &error);
    else if (m_Type == OrvFeatureDataString)
        value = arv_gc_string_get_value(ARV_GC_STRING(m_pNode), &error);
    else
        return OrvErrWrongType;
    const OrvErrorType err = takeError(error);
    if (err == OrvErrSuccess)
        text = value ? value : "";
    return err;
}

OrvErrorType AravisFeature::GetValue(char *pBuffer, unsigned int &rnLength) const
{
    WITH_DEVICE(device, lock)
    std::string text;
    const OrvErrorType err = readText(text);
    return err == OrvErrSuccess ? OrvSim::SimFeature::copyText(text, pBuffer, rnLength) : err;
}

OrvErrorType AravisFeature::GetValue(long long &rnValue) const
{
    if (m_Type != OrvFeatureDataInt)
        return OrvErrWrongType;
    WITH_DEVICE(device, lock)
    GError *error = nullptr;
    const gint64 value = arv_gc_integer_get_value(ARV_GC_INTEGER(m_pNode), &error);
    const OrvErrorType err = takeError(error);
    if (err == OrvErrSuccess)
        rnValue = value;
    return err;
}

OrvErrorType AravisFeature::GetValue(double &rfValue) const
{
    if (m_Type != OrvFeatureDataFloat)
        return OrvErrWrongType;
    WITH_DEVICE(device, lock)
    GError *error = nullptr;
    const double value = arv_gc_float_get_value(ARV_GC_FLOAT(m_pNode), &error);
    const OrvErrorType err = takeError(error);
    if (err == OrvErrSuccess)
        rfValue = value;
    return err;
}

OrvErrorType AravisFeature::GetValue(bool &rbValue) const
{
    if (m_Type != OrvFeatureDataBool)
        return OrvErrWrongType;
    WITH_DEVICE(device, lock)
    GError *error = nullptr;
    const gboolean value = arv_gc_boolean_get_value(ARV_GC_BOOLEAN(m_pNode), &error);
    const OrvErrorType err = takeError(error);
    if (err == OrvErrSuccess)
        rbValue = value != FALSE;
    return err;
}

OrvErrorType AravisFeature::writableNow(bool &writable) const
{
    auto *node = ARV_GC_FEATURE_NODE(m_pNode);
    const ArvGcAccessMode access = arv_gc_feature_node_get_actual_access_mode(node);
    GError *error = nullptr;
    const bool implemented = arv_gc_feature_node_is_implemented(node, &error);
    const bool available = error == nullptr && arv_gc_feature_node_is_available(node, &error);
    const bool locked = error == nullptr && arv_gc_feature_node_is_locked(node, &error);
    const OrvErrorType err = takeError(error);
    if (err == OrvErrSuccess)
        writable =
            (access == ARV_GC_ACCESS_MODE_RW || access == ARV_GC_ACCESS_MODE_WO) && implemented && available && !locked;
    return err;
}

OrvErrorType AravisFeature::checkWritable() const
{
    // Aravis's access check refuses read-only nodes only; a locked or
    // unavailable node is refused here, as the camera would.
    bool writable = false;
    const OrvErrorType err = writableNow(writable);
    if (err != OrvErrSuccess)
        return err;
    return writable ? OrvErrSuccess : OrvErrInvalidAccess;
}

OrvErrorType AravisFeature::checkInteger(long long value) const
{
    GError *error = nullptr;
    auto *node = ARV_GC_INTEGER(m_pNode);
    const gint64 minimum = arv_gc_integer_get_min(node, &error);
    const gint64 maximum = error ? 0 : arv_gc_integer_get_max(node, &error);
    const gint64 increment = error ? 1 : arv_gc_integer_get_inc(node, &error);
    const OrvErrorType err = takeError(error);
    if (err != OrvErrSuccess)
        return err;
    if (value < minimum || value > maximum)
        return OrvErrInvalidValue;
    if (increment > 1 && (value - minimum) % increment != 0)
        return OrvErrInvalidValue;
    return OrvErrSuccess;
}

OrvErrorType AravisFeature::checkEntry(const char *entry) const
{
    for (std::size_t i = 0; i < m_Entries.size(); ++i) {
        if (m_Entries[i] != entry)
            continue;
        GError *error = nullptr;
        const bool available = arv_gc_feature_node_is_implemented(m_EntryNodes[i], &error) && error == nullptr
                               && arv_gc_feature_node_is_available(m_EntryNodes[i], &error);
        const OrvErrorType err = takeError(error);
        if (err != OrvErrSuccess)
            return err;
        return available ? OrvErrSuccess : OrvErrEntryUnavailable;
    }
    return OrvErrInvalidValue;
}

template <class Write>
OrvErrorType AravisFeature::write(OrvFeatureDataType type, Write &&doWrite)
{
    if (m_Type != type)
        return OrvErrWrongType;
    const std::shared_ptr<AravisDevice> device = m_Device.lock();
    if (!device)
        return OrvErrNotAvailable;
    OrvErrorType err;
    {
        std::lock_guard<std::recursive_mutex> lock(device->mutex());
        if (!device->device())
            return OrvErrNotAvailable;
        err = checkWritable();
        if (err == OrvErrSuccess)
            err = doWrite();
        // Even a write of the value already there notifies, as a camera does.
        // Under the lock, so that the poller cannot report it a second time.
        if (err == OrvErrSuccess)
            device->notifyWritten(m_Index);
    }
    return err;
}

OrvErrorType AravisFeature::SetValue(const long long &rnValue)
{
    const long long value = rnValue;
    return write(OrvFeatureDataInt, [this, value]() -> OrvErrorType {
        OrvErrorType err = checkInteger(value);
        if (err != OrvErrSuccess)
            return err;
        GError *error = nullptr;
        arv_gc_integer_set_value(ARV_GC_INTEGER(m_pNode), value, &error);
        return takeError(error);
    });
}

OrvErrorType AravisFeature::SetValue(const double &rfValue)
{
    const double value = rfValue;
    return write(OrvFeatureDataFloat, [this, value]() -> OrvErrorType {
        GError *error = nullptr;
        auto *node = ARV_GC_FLOAT(m_pNode);
        const double minimum = arv_gc_float_get_min(node, &error);
        const double maximum = error ? 0.0 : arv_gc_float_get_max(node, &error);
        OrvErrorType err = takeError(error);
        if (err != OrvErrSuccess)
            return err;
        if (!std::isfinite(value) || value < minimum || value > maximum)
            return OrvErrInvalidValue;
        arv_gc_float_set_value(node, value, &error);
        return takeError(error);
    });
}

OrvErrorType AravisFeature::SetValue(bool bValue)
{
    return write(OrvFeatureDataBool, [this, bValue]() -> OrvErrorType {
        GError *error = nullptr;
        arv_gc_boolean_set_value(ARV_GC_BOOLEAN(m_pNode), bValue ? TRUE : FALSE, &error);
        return takeError(error);
    });
}

OrvErrorType AravisFeature::SetValue(const char *pStrValue)
{
    if (!pStrValue)
        return OrvErrBadParameter;
    const std::string value = pStrValue;
    if (m_Type == OrvFeatureDataEnum) {
        return write(OrvFeatureDataEnum, [this, &value]() -> OrvErrorType {
            const OrvErrorType err = checkEntry(value.c_str());
            if (err != OrvErrSuccess)
                return err;
            GError *error = nullptr;
            arv_gc_enumeration_set_string_value(ARV_GC_ENUMERATION(m_pNode), value.c_str(), &error);
            return takeError(error);
        });
    }
    return write(OrvFeatureDataString, [this, &value]() -> OrvErrorType {
        GError *error = nullptr;
        auto *node = ARV_GC_STRING(m_pNode);
        const gint64 maximum = arv_gc_string_get_max_length(node, &error);
        OrvErrorType err = takeError(error);
        if (err != OrvErrSuccess)
            return err;
        if (maximum > 0 && static_cast<gint64>(value.size()) > maximum)
            return OrvErrInvalidValue;
        arv_gc_string_set_value(node, value.c_str(), &error);
        return takeError(error);
    });
}

OrvErrorType AravisFeature::GetRange(long long &rnMinimum, long long &rnMaximum) const
{
    if (m_Type != OrvFeatureDataInt)
        return OrvErrWrongType;
    WITH_DEVICE(device, lock)
    GError *error = nullptr;
    const gint64 minimum = arv_gc_integer_get_min(ARV_GC_INTEGER(m_pNode), &error);
    const gint64 maximum = error ? 0 : arv_gc_integer_get_max(ARV_GC_INTEGER(m_pNode), &error);
    const OrvErrorType err = takeError(error);
    if (err == OrvErrSuccess) {
        rnMinimum = minimum;
        rnMaximum = maximum;
    }
    return err;
}

OrvErrorType AravisFeature::GetRange(double &rfMinimum, double &rfMaximum) const
{
    if (m_Type != OrvFeatureDataFloat)
        return OrvErrWrongType;
    WITH_DEVICE(device, lock)
    GError *error = nullptr;
    const double minimum = arv_gc_float_get_min(ARV_GC_FLOAT(m_pNode), &error);
    const double maximum = error ? 0.0 : arv_gc_float_get_max(ARV_GC_FLOAT(m_pNode), &error);
    const OrvErrorType err = takeError(error);
    if (err == OrvErrSuccess) {
        rfMinimum = minimum;
        rfMaximum = maximum;
    }
    return err;
}

OrvErrorType AravisFeature::GetIncrement(long long &rnIncrement) const
{
    if (m_Type != OrvFeatureDataInt)
        return OrvErrWrongType;
    WITH_DEVICE(device, lock)
    GError *error = nullptr;
    const gint64 increment = arv_gc_integer_get_inc(ARV_GC_INTEGER(m_pNode), &error);
    const OrvErrorType err = takeError(error);
    if (err == OrvErrSuccess)
        rnIncrement = increment > 0 ? increment : 1;
    return err;
}

OrvErrorType AravisFeature::GetIncrement(double &rfIncrement) const
{
    if (m_Type != OrvFeatureDataFloat)
        return OrvErrWrongType;
    WITH_DEVICE(device, lock)
    GError *error = nullptr;
    const double increment = arv_gc_float_get_inc(ARV_GC_FLOAT(m_pNode), &error);
    const OrvErrorType err = takeError(error);
    // Aravis answers the smallest double for a float without an increment.
    if (err == OrvErrSuccess)
        rfIncrement = increment > DBL_MIN ? increment : 0.0;
    return err;
}

OrvErrorType AravisFeature::GetValues(const char **pStrValues, unsigned int &rnSize) const
{
    if (m_Type != OrvFeatureDataEnum)
        return OrvErrWrongType;
    WITH_DEVICE(device, lock)
    const unsigned int count = static_cast<unsigned int>(m_Entries.size());
    OrvErrorType err = OrvErrSuccess;
    if (pStrValues) {
        const unsigned int filled = std::min(rnSize, count);
        for (unsigned int k = 0; k < filled; ++k)
            pStrValues[k] = m_Entries[k].c_str();
        if (rnSize < count)
            err = OrvErrMoreData;
    }
    rnSize = count;
    return err;
}

OrvErrorType AravisFeature::IsValueAvailable(const char *pStrValue, bool &rbAvailable) const
{
    if (m_Type != OrvFeatureDataEnum)
        return OrvErrWrongType;
    if (!pStrValue)
        return OrvErrBadParameter;
    WITH_DEVICE(device, lock)
    const OrvErrorType err = checkEntry(pStrValue);
    if (err == OrvErrInvalidValue)
        return OrvErrNotFound;
    if (err != OrvErrSuccess && err != OrvErrEntryUnavailable)
        return err;
    rbAvailable = err == OrvErrSuccess;
    return OrvErrSuccess;
}

OrvErrorType AravisFeature::IsWritable(bool &rbWritable) const
{
    WITH_DEVICE(device, lock)
    return writableNow(rbWritable);
}

OrvErrorType AravisFeature::RunCommand()
{
    if (m_Type != OrvFeatureDataCommand)
        return OrvErrWrongType;
    // Acquisition needs the stream set up around the command.
    if (m_Name == "AcquisitionStart" || m_Name == "AcquisitionStop") {
        const std::shared_ptr<AravisDevice> device = m_Device.lock();
        if (!device)
            return OrvErrNotAvailable;
        return m_Name == "AcquisitionStart" ? device->startAcquisition() : device->stopAcquisition();
    }
    return write(OrvFeatureDataCommand, [this]() -> OrvErrorType {
        GError *error = nullptr;
        arv_gc_command_execute(ARV_GC_COMMAND(m_pNode), &error);
        return takeError(error);
    });
}

OrvErrorType AravisFeature::RegisterObserver(const IFeatureObserverPtr &pObserver)
{
    WITH_DEVICE(device, lock)
    const OrvErrorType err = m_Observers.add(pObserver);
    if (err == OrvErrSuccess)
        device->follow(m_Index);
    return err;
}

OrvErrorType AravisFeature::UnregisterObserver(const IFeatureObserverPtr &pObserver)
{
    // Not under the device's lock: this waits for a running delivery, whose
    // observer may be reading a feature.
    const OrvErrorType err = m_Observers.remove(pObserver);
    const std::shared_ptr<AravisDevice> device = m_Device.lock();
    if (!device)
        return OrvErrNotAvailable;
    std::lock_guard<std::recursive_mutex> lock(device->mutex());
    return device->device() ? err : OrvErrNotAvailable;
}

} // namespace OrvArv
