// The RTF parser's list table and list override table: lists with their levels (number kind,
// level text with placeholders, indents, marker font) and the overrides paragraphs refer to.
#pragma once

#include "vizivodu/formats/rtf/VDRTFRecords.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vizivodu {

// One level of a list. FText's first character holds the length of the rest; characters below
// 10 in the rest name the levels whose numbers go there.
struct TVDRTFListLevel97 : TVDRTFCustomMarkerProperties {
    bool FOldStyle = false;
    bool FLegal = false;
    bool FNoRestart = false;
    TVDUnicodeString FText;
    TVDAnsiString FNumbers;
    TVDUnicodeString FTextW;
    TVDRTFLevelFollow97 FFollow = rtf_lf_Tab;
    int32_t FLeftIndentTw = 0, FFirstIndentTw = 0;
    int32_t FTabPosTw = -1000; // none
    bool FFontSizeDefined = false;
    bool FIndentsUpdated = false;

    // Copies the marker part, the flags, the texts, the follow character and IndentsUpdated;
    // not the indents, the tab position or FontSizeDefined.
    void Assign(const TVDRTFListLevel97 &source);
    // Cuts the level text and the numbers to the length their first character states.
    void CutTexts();
};

class TVDRTFList97 {
public:
    // Levels a paragraph may name; a list never grows beyond them.
    static constexpr int32_t MaxLevels = 9;

    int32_t FId = 0;
    int32_t FTemplateId = 0;
    bool FSimple = false;
    TVDAnsiString FName;

    int32_t Count() const { return int32_t(FLevels.size()); }
    TVDRTFListLevel97 &AddNew();
    // A level below MaxLevels beyond the last is made first as a copy of the last, each one
    // 720 twips further in. nullptr for a list without levels or an index outside 0..8 that
    // the list does not hold.
    TVDRTFListLevel97 *Get(int32_t index);

private:
    std::vector<std::unique_ptr<TVDRTFListLevel97>> FLevels;
};

// More lists or overrides than any program writes are skipped, so that a file cannot make the
// reader hold far more than it is long.
inline constexpr int32_t MaxRTFLists = 4096;

class TVDRTFListTable97 {
public:
    int32_t Count() const { return int32_t(FItems.size()); }
    TVDRTFList97 &Get(int32_t index) { return *FItems[size_t(index)]; }
    TVDRTFList97 &AddNew();
    TVDRTFList97 *Last() { return FItems.empty() ? nullptr : FItems.back().get(); }
    // The first list with that id, -1 when none.
    int32_t FindById(int32_t id) const;
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TVDRTFList97>> FItems;
};

struct TVDRTFListOverrideLevel97 {
    bool FUseStart = false;
    int32_t FStart = 1;
    bool Used = false;
};

class TVDRTFListOverride97 {
public:
    int32_t FListIndex = -1; // in the list table; -1 when its id is unknown
    int32_t FNumber = 0;
    int32_t FOverrideCount = 0;

    int32_t Count() const { return int32_t(FLevels.size()); }
    TVDRTFListOverrideLevel97 &Get(int32_t index) { return FLevels[size_t(index)]; }
    TVDRTFListOverrideLevel97 &AddNew() { return FLevels.emplace_back(); }
    TVDRTFListOverrideLevel97 *GetLastLevel() {
        return FLevels.empty() ? nullptr : &FLevels.back();
    }

private:
    std::vector<TVDRTFListOverrideLevel97> FLevels;
};

class TVDRTFListOverrideTable97 {
public:
    int32_t Count() const { return int32_t(FItems.size()); }
    TVDRTFListOverride97 &Get(int32_t index) { return FItems[size_t(index)]; }
    TVDRTFListOverride97 &AddNew() { return FItems.emplace_back(); }
    TVDRTFListOverride97 *Last() { return FItems.empty() ? nullptr : &FItems.back(); }
    // The first override with that number, -1 when none.
    int32_t FindByNumber(int32_t number) const;
    void Clear() { FItems.clear(); }

private:
    std::vector<TVDRTFListOverride97> FItems;
};

} // namespace vizivodu
