#include "app/cli/CliOutput.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace zelvane::cli {

namespace {

// Columns a UTF-8 cell takes on a terminal: East Asian wide characters take
// two, combining marks (accents, Hebrew points, Thai vowel and tone marks)
// none, anything else one; bytes that are not UTF-8 one each.
size_t ColumnWidth(std::string_view text)
{
    size_t width = 0;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        bool valid = length <= text.size() - i;
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid) {
            ++width;
            ++i;
            continue;
        }
        i += length;
        const bool combining = (c >= 0x300 && c <= 0x36F) || (c >= 0x591 && c <= 0x5C7) || c == 0xE31 ||
                               (c >= 0xE34 && c <= 0xE3A) || (c >= 0xE47 && c <= 0xE4E);
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                          (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
        width += combining ? 0 : wide ? 2 : 1;
    }
    return width;
}

} // namespace

TextTable::TextTable(std::vector<Column> columns) : columns_(std::move(columns)) {}

void TextTable::AddRow(std::vector<std::string> cells)
{
    cells.resize(columns_.size());
    rows_.push_back(std::move(cells));
}

void TextTable::Print(std::ostream& out) const
{
    std::vector<size_t> widths(columns_.size());
    for (size_t c = 0; c < columns_.size(); ++c) {
        widths[c] = ColumnWidth(columns_[c].title);
        for (const auto& row : rows_)
            widths[c] = std::max(widths[c], ColumnWidth(row[c]));
    }
    auto printRow = [&](const std::vector<std::string>& cells) {
        std::string line;
        for (size_t c = 0; c < cells.size(); ++c) {
            const bool last = c + 1 == cells.size();
            const size_t pad = widths[c] - ColumnWidth(cells[c]);
            if (c > 0)
                line += "  ";
            if (columns_[c].align == Align::Right)
                line.append(pad, ' ');
            line += cells[c];
            if (columns_[c].align == Align::Left && !last)
                line.append(pad, ' ');
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out << line << '\n';
    };
    std::vector<std::string> titles;
    for (const Column& column : columns_)
        titles.push_back(column.title);
    printRow(titles);
    for (const auto& row : rows_)
        printRow(row);
}

void PrintJson(std::ostream& out, const nlohmann::ordered_json& value)
{
    out << value.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

int Fail(std::string_view subject, std::string_view message)
{
    std::cerr << "zelvane-cli: " << Printable(subject) << ": " << message << '\n';
    return kExitFailure;
}

void Warn(std::string_view subject, std::string_view message)
{
    std::cerr << "zelvane-cli: " << Printable(subject) << ": warning: " << message << '\n';
}

void Note(std::string_view subject, std::string_view message)
{
    std::cerr << "zelvane-cli: " << Printable(subject) << ": " << message << '\n';
}

std::string Hex(uint32_t value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
    return text;
}

std::string HexBytes(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(2 * bytes.size());
    for (const char c : bytes) {
        hex += kDigits[static_cast<unsigned char>(c) >> 4];
        hex += kDigits[static_cast<unsigned char>(c) & 0x0F];
    }
    return hex;
}

std::string Printable(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            result += escaped;
        } else {
            result += c;
        }
    }
    return result;
}

std::string Quoted(std::string_view text)
{
    return "'" + Printable(text) + "'";
}

} // namespace zelvane::cli
