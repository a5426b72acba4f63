// qiv72art: writes every bitmap resource of the panels, drawn from code,
// and the resource-script fragment that lists them into a folder.
//   qiv72art <output folder>
#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "model/param_tables.h"
#include "tools/artgen/art_set.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qiv72art <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    mkdir(folder.c_str(), 0755);  // may exist already
    BuildIdIndices();
    std::string error;
    if (!WriteArtFolder(folder, &error)) {
        std::fprintf(stderr, "qiv72art: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
