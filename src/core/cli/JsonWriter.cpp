#include "core/cli/JsonWriter.h"

#include <charconv>
#include <cmath>

namespace dorvan::cli {

std::string jsonString(std::string_view utf8)
{
    static constexpr char Hex[] = "0123456789abcdef";
    std::string s = "\"";
    for (char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            s += "\\\"";
            break;
        case '\\':
            s += "\\\\";
            break;
        case '\n':
            s += "\\n";
            break;
        case '\r':
            s += "\\r";
            break;
        case '\t':
            s += "\\t";
            break;
        default:
            if (b < 0x20) {
                s += "\\u00";
                s += Hex[b >> 4];
                s += Hex[b & 0x0F];
            } else {
                s += c;
            }
        }
    }
    s += '"';
    return s;
}

std::string jsonNumber(double number)
{
    if (!std::isfinite(number))
        return "null";
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, number);
    if (ec != std::errc())
        return "null";
    return std::string(buf, end);
}

void JsonWriter::newline()
{
    out_ += '\n';
    out_.append(levels_.size() * 2, ' ');
}

void JsonWriter::beforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty())
        return;
    Level& l = levels_.back();
    if (l.count++ > 0)
        out_ += l.inlineLevel ? ", " : ",";
    if (!l.inlineLevel)
        newline();
}

void JsonWriter::open(char bracket, bool object, bool inlineValue)
{
    beforeValue();
    const bool inlineLevel = inlineValue || (!levels_.empty() && levels_.back().inlineLevel);
    out_ += bracket;
    levels_.push_back({ object, inlineLevel, 0 });
}

void JsonWriter::close(char bracket)
{
    if (levels_.empty())
        return;
    const Level l = levels_.back();
    levels_.pop_back();
    if (!l.inlineLevel && l.count > 0)
        newline();
    out_ += bracket;
    if (levels_.empty())
        out_ += '\n';
}

void JsonWriter::beginObject(bool inlineValue)
{
    open('{', true, inlineValue);
}

void JsonWriter::endObject()
{
    close('}');
}

void JsonWriter::beginArray(bool inlineValue)
{
    open('[', false, inlineValue);
}

void JsonWriter::endArray()
{
    close(']');
}

void JsonWriter::key(std::string_view name)
{
    beforeValue();
    out_ += jsonString(name);
    out_ += ": ";
    afterKey_ = true;
}

void JsonWriter::value(std::string_view utf8)
{
    beforeValue();
    out_ += jsonString(utf8);
}

void JsonWriter::value(double number)
{
    beforeValue();
    out_ += jsonNumber(number);
}

void JsonWriter::value(std::int64_t number)
{
    beforeValue();
    out_ += std::to_string(number);
}

void JsonWriter::value(bool flag)
{
    beforeValue();
    out_ += flag ? "true" : "false";
}

void JsonWriter::null()
{
    beforeValue();
    out_ += "null";
}

} // namespace dorvan::cli
