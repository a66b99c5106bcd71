// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// AravisDevice: opening, the feature list and categories, and which features
// a write reaches.
#include "aravisdevice.h"

#include "aravisfeature.h"
#include "notificationdispatcher.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

using namespace TKN::OrvAPI;

namespace OrvArv {

namespace {

// Deeper category trees than this are a broken description, not a camera.
const int MaxCategoryDepth = 32;

bool isValueNode(ArvGcNode *node)
{
    return ARV_IS_GC_FEATURE_NODE(node) && !ARV_IS_GC_CATEGORY(node) && !ARV_IS_GC_ENUM_ENTRY(node)
           && !ARV_IS_GC_PORT(node) && AravisFeature::typeOf(node) != OrvFeatureDataUnknown;
}

std::string trimmed(const char *text)
{
    std::string result = text ? text : "";
    const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    result.erase(result.begin(), std::find_if(result.begin(), result.end(), notSpace));
    result.erase(std::find_if(result.rbegin(), result.rend(), notSpace).base(), result.end());
    return result;
}

/// A reference to another node: <pValue>Name</pValue>, <pIndex>, <pAddress>, ...
bool isReference(const char *tag)
{
    return tag && tag[0] == 'p' && std::isupper(static_cast<unsigned char>(tag[1]));
}

std::string textOf(ArvDomNode *element)
{
    ArvDomNode *text = arv_dom_node_get_first_child(element);
    return text ? trimmed(arv_dom_node_get_node_value(text)) : std::string();
}

// For each node, the features that read it, directly or through other nodes.
std::vector<std::vector<int>> readersOf(const std::vector<std::vector<int>> &references,
                                        const std::vector<int> &featureNodes)
{
    const std::size_t nodeCount = references.size();
    std::vector<std::vector<int>> readers(nodeCount);
    for (int f = 0; f < static_cast<int>(featureNodes.size()); ++f) {
        std::vector<bool> seen(nodeCount, false);
        std::vector<int> stack{featureNodes[f]};
        while (!stack.empty()) {
            const int node = stack.back();
            stack.pop_back();
            if (node < 0 || static_cast<std::size_t>(node) >= nodeCount || seen[node])
                continue;
            seen[node] = true;
            readers[node].push_back(f);
            for (int next : references[node])
                stack.push_back(next);
        }
    }
    return readers;
}

} // namespace

std::shared_ptr<AravisDevice> AravisDevice::create(ArvDevice *device, const std::string &id)
{
    // The dispatcher must outlive every device, also one held in a static.
    OrvSim::NotificationDispatcher::instance();
    std::shared_ptr<AravisDevice> result(new AravisDevice(device, id));
    if (!result->m_pGc) {
        result->close();
        throw OpenError(id, 0, "the device has no GenICam description");
    }
    {
        std::lock_guard<std::recursive_mutex> lock(result->m_Mutex);
        // GenICam stacks cache cachable nodes: repeated reads of an unchanged
        // feature must not go to the wire.
        arv_device_set_register_cache_policy(device, ARV_REGISTER_CACHE_POLICY_ENABLE);
        arv_device_set_access_check_policy(device, ARV_ACCESS_CHECK_POLICY_ENABLE);
        arv_device_set_range_check_policy(device, ARV_RANGE_CHECK_POLICY_ENABLE);
        result->buildFeatures();
        result->buildDependencies();
    }
    result->m_Poller = std::thread(&AravisDevice::pollLoop, result.get());
    return result;
}

AravisDevice::AravisDevice(ArvDevice *device, const std::string &id)
    : m_pDevice(device),
      m_pGc(arv_device_get_genicam(device)),
      m_Id(id)
{
}

AravisDevice::~AravisDevice()
{
    close();
}

void AravisDevice::close()
{
    stopPolling();
    std::lock_guard<std::recursive_mutex> lock(m_Mutex);
    if (!m_pDevice)
        return;
    stopStream();
    if (m_pCamera)
        g_object_unref(m_pCamera);
    m_pCamera = nullptr;
    g_object_unref(m_pDevice);
    m_pDevice = nullptr;
    m_pGc = nullptr;
    for (AravisFeature *feature : m_AravisFeatures)
        feature->observers().close();
}

int AravisDevice::addFeature(ArvGcNode *node)
{
    const char *nodeName = arv_gc_feature_node_get_name(ARV_GC_FEATURE_NODE(node));
    if (!nodeName)
        return -1;
    const std::string name = nodeName;
    const auto found = m_IndexByName.find(name);
    if (found != m_IndexByName.end())
        return found->second;
    const int index = static_cast<int>(m_Features.size());
    auto *feature = new AravisFeature(shared_from_this(), index, node);
    m_Features.push_back(FeaturePtr(feature));
    m_AravisFeatures.push_back(feature);
    m_IndexByName.emplace(name, index);
    const char *description = arv_gc_feature_node_get_description(ARV_GC_FEATURE_NODE(node));
    if (!description || !*description)
        description = arv_gc_feature_node_get_tooltip(ARV_GC_FEATURE_NODE(node));
    if (description && *description)
        m_Descriptions.emplace(name, trimmed(description));
    return index;
}

void AravisDevice::buildGroups(ArvGcNode *category, FeatureGroup &group, int depth)
{
    if (depth > MaxCategoryDepth)
        return;
    for (const GSList *item = arv_gc_category_get_features(ARV_GC_CATEGORY(category)); item; item = item->next) {
        const char *name = static_cast<const char *>(item->data);
        ArvGcNode *node = arv_gc_get_node(m_pGc, name);
        if (!node)
            continue;
        if (ARV_IS_GC_CATEGORY(node)) {
            FeatureGroup child;
            child.name = name;
            const char *displayName = arv_gc_feature_node_get_display_name(ARV_GC_FEATURE_NODE(node));
            child.displayName = displayName ? displayName : name;
            buildGroups(node, child, depth + 1);
            group.groups.push_back(std::move(child));
        } else if (isValueNode(node) && addFeature(node) >= 0) {
            group.features.push_back(name);
        }
    }
}

void AravisDevice::buildFeatures()
{
    const char *model = arv_device_get_string_feature_value(m_pDevice, "DeviceModelName", nullptr);
    m_ModelName = model && *model ? trimmed(model) : m_Id;

    // The features a person sees in every GenICam viewer: those of the
    // category tree. Registers and formulas behind them stay inside.
    ArvGcNode *root = arv_gc_get_node(m_pGc, "Root");
    if (root && ARV_IS_GC_CATEGORY(root)) {
        buildGroups(root, m_Groups, 0);
        return;
    }
    // Without categories, every value node.
    ArvDomElement *document = arv_dom_document_get_document_element(ARV_DOM_DOCUMENT(m_pGc));
    for (ArvDomNode *child = arv_dom_node_get_first_child(ARV_DOM_NODE(document)); child;
         child = arv_dom_node_get_next_sibling(child)) {
        if (ARV_IS_GC_NODE(child) && isValueNode(ARV_GC_NODE(child)) && addFeature(ARV_GC_NODE(child)) >= 0)
            m_Groups.features.push_back(arv_gc_feature_node_get_name(ARV_GC_FEATURE_NODE(child)));
    }
}

// A write reaches the written feature and every feature whose value,
// access or entries are computed from what the write changed: through
// pValue, pIndex, pAddress, pVariable, pIsLocked and the like, through a
// selector's pSelected, and through pInvalidator. A selector that only
// indexes a register (pIndex, a SwissKnife address) reaches what it selects
// this way, whether or not the description also says pSelected.
void AravisDevice::buildDependencies()
{
    // Every node of the description by name, and what it refers to.
    std::unordered_map<std::string, int> nodeIndex;
    std::vector<std::vector<int>> references; // node -> nodes it reads
    std::vector<std::vector<int>> values;     // node -> nodes its pValue writes
    auto indexOf = [&](const std::string &name) {
        const auto found = nodeIndex.emplace(name, static_cast<int>(references.size()));
        if (found.second) {
            references.emplace_back();
            values.emplace_back();
        }
        return found.first->second;
    };
    std::vector<std::pair<int, int>> selected; // selector, selected

    ArvDomElement *document = arv_dom_document_get_document_element(ARV_DOM_DOCUMENT(m_pGc));
    std::vector<ArvDomNode *> pending{ARV_DOM_NODE(document)};
    while (!pending.empty()) {
        ArvDomNode *parent = pending.back();
        pending.pop_back();
        for (ArvDomNode *child = arv_dom_node_get_first_child(parent); child;
             child = arv_dom_node_get_next_sibling(child)) {
            if (ARV_IS_GC_GROUP_NODE(child)) {
                pending.push_back(child);
                continue;
            }
            if (!ARV_IS_GC_FEATURE_NODE(child) || ARV_IS_GC_CATEGORY(child) || ARV_IS_GC_PORT(child))
                continue;
            const char *ownerName = arv_gc_feature_node_get_name(ARV_GC_FEATURE_NODE(child));
            if (!ownerName)
                continue; // a register block known only by its entries
            const int owner = indexOf(ownerName);
            // An enumeration's entries count as the enumeration: their
            // availability is part of its state.
            std::vector<ArvDomNode *> elements{child};
            for (ArvDomNode *part = arv_dom_node_get_first_child(child); part;
                 part = arv_dom_node_get_next_sibling(part)) {
                if (ARV_IS_GC_ENUM_ENTRY(part))
                    elements.push_back(part);
            }
            for (ArvDomNode *element : elements) {
                for (ArvDomNode *property = arv_dom_node_get_first_child(element); property;
                     property = arv_dom_node_get_next_sibling(property)) {
                    const char *tag = arv_dom_node_get_node_name(property);
                    if (!isReference(tag) || !std::strcmp(tag, "pPort") || !std::strcmp(tag, "pFeature"))
                        continue;
                    const std::string target = textOf(property);
                    if (target.empty())
                        continue;
                    const int other = indexOf(target);
                    if (!std::strcmp(tag, "pSelected"))
                        selected.emplace_back(owner, other);
                    else
                        references[owner].push_back(other);
                    if (element == child && !std::strcmp(tag, "pValue"))
                        values[owner].push_back(other);
                }
            }
        }
    }
    for (const auto &pair : selected)
        references[pair.second].push_back(pair.first);

    std::vector<int> featureNodes;
    featureNodes.reserve(m_AravisFeatures.size());
    for (const auto &feature : m_AravisFeatures)
        featureNodes.push_back(indexOf(feature->name()));
    const int nodeCount = static_cast<int>(references.size());
    const std::vector<std::vector<int>> readers = readersOf(references, featureNodes);

    // A write changes the feature's node and the nodes down its pValue chain.
    m_Affected.assign(m_AravisFeatures.size(), std::vector<int>());
    m_Snapshots.assign(m_AravisFeatures.size(), Snapshot());
    for (int f = 0; f < static_cast<int>(m_AravisFeatures.size()); ++f) {
        std::vector<int> &affected = m_Affected[f];
        affected.push_back(f);
        std::set<int> written;
        std::vector<int> stack{nodeIndex.at(m_AravisFeatures[f]->name())};
        while (!stack.empty()) {
            const int node = stack.back();
            stack.pop_back();
            if (!written.insert(node).second)
                continue;
            for (int next : values[node])
                stack.push_back(next);
        }
        for (int node : written) {
            if (node >= nodeCount)
                continue;
            for (int reader : readers[node]) {
                if (std::find(affected.begin(), affected.end(), reader) == affected.end())
                    affected.push_back(reader);
            }
        }
    }
}

std::string AravisDevice::description(const std::string &feature) const
{
    const auto found = m_Descriptions.find(feature);
    return found == m_Descriptions.end() ? std::string() : found->second;
}

void AravisDevice::notifyWritten(int feature)
{
    std::vector<int> observed;
    {
        std::lock_guard<std::recursive_mutex> lock(m_Mutex);
        if (!m_pDevice)
            return;
        for (int f : m_Affected[feature]) {
            if (m_AravisFeatures[f]->observers().empty())
                continue;
            observed.push_back(f);
            // The poller must not report this change a second time.
            m_Snapshots[f] = snapshot(f);
        }
    }
    post(observed);
}

void AravisDevice::follow(int feature)
{
    // A change between the registration and the poller's next look must count.
    if (!m_Snapshots[feature].valid)
        m_Snapshots[feature] = snapshot(feature);
}

void AravisDevice::post(const std::vector<int> &features)
{
    std::vector<OrvSim::NotificationDispatcher::Item> items;
    for (int f : features) {
        std::vector<std::uint64_t> recipients = m_AravisFeatures[f]->observers().registrations();
        if (!recipients.empty())
            items.push_back(OrvSim::NotificationDispatcher::Item{m_Features[f], &m_AravisFeatures[f]->observers(),
                                                                 std::move(recipients)});
    }
    OrvSim::NotificationDispatcher::instance().post(std::move(items));
}

AravisDevice::Snapshot AravisDevice::snapshot(int f) const
{
    Snapshot result;
    result.valid = true;
    const AravisFeature &feature = *m_AravisFeatures[f];
    OrvErrorType err = feature.writableNow(result.writable);
    if (err == OrvErrSuccess) {
        switch (feature.type()) {
        case OrvFeatureDataEnum:
        case OrvFeatureDataString: err = feature.readText(result.value); break;
        case OrvFeatureDataInt:
        case OrvFeatureDataFloat:
        case OrvFeatureDataBool: {
            GError *error = nullptr;
            const char *value = arv_gc_feature_node_get_value_as_string(
                ARV_GC_FEATURE_NODE(arv_gc_get_node(m_pGc, feature.name().c_str())), &error);
            err = takeError(error);
            result.value = value ? value : "";
            break;
        }
        default: break; // commands and raw data: only their access is followed
        }
    }
    result.error = err;
    return result;
}

} // namespace OrvArv
