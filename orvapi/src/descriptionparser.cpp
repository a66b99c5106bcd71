// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "descriptionparser.h"

#include "jsontext.h"
#include "valuetext.h"

#include <OrvikSim.h>

#include <vector>

using json = nlohmann::json;

namespace OrvSim {

namespace {

/// A problem found while parsing, at a place JsonText can find again.
struct TextProblem
{
    enum class Place { Offset, Opening, String };
    Place place;
    std::size_t index;
    std::string message;
};

std::string syntaxMessage(const std::string &what)
{
    // "[json.exception.parse_error.101] parse error at line 3, column 5: syntax error ..."
    const std::size_t column = what.find("column ");
    const std::size_t colon = column == std::string::npos ? std::string::npos : what.find(": ", column);
    if (colon != std::string::npos)
        return "JSON " + what.substr(colon + 2);
    const std::size_t bracket = what.find("] ");
    return "JSON " + (bracket == std::string::npos ? what : what.substr(bracket + 2));
}

/// Builds the value as the JSON library's own DOM parser does, with the
/// checks that need the whole key set or the depth. Throws TextProblem.
class CheckingBuilder
{
public:
    explicit CheckingBuilder(json &root)
        : m_Root(root)
    {
    }

    bool null() { return add(nullptr); }
    bool boolean(bool value) { return add(value); }
    bool number_integer(json::number_integer_t value) { return add(value); }
    bool number_unsigned(json::number_unsigned_t value) { return add(value); }
    bool number_float(json::number_float_t value, const json::string_t &) { return add(value); }
    bool binary(json::binary_t &) { return false; }

    bool string(json::string_t &value)
    {
        checkText(value);
        return add(std::move(value));
    }

    bool start_object(std::size_t) { return open(json::object()); }
    bool start_array(std::size_t) { return open(json::array()); }

    bool key(json::string_t &name)
    {
        const std::size_t ordinal = m_Strings;
        checkText(name);
        json &object = *m_Open.back();
        if (object.contains(name))
            throw TextProblem{TextProblem::Place::String, ordinal, "duplicate key " + quotedText(name)};
        m_Member = &object[name];
        return true;
    }

    bool end_object()
    {
        m_Open.pop_back();
        return true;
    }

    bool end_array()
    {
        m_Open.pop_back();
        return true;
    }

    bool parse_error(std::size_t position, const std::string &token, const json::exception &error)
    {
        const std::size_t offset = position > 0 ? position - 1 : 0;
        // The parser reports a number beyond a double (1e400) as out of range,
        // not as a syntax error.
        if (dynamic_cast<const json::out_of_range *>(&error))
            throw TextProblem{TextProblem::Place::Offset, offset,
                              "JSON number " + token + " is beyond the range of a number"};
        throw TextProblem{TextProblem::Place::Offset, offset, syntaxMessage(error.what())};
    }

private:
    void checkText(const std::string &text)
    {
        if (text.find('\0') != std::string::npos)
            throw TextProblem{TextProblem::Place::String, m_Strings, "a text holds a NUL character (\\u0000)"};
        ++m_Strings;
    }

    // Every open value is the last child of the one before it in m_Open, and
    // no sibling follows it until it is closed, so the pointers stay valid.
    json *place(json &&value)
    {
        if (m_Open.empty()) {
            m_Root = std::move(value);
            return &m_Root;
        }
        json &parent = *m_Open.back();
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        *m_Member = std::move(value);
        return m_Member;
    }

    template <class Value>
    bool add(Value &&value)
    {
        place(json(std::forward<Value>(value)));
        return true;
    }

    bool open(json &&value)
    {
        const std::size_t ordinal = m_Openings++;
        if (m_Open.size() >= static_cast<std::size_t>(Camera::MaxNestingDepth))
            throw TextProblem{TextProblem::Place::Opening, ordinal,
                              "nested deeper than " + std::to_string(Camera::MaxNestingDepth) + " levels"};
        m_Open.push_back(place(std::move(value)));
        return true;
    }

    json &m_Root;
    std::vector<json *> m_Open;
    json *m_Member = nullptr;
    std::size_t m_Openings = 0;
    std::size_t m_Strings = 0;
};

} // namespace

json parseDescription(const std::string &text, const std::string &sourceName)
{
    json root;
    try {
        CheckingBuilder builder(root);
        json::sax_parse(text, &builder);
    } catch (const TextProblem &problem) {
        JsonText lines(text);
        int line = 0;
        switch (problem.place) {
        case TextProblem::Place::Offset: line = lines.lineOfOffset(problem.index); break;
        case TextProblem::Place::Opening: line = lines.lineOfOpening(problem.index); break;
        case TextProblem::Place::String: line = lines.lineOfString(problem.index); break;
        }
        throw LoadError(sourceName, line, problem.message);
    }
    return root;
}

} // namespace OrvSim
