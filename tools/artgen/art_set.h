// The complete set of bitmap resources of the panels: which file holds
// which resource, the images themselves, and the resource-script fragment
// that lists them for the Windows build.
#pragma once

#include <string>
#include <vector>

#include "tools/artgen/bmp_io.h"

struct ArtFile {
    int resource;      // bitmap resource number the program loads
    const char* name;  // file name in the art folder
};

// Every bitmap resource, in resource number order: the 32 control bitmaps
// of the panel bitmap table and the three panel backgrounds.
const std::vector<ArtFile>& ArtFiles();

// The file name of a resource, or null when it is not one of them.
const char* ArtFileName(int resource);

inline constexpr char ResourceFragmentName[] = "qiv72_bitmaps.rc";

struct ArtImage {
    int resource;
    std::string name;
    RgbImage image;
};

// All images, drawn from the current parameter tables (backgrounds follow
// their rectangles). Deterministic.
std::vector<ArtImage> DrawAllArt();

// One palette of at most 256 colours shared by all images, or an empty list
// when they use more.
std::vector<uint32_t> ArtPalette(const std::vector<ArtImage>& images);

// The resource-script lines: one "<number> BITMAP "<file>"" per resource.
std::string ResourceFragment();

// Writes every image as an 8-bit bitmap file and the resource fragment into
// `folder` (which must exist). Returns false with a reason on failure.
bool WriteArtFolder(const std::string& folder, std::string* error);
