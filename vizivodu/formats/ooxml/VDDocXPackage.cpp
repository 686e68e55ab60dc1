// The DOCX package writer: the parts in their order, each part's relationships, the package
// relationships and the content types.
#include "vizivodu/formats/ooxml/VDDocXPackage.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/formats/common/VDFuncs_OOXML.h"
#include "vizivodu/formats/ooxml/VDDocXSavingData.h"
#include "vizivodu/formats/zip/VDZipPacker.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Lists.h"

#include "platform/rtl/Exceptions.h"

#include <set>
#include <string>

namespace vizivodu {

namespace {

constexpr std::string_view kRelsNamespace =
    "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr std::string_view kOfficeRelType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr std::string_view kCoreRelType =
    "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties";
constexpr std::string_view kWordContentType =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.";

struct THeaderFooterKind {
    TVDDocXPart Part;
    const char *File;
    const char *Kind;
    const char *Type;
};
constexpr THeaderFooterKind kHeaderFooters[6] = {
    {vddocxpHeader, "header.xml", "header", "default"},
    {vddocxpFooter, "footer.xml", "footer", "default"},
    {vddocxpHeader1, "headerFirstPage.xml", "header", "first"},
    {vddocxpFooter1, "footerFirstPage.xml", "footer", "first"},
    {vddocxpHeaderEven, "headerEvenPages.xml", "header", "even"},
    {vddocxpFooterEven, "footerEvenPages.xml", "footer", "even"}};

std::string Num(int64_t value) {
    return std::to_string(value);
}

AnsiString Relationship(std::string_view id, std::string_view type, std::string_view target,
                        bool external) {
    return "<Relationship Id=\"" + std::string(id) + "\" Type=\"" + std::string(kOfficeRelType) +
           std::string(type) + "\" Target=\"" + std::string(target) + "\"" +
           (external ? " TargetMode=\"External\"" : "") + "/>";
}

// The state of one package: the archive, the context and what was written.
class TVDDocXPackageWriter {
public:
    TVDDocXPackageWriter(rtl::TStream &stream, const TVDDocXPackageSource &source)
        : FSource(source), FData(*source.Data), FSaving(FZip) {
        FZip.CreateZipInStream(stream);
    }

    bool Write();
    void EndProgress() {
        if (FSaving.CallProgress) {
            FData.SaveProgressDone(vdloDocXWrite);
        }
    }

private:
    // Adds the buffer as a part and empties it.
    void AddPart(const std::string &name);
    void WriteHeadersAndFooters();
    void WriteNumbering();
    void WriteNotesPart(const char *kind, rtl::TMemoryStream *notes);
    void WriteRelationships(TVDDocXPart part, const std::string &name);
    AnsiString MainRelationships() const;
    void WritePackageRelationships();
    void WriteContentTypes();
    bool HasListStyles() const { return FData.GetVDStyle()->GetListStyles().GetCount() > 0; }

    const TVDDocXPackageSource &FSource;
    TCustomVDData &FData;
    TVDZipPacker FZip;
    TVDDocXSavingData FSaving;
    rtl::TMemoryStream FBuffer;
    bool FHasCore = false;
    bool FHeaderWritten[6] = {};
};

void TVDDocXPackageWriter::AddPart(const std::string &name) {
    const auto size = static_cast<uint32_t>(FBuffer.GetSize());
    if (!FZip.Add(name, reinterpret_cast<const char *>(FBuffer.GetMemory()), size)) {
        throw rtl::Exception(u"The DOCX package could not take a part");
    }
    FBuffer.Clear();
}

void TVDDocXPackageWriter::WriteHeadersAndFooters() {
    for (int32_t i = 0; i < 6; ++i) {
        TCustomVDData *doc = FSource.Headers[i];
        if (!doc) {
            continue;
        }
        const THeaderFooterKind &kind = kHeaderFooters[i];
        TVDDocXPartScope scope(FSaving, kind.Part);
        doc->SaveOOXMLDocumentToStream(FBuffer, {}, false, true, false, false, gfx::clNone, nullptr,
                                       FSaving);
        AddPart(std::string("word/") + kind.File);
        WriteRelationships(kind.Part, kind.File);
        FHeaderWritten[i] = true;
        FSaving.SectProps += std::string("<w:") + kind.Kind + "Reference w:type=\"" + kind.Type +
                             "\" r:id=\"rIdHF" + Num(i) + "\"/>";
    }
}

void TVDDocXPackageWriter::WriteNumbering() {
    if (!HasListStyles()) {
        return;
    }
    TVDIntegerList &counts = FSaving.ListOverrideOffsetsList1;
    FData.MakeRTFTables(nullptr, &counts, false);
    for (TCustomVDData *doc : FSource.Headers) {
        if (doc) {
            doc->FillRTFTables(nullptr, &counts);
        }
    }
    FData.FillRTFTables(nullptr, &counts);
    FData.SaveOOXMLListTable(FBuffer, FSaving, FSource.Headers);
    AddPart("word/numbering.xml");
}

void TVDDocXPackageWriter::WriteNotesPart(const char *kind, rtl::TMemoryStream *notes) {
    const std::string k = kind;
    OOXMLWrite(FBuffer, OOXMLDeclaration);
    OOXMLWrite(FBuffer,
               "<w:" + k + "s " +
                   GetOOXMLNamespaceAttrs({"ve", "o", "r", "m", "v", "wp", "w10", "w", "wne"}) +
                   ">");
    const std::string spacing = "<w:pPr><w:spacing w:after=\"0\" w:line=\"240\" "
                                "w:lineRule=\"auto\"/></w:pPr>";
    OOXMLWrite(FBuffer, "<w:" + k + " w:type=\"separator\" w:id=\"-1\"><w:p>" + spacing +
                            "<w:r><w:separator/></w:r></w:p></w:" + k + "><w:" + k +
                            " w:type=\"continuationSeparator\" w:id=\"0\"><w:p>" + spacing +
                            "<w:r><w:continuationSeparator/></w:r></w:p></w:" + k + ">");
    if (notes && notes->GetSize() > 0) {
        notes->SaveToStream(FBuffer);
    }
    OOXMLWrite(FBuffer, "</w:" + k + "s>");
    AddPart("word/" + k + "s.xml");
    WriteRelationships(k == "footnote" ? vddocxpFootnotes : vddocxpEndnotes, k + "s.xml");
}

AnsiString TVDDocXPackageWriter::MainRelationships() const {
    AnsiString s = Relationship("rIdFT", "fontTable", "fontTable.xml", false) +
                   Relationship("rIdSt", "styles", "styles.xml", false);
    for (int32_t i = 0; i < 6; ++i) {
        if (FHeaderWritten[i]) {
            s += Relationship("rIdHF" + Num(i), kHeaderFooters[i].Kind, kHeaderFooters[i].File,
                              false);
        }
    }
    if (FSaving.FootnoteIndex > 0) {
        s += Relationship("rIdFn", "footnotes", "footnotes.xml", false);
    }
    if (FSaving.EndnoteIndex > 0) {
        s += Relationship("rIdEn", "endnotes", "endnotes.xml", false);
    }
    if (HasListStyles()) {
        s += Relationship("rIdNm", "numbering", "numbering.xml", false);
    }
    return s + Relationship("rIdSet", "settings", "settings.xml", false);
}

void TVDDocXPackageWriter::WriteRelationships(TVDDocXPart part, const std::string &name) {
    const TVDDocXRelationCatalog *catalog = FSaving.FindCatalog(part);
    if (part != vddocxpMain && (!catalog || catalog->IsEmpty())) {
        return;
    }
    AnsiString s(OOXMLDeclaration);
    s += "<Relationships xmlns=\"" + std::string(kRelsNamespace) + "\">";
    if (part == vddocxpMain) {
        s += MainRelationships();
    }
    if (catalog) {
        const bool encoded = FData.GetOptions().Contains(vdoPercentEncodedURL);
        for (size_t i = 0; i < catalog->Hyperlinks.size(); ++i) {
            s += Relationship("hrId" + Num(int64_t(i) + 1), "hyperlink",
                              MakeOOXMLURL(catalog->Hyperlinks[i], encoded), true);
        }
        for (size_t i = 0; i < catalog->Images.size(); ++i) {
            s += Relationship("prId" + Num(int64_t(i) + 1), "image",
                              "media/" + MakeOOXMLAttrStr(rtl::UnicodeString(
                                             catalog->Images[i].begin(), catalog->Images[i].end())),
                              false);
        }
    }
    OOXMLWrite(FBuffer, s + "</Relationships>");
    AddPart("word/_rels/" + name + ".rels");
}

void TVDDocXPackageWriter::WritePackageRelationships() {
    AnsiString s(OOXMLDeclaration);
    s += "<Relationships xmlns=\"" + std::string(kRelsNamespace) + "\">" +
         Relationship("rId1", "officeDocument", "word/document.xml", false);
    if (FHasCore) {
        s += "<Relationship Id=\"rId2\" Type=\"" + std::string(kCoreRelType) +
             "\" Target=\"docProps/core.xml\"/>";
    }
    OOXMLWrite(FBuffer, s + "</Relationships>");
    AddPart("_rels/.rels");
}

AnsiString Override(const std::string &name, std::string_view kind) {
    return "<Override PartName=\"/" + name + ".xml\" ContentType=\"" +
           std::string(kWordContentType) + std::string(kind) + "+xml\"/>";
}

AnsiString ImageSubtype(const std::string &ext) {
    if (ext == "emf" || ext == "wmf") {
        return "x-" + ext;
    }
    return ext == "ico" ? "x-icon" : ext;
}

void TVDDocXPackageWriter::WriteContentTypes() {
    std::set<std::string> defaults;
    for (int32_t p = 0; p < VDDocXPartCount; ++p) {
        const TVDDocXRelationCatalog *catalog = FSaving.FindCatalog(TVDDocXPart(p));
        for (size_t i = 0; catalog && i < catalog->Images.size(); ++i) {
            const std::string &file = catalog->Images[i];
            const size_t dot = file.rfind('.');
            const std::string ext = dot == std::string::npos ? "" : file.substr(dot + 1);
            defaults.insert(ext + "=" + ImageSubtype(ext));
        }
    }
    AnsiString s(OOXMLDeclaration);
    s += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" "
         "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
    for (const std::string &entry : defaults) {
        const size_t eq = entry.find('=');
        s += "<Default Extension=\"" + entry.substr(0, eq) + "\" ContentType=\"image/" +
             entry.substr(eq + 1) + "\"/>";
    }
    s += Override("word/document", "document.main");
    if (FSaving.FootnoteIndex > 0) {
        s += Override("word/footnotes", "footnotes");
    }
    if (FSaving.EndnoteIndex > 0) {
        s += Override("word/endnotes", "endnotes");
    }
    s += Override("word/styles", "styles") + Override("word/fontTable", "fontTable");
    if (HasListStyles()) {
        s += Override("word/numbering", "numbering");
    }
    for (int32_t i = 0; i < 6; ++i) {
        if (FHeaderWritten[i]) {
            const std::string file = kHeaderFooters[i].File;
            s += Override("word/" + file.substr(0, file.size() - 4), kHeaderFooters[i].Kind);
        }
    }
    s += Override("word/settings", "settings");
    if (FHasCore) {
        s += "<Override PartName=\"/docProps/core.xml\" "
             "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>";
    }
    OOXMLWrite(FBuffer, s + "</Types>");
    AddPart("[Content_Types].xml");
}

bool TVDDocXPackageWriter::Write() {
    if (!FSource.SelectionOnly) {
        FData.DoBeforeSaving();
    }
    FHasCore = FData.SaveOOXMLCorePropertiesToStream(FBuffer);
    if (FHasCore) {
        AddPart("docProps/core.xml");
    }
    FData.SaveOOXMLDocumentSettingsToStream(FBuffer);
    AddPart("word/settings.xml");
    WriteHeadersAndFooters();
    WriteNumbering();
    FSaving.CurPart = vddocxpMain;
    FData.SaveOOXMLDocumentToStream(FBuffer, {}, FSource.SelectionOnly, true, false, false,
                                    FSource.Color, FSource.Background, FSaving);
    AddPart("word/document.xml");
    FData.SaveOOXMLFontTableToStream(FBuffer);
    AddPart("word/fontTable.xml");
    FData.SaveOOXMLStylesToStream(FBuffer);
    AddPart("word/styles.xml");
    WriteRelationships(vddocxpMain, "document.xml");
    if (FSaving.HasNumPics) {
        WriteRelationships(vddocxpNumbering, "numbering.xml");
    }
    if (FSaving.FootnoteIndex > 0) {
        WriteNotesPart("footnote", FSaving.FootnotesStream.get());
    }
    if (FSaving.EndnoteIndex > 0) {
        WriteNotesPart("endnote", FSaving.EndnotesStream.get());
    }
    WritePackageRelationships();
    WriteContentTypes();
    return FZip.Close();
}

} // namespace

bool SaveDocXPackage(rtl::TStream &stream, const TVDDocXPackageSource &source) {
    if (!source.Data || !source.Data->GetVDStyle()) {
        return false;
    }
    TVDDocXPackageWriter writer(stream, source);
    bool result = false;
    try {
        result = writer.Write();
    } catch (const rtl::Exception &) {
        result = false;
    }
    writer.EndProgress();
    return result;
}

} // namespace vizivodu
