#pragma once
// What every command prints: aligned text tables for people, JSON for
// scripts, and one-line messages on stderr that name the file at fault.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zelvane::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;

enum class Align { Left, Right };

struct Column {
    std::string title;
    Align align = Align::Left;
};

class TextTable {
public:
    explicit TextTable(std::vector<Column> columns);
    // Missing cells print empty; extra cells are an error of the caller and dropped.
    void AddRow(std::vector<std::string> cells);
    // Columns padded to their widest cell (UTF-8, counted in terminal
    // columns), two blanks apart; the last column is never padded so lines
    // carry no trailing blanks.
    void Print(std::ostream& out) const;

private:
    std::vector<Column> columns_;
    std::vector<std::vector<std::string>> rows_;
};

// Indented JSON; bytes that are not UTF-8 (names in the game's 8-bit code page)
// become U+FFFD instead of aborting the output.
void PrintJson(std::ostream& out, const nlohmann::ordered_json& value);

// "zelvane-cli: <subject>: <message>" on stderr; returns kExitFailure.
int Fail(std::string_view subject, std::string_view message);
// "zelvane-cli: <subject>: warning: <message>" on stderr.
void Warn(std::string_view subject, std::string_view message);
// "zelvane-cli: <subject>: <message>" on stderr: what the tool chose by
// itself, so that a listing on stdout stays as it is.
void Note(std::string_view subject, std::string_view message);

// "0x0010"-style text with the given number of hex digits.
std::string Hex(uint32_t value, int digits);
// Bytes as hex digits, two a byte ("C3A9"), for JSON that must keep them exactly.
std::string HexBytes(std::string_view bytes);
// Control characters as \xNN, so a hostile name cannot drive the terminal.
std::string Printable(std::string_view text);
// "'name'" with control characters escaped, for messages.
std::string Quoted(std::string_view text);

} // namespace zelvane::cli
