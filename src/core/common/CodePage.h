#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace dorvan {

// Names are stored in the Windows-1250 code page, one byte per character.
class CodePageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// UTF-8 to Windows-1250. Throws CodePageError when the text holds a character that the code
// page cannot represent or is not valid UTF-8; nothing is ever replaced silently.
std::string utf8ToCp1250(std::string_view utf8);

// Windows-1250 to UTF-8. Bytes the code page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98)
// throw CodePageError.
std::string cp1250ToUtf8(std::string_view cp1250);

// Number of characters of a valid UTF-8 text.
std::size_t utf8Length(std::string_view utf8);

// The first n characters of a valid UTF-8 text.
std::string utf8Left(std::string_view utf8, std::size_t n);

// The first count characters of a UTF-8 text that may have been cut inside a character: lead
// bytes are counted, nothing is checked.
std::string firstCharacters(std::string_view utf8, std::size_t count);

} // namespace dorvan
