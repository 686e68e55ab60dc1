// The saving context of one DOCX package: the part being written, each part's relationships
// (hyperlinks and pictures), the counters the item writers share, the list numbering ids and
// the bodies of the notes.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/rtl/System.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include <array>
#include <memory>
#include <vector>

namespace gfx {
class TGraphic;
}

namespace vizivodu {

class TVDZipPacker;

// The part being written; also a bit index.
enum TVDDocXPart : uint8_t {
    vddocxpMain,
    vddocxpNumbering,
    vddocxpFootnotes,
    vddocxpEndnotes,
    vddocxpHeader,
    vddocxpFooter,
    vddocxpHeader1,
    vddocxpFooter1,
    vddocxpHeaderEven,
    vddocxpFooterEven
};
constexpr int32_t VDDocXPartCount = 10;

// The relationships of one part. A relationship's id is its 1-based position: "hrId" + n for
// hyperlinks, "prId" + n for pictures, so a target is added when its r:id is written.
class TVDDocXRelationCatalog {
public:
    std::vector<rtl::UnicodeString> Hyperlinks;
    std::vector<AnsiString> Images;
    bool IsEmpty() const { return Hyperlinks.empty() && Images.empty(); }
};

class TVDDocXSavingData {
public:
    explicit TVDDocXSavingData(TVDZipPacker &zip);
    ~TVDDocXSavingData();
    TVDDocXSavingData(const TVDDocXSavingData &) = delete;
    TVDDocXSavingData &operator=(const TVDDocXSavingData &) = delete;

    TVDDocXRelationCatalog &GetCatalogs(TVDDocXPart part);
    // nullptr when the part never received a relationship.
    const TVDDocXRelationCatalog *FindCatalog(TVDDocXPart part) const;
    TVDDocXRelationCatalog &CurCatalog() { return GetCatalogs(CurPart); }
    // Stores the picture's own file format as "word/media/" + fileName; EViziVoduError "Error
    // while saving image to DocX" when the packer refuses it.
    void AddGraphic(const gfx::TGraphic &graphic, const AnsiString &fileName);
    TVDZipPacker &Zip() { return FZip; }

    TVDDocXPart CurPart = vddocxpMain;
    bool HasNumPics = false;
    bool CurInTextBox = false;
    bool SavePageBreakBeforePara = false;
    int32_t BookmarkIndex = 0;
    int32_t ImageIndex = 0;
    int32_t DrawingIndex = 0;
    int32_t BreakIndex = 0;
    int32_t NoteBookmarkIndex = 0;
    // Per list style: the number of numbering instances, then the next instance id to use.
    TVDIntegerList ListOverrideOffsetsList1;
    // Per list style: the id of its plain numbering instance.
    TVDIntegerList ListOverrideOffsetsList2;
    int32_t FootnoteIndex = 0;
    int32_t EndnoteIndex = 0;
    std::unique_ptr<rtl::TMemoryStream> FootnotesStream;
    std::unique_ptr<rtl::TMemoryStream> EndnotesStream;
    // Header and footer references for the section properties.
    AnsiString SectProps;
    bool CallProgress = false;

private:
    TVDZipPacker &FZip;
    std::array<std::unique_ptr<TVDDocXRelationCatalog>, VDDocXPartCount> FCatalogs;
};

// Sets CurPart for a scope and restores it, also when an exception passes.
class TVDDocXPartScope {
public:
    TVDDocXPartScope(TVDDocXSavingData &data, TVDDocXPart part)
        : FData(data), FSaved(data.CurPart) {
        data.CurPart = part;
    }
    ~TVDDocXPartScope() { FData.CurPart = FSaved; }
    TVDDocXPartScope(const TVDDocXPartScope &) = delete;
    TVDDocXPartScope &operator=(const TVDDocXPartScope &) = delete;

private:
    TVDDocXSavingData &FData;
    TVDDocXPart FSaved;
};

// Bytes as they stand (UTF-8 markup).
void OOXMLWrite(rtl::TStream &stream, std::string_view s);
// The declaration line every XML part starts with, CR LF included.
inline constexpr std::string_view OOXMLDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";

} // namespace vizivodu
