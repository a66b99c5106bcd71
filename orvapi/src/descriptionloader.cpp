// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
// Reads a camera description (JSON) into a CameraModel, with errors that name
// the line of the offending feature or key.
#include "cameramodel.h"

#include "descriptionparser.h"
#include "jsontext.h"
#include "valuetext.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>

using json = nlohmann::json;
using namespace TKN::OrvAPI;

namespace OrvSim {

namespace {

/// A semantic error at a JSON pointer into the description.
struct DescriptionError
{
    std::string pointer;
    std::string message;
};

std::string pointerToken(const std::string &key)
{
    std::string token;
    for (char c : key) {
        if (c == '~')
            token += "~0";
        else if (c == '/')
            token += "~1";
        else
            token += c;
    }
    return token;
}

const char *typeName(OrvFeatureDataType type)
{
    return dataTypeName(type);
}

OrvFeatureDataType typeFromName(const std::string &name)
{
    for (OrvFeatureDataType type : {OrvFeatureDataInt, OrvFeatureDataFloat, OrvFeatureDataEnum, OrvFeatureDataString,
                                    OrvFeatureDataBool, OrvFeatureDataCommand, OrvFeatureDataRaw})
        if (name == typeName(type))
            return type;
    return OrvFeatureDataUnknown;
}

/// A JSON value in an error message, cut short like a quoted text.
std::string shortDump(const json &value)
{
    const std::string text = value.dump(-1, ' ', true);
    return text.size() <= 80 ? text : text.substr(0, 80) + "... (" + std::to_string(text.size()) + " bytes)";
}

class Loader
{
public:
    Loader(const json &root, CameraModel &model)
        : m_Root(root),
          m_Model(model)
    {
    }

    void load()
    {
        if (!m_Root.is_object())
            fail("", "a camera description is a JSON object");
        for (auto it = m_Root.begin(); it != m_Root.end(); ++it)
            if (it.key() != "name" && it.key() != "description" && it.key() != "features" && it.key() != "timing")
                fail("/" + pointerToken(it.key()), "unknown key " + quotedText(it.key()));
        m_Model.m_Name = optionalString(m_Root, "", "name");
        m_Model.m_Description = optionalString(m_Root, "", "description");
        readTiming();
        const auto features = m_Root.find("features");
        if (features == m_Root.end())
            fail("", "no \"features\" list");
        if (!features->is_array())
            fail("/features", "\"features\" must be a list");
        m_Features = &*features;

        const int count = static_cast<int>(m_Features->size());
        m_Model.m_Definitions.resize(count);
        for (int f = 0; f < count; ++f)
            readNameAndType(f);
        for (int f = 0; f < count; ++f)
            readShape(f);
        for (int f = 0; f < count; ++f)
            readSelects(f);
        m_Model.m_StartValues.resize(count);
        for (int f = 0; f < count; ++f)
            readValuesAndConditions(f);
    }

private:
    [[noreturn]] void fail(const std::string &pointer, const std::string &message) const
    {
        throw DescriptionError{pointer, message};
    }

    void readTiming()
    {
        const auto timing = m_Root.find("timing");
        if (timing == m_Root.end())
            return;
        if (!timing->is_object())
            fail("/timing", "\"timing\" must be an object with \"frameRate\" and \"readoutTime\"");
        for (auto it = timing->begin(); it != timing->end(); ++it) {
            const std::string pointer = "/timing/" + pointerToken(it.key());
            if (it.key() == "frameRate") {
                // A million frames a second is beyond any camera and keeps the period at least 1 us.
                if (!it->is_number() || !(it->get<double>() > 0) || it->get<double>() > 1e6)
                    fail(pointer, "\"frameRate\" must be a number of frames per second, above 0 and at most 1000000");
                m_Model.m_FrameRate = it->get<double>();
            } else if (it.key() == "readoutTime") {
                if (!it->is_number_integer() || it->get<long long>() < 0 || it->get<long long>() > 10000000)
                    fail(pointer, "\"readoutTime\" must be whole microseconds from 0 to 10000000");
                m_Model.m_ReadoutTime = it->get<long long>();
            } else {
                fail(pointer, "unknown key " + quotedText(it.key()) + " in \"timing\"");
            }
        }
    }

    [[noreturn]] void failFeature(int f, const std::string &key, const std::string &message) const
    {
        std::string pointer = featurePointer(f);
        if (!key.empty())
            pointer += "/" + key;
        fail(pointer, "feature " + quotedText(m_Model.m_Definitions[f].name) + ": " + message);
    }

    static std::string featurePointer(int f) { return "/features/" + std::to_string(f); }

    const json &feature(int f) const { return (*m_Features)[f]; }

    std::string optionalString(const json &object, const std::string &pointer, const char *key) const
    {
        const auto found = object.find(key);
        if (found == object.end())
            return std::string();
        if (!found->is_string())
            fail(pointer + "/" + key, quotedText(key) + " must be a text");
        return found->get<std::string>();
    }

    void readNameAndType(int f)
    {
        const json &object = feature(f);
        const std::string pointer = featurePointer(f);
        if (!object.is_object())
            fail(pointer, "feature " + std::to_string(f + 1) + " is not an object");
        const auto name = object.find("name");
        if (name == object.end())
            fail(pointer, "feature " + std::to_string(f + 1) + " has no \"name\"");
        if (!name->is_string() || name->get<std::string>().empty())
            fail(pointer + "/name", "feature " + std::to_string(f + 1) + ": \"name\" must be a non-empty text");
        FeatureDefinition &definition = m_Model.m_Definitions[f];
        definition.name = name->get<std::string>();
        if (!m_Model.m_IndexByName.emplace(definition.name, f).second)
            fail(pointer + "/name", "duplicate feature name " + quotedText(definition.name));
        const auto type = object.find("type");
        if (type == object.end())
            failFeature(f, "", "no \"type\"");
        if (!type->is_string())
            failFeature(f, "type", "\"type\" must be a text");
        definition.type = typeFromName(type->get<std::string>());
        if (definition.type == OrvFeatureDataUnknown)
            failFeature(f, "type",
                        "unknown type " + quotedText(type->get<std::string>())
                            + " (Integer, Float, Enumeration, String, Boolean, Command or Raw)");
    }

    void readShape(int f)
    {
        const json &object = feature(f);
        FeatureDefinition &definition = m_Model.m_Definitions[f];
        std::set<std::string> allowed = {"name",     "displayName",          "category", "type",
                                         "writable", "lockedWhileAcquiring", "volatile"};
        switch (definition.type) {
        case OrvFeatureDataInt:
        case OrvFeatureDataFloat: allowed.insert({"value", "values", "min", "max", "inc"}); break;
        case OrvFeatureDataEnum: allowed.insert({"value", "values", "entries", "selects"}); break;
        case OrvFeatureDataString:
        case OrvFeatureDataBool: allowed.insert({"value", "values"}); break;
        default: break;
        }
        for (auto it = object.begin(); it != object.end(); ++it)
            if (!allowed.count(it.key()))
                failFeature(f, pointerToken(it.key()),
                            "unknown key " + quotedText(it.key()) + " for type " + typeName(definition.type));

        definition.displayName = optionalString(object, featurePointer(f), "displayName");
        if (definition.displayName.empty())
            definition.displayName = definition.name;
        definition.category = optionalString(object, featurePointer(f), "category");
        const auto locked = object.find("lockedWhileAcquiring");
        if (locked != object.end()) {
            if (!locked->is_boolean())
                failFeature(f, "lockedWhileAcquiring", "\"lockedWhileAcquiring\" must be true or false");
            definition.lockedWhileAcquiring = locked->get<bool>();
        }
        const auto isVolatile = object.find("volatile");
        if (isVolatile != object.end()) {
            if (!isVolatile->is_boolean())
                failFeature(f, "volatile", "\"volatile\" must be true or false");
            definition.isVolatile = isVolatile->get<bool>();
        }

        if (definition.type == OrvFeatureDataInt) {
            definition.intMin = requiredInteger(f, "min");
            definition.intMax = requiredInteger(f, "max");
            if (definition.intMin > definition.intMax)
                failFeature(f, "min",
                            "min " + std::to_string(definition.intMin) + " is greater than max "
                                + std::to_string(definition.intMax));
            if (object.contains("inc")) {
                definition.intInc = requiredInteger(f, "inc");
                if (definition.intInc <= 0)
                    failFeature(f, "inc", "inc must be greater than 0");
            }
        } else if (definition.type == OrvFeatureDataFloat) {
            definition.floatMin = requiredNumber(f, "min");
            definition.floatMax = requiredNumber(f, "max");
            if (definition.floatMin > definition.floatMax)
                failFeature(f, "min",
                            "min " + doubleText(definition.floatMin) + " is greater than max "
                                + doubleText(definition.floatMax));
            if (object.contains("inc")) {
                definition.floatInc = requiredNumber(f, "inc");
                if (!(definition.floatInc > 0))
                    failFeature(f, "inc", "inc must be greater than 0");
            }
        } else if (definition.type == OrvFeatureDataEnum) {
            const auto entries = object.find("entries");
            if (entries == object.end())
                failFeature(f, "", "an Enumeration needs \"entries\"");
            if (!entries->is_array() || entries->empty())
                failFeature(f, "entries", "\"entries\" must be a non-empty list");
            for (std::size_t k = 0; k < entries->size(); ++k) {
                const json &entry = (*entries)[k];
                const std::string key = "entries/" + std::to_string(k);
                std::string entryName;
                if (entry.is_string()) {
                    entryName = entry.get<std::string>();
                } else if (entry.is_object()) {
                    for (auto it = entry.begin(); it != entry.end(); ++it)
                        if (it.key() != "entry" && it.key() != "available")
                            failFeature(f, key + "/" + pointerToken(it.key()),
                                        "unknown key " + quotedText(it.key()) + " in an entry");
                    const auto named = entry.find("entry");
                    if (named == entry.end() || !named->is_string())
                        failFeature(f, key, "an entry object needs \"entry\" with its name");
                    entryName = named->get<std::string>();
                } else {
                    failFeature(f, key, "an entry is a name or an object with \"entry\" and \"available\"");
                }
                if (entryName.empty())
                    failFeature(f, key, "empty entry name");
                if (std::find(definition.entries.begin(), definition.entries.end(), entryName)
                    != definition.entries.end())
                    failFeature(f, key, "duplicate entry " + quotedText(entryName));
                definition.entries.push_back(entryName);
            }
        }
    }

    long long requiredInteger(int f, const char *key) const
    {
        const json &object = feature(f);
        const auto found = object.find(key);
        if (found == object.end())
            failFeature(f, "", std::string("needs \"") + key + "\"");
        return integerValue(f, key, *found);
    }

    long long integerValue(int f, const std::string &key, const json &value) const
    {
        if (value.is_number_unsigned() && value.get<unsigned long long>() > static_cast<unsigned long long>(LLONG_MAX))
            failFeature(f, key, quotedText(key) + " is beyond the 64-bit range");
        if (!value.is_number_integer())
            failFeature(f, key, quotedText(key) + " must be a whole number");
        return value.get<long long>();
    }

    double requiredNumber(int f, const char *key) const
    {
        const json &object = feature(f);
        const auto found = object.find(key);
        if (found == object.end())
            failFeature(f, "", std::string("needs \"") + key + "\"");
        if (!found->is_number())
            failFeature(f, key, quotedText(key) + " must be a number");
        return found->get<double>();
    }

    void readSelects(int f)
    {
        const json &object = feature(f);
        const auto selects = object.find("selects");
        if (selects == object.end())
            return;
        if (!selects->is_array())
            failFeature(f, "selects", "\"selects\" must be a list of feature names");
        for (std::size_t k = 0; k < selects->size(); ++k) {
            const std::string key = "selects/" + std::to_string(k);
            const json &name = (*selects)[k];
            if (!name.is_string())
                failFeature(f, key, "\"selects\" must be a list of feature names");
            const std::string selectedName = name.get<std::string>();
            const int selected = m_Model.indexOf(selectedName);
            if (selected < 0)
                failFeature(f, key, "selects unknown feature " + quotedText(selectedName));
            if (selected == f)
                failFeature(f, key, "a selector cannot select itself");
            FeatureDefinition &selectedDefinition = m_Model.m_Definitions[selected];
            if (selectedDefinition.selector >= 0)
                failFeature(f, key,
                            quotedText(selectedName) + " is already selected by "
                                + quotedText(m_Model.m_Definitions[selectedDefinition.selector].name));
            if (feature(selected).contains("selects"))
                failFeature(f, key, quotedText(selectedName) + " is a selector itself; selectors do not nest");
            if (selectedDefinition.type == OrvFeatureDataCommand || selectedDefinition.type == OrvFeatureDataRaw)
                failFeature(f, key, quotedText(selectedName) + " has no value to select");
            selectedDefinition.selector = f;
            m_Model.m_Definitions[f].selects.push_back(selected);
        }
    }

    Slot slotValue(int f, const std::string &key, const json &value) const
    {
        const FeatureDefinition &definition = m_Model.m_Definitions[f];
        Slot slot;
        switch (definition.type) {
        case OrvFeatureDataInt: {
            slot.i = integerValue(f, key, value);
            if (slot.i < definition.intMin || slot.i > definition.intMax)
                failFeature(f, key,
                            "value " + std::to_string(slot.i) + " is outside " + std::to_string(definition.intMin)
                                + ".." + std::to_string(definition.intMax));
            const unsigned long long offset =
                static_cast<unsigned long long>(slot.i) - static_cast<unsigned long long>(definition.intMin);
            if (offset % static_cast<unsigned long long>(definition.intInc) != 0)
                failFeature(f, key, "value " + std::to_string(slot.i) + " is not min plus a multiple of inc");
            break;
        }
        case OrvFeatureDataFloat:
            if (!value.is_number())
                failFeature(f, key, "the value must be a number");
            slot.f = value.get<double>();
            if (slot.f < definition.floatMin || slot.f > definition.floatMax)
                failFeature(f, key,
                            "value " + doubleText(slot.f) + " is outside " + doubleText(definition.floatMin) + ".."
                                + doubleText(definition.floatMax));
            break;
        case OrvFeatureDataBool:
            if (!value.is_boolean())
                failFeature(f, key, "the value must be true or false");
            slot.b = value.get<bool>();
            break;
        case OrvFeatureDataEnum: {
            if (!value.is_string())
                failFeature(f, key, "the value must be an entry name");
            const std::string entry = value.get<std::string>();
            const auto found = std::find(definition.entries.begin(), definition.entries.end(), entry);
            if (found == definition.entries.end())
                failFeature(f, key, "value " + quotedText(entry) + " is not an entry");
            slot.i = found - definition.entries.begin();
            break;
        }
        case OrvFeatureDataString:
            if (!value.is_string())
                failFeature(f, key, "the value must be a text");
            slot.s = value.get<std::string>();
            break;
        default: break;
        }
        return slot;
    }

    void readValuesAndConditions(int f)
    {
        const json &object = feature(f);
        FeatureDefinition &definition = m_Model.m_Definitions[f];

        Slot start;
        if (definition.type == OrvFeatureDataInt)
            start.i = definition.intMin;
        else if (definition.type == OrvFeatureDataFloat)
            start.f = definition.floatMin;
        const auto value = object.find("value");
        if (value != object.end())
            start = slotValue(f, "value", *value);
        const std::size_t slots =
            definition.selector < 0 ? 1 : m_Model.m_Definitions[definition.selector].entries.size();
        std::vector<Slot> &startValues = m_Model.m_StartValues[f];
        startValues.assign(slots, start);

        const auto values = object.find("values");
        if (values != object.end()) {
            if (definition.selector < 0)
                failFeature(f, "values", "\"values\" per selector entry, but no selector selects this feature");
            if (!values->is_object())
                failFeature(f, "values", "\"values\" must map selector entries to values");
            const std::vector<std::string> &selectorEntries = m_Model.m_Definitions[definition.selector].entries;
            for (auto it = values->begin(); it != values->end(); ++it) {
                const std::string key = "values/" + pointerToken(it.key());
                const auto found = std::find(selectorEntries.begin(), selectorEntries.end(), it.key());
                if (found == selectorEntries.end())
                    failFeature(f, key,
                                quotedText(it.key()) + " is not an entry of the selector "
                                    + quotedText(m_Model.m_Definitions[definition.selector].name));
                startValues[found - selectorEntries.begin()] = slotValue(f, key, it.value());
            }
        }

        const auto writable = object.find("writable");
        if (writable != object.end())
            definition.writable = condition(f, "writable", *writable);

        definition.entryAvailable.assign(definition.entries.size(), Condition());
        if (definition.type == OrvFeatureDataEnum) {
            const json &entries = object["entries"];
            for (std::size_t k = 0; k < entries.size(); ++k) {
                if (!entries[k].is_object())
                    continue;
                const auto available = entries[k].find("available");
                if (available != entries[k].end())
                    definition.entryAvailable[k] =
                        condition(f, "entries/" + std::to_string(k) + "/available", *available);
            }
        }
    }

    Condition condition(int f, const std::string &key, const json &value) const
    {
        Condition result;
        if (value.is_boolean()) {
            result.constant = value.get<bool>();
            return result;
        }
        if (!value.is_object())
            failFeature(f, key, "a condition is true, false or an object");
        for (auto it = value.begin(); it != value.end(); ++it) {
            static const std::set<std::string> keys = {"feature",       "is",  "isNot", "in", "entry",
                                                       "selectorEntry", "all", "any",   "not"};
            if (!keys.count(it.key()))
                failFeature(f, key + "/" + pointerToken(it.key()), "unknown condition key " + quotedText(it.key()));
        }
        if (value.contains("all") || value.contains("any")) {
            const char *name = value.contains("all") ? "all" : "any";
            result.kind = value.contains("all") ? Condition::Kind::All : Condition::Kind::Any;
            const json &children = value[name];
            if (!children.is_array() || children.empty() || value.size() != 1)
                failFeature(f, key + "/" + name, quotedText(name) + " takes a non-empty list of conditions, alone");
            for (std::size_t k = 0; k < children.size(); ++k)
                result.children.push_back(condition(f, key + "/" + name + "/" + std::to_string(k), children[k]));
            return result;
        }
        if (value.contains("not")) {
            if (value.size() != 1)
                failFeature(f, key + "/not", "\"not\" takes one condition, alone");
            result.kind = Condition::Kind::Not;
            result.children.push_back(condition(f, key + "/not", value["not"]));
            return result;
        }
        if (value.contains("selectorEntry")) {
            const FeatureDefinition &definition = m_Model.m_Definitions[f];
            const std::string entryKey = key + "/selectorEntry";
            if (definition.selector < 0)
                failFeature(f, entryKey, "\"selectorEntry\" on a feature that no selector selects");
            const json &entries = value["selectorEntry"];
            if (!entries.is_array() || value.size() != 1)
                failFeature(f, entryKey, "\"selectorEntry\" takes a list of selector entries, alone");
            const std::vector<std::string> &selectorEntries = m_Model.m_Definitions[definition.selector].entries;
            result.kind = Condition::Kind::SelectorEntry;
            for (std::size_t k = 0; k < entries.size(); ++k) {
                const std::string text = entries[k].is_string() ? entries[k].get<std::string>() : std::string();
                const auto found = std::find(selectorEntries.begin(), selectorEntries.end(), text);
                if (found == selectorEntries.end())
                    failFeature(f, entryKey + "/" + std::to_string(k),
                                "\"selectorEntry\" names " + (text.empty() ? shortDump(entries[k]) : quotedText(text))
                                    + ", not an entry of "
                                    + quotedText(m_Model.m_Definitions[definition.selector].name));
                result.entries.push_back(static_cast<int>(found - selectorEntries.begin()));
            }
            return result;
        }
        const auto named = value.find("feature");
        if (named == value.end())
            failFeature(f, key, "a condition needs \"feature\", \"selectorEntry\", \"all\", \"any\" or \"not\"");
        if (!named->is_string())
            failFeature(f, key + "/feature", "\"feature\" must be a feature name");
        const std::string readName = named->get<std::string>();
        result.feature = m_Model.indexOf(readName);
        if (result.feature < 0)
            failFeature(f, key + "/feature", "condition names unknown feature " + quotedText(readName));
        const FeatureDefinition &read = m_Model.m_Definitions[result.feature];
        if (read.type == OrvFeatureDataCommand || read.type == OrvFeatureDataRaw)
            failFeature(f, key + "/feature", "condition reads " + quotedText(readName) + ", which has no value");

        const int comparisons = static_cast<int>(value.contains("is")) + static_cast<int>(value.contains("isNot"))
                                + static_cast<int>(value.contains("in"));
        if (comparisons != 1)
            failFeature(f, key,
                        "a condition on " + quotedText(readName) + " needs exactly one of \"is\", \"isNot\", \"in\"");
        const char *comparison = value.contains("is") ? "is" : value.contains("isNot") ? "isNot" : "in";
        result.kind = value.contains("is")      ? Condition::Kind::Is
                      : value.contains("isNot") ? Condition::Kind::IsNot
                                                : Condition::Kind::In;
        const json &compared = value[comparison];
        const std::string comparedKey = key + "/" + comparison;
        if (result.kind == Condition::Kind::In) {
            if (!compared.is_array() || compared.empty())
                failFeature(f, comparedKey, "\"in\" takes a non-empty list of values");
            for (std::size_t k = 0; k < compared.size(); ++k)
                result.texts.push_back(conditionText(f, comparedKey + "/" + std::to_string(k), read, compared[k]));
        } else {
            result.texts.push_back(conditionText(f, comparedKey, read, compared));
        }

        const auto entry = value.find("entry");
        if (entry != value.end()) {
            if (read.selector < 0)
                failFeature(f, key + "/entry", "\"entry\" given, but no selector selects " + quotedText(readName));
            const std::vector<std::string> &selectorEntries = m_Model.m_Definitions[read.selector].entries;
            const std::string text = entry->is_string() ? entry->get<std::string>() : std::string();
            const auto found = std::find(selectorEntries.begin(), selectorEntries.end(), text);
            if (found == selectorEntries.end())
                failFeature(f, key + "/entry",
                            "\"entry\" " + shortDump(*entry) + " is not an entry of "
                                + quotedText(m_Model.m_Definitions[read.selector].name));
            result.entry = static_cast<int>(found - selectorEntries.begin());
        }
        return result;
    }

    std::string conditionText(int f, const std::string &key, const FeatureDefinition &read, const json &value) const
    {
        std::string text;
        bool fits = false;
        switch (read.type) {
        case OrvFeatureDataInt:
            fits = value.is_number_integer();
            if (fits)
                text = std::to_string(value.get<long long>());
            break;
        case OrvFeatureDataFloat:
            fits = value.is_number();
            if (fits)
                text = doubleText(value.get<double>());
            break;
        case OrvFeatureDataBool:
            fits = value.is_boolean();
            if (fits)
                text = boolText(value.get<bool>());
            break;
        case OrvFeatureDataEnum:
            fits =
                value.is_string()
                && std::find(read.entries.begin(), read.entries.end(), value.get<std::string>()) != read.entries.end();
            if (fits)
                text = value.get<std::string>();
            break;
        case OrvFeatureDataString:
            fits = value.is_string();
            if (fits)
                text = value.get<std::string>();
            break;
        default: break;
        }
        if (!fits)
            failFeature(f, key,
                        "condition compares " + quotedText(read.name) + " (" + typeName(read.type) + ") with "
                            + shortDump(value) + (read.type == OrvFeatureDataEnum ? ", which is not an entry" : ""));
        return text;
    }

    const json &m_Root;
    CameraModel &m_Model;
    const json *m_Features = nullptr;
};

} // namespace

std::shared_ptr<CameraModel> loadCameraModel(const std::string &text, const std::string &sourceName)
{
    if (text.size() > Camera::MaxDescriptionBytes)
        throw LoadError(sourceName, 0, tooLongText(text.size()));
    const json root = parseDescription(text, sourceName);
    auto model = std::make_shared<CameraModel>();
    try {
        Loader(root, *model).load();
    } catch (const DescriptionError &error) {
        throw LoadError(sourceName, JsonText(text).lineOfPointer(error.pointer), error.message);
    } catch (const json::exception &error) {
        // The loader checks each value's type before reading it; this is a
        // safety net, not a message a user should see.
        throw LoadError(sourceName, 1, std::string("unexpected value: ") + error.what());
    }
    model->createFeatures();
    return model;
}

} // namespace OrvSim
