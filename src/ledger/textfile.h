#pragma once

#include "bytescan.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ledger {

// Whether a write waits until the bytes are on the disk. Only benchmarks turn it off, to
// measure the rest of a page change apart from the disk.
enum class SyncMode { Durable, NoSync };

// The whole file as bytes; nullopt when it does not exist. Throws FileError when it exists
// but cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);
// Same, appended to `out`; false (and `out` unchanged) when the file does not exist.
bool AppendWholeFile(const std::filesystem::path& path, std::string& out);

// Splits text into lines: CR, LF and CR LF each end a line, and the last line needs no line
// end. Empty text has no lines. Every other byte, a NUL included, belongs to its line: a
// reader that stopped at a stray NUL would lose every line after it at the next save.
std::vector<std::string> SplitTextLines(std::string_view text);

// The first CR or LF at or after `from`, or text.size().
inline size_t FindLineEnd(std::string_view text, size_t from) {
    return FindCrOrLf(text, from);
}

// Calls f(std::string_view) for each line of `text`, by the same rules as SplitTextLines,
// without copying the lines.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
    LineEndFinder ends(text);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = ends.Next(start);
        f(text.substr(start, end - start));
        if (end == text.size())
            return;
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
}

// The lines of a file; empty when it does not exist.
std::vector<std::string> ReadLines(const std::filesystem::path& path);

// The lines as a file holds them, each ended by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

// Writes `lines`, each followed by CR LF, as the file's whole new content. The bytes go to
// a temporary file in the same folder, which then replaces the target in one rename, so the
// target holds either its old or its new content, never a part. Throws FileError.
void WriteLinesAtomic(const std::filesystem::path& path, const std::vector<std::string>& lines,
                      SyncMode sync = SyncMode::Durable);

// Same, for bytes given whole.
void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes,
                     SyncMode sync = SyncMode::Durable);

}  // namespace ledger
