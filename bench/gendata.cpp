// Writes a synthetic data folder for trying the program with years of entries:
//   vantrel_gendata DATA_FOLDER [YEARS] [ENTRIES_PER_MONTH]
#include "synthetic.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: %s DATA_FOLDER [YEARS=10] [ENTRIES_PER_MONTH=300]\n", argv[0]);
        return 2;
    }
    int years = argc > 2 ? std::atoi(argv[2]) : 10;
    int entries = argc > 3 ? std::atoi(argv[3]) : 300;
    if (years < 1 || entries < 0) {
        std::fprintf(stderr, "YEARS must be at least 1 and ENTRIES_PER_MONTH not negative\n");
        return 2;
    }
    auto today = std::chrono::year_month_day(
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now()));
    ledger::Date last{int(today.year()), int(unsigned(today.month())), 1};
    try {
        synthetic::WriteDataFolder(argv[1], last, years, entries);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("wrote %d month files of %d entries to %s\n", years * 12, entries, argv[1]);
    return 0;
}
