// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "cameramodel.h"

#include "OrvikFeatureNames.h"

#include "linkcharge.h"
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

// Conditions that read a feature at the entry its selector selects now
// (atCurrentEntry) or at an entry of their own.
void collectEntryReads(const Condition &condition, bool atCurrentEntry, std::vector<int> &features)
{
    if (condition.feature >= 0 && (condition.entry < 0) == atCurrentEntry)
        appendOnce(features, condition.feature);
    for (const Condition &child : condition.children)
        collectEntryReads(child, atCurrentEntry, features);
}

} // namespace

std::string Incoming::text() const
{
    switch (kind) {
    case Kind::Integer: return std::to_string(i);
    case Kind::Float: return doubleText(f);
    case Kind::Bool: return boolText(b);
    case Kind::Text: break;
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
    std::vector<std::vector<int>> readers(count), currentEntryReaders(count), fixedEntryReaders(count);
    for (int f = 0; f < count; ++f) {
        std::vector<int> read, readAtCurrentEntry, readAtFixedEntry;
        std::vector<const Condition *> rules{&m_Definitions[f].writable};
        for (const Condition &available : m_Definitions[f].entryAvailable)
            rules.push_back(&available);
        for (const Condition *rule : rules) {
            collectReadFeatures(*rule, read);
            collectEntryReads(*rule, true, readAtCurrentEntry);
            collectEntryReads(*rule, false, readAtFixedEntry);
        }
        for (int r : read)
            appendOnce(readers[r], f);
        for (int r : readAtCurrentEntry)
            appendOnce(currentEntryReaders[r], f);
        for (int r : readAtFixedEntry)
            appendOnce(fixedEntryReaders[r], f);
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

    // The cache keeps a selected feature's answers per selector entry: a
    // selector's change leaves them true, but not the answers of features
    // that read a feature it selects at whatever entry is selected now.
    // A feature that reads another of its own selector only at the entry
    // selected now changes only at the entry where that other one changed.
    m_Invalidates.assign(count, std::vector<int>());
    m_InvalidatesAtEntry.assign(count, std::vector<int>());
    for (int f = 0; f < count; ++f) {
        const int selector = m_Definitions[f].selector;
        for (int reader : readers[f]) {
            if (selector >= 0 && m_Definitions[reader].selector == selector && !contains(fixedEntryReaders[f], reader))
                m_InvalidatesAtEntry[f].push_back(reader);
            else
                m_Invalidates[f].push_back(reader);
        }
        for (int selected : m_Definitions[f].selects)
            for (int reader : currentEntryReaders[selected])
                if (m_Definitions[reader].selector != f)
                    appendOnce(m_Invalidates[f], reader);
    }

    // An answer worked out from a volatile value is as volatile; a volatile
    // feature's own writability and entries follow its rules like any other's.
    m_Uncachable.assign(count, false);
    m_DerivedUncachable.assign(count, false);
    for (int f = 0; f < count; ++f) {
        if (!m_Definitions[f].isVolatile)
            continue;
        m_Uncachable[f] = true;
        for (int reader : readers[f])
            m_DerivedUncachable[reader] = true;
    }
    std::vector<int> slotCounts(count), entryCounts(count);
    for (int f = 0; f < count; ++f) {
        slotCounts[f] = static_cast<int>(m_Values[f].size());
        entryCounts[f] = static_cast<int>(m_Definitions[f].entries.size());
    }
    m_Cache.reset(slotCounts, entryCounts);
    m_PendingEntry.assign(count, -1);

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
    const unsigned int wire = static_cast<unsigned int>(m_WireAccesses - m_WireAccessesRecorded);
    m_WireAccessesRecorded = m_WireAccesses;
    if (!m_Journaling)
        return;
    if (m_Journal.size() >= JournalLimit)
        m_Journal.pop_front();
    m_Journal.push_back(JournalEntry{operation, m_Definitions[f].name, std::move(value), result,
                                     NotificationDispatcher::isNotificationThread(), wire});
}

int CameraModel::currentEntry(int f) const
{
    const int selector = m_Definitions[f].selector;
    if (selector < 0)
        return 0;
    const int pending = m_PendingEntry[selector];
    return pending >= 0 ? pending : static_cast<int>(m_Values[selector][0].i);
}

std::string CameraModel::valueText(int f, int entry) const
{
    const FeatureDefinition &definition = m_Definitions[f];
    const Slot &slot = m_Values[f][definition.selector < 0 ? 0 : entry];
    switch (definition.type) {
    case OrvFeatureDataInt: return std::to_string(slot.i);
    case OrvFeatureDataFloat: return doubleText(slot.f);
    case OrvFeatureDataBool: return boolText(slot.b);
    case OrvFeatureDataEnum:
        // A selector write still waiting is the selector's value for the client.
        return definition.entries[m_PendingEntry[f] >= 0 ? m_PendingEntry[f] : slot.i];
    case OrvFeatureDataString: return slot.s;
    default: return std::string();
    }
}

bool CameraModel::evaluate(const Condition &condition, int owner) const
{
    switch (condition.kind) {
    case Condition::Kind::Constant: return condition.constant;
    case Condition::Kind::Is:
    case Condition::Kind::IsNot:
    case Condition::Kind::In: {
        const int entry = condition.entry >= 0 ? condition.entry : currentEntry(condition.feature);
        const std::string value = valueText(condition.feature, entry);
        const bool found = std::find(condition.texts.begin(), condition.texts.end(), value) != condition.texts.end();
        return condition.kind == Condition::Kind::IsNot ? !found : found;
    }
    case Condition::Kind::SelectorEntry: return contains(condition.entries, currentEntry(owner));
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
    case Condition::Kind::Not: return !evaluate(condition.children.front(), owner);
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
        const unsigned long long offset =
            static_cast<unsigned long long>(value.i) - static_cast<unsigned long long>(definition.intMin);
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
    default: return OrvErrWrongType;
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

int CameraModel::slotOf(int f) const
{
    return m_Definitions[f].selector < 0 ? 0 : currentEntry(f);
}

bool CameraModel::caching(int f) const
{
    return m_Link.cache && !m_Uncachable[f];
}

bool CameraModel::cachingDerived(int f) const
{
    return m_Link.cache && !m_DerivedUncachable[f];
}

void CameraModel::flushSelectorWrites(LinkCharge &charge)
{
    for (int selector : m_PendingSelectors) {
        const int entry = m_PendingEntry[selector];
        m_PendingEntry[selector] = -1;
        // Walked back to where the camera has it: nothing to send.
        if (m_Values[selector][0].i == entry)
            continue;
        m_Values[selector][0].i = entry;
        ++m_WireAccesses;
        charge.add(m_Link.latencyMs);
    }
    m_PendingSelectors.clear();
}

void CameraModel::reach(LinkCharge &charge)
{
    flushSelectorWrites(charge);
    ++m_WireAccesses;
    charge.add(m_Link.latencyMs);
}

Slot CameraModel::readValue(int f, LinkCharge &charge, bool chargeMiss)
{
    const int slot = slotOf(f);
    if (!caching(f)) {
        if (chargeMiss)
            reach(charge);
        else
            flushSelectorWrites(charge);
        return m_Values[f][slot];
    }
    CachedAnswers &cached = m_Cache.at(f, slot);
    if (!cached.hasValue) {
        reach(charge);
        const Slot &value = m_Values[f][slot];
        cached.i = value.i;
        cached.f = value.f;
        cached.b = value.b;
        cached.s = value.s;
        cached.hasValue = true;
    }
    Slot value;
    value.i = cached.i;
    value.f = cached.f;
    value.b = cached.b;
    value.s = cached.s;
    return value;
}

CachedAnswers *CameraModel::derivedAnswers(int f)
{
    return cachingDerived(f) ? &m_Cache.at(f, slotOf(f)) : nullptr;
}

bool CameraModel::knownWritable(int f, bool &writable)
{
    const FeatureDefinition &definition = m_Definitions[f];
    if (!m_Link.cache)
        return false;
    // What the description fixes needs no camera, as a GenICam stack knows
    // a literal access mode from the XML.
    if (definition.writable.kind == Condition::Kind::Constant && !definition.lockedWhileAcquiring) {
        writable = definition.writable.constant;
        return true;
    }
    const CachedAnswers *cached = derivedAnswers(f);
    if (!cached || !cached->hasWritable)
        return false;
    writable = cached->writable;
    return true;
}

bool CameraModel::knownAvailable(int f, int entry, bool &available)
{
    const Condition &condition = m_Definitions[f].entryAvailable[entry];
    if (!m_Link.cache)
        return false;
    if (condition.kind == Condition::Kind::Constant) {
        available = condition.constant;
        return true;
    }
    const CachedAnswers *cached = derivedAnswers(f);
    if (!cached || cached->available[entry] < 0)
        return false;
    available = cached->available[entry] != 0;
    return true;
}

bool CameraModel::writableAnswer(int f, LinkCharge &charge)
{
    bool known = false;
    if (knownWritable(f, known))
        return known;
    CachedAnswers *cached = derivedAnswers(f);
    reach(charge);
    const bool writable = writableNow(f);
    if (cached) {
        cached->writable = writable;
        cached->hasWritable = true;
    }
    return writable;
}

bool CameraModel::availableAnswer(int f, int entry, LinkCharge &charge)
{
    bool known = false;
    if (knownAvailable(f, entry, known))
        return known;
    CachedAnswers *cached = derivedAnswers(f);
    reach(charge);
    const bool available = evaluate(m_Definitions[f].entryAvailable[entry], f);
    if (cached)
        cached->available[entry] = available ? 1 : 0;
    return available;
}

void CameraModel::invalidate(int f, int slot, bool written)
{
    // A write the camera took is known as written (write-through); a change
    // the camera made is read again.
    if (written && caching(f)) {
        CachedAnswers &cached = m_Cache.at(f, slot);
        const Slot &value = m_Values[f][slot];
        cached.i = value.i;
        cached.f = value.f;
        cached.b = value.b;
        cached.s = value.s;
        cached.hasValue = true;
    } else {
        m_Cache.forgetValue(f, slot);
    }
    for (int dependent : m_Invalidates[f])
        m_Cache.forgetDerived(dependent);
    for (int dependent : m_InvalidatesAtEntry[f])
        m_Cache.forgetDerived(dependent, slot);
}

bool CameraModel::deferSelectorWrite(int f, const Incoming &value, OrvErrorType &err)
{
    const FeatureDefinition &definition = m_Definitions[f];
    if (!m_Link.deferSelectorWrites || definition.selects.empty() || value.kind != Incoming::Kind::Text || !caching(f)
        || !cachingDerived(f))
        return false;
    // Only when the cache can answer every check the camera would make, in
    // the camera's order.
    bool writable = false;
    if (!knownWritable(f, writable))
        return false;
    if (!writable) {
        err = OrvErrInvalidAccess;
        return true;
    }
    const auto found = std::find(definition.entries.begin(), definition.entries.end(), value.s);
    if (found == definition.entries.end()) {
        err = OrvErrInvalidValue;
        return true;
    }
    const int entry = static_cast<int>(found - definition.entries.begin());
    bool available = false;
    if (!knownAvailable(f, entry, available))
        return false;
    if (!available) {
        err = OrvErrEntryUnavailable;
        return true;
    }
    CachedAnswers &cached = m_Cache.at(f, 0);
    if (m_PendingEntry[f] < 0)
        m_PendingSelectors.push_back(f);
    m_PendingEntry[f] = entry;
    invalidate(f, 0, false);
    cached.i = entry;
    cached.hasValue = true;
    err = OrvErrSuccess;
    return true;
}

OrvErrorType CameraModel::getText(int f, char *pBuffer, unsigned int &rnLength)
{
    LinkCharge charge;
    std::lock_guard<std::mutex> lock(m_Mutex);
    OrvErrorType err = injected(f, Operation::GetValue);
    std::string text;
    if (err == OrvErrSuccess) {
        const FeatureDefinition &definition = m_Definitions[f];
        if (definition.type != OrvFeatureDataEnum && definition.type != OrvFeatureDataString) {
            err = OrvErrWrongType;
        } else {
            // A text read is one access: the length query reaches the camera
            // only when its answer is kept for the call that fills the buffer.
            const Slot value = readValue(f, charge, pBuffer != nullptr || caching(f));
            text = definition.type == OrvFeatureDataEnum ? definition.entries[value.i] : value.s;
            err = SimFeature::copyText(text, pBuffer, rnLength);
        }
    }
    if (pBuffer || err != OrvErrSuccess)
        record(Operation::GetValue, f, err == OrvErrSuccess ? text : std::string(), err);
    return err;
}

// One call on a feature of one type: the injected failure, the type check,
// the work, the journal. The latency is charged once the lock is released.
template <class Work>
OrvErrorType CameraModel::typedCall(int f, Operation operation, OrvFeatureDataType type, Work work)
{
    LinkCharge charge;
    std::lock_guard<std::mutex> lock(m_Mutex);
    OrvErrorType err = injected(f, operation);
    if (err == OrvErrSuccess && m_Definitions[f].type != type)
        err = OrvErrWrongType;
    std::string text;
    if (err == OrvErrSuccess)
        text = work(charge);
    record(operation, f, text, err);
    return err;
}

OrvErrorType CameraModel::getInteger(int f, long long &rnValue)
{
    return typedCall(f, Operation::GetValue, OrvFeatureDataInt, [&](LinkCharge &charge) {
        rnValue = readValue(f, charge).i;
        return std::to_string(rnValue);
    });
}

OrvErrorType CameraModel::getFloat(int f, double &rfValue)
{
    return typedCall(f, Operation::GetValue, OrvFeatureDataFloat, [&](LinkCharge &charge) {
        rfValue = readValue(f, charge).f;
        return doubleText(rfValue);
    });
}

OrvErrorType CameraModel::getBool(int f, bool &rbValue)
{
    return typedCall(f, Operation::GetValue, OrvFeatureDataBool, [&](LinkCharge &charge) {
        rbValue = readValue(f, charge).b;
        return boolText(rbValue);
    });
}

OrvErrorType CameraModel::setValue(int f, const Incoming &value)
{
    LinkCharge charge;
    OrvErrorType err;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        err = injected(f, Operation::SetValue);
        if (err == OrvErrSuccess) {
            const OrvFeatureDataType type = m_Definitions[f].type;
            const bool fits =
                (value.kind == Incoming::Kind::Integer && type == OrvFeatureDataInt)
                || (value.kind == Incoming::Kind::Float && type == OrvFeatureDataFloat)
                || (value.kind == Incoming::Kind::Bool && type == OrvFeatureDataBool)
                || (value.kind == Incoming::Kind::Text && (type == OrvFeatureDataEnum || type == OrvFeatureDataString));
            if (!fits) {
                err = OrvErrWrongType;
            } else if (!deferSelectorWrite(f, value, err)) {
                // The camera checks the write itself: one access.
                reach(charge);
                const int slot = slotOf(f);
                const bool writable = writableNow(f);
                err = writable ? store(f, slot, value, true) : OrvErrInvalidAccess;
                // Its checks are answers too, kept unless the write changed them.
                if (CachedAnswers *cached = derivedAnswers(f)) {
                    cached->writable = writable;
                    cached->hasWritable = true;
                    const std::vector<std::string> &entries = m_Definitions[f].entries;
                    const auto found = std::find(entries.begin(), entries.end(), value.s);
                    if (writable && value.kind == Incoming::Kind::Text && found != entries.end())
                        cached->available[found - entries.begin()] = err == OrvErrEntryUnavailable ? 0 : 1;
                }
                if (err == OrvErrSuccess)
                    invalidate(f, slot, true);
            }
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

// Ranges and increments are literals of the description: with the cache on,
// known without the camera, as from a GenICam XML.
void CameraModel::reachForLiteral(LinkCharge &charge)
{
    if (!m_Link.cache)
        reach(charge);
}

OrvErrorType CameraModel::getIntegerRange(int f, long long &rnMinimum, long long &rnMaximum)
{
    return typedCall(f, Operation::GetRange, OrvFeatureDataInt, [&](LinkCharge &charge) {
        reachForLiteral(charge);
        rnMinimum = m_Definitions[f].intMin;
        rnMaximum = m_Definitions[f].intMax;
        return std::string();
    });
}

OrvErrorType CameraModel::getFloatRange(int f, double &rfMinimum, double &rfMaximum)
{
    return typedCall(f, Operation::GetRange, OrvFeatureDataFloat, [&](LinkCharge &charge) {
        reachForLiteral(charge);
        rfMinimum = m_Definitions[f].floatMin;
        rfMaximum = m_Definitions[f].floatMax;
        return std::string();
    });
}

OrvErrorType CameraModel::getIntegerIncrement(int f, long long &rnIncrement)
{
    return typedCall(f, Operation::GetIncrement, OrvFeatureDataInt, [&](LinkCharge &charge) {
        reachForLiteral(charge);
        rnIncrement = m_Definitions[f].intInc;
        return std::string();
    });
}

OrvErrorType CameraModel::getFloatIncrement(int f, double &rfIncrement)
{
    return typedCall(f, Operation::GetIncrement, OrvFeatureDataFloat, [&](LinkCharge &charge) {
        reachForLiteral(charge);
        rfIncrement = m_Definitions[f].floatInc;
        return std::string();
    });
}

OrvErrorType CameraModel::getValues(int f, const std::vector<std::string> &entries, const char **pStrValues,
                                    unsigned int &rnSize)
{
    LinkCharge charge;
    std::lock_guard<std::mutex> lock(m_Mutex);
    OrvErrorType err = injected(f, Operation::GetValues);
    if (err == OrvErrSuccess && m_Definitions[f].type != OrvFeatureDataEnum)
        err = OrvErrWrongType;
    if (err == OrvErrSuccess) {
        // The entries are the description's: with the cache on, known
        // without the camera (their availability is another question).
        if (!m_Link.cache && pStrValues)
            reach(charge);
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
    LinkCharge charge;
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
            rbAvailable = availableAnswer(f, static_cast<int>(found - definition.entries.begin()), charge);
    }
    record(Operation::IsValueAvailable, f, entry, err);
    return err;
}

OrvErrorType CameraModel::isWritable(int f, bool &rbWritable)
{
    LinkCharge charge;
    std::lock_guard<std::mutex> lock(m_Mutex);
    const OrvErrorType err = injected(f, Operation::IsWritable);
    if (err == OrvErrSuccess)
        rbWritable = writableAnswer(f, charge);
    record(Operation::IsWritable, f, std::string(), err);
    return err;
}

OrvErrorType CameraModel::runCommand(int f)
{
    LinkCharge charge;
    OrvErrorType err;
    std::vector<int> notify;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        err = injected(f, Operation::RunCommand);
        if (err == OrvErrSuccess && m_Definitions[f].type != OrvFeatureDataCommand)
            err = OrvErrWrongType;
        if (err == OrvErrSuccess) {
            reach(charge);
            if (!writableNow(f))
                err = OrvErrInvalidAccess;
        }
        if (err == OrvErrSuccess) {
            ++m_CommandCounts[f];
            notify.push_back(f);
            const std::string &name = m_Definitions[f].name;
            const bool start = name == FeatureNames::AcquisitionStart;
            if ((start || name == FeatureNames::AcquisitionStop) && m_Acquiring != start) {
                m_Acquiring = start;
                for (int locked : m_LockedFeatures) {
                    appendOnce(notify, locked);
                    m_Cache.forgetDerived(locked);
                }
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
    case OrvFeatureDataString: break;
    default: return OrvErrWrongType;
    }
    return changeFromCamera(f, [&](int &entry, Incoming &stored) {
        entry = currentEntry(f);
        if (!selectorEntry.empty()) {
            if (definition.selector < 0)
                return OrvErrBadParameter;
            const std::vector<std::string> &entries = m_Definitions[definition.selector].entries;
            const auto found = std::find(entries.begin(), entries.end(), selectorEntry);
            if (found == entries.end())
                return OrvErrNotFound;
            entry = static_cast<int>(found - entries.begin());
        }
        stored = incoming;
        return OrvErrSuccess;
    });
}

OrvErrorType CameraModel::setBitsFromCamera(const std::string &feature, long long bits, long long mask)
{
    const int f = indexOf(feature);
    if (f < 0)
        return OrvErrNotFound;
    if (m_Definitions[f].type != OrvFeatureDataInt || m_Definitions[f].selector >= 0)
        return OrvErrWrongType;
    // Read and written under one lock: a bit the client sets meanwhile is kept.
    return changeFromCamera(f, [&](int &entry, Incoming &stored) {
        entry = 0;
        stored = Incoming(Incoming::Kind::Integer);
        stored.i = (m_Values[f][0].i & ~mask) | (bits & mask);
        return OrvErrSuccess;
    });
}

// The one way values change behind a client's back. The client's selector
// writes went first, so the camera has them when it changes; the cache hears
// of the change; observers are told. `prepare` runs under the model's lock
// and gives the selector entry and the value.
template <class Prepare>
OrvErrorType CameraModel::changeFromCamera(int f, Prepare prepare)
{
    LinkCharge charge;
    OrvErrorType err;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        int entry = 0;
        Incoming incoming(Incoming::Kind::Text);
        err = prepare(entry, incoming);
        if (err != OrvErrSuccess)
            return err;
        flushSelectorWrites(charge);
        m_WireAccessesRecorded = m_WireAccesses;
        err = store(f, entry, incoming, false);
        if (err == OrvErrSuccess)
            invalidate(f, m_Definitions[f].selector < 0 ? 0 : entry, false);
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

void CameraModel::setLink(const LinkSettings &settings)
{
    LinkCharge charge;
    std::lock_guard<std::mutex> lock(m_Mutex);
    flushSelectorWrites(charge);
    m_Cache.forgetAll();
    m_Link = settings;
}

LinkSettings CameraModel::link() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Link;
}

unsigned long long CameraModel::wireAccesses() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_WireAccesses;
}

void CameraModel::resetWireAccesses()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_WireAccesses = 0;
    m_WireAccessesRecorded = 0;
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
