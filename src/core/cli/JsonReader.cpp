#include "core/cli/JsonReader.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <utility>

namespace dorvan::cli {

const JsonValue* JsonValue::member(std::string_view name) const
{
    if (kind != Kind::Object)
        return nullptr;
    for (const auto& [key, value] : members)
        if (key == name)
            return &value;
    return nullptr;
}

namespace {

struct JsonSyntaxError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class JsonTextReader {
public:
    explicit JsonTextReader(std::string_view text)
        : s_(text)
    {
    }

    JsonValue document()
    {
        JsonValue v = value(0);
        blanks();
        if (at_ != s_.size())
            fail("text after the end of the JSON value");
        return v;
    }

    std::size_t offset() const { return at_; }

    // The items of the array that member `key` of the outermost object holds go to `item` one
    // at a time (with the offset each begins at) instead of into the tree.
    void streamMember(std::string_view key, const std::function<void(JsonValue&&, std::size_t)>& item)
    {
        streamKey_ = key;
        streamItem_ = &item;
    }

private:
    [[noreturn]] void fail(const std::string& what) const { throw JsonSyntaxError(what); }

    void blanks()
    {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r'))
            ++at_;
    }

    bool literal(std::string_view word)
    {
        if (s_.substr(at_, word.size()) != word)
            return false;
        at_ += word.size();
        return true;
    }

    JsonValue value(int depth)
    {
        if (depth > MaxJsonDepth)
            fail("values nested more than " + std::to_string(MaxJsonDepth) + " deep");
        blanks();
        if (at_ >= s_.size())
            fail("the JSON text ends where a value should be");
        JsonValue v;
        const char c = s_[at_];
        if (c == '{') {
            v.kind = JsonValue::Kind::Object;
            object(v, depth);
        } else if (c == '[') {
            v.kind = JsonValue::Kind::Array;
            array(v, depth);
        } else if (c == '"') {
            v.kind = JsonValue::Kind::String;
            v.text = string();
        } else if (literal("null")) {
            v.kind = JsonValue::Kind::Null;
        } else if (literal("true")) {
            v.kind = JsonValue::Kind::Bool;
            v.boolean = true;
        } else if (literal("false")) {
            v.kind = JsonValue::Kind::Bool;
        } else {
            v.kind = JsonValue::Kind::Number;
            v.text = number();
        }
        return v;
    }

    void object(JsonValue& v, int depth)
    {
        ++at_; // {
        blanks();
        if (at_ < s_.size() && s_[at_] == '}') {
            ++at_;
            return;
        }
        while (true) {
            blanks();
            if (at_ >= s_.size() || s_[at_] != '"')
                fail("a member name in quotes expected");
            std::string key = string();
            blanks();
            if (at_ >= s_.size() || s_[at_] != ':')
                fail("\":\" expected after a member name");
            ++at_;
            blanks();
            if (depth == 0 && streamItem_ != nullptr && key == streamKey_ && at_ < s_.size()
                && s_[at_] == '[') {
                JsonValue streamed;
                streamed.kind = JsonValue::Kind::Array;
                streamArray(depth + 1);
                v.members.push_back(JsonMember { std::move(key), std::move(streamed) });
            } else {
                v.members.push_back(JsonMember { std::move(key), value(depth + 1) });
            }
            blanks();
            if (at_ < s_.size() && s_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < s_.size() && s_[at_] == '}') {
                ++at_;
                return;
            }
            fail("\",\" or \"}\" expected in an object");
        }
    }

    void array(JsonValue& v, int depth)
    {
        ++at_; // [
        blanks();
        if (at_ < s_.size() && s_[at_] == ']') {
            ++at_;
            return;
        }
        while (true) {
            v.items.push_back(value(depth + 1));
            blanks();
            if (at_ < s_.size() && s_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < s_.size() && s_[at_] == ']') {
                ++at_;
                return;
            }
            fail("\",\" or \"]\" expected in an array");
        }
    }

    void streamArray(int depth)
    {
        ++at_; // [
        blanks();
        if (at_ < s_.size() && s_[at_] == ']') {
            ++at_;
            return;
        }
        while (true) {
            blanks();
            const std::size_t start = at_;
            (*streamItem_)(value(depth + 1), start);
            blanks();
            if (at_ < s_.size() && s_[at_] == ',') {
                ++at_;
                continue;
            }
            if (at_ < s_.size() && s_[at_] == ']') {
                ++at_;
                return;
            }
            fail("\",\" or \"]\" expected in an array");
        }
    }

    static bool digit(char c) { return c >= '0' && c <= '9'; }

    std::string number()
    {
        const std::size_t start = at_;
        if (at_ < s_.size() && s_[at_] == '-')
            ++at_;
        const std::size_t intStart = at_;
        while (at_ < s_.size() && digit(s_[at_]))
            ++at_;
        if (at_ == intStart || (s_[intStart] == '0' && at_ - intStart > 1))
            fail("not a JSON value");
        if (at_ < s_.size() && s_[at_] == '.') {
            ++at_;
            const std::size_t f = at_;
            while (at_ < s_.size() && digit(s_[at_]))
                ++at_;
            if (at_ == f)
                fail("a digit expected after the decimal point");
        }
        if (at_ < s_.size() && (s_[at_] == 'e' || s_[at_] == 'E')) {
            ++at_;
            if (at_ < s_.size() && (s_[at_] == '+' || s_[at_] == '-'))
                ++at_;
            const std::size_t e = at_;
            while (at_ < s_.size() && digit(s_[at_]))
                ++at_;
            if (at_ == e)
                fail("a digit expected in the exponent");
        }
        return std::string(s_.substr(start, at_ - start));
    }

    unsigned hex4()
    {
        if (at_ + 4 > s_.size())
            fail("\\u needs four hexadecimal digits");
        unsigned v = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = s_[at_++];
            v <<= 4;
            if (digit(c))
                v |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                v |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                v |= static_cast<unsigned>(c - 'A' + 10);
            else
                fail("\\u needs four hexadecimal digits");
        }
        return v;
    }

    static void appendUtf8(std::string& out, std::uint32_t cp)
    {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    std::string string()
    {
        ++at_; // "
        std::string out;
        while (true) {
            if (at_ >= s_.size())
                fail("a string is not closed");
            const char c = s_[at_++];
            if (c == '"')
                return out;
            if (static_cast<unsigned char>(c) < 0x20)
                fail("a control character inside a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= s_.size())
                fail("a string is not closed");
            const char e = s_[at_++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                std::uint32_t cp = hex4();
                if (cp >= 0xD800 && cp <= 0xDBFF && s_.substr(at_, 2) == "\\u") {
                    at_ += 2;
                    const std::uint32_t low = hex4();
                    if (low < 0xDC00 || low > 0xDFFF)
                        fail("a broken surrogate pair in a string");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                } else if (cp >= 0xD800 && cp <= 0xDFFF) {
                    fail("a broken surrogate pair in a string");
                }
                appendUtf8(out, cp);
                break;
            }
            default:
                fail("an unknown escape in a string");
            }
        }
    }

    std::string_view s_;
    std::size_t at_ = 0;
    std::string_view streamKey_;
    const std::function<void(JsonValue&&, std::size_t)>* streamItem_ = nullptr;
};

} // namespace

JsonParse parseJsonStreaming(std::string_view text, std::string_view streamedMember,
    const std::function<void(JsonValue&&, std::size_t)>& item)
{
    JsonParse out;
    JsonTextReader reader(text);
    reader.streamMember(streamedMember, item);
    try {
        out.value = reader.document();
    } catch (const JsonSyntaxError& e) {
        out.error = std::string(e.what()) + " (at byte " + std::to_string(reader.offset() + 1) + ")";
        out.errorOffset = reader.offset();
    }
    return out;
}

JsonParse parseJson(std::string_view text)
{
    JsonParse out;
    JsonTextReader reader(text);
    try {
        out.value = reader.document();
    } catch (const JsonSyntaxError& e) {
        out.error = std::string(e.what()) + " (at byte " + std::to_string(reader.offset() + 1) + ")";
        out.errorOffset = reader.offset();
    }
    return out;
}

} // namespace dorvan::cli
