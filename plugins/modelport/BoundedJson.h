#pragma once
// JSON text from a model file, parsed within limits (nesting, number of
// values) so that a hostile file cannot exhaust the stack or the memory,
// and read through accessors that never throw: a member of the wrong type
// reads as missing.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelvane::modelport {

using Json = nlohmann::json;

struct JsonLimits {
    int maxDepth = 64;
    uint64_t maxValues = uint64_t{1} << 23;
};

// The document, or none with `problem` saying what was wrong ("the JSON is
// nested deeper than 64 levels", "the JSON is not valid: …").
std::optional<Json> ParseBoundedJson(std::span<const uint8_t> text, const JsonLimits& limits, std::string& problem);

// Member `key` of `object` when `object` is an object holding it; else null.
const Json* Member(const Json& object, const char* key);
// The member as an array or object; null when missing or of another type.
const Json* ArrayMember(const Json& object, const char* key);
const Json* ObjectMember(const Json& object, const char* key);
// Element `index` of the array member `key`, when it is an object.
const Json* ElementOf(const Json& object, const char* key, uint64_t index);
// A non-negative integer member (an index or a count).
std::optional<uint64_t> IndexMember(const Json& object, const char* key);
// A number member as double, when finite.
std::optional<double> NumberMember(const Json& object, const char* key);
// A string member.
std::optional<std::string_view> StringMember(const Json& object, const char* key);
// A boolean member, else `fallback`.
bool BoolMember(const Json& object, const char* key, bool fallback);
// Up to `count` finite numbers of the array member `key` into `out`; false
// (out unchanged) unless the member is an array of exactly `count` of them.
bool NumbersMember(const Json& object, const char* key, double* out, size_t count);

} // namespace zelvane::modelport
