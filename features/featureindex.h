// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// FeatureIndex: finding a camera's features by name without reading every
// name on every lookup.
#ifndef FEATUREINDEX_H
#define FEATUREINDEX_H

#include <featurelist.h>

#include <string>
#include <unordered_map>
#include <vector>

/// Positions of the features of a FeatureVector by name, read once. Answers
/// as a walk over the list would: the first feature of a name wins, and a
/// feature whose name cannot be read now is passed over (one that failed
/// before is asked again, so a name that fails once is not lost). The vector is the
/// host's list for one camera: the index is rebuilt when its size or storage
/// changes, not when an element is replaced in place.
class FeatureIndex
{
public:
    /// The position of the first feature of that name, -1 if there is none.
    int find(const FeatureVector &features, const std::string &name);
    /// The positions of every feature of that name, in list order.
    std::vector<int> findAll(const FeatureVector &features, const std::string &name);

private:
    void update(const FeatureVector &features);
    void add(int position, const std::string &name);

    const void *m_Storage = nullptr;
    int m_Size = -1;
    // Ascending positions per name.
    std::unordered_map<std::string, std::vector<int>> m_Positions;
    // Features whose name could not be read yet, ascending.
    std::vector<int> m_Unnamed;
};

#endif // FEATUREINDEX_H
