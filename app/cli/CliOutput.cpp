#include "app/cli/CliOutput.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace zelvane::cli {

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
        widths[c] = columns_[c].title.size();
        for (const auto& row : rows_)
            widths[c] = std::max(widths[c], row[c].size());
    }
    auto printRow = [&](const std::vector<std::string>& cells) {
        std::string line;
        for (size_t c = 0; c < cells.size(); ++c) {
            const bool last = c + 1 == cells.size();
            const size_t pad = widths[c] - cells[c].size();
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

std::string Hex(uint32_t value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
    return text;
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
