// The native-format reader's state while one stream is read (inside the library only).
#pragma once

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDItem.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vizivodu {

class TVDBackground;
class TVDLayoutInfo;
class TCustomVDInfos;
class TVDStyleTemplateCollection;

// Writes a block of bytes as a record's last data line: binary, or one hex line.
void VDFWriteDataBlock(rtl::TStream &stream, bool binary, const std::string &bytes);
// The style records of a root document (style templates or their names, text, paragraph and
// list styles) as its VDF options ask.
void VDFWriteStyleRecords(TCustomVDData &data, rtl::TStream &stream);

// What the style records read so far leave for the rest of the read: the maps from the file's
// style indices to the sheet's (made when a collection was merged; empty maps change nothing),
// and the style templates or their names.
struct TVDFStyleReading {
    TVDIntegerList *TextMap = nullptr;
    TVDIntegerList *ParaMap = nullptr;
    TVDIntegerList *ListMap = nullptr;
    TVDIntegerList OwnMaps[3]; // when the document keeps no maps of its own
    bool SharedMaps = false;
    std::unique_ptr<TVDStyleTemplateCollection> Templates;
    bool HasTemplateNames = false;
    std::vector<std::pair<rtl::UnicodeString, int32_t>> TemplateNames;
    bool TemplatesAssigned = false; // a whole-document load took the templates read
};

// The fields of the header being read.
struct TVDFHeader {
    int32_t StyleNo = 0;
    int32_t ParaNo = 0;
    int32_t ReadType = 0;
    int32_t ExtraValue = 0;
    int32_t DataCount = 0;
    int32_t DataRead = 0;
    TVDItemOptions Options;
    TVDRawByteString Name;
    int32_t Version = 1;
    int32_t SubVersion = 0;
    bool UTF8Strings = false;
    bool RaiseEvent = false;
    bool PersistentCheckpoint = false;
    TVDTag Tag;
    TVDTag CheckPointTag;
    bool AssociatedTextStyleNameUsed = false;
};

struct TVDFReadSettings {
    int32_t Index = 0;
    bool WholeDocument = false;
    bool EditFlag = false;
    bool AppendMode = false;
    int32_t AppendParaNo = -1;
    uint32_t *Color = nullptr;
    TVDBackground *Background = nullptr;
    TVDLayoutInfo *Layout = nullptr;
};

class TVDFReader {
public:
    TVDFReader(TCustomVDData &data, std::string buffer, const TVDFReadSettings &settings);
    ~TVDFReader();
    TVDFReader(const TVDFReader &) = delete;
    TVDFReader &operator=(const TVDFReader &) = delete;

    // Reads every record; false for malformed data (exceptions pass through).
    bool Run();
    // After Run: the marker fix-up and the pending checkpoint (see the format's notes).
    void Finish(bool succeeded);
    int32_t GetIndex() const { return FIndex; }
    int32_t GetNonFirstItemsAdded() const { return FNonFirstItemsAdded; }
    bool GetFullReformat() const { return FFullReformat; }

private:
    bool NextTextLine(std::string_view &line);
    bool NextBinaryLine(std::string_view &line);
    bool NextUnicodeLine(std::string_view &line);
    bool NextDataLine(std::string_view &line);

    bool ParseHeader(const char *p);
    bool ParseVersion(const char *p);
    bool ParseCommonFields(const char *&p);
    bool ParseBackgroundHeader(const char *&p);
    bool ParseCheckpointHeader(const char *&p);
    bool ParseTextHeader(const char *&p, bool named);
    bool ParseItemHeader(const char *&p);
    bool CheckTextStyle(int32_t &styleNo, bool named);
    bool CheckParaStyle(int32_t &paraNo);
    void AddWarning(TVDFWarning warning);

    bool DataLine(std::string_view line);
    bool DocumentLine(std::string_view line, int32_t lineNo);
    // The style records (CVDData_VDFStyles.cpp).
    void InitStyleReading();
    void DoneStyleReading();
    bool StyleLine(std::string_view line, int32_t lineNo);
    bool ReadStyleCollection(const std::string &bytes);
    bool ReadStyleTemplates(const std::string &bytes);
    void LinkStyleTemplates(TCustomVDInfos &styles, bool para);
    bool MapTextStyle(int32_t &styleNo) const;
    bool MapParaStyle(int32_t &paraNo) const;
    void MapListNo(int32_t &listNo) const;
    bool BackgroundLine(std::string_view line, int32_t lineNo);
    bool CheckpointLine(std::string_view line);
    bool TextLine(std::string_view line);
    bool ItemLine(std::string_view line, int32_t lineNo);

    void ConvertText(TCustomVDItemInfo &item, TVDRawByteString &text);
    void PlaceInParagraph(TCustomVDItemInfo &item, int32_t recordParaNo);
    bool FinishNonTextItem();
    bool Insert(std::unique_ptr<TCustomVDItemInfo> item, TVDRawByteString text);

    TCustomVDData &FData;
    std::string FBuffer;
    size_t FPos = 0;
    size_t FEnd = 0;
    bool FLastCrLf = false;
    bool FUnicodeLines = false;
    TVDFReadSettings FSettings;
    TVDFReadState FState = rstHeader;
    TVDFHeader FHeader;
    std::unique_ptr<TCustomVDItemInfo> FItem;
    std::unique_ptr<TCustomVDItemInfo> FTextTemplate;
    std::unique_ptr<TVDCPInfo> FPendingCP;
    int32_t FIndex = 0;
    int32_t FAdded = 0;
    int32_t FNonFirstItemsAdded = 0;
    bool FFullReformat = false;
    bool FFailedInsert = false;
    int32_t FFileUnits = 0;
    TVDFStyleReading FStyles;
};

} // namespace vizivodu
