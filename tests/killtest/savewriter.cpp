// Saves one file again and again, A and B in turn, until it is killed:
//   vantrel_savewriter month|ini|setting PROGRAM_FOLDER

#include "saves.h"

#include <cstdio>
#include <cstring>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s month|ini|setting PROGRAM_FOLDER\n", argv[0]);
        return 2;
    }
    killtest::Kind kind = killtest::Kind::Month;
    if (std::strcmp(argv[1], "ini") == 0)
        kind = killtest::Kind::Ini;
    else if (std::strcmp(argv[1], "setting") == 0)
        kind = killtest::Kind::Setting;
    try {
        for (bool b = true;; b = !b)
            killtest::Save(kind, argv[2], b);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
