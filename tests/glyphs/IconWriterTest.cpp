// The icon file as the system reads it: a directory of entries whose sizes and offsets match the
// images that follow, each a 32-bit DIB of double height (colour rows, then mask rows) stored bottom
// up, with straight alpha and an AND mask set exactly where the image is fully transparent.
#include "IconWriter.h"

#include <gtest/gtest.h>

namespace {

unsigned Get16(const std::vector<std::uint8_t>& b, size_t at) {
  return unsigned(b.at(at)) | unsigned(b.at(at + 1)) << 8;
}
unsigned Get32(const std::vector<std::uint8_t>& b, size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }

TRaster Sample(int size) {
  // Top-left pixel solid red, the one right of it half-covered blue, the rest empty.
  TRaster r(size, size);
  r.Fill(Shape::Box(0, 0, 1, 1), {255, 0, 0});
  r.Fill(Shape::Box(1, 0, 2, 1), {0, 0, 255}, 0.5);
  return r;
}

TEST(IconWriter, DirectoryAndImagesAgree) {
  const std::vector<TRaster> images{Sample(3), Sample(33)};
  const std::vector<std::uint8_t> ico = TIconWriter::Write(images);
  EXPECT_EQ(Get16(ico, 0), 0u);
  EXPECT_EQ(Get16(ico, 2), 1u);
  ASSERT_EQ(Get16(ico, 4), 2u);
  size_t expectedOffset = 6 + 2 * 16;
  for (size_t i = 0; i < images.size(); ++i) {
    const size_t entry = 6 + i * 16;
    const unsigned size = static_cast<unsigned>(images[i].Width());
    EXPECT_EQ(ico.at(entry), size);
    EXPECT_EQ(ico.at(entry + 1), size);
    EXPECT_EQ(Get16(ico, entry + 6), 32u) << "bits per pixel";
    const unsigned bytes = Get32(ico, entry + 8), offset = Get32(ico, entry + 12);
    EXPECT_EQ(offset, expectedOffset) << "images follow one another with no gap";
    const unsigned maskRow = (size + 31) / 32 * 4;
    EXPECT_EQ(bytes, 40 + size * size * 4 + maskRow * size);
    EXPECT_EQ(Get32(ico, offset), 40u);
    EXPECT_EQ(Get32(ico, offset + 4), size);
    EXPECT_EQ(Get32(ico, offset + 8), 2 * size) << "colour and mask rows counted together";
    EXPECT_EQ(Get16(ico, offset + 14), 32u);

    // The top row is stored last among the colour rows.
    const size_t top = offset + 40 + size_t(size - 1) * size * 4;
    EXPECT_EQ((std::vector<std::uint8_t>(ico.begin() + long(top), ico.begin() + long(top) + 8)),
              (std::vector<std::uint8_t>{0, 0, 255, 255, 255, 0, 0, 128}))
        << "straight BGRA: solid red, then blue at half coverage";
    const size_t mask = offset + 40 + size_t(size) * size * 4;
    const size_t topMask = mask + size_t(size - 1) * maskRow;
    EXPECT_EQ(ico.at(topMask) & 0xC0, 0) << "drawn pixels are not masked";
    EXPECT_EQ(ico.at(topMask) & 0x20, 0x20) << "empty pixels are masked";
    const unsigned firstByte = size >= 8 ? 0xFF : (0xFF00u >> size) & 0xFF;
    EXPECT_EQ(ico.at(mask), firstByte) << "an empty bottom row is masked throughout, padding left clear";
    expectedOffset += bytes;
  }
  EXPECT_EQ(ico.size(), expectedOffset);
}

TEST(IconWriter, RejectsWhatNoIconCanHold) {
  const std::vector<std::vector<TRaster>> bad{{}, {TRaster(16, 15)}, {TRaster(0, 0)}, {TRaster(257, 257)}};
  for (const auto& images : bad) EXPECT_THROW(TIconWriter::Write(images), std::invalid_argument);
}

TEST(IconWriter, LargestSizeIsWrittenAsZero) {
  const std::vector<std::uint8_t> ico = TIconWriter::Write({TRaster(256, 256)});
  EXPECT_EQ(ico.at(6), 0);
  EXPECT_EQ(ico.at(7), 0);
  EXPECT_EQ(Get32(ico, 6 + 16 + 4), 256u);
}

}  // namespace
