#include "core/common/CodePage.h"

#include <algorithm>

#include <iconv.h>

namespace dorvan {
namespace {

// glibc's iconv carries a maintained CP1250 table; a fresh descriptor per call keeps the
// conversion free of shared state.
std::string convert(std::string_view in, const char* to, const char* from, const char* what)
{
    // ASCII is the same in both encodings: no converter to open for it (a list of a million
    // names converts each).
    if (std::all_of(in.begin(), in.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(in);
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw CodePageError(std::string("Prevod kódovania nie je k dispozícii: ") + from + " -> " + to);
    std::string out;
    out.resize(in.size() * 4 + 8);
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || inLeft != 0) {
        throw CodePageError(what);
    }
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace

std::string utf8ToCp1250(std::string_view utf8)
{
    return convert(
        utf8, "CP1250", "UTF-8", "Text obsahuje znak, ktorý nemožno uložiť v kódovaní Windows-1250 !!!");
}

std::string cp1250ToUtf8(std::string_view cp1250)
{
    return convert(
        cp1250, "UTF-8", "CP1250", "Text obsahuje bajt, ktorý nie je znakom kódovania Windows-1250 !!!");
}

std::size_t utf8Length(std::string_view utf8)
{
    std::size_t n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

std::string utf8Left(std::string_view utf8, std::size_t n)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (chars == n)
                return std::string(utf8.substr(0, i));
            ++chars;
        }
    }
    return std::string(utf8);
}

std::string firstCharacters(std::string_view utf8, std::size_t count)
{
    std::size_t n = 0;
    std::size_t i = 0;
    for (; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (n == count)
                break;
            ++n;
        }
    }
    return std::string(utf8.substr(0, i));
}

} // namespace dorvan
