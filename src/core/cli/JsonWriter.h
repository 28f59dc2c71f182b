#pragma once

// A small writer of indented JSON text, enough for the command line's reports. Numbers are
// written in the shortest form that reads back as the same double; a number that is not finite
// has no JSON form and is written as null.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan::cli {

class JsonWriter {
public:
    // An array or object marked inline is written on one line ("[1.5, 2]").
    void beginObject(bool inlineValue = false);
    void endObject();
    void beginArray(bool inlineValue = false);
    void endArray();
    // The key of the next value inside an object.
    void key(std::string_view name);

    void value(std::string_view utf8);
    void value(const char* utf8) { value(std::string_view(utf8)); }
    void value(double number);
    void value(std::int64_t number);
    void value(int number) { value(static_cast<std::int64_t>(number)); }
    void value(bool flag);
    void null();

    // The text written so far, with a final newline once the outermost value is closed.
    const std::string& text() const { return out_; }

private:
    struct Level {
        bool object = false;
        bool inlineLevel = false;
        int count = 0;
    };
    void beforeValue();
    void open(char bracket, bool object, bool inlineValue);
    void close(char bracket);
    void newline();

    std::string out_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

// A JSON string literal for a UTF-8 text, quotes included.
std::string jsonString(std::string_view utf8);
// The shortest text that reads back as the same double ("0.1", "1e+300"); "null" when the
// number is not finite.
std::string jsonNumber(double number);

} // namespace dorvan::cli
