// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// OrvikSim: simulated cameras behind OrvikCPP, and the controls that tests
// and the viewer use on them (camera-side changes, injected failures, the
// call journal). Not part of TKN::OrvAPI: a client of the camera library
// never needs this header.
#ifndef ORVIKSIM_H
#define ORVIKSIM_H

#include "OrvikCPP.h"
#include "OrvikCamera.h"

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace OrvSim {

class CameraModel;
class TimingModel;

/// The Feature operations, as named in the journal and for injected failures.
enum class Operation {
    GetName,
    GetDisplayName,
    GetDataType,
    GetValue,
    SetValue,
    GetRange,
    GetIncrement,
    GetValues,
    IsValueAvailable,
    IsWritable,
    RunCommand,
    RegisterObserver,
    UnregisterObserver
};

ORVIKCPP_API const char *operationName(Operation operation);

/// The type names of camera descriptions ("Integer", "Enumeration", ...);
/// "Unknown" for a code outside them.
ORVIKCPP_API const char *dataTypeName(TKN::OrvAPI::OrvFeatureDataType type);

/// One call a client made on a feature, in the order the camera received it.
struct ORVIKCPP_API JournalEntry
{
    Operation operation;
    std::string feature;
    /// SetValue: the value written; GetValue: the value read;
    /// IsValueAvailable: the entry asked for; empty otherwise.
    /// Text reads by the two-call protocol are recorded once, at the call that
    /// fills the buffer (the length query only when it fails).
    std::string value;
    TKN::OrvAPI::OrvErrorType result;
    /// True for calls made on the library's notification thread (observers
    /// reading the feature they were told about).
    bool fromNotificationThread;
    /// How many accesses of this call reached the camera (selector writes it
    /// sent first included); 0 when the cache answered.
    unsigned int wireAccesses;

    /// "SetValue TriggerMode=On", with " -> code" appended when it failed.
    std::string text() const;
};

/// A camera description that cannot be used: names the file, the line and
/// the problem. what() reads "file:line: message".
class ORVIKCPP_API LoadError : public TKN::OrvAPI::OpenError
{
public:
    LoadError(const std::string &file, int line, const std::string &message);
    const std::string &file() const { return source(); }
};

/// How a simulated camera's link behaves. An access that reaches the camera
/// (a read, write, range, entry list, availability or writability query, a
/// command; names and types are known locally) takes latencyMs. With cache
/// on, answers the camera gave are kept until something can have changed
/// them, as GenICam stacks cache cachable nodes; features the description
/// marks volatile are always asked. With deferSelectorWrites too, a selector
/// write whose checks the cache can answer waits until an access needs the
/// camera, so a walk over a selector that only reads cached values costs
/// nothing.
struct ORVIKCPP_API LinkSettings
{
    double latencyMs = 0;
    bool cache = true;
    bool deferSelectorWrites = true;
};

/// A simulated camera's timing: the clock it runs on, the wiring that drives
/// its input lines, and what it did. While acquiring the camera takes
/// triggers by its TriggerMode, TriggerSource and TriggerActivation settings,
/// exposes, reads out and delivers frames, and drives its output lines from
/// their sources. The clock follows real time until useSteppedClock().
/// Times are microseconds since the camera was loaded.
class ORVIKCPP_API Timing
{
public:
    explicit Timing(std::shared_ptr<TimingModel> model);
    ~Timing();

    /// From now on time passes only through advance(): a test gives the
    /// same result on every run, however fast the machine. On a camera that
    /// has done nothing yet the clock starts again from 0.
    void useSteppedClock();
    /// Stepped clock only: lets this much time pass, doing all that falls
    /// due meanwhile in order. OrvErrInvalidCall on the real-time clock.
    TKN::OrvAPI::OrvErrorType advance(long long microseconds);
    long long now() const;

    /// The lines the wiring drives: the camera's input lines now.
    std::vector<std::string> inputLines() const;
    /// The level a line shows (inputs as driven, outputs as the camera drives them).
    bool lineLevel(const std::string &line) const;
    /// Holds an input line at a level; ends a pulse train on it.
    /// OrvErrNotFound for no such line, OrvErrInvalidAccess for an output.
    TKN::OrvAPI::OrvErrorType setLine(const std::string &line, bool high);
    /// One pulse from now: the line takes the other level for `width`, then
    /// returns.
    TKN::OrvAPI::OrvErrorType pulse(const std::string &line, long long width);
    /// `count` pulses (0: until the line is set) of `width`, one every
    /// `period`, the first now; each takes the line from the level it has now
    /// to the other one. OrvErrBadParameter unless 0 < width < period.
    TKN::OrvAPI::OrvErrorType pulseTrain(const std::string &line, long long period, long long width, long long count);

    unsigned long long framesDelivered() const;
    /// Triggers that came while the acquiring camera could not take them.
    unsigned long long missedTriggers() const;
    /// The events kept (the latest 65536), oldest first, after `afterSequence`.
    std::vector<TKN::OrvAPI::SignalEvent> events(unsigned long long afterSequence = 0) const;
    /// As TKN::OrvAPI::Camera::GetSignalEvents.
    unsigned long long readEvents(unsigned long long afterSequence, std::vector<TKN::OrvAPI::SignalEvent> &events,
                                  std::size_t maxEvents) const;
    TKN::OrvAPI::SignalInfo signalInfo() const;

private:
    friend class Camera;
    Timing(const Timing &) = delete;
    Timing &operator=(const Timing &) = delete;
    std::shared_ptr<TimingModel> m_Model;
};

/// One simulated camera. Its features stay usable while any client holds
/// them; once the Camera itself is destroyed they answer OrvErrNotAvailable.
class ORVIKCPP_API Camera
{
public:
    /// Objects and lists nested deeper than this are refused, so that no
    /// description can exhaust the stack of whatever reads it.
    static constexpr int MaxNestingDepth = 64;
    /// Longer descriptions are refused before they are read.
    static constexpr std::size_t MaxDescriptionBytes = std::size_t(16) * 1024 * 1024;

    /// Loads a JSON camera description. Throws LoadError.
    static std::shared_ptr<Camera> fromFile(const std::string &path);
    /// Parses a description held in memory; sourceName stands in for the file
    /// name in errors. Throws LoadError.
    static std::shared_ptr<Camera> fromJson(const std::string &text, const std::string &sourceName);
    /// A description of a large camera for benchmarks: featureCount features
    /// in all, lineCount I/O lines (half inputs, half outputs).
    static std::string largeCameraJson(int featureCount, int lineCount);

    /// The simulated camera behind a camera opened through the camera system,
    /// null for a camera of another provider.
    static std::shared_ptr<Camera> of(const TKN::OrvAPI::CameraPtr &camera);

    /// Blocks until the notification queue is empty and no delivery is running.
    /// Returns at once when called from inside a notification.
    static void waitForNotifications();

    ~Camera();

    std::string name() const;
    std::string description() const;
    /// The features by their descriptions' "category", in the order the
    /// categories first appear; features without one at the root.
    TKN::OrvAPI::FeatureGroup featureGroups() const;
    const std::vector<TKN::OrvAPI::FeaturePtr> &features() const;
    /// The feature of that name, empty if the camera has none.
    TKN::OrvAPI::FeaturePtr feature(const std::string &name) const;

    /// Changes a value as the camera itself would (an input line's level, a
    /// status bit), regardless of writability, and notifies observers.
    /// For a selected feature, selectorEntry names the entry whose value
    /// changes; empty means the entry currently selected.
    TKN::OrvAPI::OrvErrorType setFromCamera(const std::string &feature, const std::string &value,
                                            const std::string &selectorEntry = std::string());
    /// The current value as text, for inspection; not journaled, never
    /// reaches the camera. A selector write still waiting counts as done.
    std::string valueOf(const std::string &feature, const std::string &selectorEntry = std::string()) const;

    /// Makes `operation` on `feature` fail with `code`, for the next `count`
    /// calls (-1: until cleared). A feature the camera does not have is ignored.
    void injectFailure(const std::string &feature, Operation operation, TKN::OrvAPI::OrvErrorType code, int count = -1);
    void clearFailures();

    std::vector<JournalEntry> journal() const;
    /// "Feature=value" for each SetValue call made outside the notification
    /// thread, refused ones included, in order.
    std::vector<std::string> writes() const;
    void clearJournal();
    /// Journaling is on from the start; off, calls are no longer recorded
    /// (benchmarks). The journal keeps the latest 200000 calls.
    void setJournaling(bool enabled);

    /// Changing the link applies pending selector writes and empties the cache.
    void setLink(const LinkSettings &settings);
    LinkSettings link() const;
    /// Accesses that reached the camera since it was made or the count reset;
    /// beside the journal, which records every call a client made.
    unsigned long long wireAccesses() const;
    void resetWireAccesses();

    bool isAcquiring() const;
    /// How often the command feature `name` has run.
    long long commandCount(const std::string &name) const;

    Timing &timing() const;
    /// The newest delivered frame as an image of the camera's Width, Height
    /// and PixelFormat; false before the first frame.
    bool latestFrame(TKN::OrvAPI::FrameImage &image) const;

private:
    explicit Camera(std::shared_ptr<CameraModel> model);
    std::shared_ptr<CameraModel> m_Model;
    std::unique_ptr<Timing> m_Timing;
};

} // namespace OrvSim

#endif // ORVIKSIM_H
