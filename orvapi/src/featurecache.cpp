// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "featurecache.h"

#include <algorithm>

namespace OrvSim {

void FeatureCache::reset(const std::vector<int> &slotCounts, const std::vector<int> &entryCounts)
{
    m_Answers.assign(slotCounts.size(), std::vector<CachedAnswers>());
    for (std::size_t f = 0; f < slotCounts.size(); ++f) {
        CachedAnswers empty;
        empty.available.assign(entryCounts[f], -1);
        m_Answers[f].assign(slotCounts[f], empty);
    }
}

void FeatureCache::forgetDerived(int feature)
{
    for (CachedAnswers &answers : m_Answers[feature]) {
        answers.hasWritable = false;
        std::fill(answers.available.begin(), answers.available.end(), -1);
    }
}

void FeatureCache::forgetDerived(int feature, int slot)
{
    CachedAnswers &answers = m_Answers[feature][slot];
    answers.hasWritable = false;
    std::fill(answers.available.begin(), answers.available.end(), -1);
}

void FeatureCache::forgetAll()
{
    for (std::vector<CachedAnswers> &slots : m_Answers) {
        for (CachedAnswers &answers : slots) {
            answers.hasValue = false;
            answers.hasWritable = false;
            std::fill(answers.available.begin(), answers.available.end(), -1);
        }
    }
}

} // namespace OrvSim
