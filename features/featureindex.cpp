// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "featureindex.h"

#include <algorithm>

using TKN::OrvAPI::FeaturePtr;
using TKN::OrvAPI::OrvErrSuccess;

namespace {

bool readName(const FeaturePtr &feature, std::string &name)
{
    return feature && feature->GetName(name) == OrvErrSuccess;
}

} // namespace

void FeatureIndex::add(int position, const std::string &name)
{
    std::vector<int> &positions = m_Positions[name];
    positions.insert(std::upper_bound(positions.begin(), positions.end(), position), position);
}

void FeatureIndex::update(const FeatureVector &features)
{
    if (m_Storage != features.constData() || m_Size != features.size()) {
        m_Storage = features.constData();
        m_Size = features.size();
        m_Positions.clear();
        m_Unnamed.clear();
        std::string name;
        for (int i = 0; i < m_Size; ++i) {
            if (readName(features.at(i), name))
                add(i, name);
            else if (features.at(i))
                m_Unnamed.push_back(i);
        }
        return;
    }
    // Names that could not be read are asked again, as a walk would.
    std::string name;
    for (auto it = m_Unnamed.begin(); it != m_Unnamed.end();) {
        if (readName(features.at(*it), name)) {
            add(*it, name);
            it = m_Unnamed.erase(it);
        } else {
            ++it;
        }
    }
}

// A name read once stays the feature's name, but the one found is asked
// again: a feature whose name cannot be read now is passed over, as a walk
// would pass it over.
int FeatureIndex::find(const FeatureVector &features, const std::string &name)
{
    const std::vector<int> positions = findAll(features, name);
    return positions.empty() ? -1 : positions.front();
}

std::vector<int> FeatureIndex::findAll(const FeatureVector &features, const std::string &name)
{
    update(features);
    std::vector<int> readable;
    const auto found = m_Positions.find(name);
    if (found == m_Positions.end())
        return readable;
    std::string current;
    for (int position : found->second) {
        if (readName(features.at(position), current) && current == name)
            readable.push_back(position);
    }
    return readable;
}
