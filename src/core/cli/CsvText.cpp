// The CSV text both ways: UTF-8 checks and field splitting for the import, quoting for the
// lists dorvan-cli writes.
#include "core/cli/PlaceCsv.h"

#include "core/common/CodePage.h"
#include "core/common/DecimalText.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace dorvan::cli {

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int n = 0;
        std::uint32_t cp = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            n = 1;
            cp = b & 0x1Fu;
        } else if (b >= 0xE0 && b <= 0xEF) {
            n = 2;
            cp = b & 0x0Fu;
        } else if (b >= 0xF0 && b <= 0xF4) {
            n = 3;
            cp = b & 0x07u;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(n) >= text.size())
            return false;
        for (int k = 1; k <= n; ++k) {
            const auto c = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0u) != 0x80u)
                return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        if ((n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF))
            || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(n) + 1;
    }
    return true;
}

void forEachCsvLine(std::string_view bytes, const std::function<void(const CsvLine&)>& lineRead)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    bool utf8 = isValidUtf8(bytes);
    // A Windows-1250 file is converted whole when every byte is a character (one converter for
    // a million lines); a file with a byte that is none is converted line by line, to name them.
    std::string converted;
    if (!utf8) {
        try {
            converted = cp1250ToUtf8(bytes);
            bytes = converted;
            utf8 = true;
        } catch (const std::exception&) {
            converted.clear();
        }
    }
    int number = 0;
    CsvLine line;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view raw = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        line.number = ++number;
        line.decodeError.clear();
        if (utf8) {
            line.text.assign(raw);
        } else {
            try {
                line.text = cp1250ToUtf8(raw);
            } catch (const std::exception&) {
                line.text.clear();
                line.decodeError = "the line holds a byte that is neither UTF-8 nor Windows-1250";
            }
        }
        lineRead(line);
    }
}

std::vector<CsvLine> csvLines(std::string_view bytes)
{
    std::vector<CsvLine> lines;
    forEachCsvLine(bytes, [&](const CsvLine& line) { lines.push_back(line); });
    return lines;
}

CsvFields splitCsvLine(std::string_view line, char separator)
{
    CsvFields out;
    std::vector<std::string>& fields = out.fields;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        std::string field;
        if (i < line.size() && line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                field += line[i++];
            }
            if (!closed) {
                out.error = "field " + std::to_string(fields.size() + 1) + ": a quote is not closed";
                return out;
            }
            while (i < line.size() && isBlank(line[i]))
                ++i;
            if (i < line.size() && line[i] != separator) {
                out.error = "field " + std::to_string(fields.size() + 1) + ": text after the closing quote";
                return out;
            }
        } else {
            const std::size_t end = std::min(line.find(separator, i), line.size());
            field = std::string(trimBlanks(line.substr(i, end - i)));
            i = end;
        }
        fields.push_back(std::move(field));
        if (i >= line.size())
            break;
        ++i; // the separator; a separator at the very end leaves one more, empty field
        if (i == line.size()) {
            fields.emplace_back();
            break;
        }
    }
    return out;
}

std::string separatedField(std::string_view s, char separator)
{
    const char special[] = { separator, '"', '\r', '\n', '\0' };
    if (s.find_first_of(special) == std::string_view::npos)
        return std::string(s);
    std::string q = "\"";
    for (char c : s) {
        if (c == '"')
            q += '"';
        q += c;
    }
    q += '"';
    return q;
}

std::string csvField(std::string_view s)
{
    return separatedField(s, ';');
}

} // namespace dorvan::cli
