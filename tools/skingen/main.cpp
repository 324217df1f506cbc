// skingen: draws the bitmaps of the skins the program ships, from code, the same bytes on every run.
//
//   skingen SKIN INI OUTDIR                   write SKIN's bitmaps and a copy of INI into OUTDIR,
//                                             ready for skinpack
//   skingen SKIN INI --contact-sheet OUT.bmp  write a picture of every element of SKIN
//
// SKIN is "default" or "graphite". The ini must name exactly the images the skin draws.
#include "ContactSheet.h"
#include "SkinArt.h"

#include "skin/data/QuickIni.h"
#include "tools/skinpack/SkinPacker.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace {
int Usage() {
  std::fputs("usage: skingen SKIN INI OUTDIR\n"
             "       skingen SKIN INI --contact-sheet OUT.bmp\n"
             "SKIN is \"default\" or \"graphite\".\n",
             stderr);
  return 2;
}

// A member the ini names but nobody draws would make the program load an empty image; an image
// drawn but never named would swell the archive for nothing.
void CheckNames(const TSkinArt& art, const std::string& iniText) {
  const std::vector<std::string> named = TSkinPacker::BitmapNames(iniText);
  for (const std::string& file : named)
    if (!art.Find(file)) throw std::runtime_error("the ini names " + file + ", which the " + art.Name + " skin does not draw");
  for (const TSkinImage& image : art.Images)
    if (std::find(named.begin(), named.end(), image.File) == named.end())
      throw std::runtime_error("the ini does not name " + image.File);
}
}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc != 4 && argc != 5) return Usage();
    const std::string iniPath = argv[2];
    const TSkinArt art = DrawSkinArt(argv[1]);
    const std::vector<std::uint8_t> iniBytes = ReadFile(iniPath);
    const std::string iniText(iniBytes.begin(), iniBytes.end());
    CheckNames(art, iniText);
    TQuickIni ini;
    ini.LoadFromText(iniText);
    if (argc == 5) {
      if (std::string(argv[3]) != "--contact-sheet") return Usage();
      WriteFile(argv[4], TContactSheet::Render(art, ini).ToBmp());
      return 0;
    }
    const std::filesystem::path out = argv[3];
    std::filesystem::create_directories(out);
    for (const TSkinImage& image : art.Images) WriteFile((out / image.File).string(), image.Image.ToBmp());
    std::filesystem::copy_file(iniPath, out / std::filesystem::path(iniPath).filename(),
                               std::filesystem::copy_options::overwrite_existing);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
}
