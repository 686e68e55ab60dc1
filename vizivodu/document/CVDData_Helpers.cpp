// Unicode text for HTML, hyperlink targets, the thumbnail cache, the RTF tables and the layout
// record.
#include "vizivodu/document/CVDData_Helpers.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace vizivodu {

TVDRawByteString UnicodeToUTF8OrAnsi(const TVDUnicodeString &s, bool utf8, TVDCodePage codePage) {
    return utf8 ? rtl::Utf16ToUtf8(s) : RawUnicodeToAnsi(codePage, StringToRawUnicode(s));
}

TVDRawByteString UnicodeToHTMLEncodingCP(const TVDUnicodeString &s, bool utf8,
                                         TVDCodePage codePage) {
    return UnicodeToUTF8OrAnsi(s, utf8, codePage);
}

TVDRawByteString UnicodeToHTMLEncoding(const TVDUnicodeString &s, bool utf8,
                                       const TVDStyle *vdStyle) {
    return UnicodeToUTF8OrAnsi(s, utf8, vdStyle ? vdStyle->GetDefCodePage() : 0);
}

void SplitHyperlinkTarget(rtl::UnicodeString &target, rtl::UnicodeString &anchor) {
    if (!target.empty() && target[0] == u'#') {
        anchor = target.substr(1);
        target.clear();
        return;
    }
    rtl::UnicodeString prefix;
    for (;;) {
        const size_t hash = target.find(u'#');
        if (hash == rtl::UnicodeString::npos) {
            anchor.clear();
            break;
        }
        anchor = target.substr(hash + 1);
        target = target.substr(0, hash);
        if (target.find(u'.') != rtl::UnicodeString::npos) {
            break;
        }
        prefix += target + u"#";
        target = anchor;
        anchor.clear();
    }
    target = prefix + target;
}

// ---- Thumbnail cache ----

TVDThumbnailCache::TVDThumbnailCache(std::function<void(void *)> freeThumbnail)
    : FFreeThumbnail(std::move(freeThumbnail)) {}

void TVDThumbnailCache::AddThumbnail(void *imageOwner) {
    if (MaxCount < 0) {
        return;
    }
    const auto it = std::find(FOwners.begin(), FOwners.end(), imageOwner);
    if (it != FOwners.end()) {
        FOwners.erase(it);
        FOwners.push_back(imageOwner);
        return;
    }
    if (MaxCount > 0 && Count() >= MaxCount) {
        void *oldest = FOwners.front();
        FOwners.erase(FOwners.begin());
        if (FFreeThumbnail) {
            FFreeThumbnail(oldest);
        }
    }
    if (MaxCount > 0) {
        FOwners.push_back(imageOwner);
    }
}

void TVDThumbnailCache::RemoveThumbnail(void *imageOwner) {
    FOwners.erase(std::remove(FOwners.begin(), FOwners.end(), imageOwner), FOwners.end());
}

// ---- RTF tables ----

int32_t TVDRTFFontTable::Find(const rtl::UnicodeString &fontName, uint8_t charset) const {
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i].Charset == charset && rtl::AnsiSameText(FItems[i].FontName, fontName)) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

int32_t TVDRTFFontTable::AddUnique(const rtl::UnicodeString &fontName, uint8_t charset) {
    const int32_t found = Find(fontName, charset);
    if (found >= 0) {
        return found;
    }
    FItems.push_back({fontName, charset});
    return Count() - 1;
}

int32_t TVDRTFTables::AddFontFromStyle(const TCustomVDFontInfo &textStyle) {
    return FFontTable.AddUnique(textStyle.GetFontName(), textStyle.GetCharset());
}

int32_t TVDRTFTables::AddFontFromStyleEx(const TCustomVDFontInfo &textStyle, bool validName,
                                         bool validCharset, bool root) {
    if (!validName && !validCharset && !root) {
        return -1;
    }
    return FFontTable.AddUnique(validName ? textStyle.GetFontName() : u"Arial",
                                validCharset ? textStyle.GetCharset() : gfx::DEFAULT_CHARSET);
}

int32_t TVDRTFTables::AddFont(const rtl::UnicodeString &fontName, uint8_t charset) {
    return FFontTable.AddUnique(fontName, charset);
}

int32_t TVDRTFTables::GetColorIndex(TColor color) const {
    return color == gfx::clNone ? -1 : FColorList.IndexOf(static_cast<int32_t>(color));
}

int32_t TVDRTFTables::GetFontStyleIndex(const TCustomVDFontInfo &textStyle) const {
    return FFontTable.Find(textStyle.GetFontName(), textStyle.GetCharset());
}

int32_t TVDRTFTables::GetFontIndex(const rtl::UnicodeString &fontName, uint8_t charset) const {
    return FFontTable.Find(fontName, charset);
}

int32_t TVDRTFTables::GetStyleSheetIndex(int32_t styleTemplateNo, bool charStyle) const {
    const int32_t index = FStyleSheetMap.IndexOf(styleTemplateNo);
    if (index < 0) {
        return -1;
    }
    if (charStyle && index + 1 < FStyleSheetMap.GetCount() &&
        FStyleSheetMap.Get(index + 1) == styleTemplateNo) {
        return index + 1;
    }
    return index;
}

// ---- Layout record ----

namespace {

constexpr int32_t kMarginsBlock = 25;
constexpr int32_t kAbortBlock = 16;

void PutInt(rtl::TStream &stream, int32_t v) {
    stream.WriteBuffer(&v, 4);
}

int32_t GetInt(rtl::TStream &stream) {
    int32_t v = 0;
    stream.ReadBuffer(&v, 4);
    return v;
}

} // namespace

void TVDLayoutInfo::SaveToStream(rtl::TStream &stream, bool includeSize, bool onlyPageInfo) const {
    const bool aborted = FirstParaAborted != 0 || LastParaAborted != 0;
    const int32_t size = (onlyPageInfo ? 0 : kMarginsBlock) + (aborted ? kAbortBlock : 0);
    if (includeSize) {
        PutInt(stream, size + 8);
    }
    PutInt(stream, onlyPageInfo ? 1 : 0);
    PutInt(stream, size);
    if (!onlyPageInfo) {
        for (int32_t v :
             {LeftMargin, RightMargin, TopMargin, BottomMargin, MinTextWidth, MaxTextWidth}) {
            PutInt(stream, v);
        }
        const uint8_t bidi = BiDiMode;
        stream.WriteBuffer(&bidi, 1);
    }
    if (aborted) {
        for (int32_t v : {FirstParaAborted, LastParaAborted, FirstMarkerListNo, FirstMarkerLevel}) {
            PutInt(stream, v);
        }
    }
}

void TVDLayoutInfo::LoadFromStream(rtl::TStream &stream, bool includeSize) {
    if (includeSize) {
        GetInt(stream);
    }
    const int32_t kind = GetInt(stream);
    int32_t size = GetInt(stream);
    if (size < 0 || size > stream.GetSize() - stream.GetPosition() ||
        (kind == 0 && size < kMarginsBlock)) {
        throw EViziVoduError(rtl::UnicodeString(errmsg::InvalidVDF));
    }
    if (kind == 0) {
        int32_t *fields[] = {&LeftMargin,   &RightMargin,  &TopMargin,
                             &BottomMargin, &MinTextWidth, &MaxTextWidth};
        for (int32_t *f : fields) {
            *f = GetInt(stream);
        }
        uint8_t bidi = 0;
        stream.ReadBuffer(&bidi, 1);
        BiDiMode = bidi <= vdbdRightToLeft ? static_cast<TVDBiDiMode>(bidi) : vdbdUnspecified;
        size -= kMarginsBlock;
    }
    if (size >= kAbortBlock) {
        FirstParaAborted = GetInt(stream);
        LastParaAborted = GetInt(stream);
        FirstMarkerListNo = GetInt(stream);
        FirstMarkerLevel = GetInt(stream);
        size -= kAbortBlock;
    }
    stream.Seek(size, rtl::soCurrent);
    Loaded = true;
}

} // namespace vizivodu
