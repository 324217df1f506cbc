// skingen: draws the bitmaps of the skins the program ships, from code, the same bytes on every run.
//
//   skingen SKIN INI OUTDIR                   write SKIN's bitmaps and a copy of INI into OUTDIR,
//                                             ready for skinpack
//   skingen SKIN INI --contact-sheet OUT.bmp  write a picture of every element of SKIN
//   skingen SKIN INI --fit-packed-size BYTES  find the form texture grain that packs SKIN to BYTES
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
             "       skingen SKIN INI --fit-packed-size BYTES\n"
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

void WriteSkin(const TSkinArt& art, const std::string& iniPath, const std::filesystem::path& out) {
  std::filesystem::create_directories(out);
  for (const TSkinImage& image : art.Images) WriteFile((out / image.File).string(), image.Image.ToBmp());
  std::filesystem::copy_file(iniPath, out / std::filesystem::path(iniPath).filename(),
                             std::filesystem::copy_options::overwrite_existing);
}

// The packed size grows with the grain (noise packs badly), so halving the interval homes in on it;
// the last steps move single pixels, a few bytes at a time.
int FitPackedSize(const std::string& skin, const std::string& iniPath, size_t target) {
  const std::filesystem::path work = std::filesystem::temp_directory_path() / "skingen-fit";
  auto packedSize = [&](double grain) {
    std::filesystem::remove_all(work);
    WriteSkin(DrawSkinArt(skin, grain), iniPath, work);
    return TSkinPacker::PackSkin(work / std::filesystem::path(iniPath).filename()).size();
  };
  double low = 0, high = 0.5;
  for (int step = 0; step < 40; ++step) {
    const double grain = (low + high) / 2;
    const size_t size = packedSize(grain);
    std::printf("grain %.7f: %zu bytes\n", grain, size);
    if (size == target) {
      std::printf("FormGrain = %.7f\n", grain);
      std::filesystem::remove_all(work);
      return 0;
    }
    (size < target ? low : high) = grain;
  }
  std::filesystem::remove_all(work);
  std::fprintf(stderr, "skingen: no grain packs %s to exactly %zu bytes; change the ini's length or wording slightly\n",
               skin.c_str(), target);
  return 1;
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
    if (argc == 5 && std::string(argv[3]) == "--contact-sheet") {
      WriteFile(argv[4], TContactSheet::Render(art, ini).ToBmp());
      return 0;
    }
    if (argc == 5 && std::string(argv[3]) == "--fit-packed-size")
      return FitPackedSize(argv[1], iniPath, static_cast<size_t>(std::stoul(argv[4])));
    if (argc == 5) return Usage();
    WriteSkin(art, iniPath, argv[3]);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
}
