// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// OrvikCPP: the camera library's public interface (namespace TKN::OrvAPI).
//
// Everything a client needs to read, write and observe camera features.
// Plain C++17, no Qt. The simulated cameras behind it are created through
// OrvikSim.h, which is not part of this interface.
#ifndef ORVIKCPP_H
#define ORVIKCPP_H

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#if defined(_WIN32)
#define ORVIKCPP_API __declspec(dllexport)
#else
#define ORVIKCPP_API __attribute__((visibility("default")))
#endif

namespace TKN {
namespace OrvAPI {

/// Result of every feature operation: 0 for success, a negative code otherwise.
typedef int32_t OrvErrorType;

enum OrvErrorCodes : OrvErrorType {
    OrvErrSuccess = 0,
    OrvErrInternalFault = -1,     ///< unexpected fault inside the library
    OrvErrNotAvailable = -2,      ///< the camera behind the feature is gone (closed)
    OrvErrNotFound = -3,          ///< no such feature, entry or observer
    OrvErrBadParameter = -4,      ///< null pointer or otherwise unusable argument
    OrvErrInvalidAccess = -5,     ///< the feature is not writable now
    OrvErrInvalidValue = -6,      ///< out of range, off the increment grid, or not an entry
    OrvErrWrongType = -7,         ///< the operation does not fit the feature's data type
    OrvErrEntryUnavailable = -8,  ///< the enumeration entry exists but cannot be chosen now
    OrvErrAlreadyRegistered = -9, ///< this observer is already registered on this feature
    OrvErrMoreData = -10,         ///< the given buffer is too small; call again with the length returned
    OrvErrInvalidCall = -11,      ///< the call is not allowed in this context
    OrvErrTimeout = -12,          ///< the camera did not answer in time
    OrvErrIO = -13,               ///< transport failure while talking to the camera
    OrvErrResources = -14         ///< out of memory or another resource
};

/// Data type codes returned by Feature::GetDataType.
enum OrvFeatureDataType : int32_t {
    OrvFeatureDataUnknown = 0,
    OrvFeatureDataInt = 1,   ///< 64-bit integer
    OrvFeatureDataFloat = 2, ///< double
    OrvFeatureDataEnum = 3,  ///< enumeration, entries by name
    OrvFeatureDataString = 4,
    OrvFeatureDataBool = 5,
    OrvFeatureDataCommand = 6,
    OrvFeatureDataRaw = 7
};

/// A plain lock; Mutex(false) is created unlocked, Mutex(true) locked.
class ORVIKCPP_API Mutex
{
public:
    explicit Mutex(bool bInitLock = false);
    ~Mutex() = default;
    void Lock();
    void Unlock();

private:
    Mutex(const Mutex &) = delete;
    Mutex &operator=(const Mutex &) = delete;
    std::mutex m_Mutex;
};

/// The counter behind shared_ptr. Dropping a count that is already zero is
/// a client error and throws std::logic_error.
class ORVIKCPP_API ref_count_base
{
public:
    virtual ~ref_count_base() = default;
    virtual long inc() = 0;
    virtual long dec() = 0;
    virtual long use_count() const = 0;
};

template <class T>
class ref_count : public ref_count_base
{
public:
    explicit ref_count(T *pObject)
        : m_pObject(pObject),
          m_nCount(1),
          m_Mutex(false)
    {
    }
    ~ref_count() override = default;

    long inc() override
    {
        m_Mutex.Lock();
        const long n = ++m_nCount;
        m_Mutex.Unlock();
        return n;
    }

    long dec() override
    {
        m_Mutex.Lock();
        if (m_nCount == 0) {
            m_Mutex.Unlock();
            throw std::logic_error("shared pointer, used incorectly");
        }
        const long n = --m_nCount;
        T *pDelete = n == 0 ? m_pObject : nullptr;
        if (n == 0)
            m_pObject = nullptr;
        m_Mutex.Unlock();
        delete pDelete;
        return n;
    }

    long use_count() const override
    {
        m_Mutex.Lock();
        const long n = m_nCount;
        m_Mutex.Unlock();
        return n;
    }

private:
    ref_count(const ref_count &) = delete;
    ref_count &operator=(const ref_count &) = delete;
    T *m_pObject;
    long m_nCount;
    mutable Mutex m_Mutex;
};

/// Reference-counted pointer shared between the library and its clients.
/// A copy adds a reference, destruction or reset() drops one, the last drop
/// deletes the object. An empty pointer reads as null.
template <class T>
class shared_ptr
{
public:
    shared_ptr()
        : m_pRefCount(nullptr),
          m_pObject(nullptr)
    {
    }

    template <class T2>
    explicit shared_ptr(T2 *pObject)
        : m_pRefCount(nullptr),
          m_pObject(pObject)
    {
        if (!pObject)
            return;
        try {
            m_pRefCount = new ref_count<T2>(pObject);
        } catch (...) {
            // The pointer was handed over: without a counter nobody else would delete it.
            delete pObject;
            throw;
        }
    }

    shared_ptr(const shared_ptr &other)
        : m_pRefCount(other.m_pRefCount),
          m_pObject(other.m_pObject)
    {
        if (m_pRefCount)
            m_pRefCount->inc();
    }

    template <class T2>
    shared_ptr(const shared_ptr<T2> &other)
        : m_pRefCount(other.m_pRefCount),
          m_pObject(other.m_pObject)
    {
        if (m_pRefCount)
            m_pRefCount->inc();
    }

    ~shared_ptr() { release(); }

    // By value: copy and swap, safe when a pointer is assigned to itself.
    shared_ptr &operator=(shared_ptr other)
    {
        swap(other);
        return *this;
    }

    template <class T2>
    shared_ptr &operator=(const shared_ptr<T2> &other)
    {
        shared_ptr(other).swap(*this);
        return *this;
    }

    void reset() { release(); }

    template <class T2>
    void reset(T2 *pObject)
    {
        shared_ptr(pObject).swap(*this);
    }

    void swap(shared_ptr &other)
    {
        std::swap(m_pRefCount, other.m_pRefCount);
        std::swap(m_pObject, other.m_pObject);
    }

    T *get() const { return m_pObject; }
    T &operator*() const { return *m_pObject; }
    T *operator->() const { return m_pObject; }
    explicit operator bool() const { return m_pObject != nullptr; }
    long use_count() const { return m_pRefCount ? m_pRefCount->use_count() : 0; }

    template <class T2>
    bool operator==(const shared_ptr<T2> &other) const
    {
        return m_pObject == other.get();
    }
    template <class T2>
    bool operator!=(const shared_ptr<T2> &other) const
    {
        return m_pObject != other.get();
    }
    bool operator==(std::nullptr_t) const { return m_pObject == nullptr; }
    bool operator!=(std::nullptr_t) const { return m_pObject != nullptr; }

private:
    template <class T2>
    friend class shared_ptr;

    void release()
    {
        ref_count_base *pRefCount = m_pRefCount;
        m_pRefCount = nullptr;
        m_pObject = nullptr;
        if (pRefCount && pRefCount->dec() == 0)
            delete pRefCount;
    }

    ref_count_base *m_pRefCount;
    T *m_pObject;
};

class Feature;
typedef shared_ptr<Feature> FeaturePtr;

/// Receives change notifications of the features it is registered on.
///
/// Notifications are delivered on a thread of the library's own, never on the
/// thread that caused the change. An observer hears of a change only when it
/// was registered on the feature as the change happened and still is when the
/// notification is delivered. Once UnregisterObserver has returned on a
/// thread other than that notification thread, no notification to that
/// observer is running or will start for that feature: UnregisterObserver
/// waits for a delivery already in progress. Called from inside a
/// notification, it cannot wait for itself and returns at once.
class ORVIKCPP_API IFeatureObserver
{
public:
    virtual void NotifyFeatureChange(const FeaturePtr &pFeature) = 0;
    virtual ~IFeatureObserver() = default;

protected:
    IFeatureObserver() = default;
};

typedef shared_ptr<IFeatureObserver> IFeatureObserverPtr;

/// One camera feature. Providers implement the virtual operations; the
/// std::string and std::vector overloads are conveniences over the two-call
/// char buffer forms. A class that overrides one overload should bring the
/// others into scope with `using Feature::GetValue;` and so on.
///
/// Text getters (char buffer form): with a null buffer, rnLength receives the
/// text's length without the terminating zero; otherwise the buffer of
/// rnLength bytes is filled (zero-terminated when it has room), rnLength
/// receives the text's length, and OrvErrMoreData is returned when the buffer
/// was too small.
/// GetValues: with a null array, rnSize receives the number of entries;
/// otherwise up to rnSize entry pointers are filled, rnSize receives the number
/// of entries, and OrvErrMoreData is returned when the array was too small.
/// The pointers stay valid as long as the feature lives.
class ORVIKCPP_API Feature
{
public:
    virtual ~Feature() = default;

    virtual OrvErrorType GetName(char *pBuffer, unsigned int &rnLength) const = 0;
    virtual OrvErrorType GetDisplayName(char *pBuffer, unsigned int &rnLength) const = 0;
    virtual OrvErrorType GetDataType(OrvFeatureDataType &rType) const = 0;

    virtual OrvErrorType GetValue(char *pBuffer, unsigned int &rnLength) const = 0;
    virtual OrvErrorType GetValue(long long &rnValue) const = 0;
    virtual OrvErrorType GetValue(double &rfValue) const = 0;
    virtual OrvErrorType GetValue(bool &rbValue) const = 0;

    virtual OrvErrorType SetValue(const long long &rnValue) = 0;
    virtual OrvErrorType SetValue(const double &rfValue) = 0;
    virtual OrvErrorType SetValue(bool bValue) = 0;
    virtual OrvErrorType SetValue(const char *pStrValue) = 0;

    virtual OrvErrorType GetRange(long long &rnMinimum, long long &rnMaximum) const = 0;
    virtual OrvErrorType GetRange(double &rfMinimum, double &rfMaximum) const = 0;
    virtual OrvErrorType GetIncrement(long long &rnIncrement) const = 0;
    virtual OrvErrorType GetIncrement(double &rfIncrement) const = 0;

    virtual OrvErrorType GetValues(const char **pStrValues, unsigned int &rnSize) const = 0;
    virtual OrvErrorType IsValueAvailable(const char *pStrValue, bool &rbAvailable) const = 0;
    virtual OrvErrorType IsWritable(bool &rbWritable) const = 0;

    virtual OrvErrorType RunCommand() = 0;

    virtual OrvErrorType RegisterObserver(const IFeatureObserverPtr &pObserver) = 0;
    virtual OrvErrorType UnregisterObserver(const IFeatureObserverPtr &pObserver) = 0;

    OrvErrorType GetName(std::string &rStrName) const { return readText(&Feature::GetName, rStrName); }

    OrvErrorType GetDisplayName(std::string &rStrDisplayName) const
    {
        return readText(&Feature::GetDisplayName, rStrDisplayName);
    }

    OrvErrorType GetValue(std::string &rStrValue) const { return readText(&Feature::GetValue, rStrValue); }

    OrvErrorType GetValues(std::vector<std::string> &rValues) const
    {
        unsigned int nSize = 0;
        OrvErrorType err = GetValues(static_cast<const char **>(nullptr), nSize);
        if (err != OrvErrSuccess)
            return err;
        rValues.clear();
        if (nSize == 0)
            return OrvErrSuccess;
        try {
            std::vector<const char *> pointers;
            // The list may grow between the two calls; then ask again with the new size.
            for (int attempt = 0;; ++attempt) {
                pointers.assign(nSize, nullptr);
                unsigned int nFilled = nSize;
                err = GetValues(pointers.data(), nFilled);
                if (err == OrvErrMoreData && attempt < 3 && nFilled > nSize) {
                    nSize = nFilled;
                    continue;
                }
                if (err != OrvErrSuccess)
                    return err;
                nSize = nFilled < nSize ? nFilled : nSize;
                break;
            }
            rValues.reserve(nSize);
            for (unsigned int i = 0; i < nSize; ++i)
                rValues.push_back(pointers[i] ? pointers[i] : "");
        } catch (const std::bad_alloc &) {
            return OrvErrResources;
        }
        return OrvErrSuccess;
    }

private:
    typedef OrvErrorType (Feature::*TextGetter)(char *, unsigned int &) const;

    OrvErrorType readText(TextGetter getter, std::string &rText) const
    {
        unsigned int nLength = 0;
        OrvErrorType err = (this->*getter)(nullptr, nLength);
        if (err != OrvErrSuccess)
            return err;
        if (nLength == 0) {
            rText.clear();
            return OrvErrSuccess;
        }
        try {
            std::vector<char> buffer;
            // The text may grow between the two calls (another thread or the
            // camera changed it); then ask again with the new length.
            for (int attempt = 0;; ++attempt) {
                buffer.assign(nLength + 1, '\0');
                unsigned int nSize = nLength + 1;
                err = (this->*getter)(buffer.data(), nSize);
                if (err == OrvErrMoreData && attempt < 3 && nSize > nLength) {
                    nLength = nSize;
                    continue;
                }
                if (err != OrvErrSuccess)
                    return err;
                break;
            }
            buffer.back() = '\0';
            rText = buffer.data();
        } catch (const std::bad_alloc &) {
            return OrvErrResources;
        }
        return OrvErrSuccess;
    }
};

} // namespace OrvAPI
} // namespace TKN

#endif // ORVIKCPP_H
