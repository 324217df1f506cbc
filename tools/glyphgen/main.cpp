// glyphgen: draws the main window's button glyphs and the program icon from code, the same bytes on
// every run.
//
//   glyphgen OUTDIR              write the glyphs (.bmp) and the icon (.ico) into OUTDIR
//   glyphgen --check DIR         fail unless DIR holds exactly what glyphgen makes now
//   glyphgen --preview OUT.bmp   write an enlarged picture of every glyph and icon image
#include "GlyphArt.h"
#include "PreviewSheet.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace {
int Usage() {
  std::fputs("usage: glyphgen OUTDIR\n"
             "       glyphgen --check DIR\n"
             "       glyphgen --preview OUT.bmp\n",
             stderr);
  return 2;
}

int Check(const TGlyphArt& art, const std::filesystem::path& dir) {
  int stale = 0;
  for (const auto& [name, bytes] : art.Files()) {
    const std::filesystem::path path = dir / name;
    if (!std::filesystem::exists(path) || ReadFile(path.string()) != bytes) {
      std::fprintf(stderr, "glyphgen: %s is not what glyphgen makes now\n", path.string().c_str());
      ++stale;
    }
  }
  if (stale) std::fputs("glyphgen: rebuild them with the regenerate-glyphs target and commit them\n", stderr);
  return stale ? 1 : 0;
}
}  // namespace

int main(int argc, char** argv) {
  try {
    const TGlyphArt art = DrawGlyphArt();
    if (argc == 3 && std::string(argv[1]) == "--check") return Check(art, argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--preview") {
      WriteFile(argv[2], TPreviewSheet::Render(art).ToBmp());
      return 0;
    }
    if (argc != 2 || argv[1][0] == '-') return Usage();
    std::filesystem::create_directories(argv[1]);
    for (const auto& [name, bytes] : art.Files()) WriteFile((std::filesystem::path(argv[1]) / name).string(), bytes);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "glyphgen: %s\n", e.what());
    return 1;
  }
}
