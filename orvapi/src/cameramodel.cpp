#include "cameramodel.h"

#include "notificationdispatcher.h"
#include "simfeature.h"
#include "valuetext.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace TKN::OrvAPI;

namespace OrvSim {

namespace {

// Enough for hours of a viewer refreshing a page; the oldest calls go first.
const std::size_t JournalLimit = 200000;

bool contains(const std::vector<int> &list, int value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

void appendOnce(std::vector<int> &list, int value)
{
    if (!contains(list, value))
        list.push_back(value);
}

void collectReadFeatures(const Condition &condition, std::vector<int> &features)
{
    if (condition.feature >= 0)
        appendOnce(features, condition.feature);
    for (const Condition &child : condition.children)
        collectReadFeatures(child, features);
}

} // namespace

std::string Incoming::text() const
{
    switch (kind) {
    case Kind::Integer:
        return std::to_string(i);
    case Kind::Float:
        return doubleText(f);
    case Kind::Bool:
        return boolText(b);
    case Kind::Text:
        break;
    }
    return s;
}

CameraModel::~CameraModel()
{
    for (const FeaturePtr &feature : m_Features)
        static_cast<SimFeature *>(feature.get())->observers().close();
}

void CameraModel::createFeatures()
{
    const int count = static_cast<int>(m_Definitions.size());
    m_Values = m_StartValues;
    m_CommandCounts.assign(count, 0);
    m_NotifyOnChange.assign(count, std::vector<int>());

    // A change of f is seen by f, by what f selects, and by every feature whose
    // rules read one of those (GenICam invalidators).
    std::vector<std::vector<int>> readers(count);
    for (int f = 0; f < count; ++f) {
        std::vector<int> read;
        collectReadFeatures(m_Definitions[f].writable, read);
        for (const Condition &available : m_Definitions[f].entryAvailable)
            collectReadFeatures(available, read);
        for (int r : read)
            appendOnce(readers[r], f);
        if (m_Definitions[f].lockedWhileAcquiring)
            m_LockedFeatures.push_back(f);
    }
    for (int f = 0; f < count; ++f) {
        std::vector<int> &notify = m_NotifyOnChange[f];
        notify.push_back(f);
        for (int selected : m_Definitions[f].selects)
            appendOnce(notify, selected);
        const std::size_t changed = notify.size();
        for (std::size_t k = 0; k < changed; ++k) {
            const std::vector<int> &dependents = readers[notify[k]];
            for (int dependent : dependents)
                appendOnce(notify, dependent);
        }
    }

    std::weak_ptr<CameraModel> self = shared_from_this();
    m_Features.reserve(count);
    for (int f = 0; f < count; ++f)
        m_Features.emplace_back(new SimFeature(self, f, m_Definitions[f].name, m_Definitions[f].entries));
}

int CameraModel::indexOf(const std::string &name) const
{
    const auto found = m_IndexByName.find(name);
    return found == m_IndexByName.end() ? -1 : found->second;
}

OrvErrorType CameraModel::injected(int f, Operation operation)
{
    if (m_Failures.empty())
        return OrvErrSuccess;
    const auto found = m_Failures.find(std::make_pair(f, static_cast<int>(operation)));
    if (found == m_Failures.end())
        return OrvErrSuccess;
    const OrvErrorType code = found->second.code;
    if (found->second.remaining > 0 && --found->second.remaining == 0)
        m_Failures.erase(found);
    return code;
}

void CameraModel::record(Operation operation, int f, std::string value, OrvErrorType result)
{
    if (!m_Journaling)
        return;
    if (m_Journal.size() >= JournalLimit)
        m_Journal.pop_front();
    m_Journal.push_back(JournalEntry{operation, m_Definitions[f].name, std::move(value), result,
                                     NotificationDispatcher::isNotificationThread()});
}

int CameraModel::currentEntry(int f) const
{
    const int selector = m_Definitions[f].selector;
    return selector < 0 ? 0 : static_cast<int>(m_Values[selector][0].i);
}

std::string CameraModel::valueText(int f, int entry) const
{
    const FeatureDefinition &definition = m_Definitions[f];
    const Slot &slot = m_Values[f][definition.selector < 0 ? 0 : entry];
    switch (definition.type) {
    case OrvFeatureDataInt:
        return std::to_string(slot.i);
    case OrvFeatureDataFloat:
        return doubleText(slot.f);
    case OrvFeatureDataBool:
        return boolText(slot.b);
    case OrvFeatureDataEnum:
        return definition.entries[slot.i];
    case OrvFeatureDataString:
        return slot.s;
    default:
        return std::string();
    }
}

bool CameraModel::evaluate(const Condition &condition, int owner) const
{
    switch (condition.kind) {
    case Condition::Kind::Constant:
        return condition.constant;
    case Condition::Kind::Is:
    case Condition::Kind::IsNot:
    case Condition::Kind::In: {
        const int entry = condition.entry >= 0 ? condition.entry : currentEntry(condition.feature);
        const std::string value = valueText(condition.feature, entry);
        const bool found = std::find(condition.texts.begin(), condition.texts.end(), value) != condition.texts.end();
        return condition.kind == Condition::Kind::IsNot ? !found : found;
    }
    case Condition::Kind::SelectorEntry:
        return contains(condition.entries, currentEntry(owner));
    case Condition::Kind::All:
        for (const Condition &child : condition.children)
            if (!evaluate(child, owner))
                return false;
        return true;
    case Condition::Kind::Any:
        for (const Condition &child : condition.children)
            if (evaluate(child, owner))
                return true;
        return false;
    case Condition::Kind::Not:
        return !evaluate(condition.children.front(), owner);
    }
    return false;
}

bool CameraModel::writableNow(int f) const
{
    const FeatureDefinition &definition = m_Definitions[f];
    if (definition.lockedWhileAcquiring && m_Acquiring)
        return false;
    return evaluate(definition.writable, f);
}

OrvErrorType CameraModel::store(int f, int entry, const Incoming &value, bool checkAvailability)
{
    const FeatureDefinition &definition = m_Definitions[f];
    Slot &slot = m_Values[f][definition.selector < 0 ? 0 : entry];
    switch (definition.type) {
    case OrvFeatureDataInt: {
        if (value.kind != Incoming::Kind::Integer)
            return OrvErrWrongType;
        if (value.i < definition.intMin || value.i > definition.intMax)
            return OrvErrInvalidValue;
        // Unsigned difference: min and max may span the whole 64-bit range.
        const unsigned long long offset = static_cast<unsigned long long>(value.i) - static_cast<unsigned long long>(definition.intMin);
        if (offset % static_cast<unsigned long long>(definition.intInc) != 0)
            return OrvErrInvalidValue;
        slot.i = value.i;
        return OrvErrSuccess;
    }
    case OrvFeatureDataFloat: {
        if (value.kind != Incoming::Kind::Float)
            return OrvErrWrongType;
        if (std::isnan(value.f) || value.f < definition.floatMin || value.f > definition.floatMax)
            return OrvErrInvalidValue;
        if (definition.floatInc > 0) {
            const double steps = (value.f - definition.floatMin) / definition.floatInc;
            if (std::fabs(steps - std::round(steps)) > 1e-6)
                return OrvErrInvalidValue;
        }
        slot.f = value.f;
        return OrvErrSuccess;
    }
    case OrvFeatureDataBool:
        if (value.kind != Incoming::Kind::Bool)
            return OrvErrWrongType;
        slot.b = value.b;
        return OrvErrSuccess;
    case OrvFeatureDataEnum: {
        if (value.kind != Incoming::Kind::Text)
            return OrvErrWrongType;
        const auto found = std::find(definition.entries.begin(), definition.entries.end(), value.s);
        if (found == definition.entries.end())
            return OrvErrInvalidValue;
        const int index = static_cast<int>(found - definition.entries.begin());
        if (checkAvailability && !evaluate(definition.entryAvailable[index], f))
            return OrvErrEntryUnavailable;
        slot.i = index;
        return OrvErrSuccess;
    }
    case OrvFeatureDataString:
        if (value.kind != Incoming::Kind::Text)
            return OrvErrWrongType;
        slot.s = value.s;
        return OrvErrSuccess;
    default:
        return OrvErrWrongType;
    }
}

void CameraModel::post(const std::vector<int> &features) const
{
    if (features.empty())
        return;
    std::vector<NotificationDispatcher::Item> items;
    items.reserve(features.size());
    for (int f : features) {
        SimFeature *feature = static_cast<SimFeature *>(m_Features[f].get());
        std::vector<std::uint64_t> recipients = feature->observers().registrations();
        if (!recipients.empty())
            items.push_back(NotificationDispatcher::Item{m_Features[f], &feature->observers(), std::move(recipients)});
    }
    NotificationDispatcher::instance().post(std::move(items));
}

OrvErrorType CameraModel::getName(int f, char *pBuffer, unsigned int &rnLength)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    OrvErrorType err = injected(f, Operation::GetName);
    if (err == OrvErrSuccess)
        err = SimFeature::copyText(m_Definitions[f].name, pBuffer, rnLength);
    if (pBuffer || err != OrvErrSuccess)
        record(Operation::GetName, f, std::string(), err);
    return err;
}

OrvErrorType CameraModel::getDisplayName(int f, char *pBuffer, unsigned int &rnLength)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    OrvErrorType err = injected(f, Operation::GetDisplayName);
    if (err == OrvErrSuccess)
        err = SimFeature::copyText(m_Definitions[f].displayName, pBuffer, rnLength);
    if (pBuffer || err != OrvErrSuccess)
        record(Operation::GetDisplayName, f, std::string(), err);
    return err;
}

OrvErrorType CameraModel::getDataType(int f, OrvFeatureDataType &rType)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    const OrvErrorType err = injected(f, Operation::GetDataType);
    if (err == OrvErrSuccess)
        rType = m_Definitions[f].type;
    record(Operation::GetDataType, f, std::string(), err);
    return err;
}

OrvErrorType CameraModel::getText(int f, char *pBuffer, unsigned int &rnLength)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    OrvErrorType err = injected(f, Operation::GetValue);
    std::string text;
    if (err == OrvErrSuccess) {
        const OrvFeatureDataType type = m_Definitions[f].type;
        if (type != OrvFeatureDataEnum && type != OrvFeatureDataString) {
            err = OrvErrWrongType;
        } else {
            text = valueText(f, currentEntry(f));
            err = SimFeature::copyText(text, pBuffer, rnLength);
        }
    }
    if (pBuffer || err != OrvErrSuccess)
        record(Operation::GetValue, f, err == OrvErrSuccess ? text : std::string(), err);
    return err;
}

OrvErrorType CameraModel::getInteger(int f, long long &rnValue)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    OrvErrorType err = injected(f, Operation::GetValue);
    if (err == OrvErrSuccess && m_Definitions[f].type != OrvFeatureDataInt)
        err = OrvErrWrongType;
    if (err == OrvErrSuccess)
        rnValue = m_Values[f][currentEntry(f)].i;
    record(Operation::GetValue, f, err == OrvErrSuccess ? std::to_string(rnValue) : std::string(), err);
    return err;
}

OrvErrorType CameraModel::getFloat(int f, double &rfValue)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    OrvErrorType err = injected(f, Operation::GetValue);
    if (err == OrvErrSuccess && m_Definitions[f].type != OrvFeatureDataFloat)
        err = OrvErrWrongType;
    if (err == OrvErrSuccess)
        rfValue = m_Values[f][currentEntry(f)].f;
    record(Operation::GetValue, f, err == OrvErrSuccess ? doubleText(rfValue) : std::string(), err);
    return err;
}

OrvErrorType CameraModel::getBool(int f, bool &rbValue)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    OrvErrorType err = injected(f, Operation::GetValue);
    if (err == OrvErrSuccess && m_Definitions[f].type != OrvFeatureDataBool)
        err = OrvErrWrongType;
    if (err == OrvErrSuccess)
        rbValue = m_Values[f][currentEntry(f)].b;
    record(Operation::GetValue, f, err == OrvErrSuccess ? boolText(rbValue) : std::string(), err);
    return err;
}

OrvErrorType CameraModel::setValue(int f, const Incoming &value)
{
    OrvErrorType err;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        err = injected(f, Operation::SetValue);
        if (err == OrvErrSuccess) {
            const OrvFeatureDataType type = m_Definitions[f].type;
            const bool fits = (value.kind == Incoming::Kind::Integer && type == OrvFeatureDataInt)
                              || (value.kind == Incoming::Kind::Float && type == OrvFeatureDataFloat)
                              || (value.kind == Incoming::Kind::Bool && type == OrvFeatureDataBool)
                              || (value.kind == Incoming::Kind::Text
                                  && (type == OrvFeatureDataEnum || type == OrvFeatureDataString));
            if (!fits)
                err = OrvErrWrongType;
            else if (!writableNow(f))
                err = OrvErrInvalidAccess;
            else
                err = store(f, currentEntry(f), value, true);
        }
        record(Operation::SetValue, f, value.text(), err);
    }
    // Even a write of the value already there notifies, as a camera does.
    if (err == OrvErrSuccess) {
        post(m_NotifyOnChange[f]);
        tellChanged(f);
    }
    return err;
}

OrvErrorType CameraModel::getIntegerRange(int f, long long &rnMinimum, long long &rnMaximum)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    OrvErrorType err = injected(f, Operation::GetRange);
    if (err == OrvErrSuccess && m_Definitions[f].type != OrvFeatureDataInt)
        err = OrvErrWrongType;
    if (err == OrvErrSuccess) {
        rnMinimum = m_Definitions[f].intMin;
        rnMaximum = m_Definitions[f].intMax;
    }
    record(Operation::GetRange, f, std::string(), err);
    return err;
}

OrvErrorType CameraModel::getFloatRange(int f, double &rfMinimum, double &rfMaximum)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    OrvErrorType err = injected(f, Operation::GetRange);
    if (err == OrvErrSuccess && m_Definitions[f].type != OrvFeatureDataFloat)
        err = OrvErrWrongType;
    if (err == OrvErrSuccess) {
        rfMinimum = m_Definitions[f].floatMin;
        rfMaximum = m_Definitions[f].floatMax;
    }
    record(Operation::GetRange, f, std::string(), err);
    return err;
}

OrvErrorType CameraModel::getIntegerIncrement(int f, long long &rnIncrement)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    OrvErrorType err = injected(f, Operation::GetIncrement);
    if (err == OrvErrSuccess && m_Definitions[f].type != OrvFeatureDataInt)
        err = OrvErrWrongType;
    if (err == OrvErrSuccess)
        rnIncrement = m_Definitions[f].intInc;
    record(Operation::GetIncrement, f, std::string(), err);
    return err;
}

OrvErrorType CameraModel::getFloatIncrement(int f, double &rfIncrement)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    OrvErrorType err = injected(f, Operation::GetIncrement);
    if (err == OrvErrSuccess && m_Definitions[f].type != OrvFeatureDataFloat)
        err = OrvErrWrongType;
    if (err == OrvErrSuccess)
        rfIncrement = m_Definitions[f].floatInc;
    record(Operation::GetIncrement, f, std::string(), err);
    return err;
}

OrvErrorType CameraModel::getValues(int f, const std::vector<std::string> &entries, const char **pStrValues,
                                    unsigned int &rnSize)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    OrvErrorType err = injected(f, Operation::GetValues);
    if (err == OrvErrSuccess && m_Definitions[f].type != OrvFeatureDataEnum)
        err = OrvErrWrongType;
    if (err == OrvErrSuccess) {
        const unsigned int count = static_cast<unsigned int>(entries.size());
        if (pStrValues) {
            const unsigned int filled = std::min(rnSize, count);
            for (unsigned int k = 0; k < filled; ++k)
                pStrValues[k] = entries[k].c_str();
            if (rnSize < count)
                err = OrvErrMoreData;
        }
        rnSize = count;
    }
    if (pStrValues || err != OrvErrSuccess)
        record(Operation::GetValues, f, std::string(), err);
    return err;
}

OrvErrorType CameraModel::isValueAvailable(int f, const char *pStrValue, bool &rbAvailable)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    const std::string entry = pStrValue ? pStrValue : "";
    OrvErrorType err = injected(f, Operation::IsValueAvailable);
    const FeatureDefinition &definition = m_Definitions[f];
    if (err == OrvErrSuccess && definition.type != OrvFeatureDataEnum)
        err = OrvErrWrongType;
    if (err == OrvErrSuccess && !pStrValue)
        err = OrvErrBadParameter;
    if (err == OrvErrSuccess) {
        const auto found = std::find(definition.entries.begin(), definition.entries.end(), entry);
        if (found == definition.entries.end())
            err = OrvErrNotFound;
        else
            rbAvailable = evaluate(definition.entryAvailable[found - definition.entries.begin()], f);
    }
    record(Operation::IsValueAvailable, f, entry, err);
    return err;
}

OrvErrorType CameraModel::isWritable(int f, bool &rbWritable)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    const OrvErrorType err = injected(f, Operation::IsWritable);
    if (err == OrvErrSuccess)
        rbWritable = writableNow(f);
    record(Operation::IsWritable, f, std::string(), err);
    return err;
}

OrvErrorType CameraModel::runCommand(int f)
{
    OrvErrorType err;
    std::vector<int> notify;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        err = injected(f, Operation::RunCommand);
        if (err == OrvErrSuccess && m_Definitions[f].type != OrvFeatureDataCommand)
            err = OrvErrWrongType;
        if (err == OrvErrSuccess && !writableNow(f))
            err = OrvErrInvalidAccess;
        if (err == OrvErrSuccess) {
            ++m_CommandCounts[f];
            notify.push_back(f);
            const std::string &name = m_Definitions[f].name;
            const bool start = name == "AcquisitionStart";
            if ((start || name == "AcquisitionStop") && m_Acquiring != start) {
                m_Acquiring = start;
                for (int locked : m_LockedFeatures)
                    appendOnce(notify, locked);
            }
        }
        record(Operation::RunCommand, f, std::string(), err);
    }
    post(notify);
    if (err == OrvErrSuccess) {
        if (const std::shared_ptr<ModelListener> listener = m_Listener.lock())
            listener->commandRan(f);
    }
    return err;
}

OrvErrorType CameraModel::beginObserverCall(int f, Operation operation)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    const OrvErrorType err = injected(f, operation);
    if (err != OrvErrSuccess)
        record(operation, f, std::string(), err);
    return err;
}

void CameraModel::endObserverCall(int f, Operation operation, OrvErrorType result)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    record(operation, f, std::string(), result);
}

OrvErrorType CameraModel::setFromCamera(const std::string &feature, const std::string &value,
                                        const std::string &selectorEntry)
{
    const int f = indexOf(feature);
    if (f < 0)
        return OrvErrNotFound;
    const FeatureDefinition &definition = m_Definitions[f];
    Incoming incoming(Incoming::Kind::Text);
    incoming.s = value;
    switch (definition.type) {
    case OrvFeatureDataInt:
        incoming.kind = Incoming::Kind::Integer;
        if (!parseInteger(value, incoming.i))
            return OrvErrInvalidValue;
        break;
    case OrvFeatureDataFloat:
        incoming.kind = Incoming::Kind::Float;
        if (!parseDouble(value, incoming.f))
            return OrvErrInvalidValue;
        break;
    case OrvFeatureDataBool:
        incoming.kind = Incoming::Kind::Bool;
        if (!parseBool(value, incoming.b))
            return OrvErrInvalidValue;
        break;
    case OrvFeatureDataEnum:
    case OrvFeatureDataString:
        break;
    default:
        return OrvErrWrongType;
    }
    OrvErrorType err;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        int entry = currentEntry(f);
        if (!selectorEntry.empty()) {
            if (definition.selector < 0)
                return OrvErrBadParameter;
            const std::vector<std::string> &entries = m_Definitions[definition.selector].entries;
            const auto found = std::find(entries.begin(), entries.end(), selectorEntry);
            if (found == entries.end())
                return OrvErrNotFound;
            entry = static_cast<int>(found - entries.begin());
        }
        err = store(f, entry, incoming, false);
    }
    if (err == OrvErrSuccess) {
        post(m_NotifyOnChange[f]);
        tellChanged(f);
    }
    return err;
}

OrvErrorType CameraModel::setBitsFromCamera(const std::string &feature, long long bits, long long mask)
{
    const int f = indexOf(feature);
    if (f < 0)
        return OrvErrNotFound;
    if (m_Definitions[f].type != OrvFeatureDataInt || m_Definitions[f].selector >= 0)
        return OrvErrWrongType;
    OrvErrorType err;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        Incoming incoming(Incoming::Kind::Integer);
        incoming.i = (m_Values[f][0].i & ~mask) | (bits & mask);
        err = store(f, 0, incoming, false);
    }
    if (err == OrvErrSuccess) {
        post(m_NotifyOnChange[f]);
        tellChanged(f);
    }
    return err;
}

void CameraModel::tellChanged(int f) const
{
    if (const std::shared_ptr<ModelListener> listener = m_Listener.lock())
        listener->valueChanged(f);
}

std::string CameraModel::valueOf(const std::string &feature, const std::string &selectorEntry) const
{
    const int f = indexOf(feature);
    if (f < 0)
        return std::string();
    std::lock_guard<std::mutex> lock(m_Mutex);
    const FeatureDefinition &definition = m_Definitions[f];
    int entry = currentEntry(f);
    if (!selectorEntry.empty() && definition.selector >= 0) {
        const std::vector<std::string> &entries = m_Definitions[definition.selector].entries;
        const auto found = std::find(entries.begin(), entries.end(), selectorEntry);
        if (found == entries.end())
            return std::string();
        entry = static_cast<int>(found - entries.begin());
    }
    return valueText(f, entry);
}

void CameraModel::injectFailure(const std::string &feature, Operation operation, OrvErrorType code, int count)
{
    const int f = indexOf(feature);
    if (f < 0 || count == 0)
        return;
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Failures[std::make_pair(f, static_cast<int>(operation))] = Failure{code, count < 0 ? -1 : count};
}

void CameraModel::clearFailures()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Failures.clear();
}

std::vector<JournalEntry> CameraModel::journal() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return std::vector<JournalEntry>(m_Journal.begin(), m_Journal.end());
}

std::vector<std::string> CameraModel::writes() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    std::vector<std::string> result;
    for (const JournalEntry &entry : m_Journal)
        if (entry.operation == Operation::SetValue && !entry.fromNotificationThread)
            result.push_back(entry.feature + "=" + entry.value);
    return result;
}

void CameraModel::clearJournal()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Journal.clear();
}

void CameraModel::setJournaling(bool enabled)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Journaling = enabled;
}

bool CameraModel::isAcquiring() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Acquiring;
}

long long CameraModel::commandCount(const std::string &name) const
{
    const int f = indexOf(name);
    if (f < 0)
        return 0;
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_CommandCounts[f];
}

} // namespace OrvSim
