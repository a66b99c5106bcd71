// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// AravisFeature: one GenICam feature node behind TKN::OrvAPI::Feature.
#ifndef ORVARV_ARAVISFEATURE_H
#define ORVARV_ARAVISFEATURE_H

#include "OrvikCPP.h"
#include "observerregistry.h"

#include <arv.h>

#include <memory>
#include <string>
#include <vector>

namespace OrvArv {

class AravisDevice;

/// Maps an Aravis error to the library's codes and frees it.
TKN::OrvAPI::OrvErrorType takeError(GError *error);

class AravisFeature : public TKN::OrvAPI::Feature
{
public:
    AravisFeature(const std::weak_ptr<AravisDevice> &device, int index, ArvGcNode *node);
    ~AravisFeature() override;

    using TKN::OrvAPI::Feature::GetDisplayName;
    using TKN::OrvAPI::Feature::GetName;
    using TKN::OrvAPI::Feature::GetValue;
    using TKN::OrvAPI::Feature::GetValues;

    TKN::OrvAPI::OrvErrorType GetName(char *pBuffer, unsigned int &rnLength) const override;
    TKN::OrvAPI::OrvErrorType GetDisplayName(char *pBuffer, unsigned int &rnLength) const override;
    TKN::OrvAPI::OrvErrorType GetDataType(TKN::OrvAPI::OrvFeatureDataType &rType) const override;

    TKN::OrvAPI::OrvErrorType GetValue(char *pBuffer, unsigned int &rnLength) const override;
    TKN::OrvAPI::OrvErrorType GetValue(long long &rnValue) const override;
    TKN::OrvAPI::OrvErrorType GetValue(double &rfValue) const override;
    TKN::OrvAPI::OrvErrorType GetValue(bool &rbValue) const override;

    TKN::OrvAPI::OrvErrorType SetValue(const long long &rnValue) override;
    TKN::OrvAPI::OrvErrorType SetValue(const double &rfValue) override;
    TKN::OrvAPI::OrvErrorType SetValue(bool bValue) override;
    TKN::OrvAPI::OrvErrorType SetValue(const char *pStrValue) override;

    TKN::OrvAPI::OrvErrorType GetRange(long long &rnMinimum, long long &rnMaximum) const override;
    TKN::OrvAPI::OrvErrorType GetRange(double &rfMinimum, double &rfMaximum) const override;
    TKN::OrvAPI::OrvErrorType GetIncrement(long long &rnIncrement) const override;
    TKN::OrvAPI::OrvErrorType GetIncrement(double &rfIncrement) const override;

    TKN::OrvAPI::OrvErrorType GetValues(const char **pStrValues, unsigned int &rnSize) const override;
    TKN::OrvAPI::OrvErrorType IsValueAvailable(const char *pStrValue, bool &rbAvailable) const override;
    TKN::OrvAPI::OrvErrorType IsWritable(bool &rbWritable) const override;

    TKN::OrvAPI::OrvErrorType RunCommand() override;

    TKN::OrvAPI::OrvErrorType RegisterObserver(const TKN::OrvAPI::IFeatureObserverPtr &pObserver) override;
    TKN::OrvAPI::OrvErrorType UnregisterObserver(const TKN::OrvAPI::IFeatureObserverPtr &pObserver) override;

    const std::string &name() const { return m_Name; }
    TKN::OrvAPI::OrvFeatureDataType type() const { return m_Type; }
    OrvSim::ObserverRegistry &observers() { return m_Observers; }

    // With the device's mutex held and the device open.
    TKN::OrvAPI::OrvErrorType readText(std::string &text) const;
    TKN::OrvAPI::OrvErrorType writableNow(bool &writable) const;

    static TKN::OrvAPI::OrvFeatureDataType typeOf(ArvGcNode *node);

private:
    TKN::OrvAPI::OrvErrorType checkWritable() const;
    TKN::OrvAPI::OrvErrorType checkInteger(long long value) const;
    TKN::OrvAPI::OrvErrorType checkEntry(const char *entry) const;
    /// Runs `write` under the device's lock after the writability check, then
    /// notifies on success.
    template <class Write>
    TKN::OrvAPI::OrvErrorType write(TKN::OrvAPI::OrvFeatureDataType type, Write &&write);

    std::weak_ptr<AravisDevice> m_Device;
    const int m_Index;
    ArvGcNode *const m_pNode; // owned by the device's GenICam document
    const std::string m_Name;
    const std::string m_DisplayName;
    const TKN::OrvAPI::OrvFeatureDataType m_Type;
    // Document order; immutable, as GetValues hands out pointers into it.
    std::vector<std::string> m_Entries;
    std::vector<ArvGcFeatureNode *> m_EntryNodes;
    OrvSim::ObserverRegistry m_Observers;
};

} // namespace OrvArv

#endif // ORVARV_ARAVISFEATURE_H
