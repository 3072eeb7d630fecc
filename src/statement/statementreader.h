#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace statement {

enum class Encoding { Auto, Cp932, Utf8, Utf8Bom };
enum class Separator { Auto, Comma, Tab };

// What the reader is told; Auto (or nullopt) lets it detect.
struct ReadOptions {
    Encoding encoding = Encoding::Auto;
    Separator separator = Separator::Auto;
    std::optional<bool> header;
};

// A statement file as a table of UTF-8 cells.
struct StatementTable {
    Encoding encoding = Encoding::Cp932;  // as detected or chosen
    Separator separator = Separator::Comma;
    bool header = false;
    std::vector<std::string> headerCells;
    std::vector<std::vector<std::string>> rows;  // the body
    std::vector<int> lineNumbers;                // each body row's line in the file, from 1
    int columns = 0;                             // the widest row's
};

// Where a statement stops being one: larger files, more rows or longer lines are refused
// with a message rather than read, so that the memory a statement takes stays bounded.
constexpr size_t kMaxStatementBytes = 16u << 20;
constexpr size_t kMaxStatementRows = 100000;
constexpr size_t kMaxLineBytes = 64u << 10;

// Reads the bytes of a statement: the encoding (a BOM, else valid UTF-8 with some non-ASCII
// text, else CP932), the separator (tabs or commas, whichever the first lines hold more of
// outside quotes) and the header line (a first row with no date in it) are detected unless
// given. Fields follow the usual CSV quoting ("" for a quote inside quotes). A message in
// the user's words (UTF-8) when the bytes are no statement: binary, too large, a line too
// long, no rows.
std::variant<StatementTable, std::string> ReadStatement(std::string_view bytes,
                                                        const ReadOptions& options = {});

// Splits one line by `separator` with CSV quoting; blanks around unquoted cells are kept.
std::vector<std::string> SplitCells(std::string_view line, char separator);

}  // namespace statement
