// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// CameraModel: the state and rules of one simulated camera.
#ifndef ORVSIM_CAMERAMODEL_H
#define ORVSIM_CAMERAMODEL_H

#include "OrvikSim.h"
#include "featurecache.h"

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace OrvSim {

class LinkCharge;
class SimFeature;

/// A writability or availability rule of the description file.
struct Condition
{
    enum class Kind { Constant, Is, IsNot, In, SelectorEntry, All, Any, Not };
    Kind kind = Kind::Constant;
    bool constant = true;
    int feature = -1;                ///< Is, IsNot, In: the feature read
    int entry = -1;                  ///< its selector entry; -1: the one selected now
    std::vector<std::string> texts;  ///< Is, IsNot, In: values compared as text
    std::vector<int> entries;        ///< SelectorEntry: selector entry indices
    std::vector<Condition> children; ///< All, Any, Not
};

struct FeatureDefinition
{
    std::string name;
    std::string displayName;
    std::string category; ///< empty: at the root of the feature tree
    TKN::OrvAPI::OrvFeatureDataType type = TKN::OrvAPI::OrvFeatureDataUnknown;
    Condition writable;
    bool lockedWhileAcquiring = false;
    bool isVolatile = false; ///< changes by itself: never answered from the cache
    std::vector<std::string> entries;
    std::vector<Condition> entryAvailable;
    long long intMin = 0, intMax = 0, intInc = 1;
    double floatMin = 0, floatMax = 0, floatInc = 0;
    int selector = -1;        ///< the selector that selects this feature
    std::vector<int> selects; ///< for a selector: the features it selects
};

/// One value: Integer in i, Float in f, Boolean in b, Enumeration as the entry
/// index in i, String in s.
struct Slot
{
    long long i = 0;
    double f = 0;
    bool b = false;
    std::string s;
};

/// A value handed in by a client or a camera-side change, before validation.
struct Incoming
{
    enum class Kind { Integer, Float, Bool, Text };
    explicit Incoming(Kind k)
        : kind(k)
    {
    }
    Kind kind;
    long long i = 0;
    double f = 0;
    bool b = false;
    std::string s;
    std::string text() const;
};

/// Hears what happened to a camera once the change is made and its
/// notifications are posted, outside the model's lock, on the thread that
/// made it. The timing model follows settings and commands through it.
class ModelListener
{
public:
    virtual ~ModelListener() = default;
    virtual void valueChanged(int feature) = 0;
    virtual void commandRan(int feature) = 0;
};

class CameraModel : public std::enable_shared_from_this<CameraModel>
{
public:
    CameraModel() = default;
    ~CameraModel();

    /// Called once after the definitions and start values are in place.
    void createFeatures();

    // Description, fixed after loading.
    std::string m_Name;
    std::string m_Description;
    std::vector<FeatureDefinition> m_Definitions;
    std::unordered_map<std::string, int> m_IndexByName;
    std::vector<std::vector<Slot>> m_StartValues;
    /// Free-run frame rate (Hz) and sensor readout time (microseconds).
    double m_FrameRate = 30.0;
    long long m_ReadoutTime = 1000;

    std::vector<TKN::OrvAPI::FeaturePtr> m_Features;

    int indexOf(const std::string &name) const;

    // Client operations, each one call of the journal.
    TKN::OrvAPI::OrvErrorType getName(int f, char *pBuffer, unsigned int &rnLength);
    TKN::OrvAPI::OrvErrorType getDisplayName(int f, char *pBuffer, unsigned int &rnLength);
    TKN::OrvAPI::OrvErrorType getDataType(int f, TKN::OrvAPI::OrvFeatureDataType &rType);
    TKN::OrvAPI::OrvErrorType getText(int f, char *pBuffer, unsigned int &rnLength);
    TKN::OrvAPI::OrvErrorType getInteger(int f, long long &rnValue);
    TKN::OrvAPI::OrvErrorType getFloat(int f, double &rfValue);
    TKN::OrvAPI::OrvErrorType getBool(int f, bool &rbValue);
    TKN::OrvAPI::OrvErrorType setValue(int f, const Incoming &value);
    TKN::OrvAPI::OrvErrorType getIntegerRange(int f, long long &rnMinimum, long long &rnMaximum);
    TKN::OrvAPI::OrvErrorType getFloatRange(int f, double &rfMinimum, double &rfMaximum);
    TKN::OrvAPI::OrvErrorType getIntegerIncrement(int f, long long &rnIncrement);
    TKN::OrvAPI::OrvErrorType getFloatIncrement(int f, double &rfIncrement);
    TKN::OrvAPI::OrvErrorType getValues(int f, const std::vector<std::string> &entries, const char **pStrValues,
                                        unsigned int &rnSize);
    TKN::OrvAPI::OrvErrorType isValueAvailable(int f, const char *pStrValue, bool &rbAvailable);
    TKN::OrvAPI::OrvErrorType isWritable(int f, bool &rbWritable);
    TKN::OrvAPI::OrvErrorType runCommand(int f);
    /// Observer calls: the injected failure (if any) before the call, the journal after it.
    TKN::OrvAPI::OrvErrorType beginObserverCall(int f, Operation operation);
    void endObserverCall(int f, Operation operation, TKN::OrvAPI::OrvErrorType result);

    // Simulator controls.
    TKN::OrvAPI::OrvErrorType setFromCamera(const std::string &feature, const std::string &value,
                                            const std::string &selectorEntry);
    std::string valueOf(const std::string &feature, const std::string &selectorEntry) const;
    void injectFailure(const std::string &feature, Operation operation, TKN::OrvAPI::OrvErrorType code, int count);
    void clearFailures();
    std::vector<JournalEntry> journal() const;
    std::vector<std::string> writes() const;
    void clearJournal();
    void setJournaling(bool enabled);
    void setLink(const LinkSettings &settings);
    LinkSettings link() const;
    unsigned long long wireAccesses() const;
    void resetWireAccesses();
    bool isAcquiring() const;
    long long commandCount(const std::string &name) const;
    /// Set once, before the features are handed out.
    void setListener(const std::weak_ptr<ModelListener> &listener) { m_Listener = listener; }
    /// A camera-side change of the bits `mask` of an Integer feature to those
    /// of `bits`, the other bits kept as they are at that moment (a level
    /// mask whose other bits a client sets).
    TKN::OrvAPI::OrvErrorType setBitsFromCamera(const std::string &feature, long long bits, long long mask);

private:
    struct Failure
    {
        TKN::OrvAPI::OrvErrorType code;
        int remaining;
    };

    // All below with m_Mutex held.
    TKN::OrvAPI::OrvErrorType injected(int f, Operation operation);
    template <class Work>
    TKN::OrvAPI::OrvErrorType typedCall(int f, Operation operation, TKN::OrvAPI::OrvFeatureDataType type, Work work);
    void reachForLiteral(LinkCharge &charge);
    template <class Prepare>
    TKN::OrvAPI::OrvErrorType changeFromCamera(int f, Prepare prepare);
    void record(Operation operation, int f, std::string value, TKN::OrvAPI::OrvErrorType result);
    int currentEntry(int f) const;
    std::string valueText(int f, int entry) const;
    bool evaluate(const Condition &condition, int owner) const;
    bool writableNow(int f) const;
    TKN::OrvAPI::OrvErrorType store(int f, int entry, const Incoming &value, bool checkAvailability);
    void post(const std::vector<int> &features) const;
    // Without m_Mutex held.
    void tellChanged(int f) const;

    // The link and the cache, all with m_Mutex held.
    int slotOf(int f) const;
    bool caching(int f) const;
    bool cachingDerived(int f) const;
    /// One access reaches the camera: the selector writes still waiting go first.
    void reach(LinkCharge &charge);
    void flushSelectorWrites(LinkCharge &charge);
    /// The value of f at its current slot, from the cache or the camera.
    Slot readValue(int f, LinkCharge &charge, bool chargeMiss = true);
    CachedAnswers *derivedAnswers(int f);
    /// Whether the answer is known without the camera: fixed by the description or cached.
    bool knownWritable(int f, bool &writable);
    bool knownAvailable(int f, int entry, bool &available);
    bool writableAnswer(int f, LinkCharge &charge);
    bool availableAnswer(int f, int entry, LinkCharge &charge);
    /// Forgets what a change of f at slot can have changed; the client made
    /// it when written (the value is known then), the camera otherwise.
    void invalidate(int f, int slot, bool written);
    bool deferSelectorWrite(int f, const Incoming &value, TKN::OrvAPI::OrvErrorType &err);

    mutable std::mutex m_Mutex;
    std::vector<std::vector<Slot>> m_Values;
    std::vector<long long> m_CommandCounts;
    std::vector<std::vector<int>> m_NotifyOnChange;
    /// Per feature: the features whose writability, ranges or entry
    /// availability a change of it can change, as far as the cache keeps them.
    std::vector<std::vector<int>> m_Invalidates;
    /// The same, for those whose answers change only at the changed selector entry.
    std::vector<std::vector<int>> m_InvalidatesAtEntry;
    std::vector<int> m_LockedFeatures;
    bool m_Acquiring = false;
    std::map<std::pair<int, int>, Failure> m_Failures;
    std::deque<JournalEntry> m_Journal;
    bool m_Journaling = true;

    LinkSettings m_Link;
    unsigned long long m_WireAccesses = 0;
    unsigned long long m_WireAccessesRecorded = 0;
    FeatureCache m_Cache;
    /// Per feature: its value or a condition of it reads a volatile feature.
    std::vector<bool> m_Uncachable, m_DerivedUncachable;
    /// Selector writes not sent yet: the entry per selector, -1 for none,
    /// and the selectors waiting, in order.
    std::vector<int> m_PendingEntry;
    std::vector<int> m_PendingSelectors;
    std::weak_ptr<ModelListener> m_Listener;
};

/// The error text for a description longer than Camera::MaxDescriptionBytes.
std::string tooLongText(unsigned long long bytes);

/// Builds a model from a description text. Throws LoadError.
std::shared_ptr<CameraModel> loadCameraModel(const std::string &text, const std::string &sourceName);

} // namespace OrvSim

#endif // ORVSIM_CAMERAMODEL_H
