#pragma once

// A small reader of JSON (RFC 8259) for the answers of routing servers: the whole text into a
// tree of values. Numbers keep their text, so that a caller reads their digits exactly; strings
// are decoded to UTF-8. Nesting is bounded, so no input can exhaust the stack.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan::cli {

struct JsonMember;

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    std::string text; // a number as written, or a string's UTF-8 text
    std::vector<JsonValue> items; // an array's values
    // An object's members in file order. A member type of its own, complete only below: a pair
    // holding the value being defined is not allowed by every standard library.
    std::vector<JsonMember> members;

    // The first member of that name of an object; none for another kind of value.
    const JsonValue* member(std::string_view name) const;
};

struct JsonMember {
    std::string key;
    JsonValue value;
};

inline constexpr int MaxJsonDepth = 64;

struct JsonParse {
    std::optional<JsonValue> value;
    std::string error; // English, with the byte offset where reading stopped
    std::size_t errorOffset = 0;
};

JsonParse parseJson(std::string_view text);
// The same, except that the items of the array held by the member `streamedMember` of the
// outermost object are handed to `item` one by one, each with the byte offset it begins at, and
// are not kept (that member is left an empty array): a file of a million features is read
// without its tree.
JsonParse parseJsonStreaming(std::string_view text, std::string_view streamedMember,
    const std::function<void(JsonValue&&, std::size_t)>& item);

} // namespace dorvan::cli
