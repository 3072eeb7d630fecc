#pragma once

// What every fuzz target shares: a check that stops the run with the broken property named,
// and a scratch folder of the process's own (in memory where /dev/shm exists), so that the
// readers that take a path read the input from a real file.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

namespace fuzzsupport {

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

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
