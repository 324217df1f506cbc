#pragma once
// Fills a TSkinData from an unpacked skin: its ini description and its bitmap members. One loader
// exists for the length of one load. Nothing in a description is an error (missing sections and keys
// give defaults, images the archive lacks come out empty); a bitmap member that is not a valid BMP
// raises EInvalidGraphic, which ends the load.
#include "skin/data/SkinObjects.h"

#include <memory>
#include <string>
#include <vector>

class TQuickIni;
class TSkinData;
class TSkinReader;

class TSkinLoader {
public:
    TSkinLoader(TSkinData& Skin, const TSkinReader& Reader, const TQuickIni& Ini);

    // Every section in its order, the frame counts, the derived images and the face brush; clears
    // SkinPending at the end.
    void ParseSkin();

    // Bitmap from the archive member an ini value names ("*.bmp", any folder in front ignored); empty
    // when the value names no bitmap or the archive lacks it.
    void LoadBitmapMember(TBitmap& Bitmap, const std::string& Value) const;
    // Target becomes R + G * 256 + B * 65536 from the keys Prefix + "R", "G", "B", only when all three
    // are there and not negative.
    void ReadRGBKeys(const std::string& Section, const std::string& Prefix, int32_t& Target) const;

private:
    void LoadBorders();
    void LoadColours();
    void LoadCaptionButtons();
    void LoadMDIButtons(size_t First);
    void LoadButtons();
    void LoadTitle();
    void LoadElement(std::unique_ptr<TDataSkinObject>& Target, const std::string& Section) const;
    void LoadBorderElement(std::unique_ptr<TDataSkinBorder>& Target, const std::string& Section,
                           const std::string& SecondKey) const;
    void LoadProgress(std::unique_ptr<TDataSkinBorder>& Target, const std::string& Section) const;
    void LoadGroupBox(std::unique_ptr<TDataSkinBoxLabel>& Target, const std::string& Section) const;
    void LoadMenuBar();
    void FixFrameCounts();
    void ResourceElement(std::unique_ptr<TDataSkinObject>& Target, const wchar_t* ResourceName) const;

    // A new record of type T named after Section when its image key has a value, with the fields every
    // generic element reads.
    template <typename T>
    std::unique_ptr<T> NewElement(const std::string& Section, const std::string& ImageKey, bool ReadFrame,
                                  bool ReadColours) const;
    void ReadColourKeys(TDataSkinObject& Element, const std::string& Section) const;
    int32_t Integer(const std::string& Section, const std::string& Key, int32_t Default) const;
    std::string Text(const std::string& Section, const std::string& Key) const;

    TSkinData& FSkin;
    const TSkinReader& FReader;
    const TQuickIni& FIni;
    std::vector<std::string> FSectionList;
};
