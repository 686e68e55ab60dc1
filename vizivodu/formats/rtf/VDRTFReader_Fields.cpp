// The RTF parser's field instructions: SEQ, PAGE, NUMPAGES and DOCPROPERTY Pages reported as
// sequence, page-number and page-count fields (their results then skipped).
#include "vizivodu/formats/rtf/VDRTFReader.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

#include <cctype>

namespace vizivodu {

namespace {

// The text after the first "\* " of s, else after the first "\*"; empty when there is none.
TVDUnicodeString FormatSwitch(const TVDUnicodeString &s) {
    size_t at = s.find(u"\\* ");
    if (at != TVDUnicodeString::npos) {
        return s.substr(at + 3);
    }
    at = s.find(u"\\*");
    return at == TVDUnicodeString::npos ? TVDUnicodeString() : s.substr(at + 2);
}

TVDRTFSeqType SeqType(const TVDUnicodeString &s) {
    const TVDUnicodeString format = FormatSwitch(s);
    static constexpr std::pair<const char16_t *, TVDRTFSeqType> names[] = {
        {u"alphabetic", rtf_seqLowerAlpha},
        {u"ALPHABETIC", rtf_seqUpperAlpha},
        {u"roman", rtf_seqLowerRoman},
        {u"ROMAN", rtf_seqUpperRoman}};
    for (const auto &[name, type] : names) {
        if (format.starts_with(name)) {
            return type;
        }
    }
    return rtf_seqDecimal;
}

TVDRTFPageNumberType PageNumberType(const TVDUnicodeString &s) {
    const TVDUnicodeString format = FormatSwitch(s);
    static constexpr std::pair<const char16_t *, TVDRTFPageNumberType> names[] = {
        {u"ROMAN", rtf_pntUpperRoman},       {u"roman", rtf_pntLowerRoman},
        {u"ALPHABETIC", rtf_pntUpperAlpha},  {u"alphabetic", rtf_pntLowerAlpha},
        {u"ArabicDash", rtf_pntDecimalDash}, {u"Arabic", rtf_pntDecimal}};
    for (const auto &[name, type] : names) {
        if (format.starts_with(name)) {
            return type;
        }
    }
    return rtf_pntDefault;
}

// The digits after "\r ", as the restart value; false when there are none (or too many).
bool RestartValue(const TVDUnicodeString &s, int32_t &value) {
    const size_t at = s.find(u"\\r ");
    if (at == TVDUnicodeString::npos) {
        return false;
    }
    int64_t v = 0;
    size_t i = at + 3;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9' && i < at + 12; ++i) {
        v = v * 10 + (s[i] - u'0');
    }
    if (i == at + 3 || v > INT32_MAX) {
        return false;
    }
    value = int32_t(v);
    return true;
}

} // namespace

TVDRTFErrorCode TVDRTFReader::RunFieldInstruction() {
    if (FRTFState.FFieldInserted) {
        return rtf_ec_OK;
    }
    const TVDUnicodeString s = rtl::Trim(FRTFState.FFieldCode);
    const TVDUnicodeString upper = rtl::UpperCase(s);
    if (upper.starts_with(u"SEQ")) {
        return SeqField(s);
    }
    if (upper.starts_with(u"PAGE")) {
        return PageField(PageNumberType(s.substr(4)), false);
    }
    if (upper.starts_with(u"NUMPAGES")) {
        return PageField(PageNumberType(s.substr(8)), true);
    }
    if (upper.starts_with(u"DOCPROPERTY")) {
        const TVDUnicodeString arg = GetFieldCommandValue(s);
        if (arg == u"Pages") {
            return PageField(rtf_pntDecimal, true);
        }
    }
    return rtf_ec_OK;
}

TVDRTFErrorCode TVDRTFReader::SeqField(const TVDUnicodeString &s) {
    FAfterTableRow = false;
    int32_t start = 0, len = 0;
    const TVDUnicodeString name = GetFieldCommandValueEx(s, start, len, true);
    const TVDUnicodeString rest = start > 0 ? s.substr(size_t(start - 1 + len)) : s.substr(3);
    int32_t startFrom = 0;
    const bool reset = RestartValue(rest, startFrom);
    if (!OnNewSeq) {
        return rtf_ec_OK;
    }
    FRTFState.FParaProps.Finalize();
    try {
        OnNewSeq(*this, FPosition, name, SeqType(rest), reset, startFrom);
    } catch (const rtl::Exception &) {
        return rtf_ec_Aborted;
    }
    FRTFState.FFieldInserted = true;
    FPosition = rtf_ts_ContinuePara;
    return rtf_ec_OK;
}

TVDRTFErrorCode TVDRTFReader::PageField(TVDRTFPageNumberType type, bool count) {
    const auto &handler = count ? OnNewPageCount : OnNewPageNumber;
    if (!handler) {
        return rtf_ec_OK;
    }
    FRTFState.FParaProps.Finalize();
    try {
        handler(*this, FPosition, type);
    } catch (const rtl::Exception &) {
        return rtf_ec_Aborted;
    }
    FRTFState.FFieldInserted = true;
    FPosition = rtf_ts_ContinuePara;
    return rtf_ec_OK;
}

} // namespace vizivodu
