#pragma once

// What every fuzz target shares: a check that stops the run with the broken property named,
// and a scratch folder of the process's own (in memory where /dev/shm exists), so that the
// readers that take a path read the input from a real file.

#include "ledger/categorylist.h"
#include "ledger/gridcellfile.h"
#include "support/tempdir.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

namespace fuzzsupport {

// How many of the lines `was` stand in `now` in their order, where `now` is `was` with one
// line replaced (the same number of lines) or with lines added.
inline size_t LinesKeptInOrder(const std::vector<std::string>& was,
                               const std::vector<std::string>& now) {
    size_t kept = 0;
    for (size_t k = 0, j = 0; k < now.size() && j < was.size(); ++k) {
        if (now[k] == was[j]) {
            ++kept;
            ++j;
        } else if (now.size() == was.size()) {
            ++j;  // the line replaced
        }
    }
    return kept;
}

inline const std::filesystem::path& Scratch() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
        std::filesystem::path p = base / ("vantrel-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        static struct Remover {
            std::filesystem::path path;
            ~Remover() {
                std::error_code ec;
                std::filesystem::remove_all(path, ec);
            }
        } remover{p};
        return p;
    }();
    return folder;
}

// An empty folder inside the scratch folder, emptied again on each call.
inline std::filesystem::path FreshFolder(const char* name) {
    const std::filesystem::path p = Scratch() / name;
    std::error_code ec;
    std::filesystem::remove_all(p, ec);
    std::filesystem::create_directories(p);
    return p;
}

using testsupport::ReadBytes;
using testsupport::WriteBytes;

// The category list the corpora's lines use: "a" an expense, "b" an income.
inline const ledger::CategoryList& Categories() {
    static const ledger::CategoryList list = [] {
        ledger::GridTable t(2, 3);
        t.SetCell(1, 1, "a");
        t.SetCell(0, 2, "\x8e\xfb\x93\xfc");  // 収入
        t.SetCell(1, 2, "b");
        return ledger::CategoryList::FromTable(t);
    }();
    return list;
}

inline std::string_view AsText(const uint8_t* data, size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// Takes a byte off the front of the input (0 when none is left).
inline uint8_t TakeByte(std::string_view& input) {
    if (input.empty())
        return 0;
    const auto b = static_cast<uint8_t>(input.front());
    input.remove_prefix(1);
    return b;
}

}  // namespace fuzzsupport
