#include "statement/statementreader.h"

#include "ledger/cp932.h"
#include "ledger/textfile.h"
#include "statement/statementforms.h"

#include <algorithm>

namespace statement {
namespace {

bool ValidUtf8(std::string_view s, bool& nonAscii) {
    nonAscii = false;
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        size_t length = 1;
        if (b >= 0x80) {
            nonAscii = true;
            if (b >= 0xC2 && b <= 0xDF)
                length = 2;
            else if (b >= 0xE0 && b <= 0xEF)
                length = 3;
            else if (b >= 0xF0 && b <= 0xF4)
                length = 4;
            else
                return false;
            if (i + length > s.size())
                return false;
            for (size_t k = 1; k < length; ++k) {
                if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                    return false;
            }
        }
        i += length;
    }
    return true;
}

// How many of `c` the text holds outside quotes.
size_t CountOutsideQuotes(std::string_view line, char c) {
    size_t count = 0;
    bool quoted = false;
    for (char ch : line) {
        if (ch == '"')
            quoted = !quoted;
        else if (ch == c && !quoted)
            ++count;
    }
    return count;
}

}  // namespace

std::vector<std::string> SplitCells(std::string_view line, char separator) {
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false;
    bool wasQuoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < line.size() && line[i + 1] == '"') {
                    cell += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell += c;
            }
        } else if (c == '"' && (cell.find_first_not_of(" \t") == std::string::npos) && !wasQuoted) {
            cell.clear();
            quoted = true;
            wasQuoted = true;
        } else if (c == separator) {
            cells.push_back(std::move(cell));
            cell.clear();
            wasQuoted = false;
        } else if (!wasQuoted || (c != ' ' && c != '\t')) {
            cell += c;
        }
    }
    cells.push_back(std::move(cell));
    return cells;
}

std::variant<StatementTable, std::string> ReadStatement(std::string_view bytes,
                                                        const ReadOptions& options) {
    if (bytes.size() > kMaxStatementBytes)
        return std::string("明細ファイルが大きすぎます（16MBまで）。");
    if (bytes.find('\0') != std::string_view::npos)
        return std::string("明細のCSVファイルではありません（文字でないデータを含みます）。");

    StatementTable table;
    std::string_view body = bytes;
    const bool bom = body.substr(0, 3) == "\xEF\xBB\xBF";
    if (options.encoding == Encoding::Auto) {
        bool nonAscii = false;
        if (bom)
            table.encoding = Encoding::Utf8Bom;
        else if (ValidUtf8(body, nonAscii) && nonAscii)
            table.encoding = Encoding::Utf8;
        else
            table.encoding = Encoding::Cp932;
    } else {
        table.encoding = options.encoding;
    }
    if (bom && table.encoding != Encoding::Cp932)
        body.remove_prefix(3);
    const std::string text =
        table.encoding == Encoding::Cp932 ? ledger::FromCp932(body) : std::string(body);

    // Lines, bounded in length and number.
    std::vector<std::pair<int, std::string_view>> lines;
    std::string refusal;
    int lineNumber = 0;
    ledger::ForEachLine(text, [&](std::string_view line) {
        ++lineNumber;
        if (!refusal.empty())
            return;
        if (line.size() > kMaxLineBytes) {
            refusal =
                std::to_string(lineNumber) + "行目が長すぎます。明細のCSVファイルではありません。";
            return;
        }
        if (line.find_first_not_of(" \t,") == std::string_view::npos)
            return;  // a blank line
        if (lines.size() >= kMaxStatementRows + 1) {
            refusal = "明細の行が多すぎます（10万行まで）。";
            return;
        }
        lines.emplace_back(lineNumber, line);
    });
    if (!refusal.empty())
        return refusal;
    if (lines.empty())
        return std::string("明細の行がありません。");

    if (options.separator == Separator::Auto) {
        size_t tabs = 0;
        size_t commas = 0;
        for (size_t k = 0; k < std::min<size_t>(lines.size(), 20); ++k) {
            tabs += CountOutsideQuotes(lines[k].second, '\t');
            commas += CountOutsideQuotes(lines[k].second, ',');
        }
        table.separator = tabs > commas ? Separator::Tab : Separator::Comma;
    } else {
        table.separator = options.separator;
    }
    const char separator = table.separator == Separator::Tab ? '\t' : ',';

    std::vector<std::vector<std::string>> rows;
    rows.reserve(lines.size());
    for (const auto& [number, line] : lines) {
        rows.push_back(SplitCells(line, separator));
        table.columns = std::max(table.columns, static_cast<int>(rows.back().size()));
    }
    // A header line holds no date; the rows after it do.
    if (options.header) {
        table.header = *options.header;
    } else {
        const auto hasDate = [](const std::vector<std::string>& row) {
            return std::any_of(row.begin(), row.end(), [](const std::string& cell) {
                return ParseStatementDate(cell).has_value();
            });
        };
        table.header = !hasDate(rows.front()) && (rows.size() == 1 || hasDate(rows[1]));
    }
    size_t start = 0;
    if (table.header) {
        table.headerCells = std::move(rows.front());
        start = 1;
    }
    if (rows.size() - start > kMaxStatementRows)
        return std::string("明細の行が多すぎます（10万行まで）。");
    for (size_t k = start; k < rows.size(); ++k) {
        table.rows.push_back(std::move(rows[k]));
        table.lineNumbers.push_back(lines[k].first);
    }
    return table;
}

}  // namespace statement
