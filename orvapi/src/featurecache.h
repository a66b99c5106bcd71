// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// FeatureCache: what a simulated camera's client side already knows of its
// features, per feature and selector entry.
#ifndef ORVSIM_FEATURECACHE_H
#define ORVSIM_FEATURECACHE_H

#include <string>
#include <vector>

namespace OrvSim {

/// The answers kept for one feature at one selector entry (entry 0 for a
/// feature no selector selects). A flag says whether its answer is known.
struct CachedAnswers
{
    bool hasValue = false;
    long long i = 0; ///< Integer, Enumeration index
    bool b = false;
    double f = 0;
    std::string s;
    bool hasWritable = false;
    bool writable = false;
    /// Per enumeration entry: -1 unknown, 0 unavailable, 1 available.
    std::vector<signed char> available;
};

class FeatureCache
{
public:
    /// One record per feature and slot; entryCounts: enumeration entries per feature.
    void reset(const std::vector<int> &slotCounts, const std::vector<int> &entryCounts);

    CachedAnswers &at(int feature, int slot) { return m_Answers[feature][slot]; }
    /// The value of one slot, after a change the client did not make.
    void forgetValue(int feature, int slot) { m_Answers[feature][slot].hasValue = false; }
    /// Everything but the values, at every slot: writability and entry
    /// availability are worked out from other features.
    void forgetDerived(int feature);
    void forgetDerived(int feature, int slot);
    void forgetAll();

private:
    std::vector<std::vector<CachedAnswers>> m_Answers;
};

} // namespace OrvSim

#endif // ORVSIM_FEATURECACHE_H
