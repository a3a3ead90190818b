#include "plugins/modelport/BoundedJson.h"

#include <cmath>

namespace zelvane::modelport {

namespace {

struct LimitExceeded {
    std::string what;
};

} // namespace

std::optional<Json> ParseBoundedJson(std::span<const uint8_t> text, const JsonLimits& limits, std::string& problem)
{
    uint64_t values = 0;
    // The parser builds the document without recursion; the callback stops
    // it as soon as a limit is passed, before the values are made.
    const Json::parser_callback_t check = [&](int depth, Json::parse_event_t event, Json&) {
        if (depth > limits.maxDepth)
            throw LimitExceeded{"the JSON is nested deeper than " + std::to_string(limits.maxDepth) + " levels"};
        if (event == Json::parse_event_t::value || event == Json::parse_event_t::object_start ||
            event == Json::parse_event_t::array_start)
            if (++values > limits.maxValues)
                throw LimitExceeded{"the JSON holds more than " + std::to_string(limits.maxValues) + " values"};
        return true;
    };
    try {
        return Json::parse(text.begin(), text.end(), check, true, false);
    } catch (const LimitExceeded& exceeded) {
        problem = exceeded.what;
    } catch (const Json::exception& error) {
        problem = std::string("the JSON is not valid: ") + error.what();
    }
    return std::nullopt;
}

const Json* Member(const Json& object, const char* key)
{
    if (!object.is_object())
        return nullptr;
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

const Json* ArrayMember(const Json& object, const char* key)
{
    const Json* member = Member(object, key);
    return member && member->is_array() ? member : nullptr;
}

const Json* ObjectMember(const Json& object, const char* key)
{
    const Json* member = Member(object, key);
    return member && member->is_object() ? member : nullptr;
}

const Json* ElementOf(const Json& object, const char* key, uint64_t index)
{
    const Json* array = ArrayMember(object, key);
    if (!array || index >= array->size())
        return nullptr;
    const Json& element = (*array)[static_cast<size_t>(index)];
    return element.is_object() ? &element : nullptr;
}

std::optional<uint64_t> IndexMember(const Json& object, const char* key)
{
    const Json* member = Member(object, key);
    if (!member)
        return std::nullopt;
    if (member->is_number_unsigned())
        return member->get<uint64_t>();
    if (member->is_number_integer()) {
        const int64_t value = member->get<int64_t>();
        return value >= 0 ? std::optional<uint64_t>(static_cast<uint64_t>(value)) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<double> NumberMember(const Json& object, const char* key)
{
    const Json* member = Member(object, key);
    if (!member || !member->is_number())
        return std::nullopt;
    const double value = member->get<double>();
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<std::string_view> StringMember(const Json& object, const char* key)
{
    const Json* member = Member(object, key);
    if (!member || !member->is_string())
        return std::nullopt;
    return std::string_view(member->get_ref<const std::string&>());
}

bool BoolMember(const Json& object, const char* key, bool fallback)
{
    const Json* member = Member(object, key);
    return member && member->is_boolean() ? member->get<bool>() : fallback;
}

bool NumbersMember(const Json& object, const char* key, double* out, size_t count)
{
    const Json* array = ArrayMember(object, key);
    if (!array || array->size() != count)
        return false;
    double values[16];
    if (count > 16)
        return false;
    for (size_t i = 0; i < count; ++i) {
        const Json& element = (*array)[i];
        if (!element.is_number())
            return false;
        values[i] = element.get<double>();
        if (!std::isfinite(values[i]))
            return false;
    }
    std::copy(values, values + count, out);
    return true;
}

} // namespace zelvane::modelport
