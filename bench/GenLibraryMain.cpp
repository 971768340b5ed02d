// plotwright-genlib OUTDIR: writes the synthetic benchmark library into OUTDIR.

#include "GenLibrary.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: plotwright-genlib OUTDIR\n", stderr);
        return 2;
    }
    try {
        pwbench::GenerateLibrary(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 4;
    }
    return 0;
}
