// The set of bitmap resources and how it is written.
#include "tools/artgen/art_set.h"

#include "panel/panel_bitmaps.h"
#include "tools/artgen/control_art.h"
#include "tools/artgen/panel_art.h"

const std::vector<ArtFile>& ArtFiles() {
    static const std::vector<ArtFile> files = {
        {138, "switch_red.bmp"},    {142, "level_bar.bmp"},       {148, "meter_bar.bmp"},
        {157, "switch.bmp"},        {161, "meter_correlation.bmp"}, {162, "font_readout.bmp"},
        {173, "band_173.bmp"},      {175, "band_175.bmp"},        {177, "band_177.bmp"},
        {178, "band_178.bmp"},      {180, "band_180.bmp"},        {181, "band_181.bmp"},
        {182, "band_182.bmp"},      {184, "band_184.bmp"},        {185, "band_185.bmp"},
        {186, "band_186.bmp"},      {187, "band_187.bmp"},        {188, "band_188.bmp"},
        {189, "band_189.bmp"},      {190, "band_190.bmp"},        {191, "band_191.bmp"},
        {192, "band_192.bmp"},      {193, "band_193.bmp"},        {194, "band_194.bmp"},
        {195, "band_195.bmp"},      {196, "band_196.bmp"},        {197, "band_197.bmp"},
        {198, "band_198.bmp"},      {199, "band_199.bmp"},        {200, "font_value.bmp"},
        {201, "switch_reset.bmp"},  {203, "font_scale.bmp"},      {204, "panel_dual_mono.bmp"},
        {205, "panel_analyser_settings.bmp"}, {207, "panel_stereo.bmp"},
    };
    return files;
}

const char* ArtFileName(int resource) {
    for (const ArtFile& f : ArtFiles())
        if (f.resource == resource) return f.name;
    return nullptr;
}

std::vector<ArtImage> DrawAllArt() {
    std::vector<ArtImage> images;
    for (const ArtFile& f : ArtFiles()) {
        ArtImage a{f.resource, f.name, RgbImage()};
        for (int slot = 0; slot < PanelBitmapSlotCount; ++slot)
            if (PanelBitmapSlots[slot].resource == f.resource) a.image = DrawSlotBitmap(slot);
        for (int panel = 0; panel < BitmapPanelCount; ++panel)
            if (PanelBackgrounds[panel].resource == f.resource) a.image = DrawPanelArt(panel).image;
        images.push_back(std::move(a));
    }
    return images;
}

std::vector<uint32_t> ArtPalette(const std::vector<ArtImage>& images) {
    std::vector<const RgbImage*> all;
    for (const ArtImage& a : images) all.push_back(&a.image);
    std::vector<uint32_t> palette = ColoursOf(all);
    if (palette.size() > 256) palette.clear();
    return palette;
}

std::string ResourceFragment() {
    std::string text =
        "// Bitmap resources of the panels: value, readout and scale fonts, switch\n"
        "// and meter images, level bar, analyser bands and the three panel\n"
        "// backgrounds. Written by qiv72art next to the bitmap files; include it\n"
        "// from the program's resource script and give windres this folder as an\n"
        "// include directory so that it finds the files.\n";
    for (const ArtFile& f : ArtFiles())
        text += std::to_string(f.resource) + " BITMAP \"" + f.name + "\"\n";
    return text;
}

bool WriteArtFolder(const std::string& folder, std::string* error) {
    const std::vector<ArtImage> images = DrawAllArt();
    const std::vector<uint32_t> palette = ArtPalette(images);
    if (palette.empty()) {
        *error = "the artwork uses more than 256 colours";
        return false;
    }
    for (const ArtImage& a : images) {
        const std::string path = folder + "/" + a.name;
        if (!WriteFileBytes(path, EncodeBmp(a.image, BmpFormat::Palette8, palette))) {
            *error = "cannot write " + path;
            return false;
        }
    }
    const std::string rc = ResourceFragment();
    const std::string path = folder + "/" + ResourceFragmentName;
    if (!WriteFileBytes(path, std::vector<uint8_t>(rc.begin(), rc.end()))) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}
