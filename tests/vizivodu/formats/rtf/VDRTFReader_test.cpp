// The RTF parser: tokenizer, text runs and positions, Unicode and its skip counts, raw data,
// groups and destinations, keywords, properties, table nesting events and error codes.
#include "vizivodu/formats/rtf/VDRTFReader.h"

#include "vizivodu/formats/rtf/VDRTFKeywords.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <string>

namespace vizivodu {
namespace {

std::string Utf8(const TVDUnicodeString &s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out.push_back(char(c));
        } else if (c < 0x800) {
            out.push_back(char(0xC0 | (c >> 6)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else {
            out.push_back(char(0xE0 | (c >> 12)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

const char *PosName(TVDRTFPosition p) {
    return p == rtf_ts_NewPara ? "P" : (p == rtf_ts_NewLine ? "L" : "C");
}

// Runs the parser over rtf and records its events as one line each.
struct TRecorder {
    TVDRTFReader Reader;
    std::string Log;
    bool AnswerTableEnd = true;

    explicit TRecorder(bool unicode = true) {
        Reader.OnNewText = [this](TVDRTFReader &, const TVDAnsiString &t, TVDRTFPosition p) {
            Add("T", PosName(p), t);
        };
        if (unicode) {
            Reader.OnNewUnicodeText = [this](TVDRTFReader &, const TVDUnicodeString &t,
                                             TVDRTFPosition p) { Add("U", PosName(p), Utf8(t)); };
        }
        Reader.OnTable = [this](TVDRTFReader &, TVDRTFTableEventKind k, bool &processed) {
            static const char *names[] = {"start", "end", "forced", "last", "row", "cell"};
            Log += std::string("tbl:") + names[k] + "|";
            if (k == vdf_tbl_TableEnd) {
                processed = AnswerTableEnd;
            }
        };
    }

    void Add(const char *kind, const char *pos, const std::string &text) {
        Log.append(kind).append(pos).append(":").append(text).append("|");
    }

    TVDRTFErrorCode Read(const std::string &rtf) {
        rtl::TMemoryStream stream;
        stream.Write(rtf.data(), int32_t(rtf.size()));
        stream.SetPosition(0);
        return Reader.ReadFromStream(stream);
    }
};

struct TTokenCase {
    const char *Name;
    std::string Rtf;
    bool Unicode;
    TVDRTFErrorCode Code;
    std::string Log;
};

class RTFTokenizer : public testing::TestWithParam<TTokenCase> {};

TEST_P(RTFTokenizer, ReportsRunsAndCode) {
    const TTokenCase &c = GetParam();
    TRecorder rec(c.Unicode);
    EXPECT_EQ(rec.Read(c.Rtf), c.Code);
    EXPECT_EQ(rec.Log, c.Log);
}

const TTokenCase TokenCases[] = {
    {"Empty", "", true, rtf_ec_OK, ""},
    {"NoBraces", "abc", true, rtf_ec_OK, "TP:abc|"},
    {"CloseFirst", "}abc", true, rtf_ec_StackUnderflow, ""},
    {"MissingClose", "{\\rtf1 A", true, rtf_ec_UnmatchedBrace, "TP:A|"},
    {"TwoParagraphs", "{\\rtf1 A\\par B\\par}", true, rtf_ec_OK, "TP:A|TP:B|"},
    {"EmptyParagraph", "{\\rtf1 A\\par\\par B}", true, rtf_ec_OK, "TP:A|TP:|TP:B|"},
    {"LineBreak", "{\\rtf1 A\\line B}", true, rtf_ec_OK, "TP:A|TL:B|"},
    {"HexPC437", "{\\rtf1{\\fonttbl{\\f0\\fcharset254 X;}}\\f0 \\'82A}", true, rtf_ec_OK,
     "TP:\xE9"
     "A|"},
    {"HexMac", "{\\rtf1{\\fonttbl{\\f0\\fcharset77 X;}}\\f0 \\'8e}", true, rtf_ec_OK, "TP:\xE9|"},
    {"UnicodeSkipsOne", "{\\rtf1 \\u1071?x}", true, rtf_ec_OK, "UP:\xD0\xAF|TC:x|"},
    {"UnicodeSkipsTwo", "{\\rtf1\\uc2 \\u1071ab c}", true, rtf_ec_OK, "UP:\xD0\xAF|TC: c|"},
    {"UnicodeSkipsHex", "{\\rtf1 \\u1071\\'3fx}", true, rtf_ec_OK, "UP:\xD0\xAF|TC:x|"},
    {"BraceEndsSkip", "{\\rtf1\\uc2 {\\u1071a}b}", true, rtf_ec_OK, "UP:\xD0\xAF|TC:b|"},
    {"UnicodeWithoutHandler", "{\\rtf1 \\u1071?}", false, rtf_ec_OK, "TP:?|"},
    {"NegativeUnicode", "{\\rtf1 \\u-4064?}", true, rtf_ec_OK, "UP:\xEF\x80\xA0|"},
    {"BinaryData", "{\\rtf1 \\bin3 {}\\x}", true, rtf_ec_OK, "TP:{}\\x|"},
    {"BinZeroTakesNothing", "{\\rtf1 a\\bin0 }", true, rtf_ec_OK, "TP:a|"},
    {"BinBeyondEnd", "{\\rtf1 a\\bin2000000000 xyz}", true, rtf_ec_UnmatchedBrace, "TP:axyz}|"},
    {"InvalidHex", "{\\rtf1 a\\'zz}", true, rtf_ec_InvalidHex, ""},
    {"BackslashAtEnd", "{\\rtf1 a\\", true, rtf_ec_EndOfFile, ""},
    {"AfterOutermost", "{\\rtf1 a}b", true, rtf_ec_OK, "TP:a|"},
    {"ControlSymbols", "{\\rtf1 \\{\\}\\\\\\~}", true, rtf_ec_OK, "TP:{}\\\xA0|"},
    {"CaseSensitive", "{\\rtf1 \\B a}", true, rtf_ec_OK, "TP:a|"},
    {"StarUnknownSkips", "{\\rtf1 x{\\*\\foo hidden}y}", true, rtf_ec_OK, "TP:xy|"},
    {"UnknownKeepsText", "{\\rtf1 x{\\foo kept}y}", true, rtf_ec_OK, "TP:xkept|TC:y|"},
    {"WideCharInBody", "{\\rtf1 \\bullet}", true, rtf_ec_OK, "UP:\xE2\x80\xA2|"},
    {"WideCharFallback", "{\\rtf1 \\bullet}", false, rtf_ec_OK, "TP:\x95|"},
    {"ZwjWithoutUnicode", "{\\rtf1 a\\zwj b}", false, rtf_ec_OK, "TP:ab|"},
    {"UprTakesUd", "{\\rtf1 {\\upr{ansi}{\\*\\ud{wide}}}}", true, rtf_ec_OK, "TP:wide|"},
    {"FieldResultIsText", "{\\rtf1 {\\field{\\*\\fldinst DATE}{\\fldrslt 1.1.2000}}}", true,
     rtf_ec_OK, "TP:1.1.2000|"},
    // Without a picture handler the picture is skipped; its end still flushes the text before.
    {"PictureSkipped", "{\\rtf1 a{\\pict\\pngblip 89504e47}b}", true, rtf_ec_OK, "TP:a|TC:b|"},
    {"ItapStartsTables", "{\\rtf1 \\itap2 a\\nestcell}", true, rtf_ec_OK,
     "tbl:start|tbl:start|TP:a|tbl:cell|tbl:forced|tbl:forced|"},
    {"PardEndsTable", "{\\rtf1 \\intbl a\\cell\\row\\pard b}", true, rtf_ec_OK,
     "tbl:start|TP:a|tbl:cell|tbl:row|tbl:end|TP:b|"},
    {"EmptyCellReportsEmptyRun", "{\\rtf1 \\intbl\\cell\\row}", true, rtf_ec_OK,
     "tbl:start|TP:|tbl:cell|tbl:row|tbl:forced|"},
    {"TextBeforeRowDropped", "{\\rtf1 \\intbl a\\cell lost\\row}", true, rtf_ec_OK,
     "tbl:start|TP:a|tbl:cell|tbl:row|tbl:forced|"},
};

INSTANTIATE_TEST_SUITE_P(Cases, RTFTokenizer, testing::ValuesIn(TokenCases),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST(RTFReader, FinalParagraphReportedOnlyWhenAsked) {
    TRecorder rec;
    rec.Reader.ProcessFinalPar = true;
    EXPECT_EQ(rec.Read("{\\rtf1 A\\par B\\par}"), rtf_ec_OK);
    EXPECT_EQ(rec.Log, "TP:A|TP:B|TP:|");
}

TEST(RTFReader, TabAsSeparateCharGivesATabRun) {
    TRecorder rec;
    rec.Reader.TabAsSeparateChar = true;
    EXPECT_EQ(rec.Read("{\\rtf1 a\\tab b}"), rtf_ec_OK);
    EXPECT_EQ(rec.Log, "TP:a|TC:\t|TC:b|");
}

TEST(RTFReader, TableEndsStopAtFirstUnprocessed) {
    TRecorder rec;
    rec.AnswerTableEnd = false;
    EXPECT_EQ(rec.Read("{\\rtf1 \\itap2 a\\par\\pard b}"), rtf_ec_OK);
    EXPECT_EQ(rec.Log, "tbl:start|tbl:start|TP:a|tbl:end|TP:b|tbl:forced|tbl:forced|");
}

TEST(RTFReader, ParameterOverflowReadsAsZero) {
    TRecorder rec;
    int32_t size = -1;
    rec.Reader.OnNewText = [&](TVDRTFReader &r, const TVDAnsiString &, TVDRTFPosition) {
        size = r.CharProps().FSizeDouble;
    };
    EXPECT_EQ(rec.Read("{\\rtf1\\fs99999999999 a}"), rtf_ec_OK);
    EXPECT_EQ(size, 0);
}

TEST(RTFReader, ProgressOnlyAboveThreshold) {
    for (size_t size : {size_t(20480), size_t(20481)}) {
        TRecorder rec;
        std::string stages;
        rec.Reader.OnProgress = [&](TVDRTFReader &, TVDRTFProgressStage s, uint8_t) {
            stages += char('0' + s);
        };
        rec.Read(std::string(size, 'a'));
        EXPECT_EQ(stages, size > 20480 ? "02" : "") << size;
    }
}

TEST(RTFReader, TranslateKeywordInsertsText) {
    TRecorder rec;
    rec.Reader.OnTranslateKeyword = [](TVDRTFReader &, const TVDAnsiString &kw, int32_t, bool,
                                       TVDAnsiString &text, bool &doDefault) {
        if (kw == "mine") {
            text = "Z";
            doDefault = false;
        }
    };
    EXPECT_EQ(rec.Read("{\\rtf1 a\\mine b}"), rtf_ec_OK);
    EXPECT_EQ(rec.Log, "TP:aZb|");
}

// ---- Mended: limits on what the input claims ----

TEST(RTFReader, DeepNestingFailsWithStackOverflow) {
    TRecorder rec;
    EXPECT_EQ(rec.Read(std::string(1000000, '{')), rtf_ec_StackOverflow);
}

TEST(RTFReader, NestingAtTheLimitStillReads) {
    TRecorder rec;
    const int32_t d = TVDRTFReader::MaxGroupDepth;
    EXPECT_EQ(rec.Read(std::string(size_t(d), '{') + "a" + std::string(size_t(d), '}')), rtf_ec_OK);
    EXPECT_EQ(rec.Log, "TP:a|");
}

TEST(RTFReader, HugeItapIsClampedToTheTableNestingLimit) {
    TRecorder rec;
    EXPECT_EQ(rec.Read("{\\rtf1 \\itap2000000000 a}"), rtf_ec_OK);
    EXPECT_EQ(std::count(rec.Log.begin(), rec.Log.end(), 's'),
              TVDRTFReader::MaxTableNesting); // one "start" each
}

TEST(RTFReader, ColourChannelsAreClamped) {
    TRecorder rec;
    EXPECT_EQ(rec.Read("{\\rtf1{\\colortbl;\\red256\\green-5\\blue8191;}}"), rtf_ec_OK);
    ASSERT_EQ(rec.Reader.ColorTable().Count(), 2);
    EXPECT_EQ(rec.Reader.ColorTable().Get(1), gfx::RGB(255, 0, 255));
}

TEST(RTFReader, LongKeywordIsIgnored) {
    TRecorder rec;
    EXPECT_EQ(rec.Read("{\\rtf1 \\" + std::string(100000, 'b') + " a}"), rtf_ec_OK);
    EXPECT_EQ(rec.Log, "TP:a|");
}

// ---- Keyword table ----

TEST(RTFKeywords, TableIsSortedAndComplete) {
    const auto table = RTFKeywordTable();
    EXPECT_EQ(table.size(), 399u);
    for (size_t i = 1; i < table.size(); ++i) {
        EXPECT_LT(std::string(table[i - 1].Keyword), std::string(table[i].Keyword));
    }
    int kinds[5] = {};
    for (const TVDRTFsymbol &s : table) {
        ++kinds[s.Kwd];
    }
    EXPECT_EQ(kinds[rtf_kwd_Prop], 314);
    EXPECT_EQ(kinds[rtf_kwd_Dest], 58);
    EXPECT_EQ(kinds[rtf_kwd_WideChar], 14);
    EXPECT_EQ(kinds[rtf_kwd_Char], 10);
    EXPECT_EQ(kinds[rtf_kwd_Spec], 3);
    ASSERT_NE(FindRTFKeyword("trwWidth"), nullptr);
    EXPECT_EQ(FindRTFKeyword("B"), nullptr);
}

// ---- Properties and tables ----

TEST(RTFProperties, ColourTableAndTextColour) {
    TRecorder rec;
    std::vector<TColor> colors;
    rec.Reader.OnNewText = [&](TVDRTFReader &r, const TVDAnsiString &, TVDRTFPosition) {
        colors.push_back(r.CharProps().FColor);
    };
    EXPECT_EQ(rec.Read("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1 a\\cf0 b\\cf9 c}"),
              rtf_ec_OK);
    EXPECT_EQ(rec.Reader.ColorTable().Get(0), gfx::clWindowText);
    EXPECT_EQ(colors,
              (std::vector<TColor>{gfx::RGB(255, 0, 0), gfx::clWindowText, gfx::clWindowText}));
}

TEST(RTFProperties, HighlightWinsOverShading) {
    TRecorder rec;
    std::vector<TColor> backs;
    rec.Reader.OnNewText = [&](TVDRTFReader &r, const TVDAnsiString &, TVDRTFPosition) {
        backs.push_back(r.CharProps().FBackColor);
    };
    rec.Read("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}{\\highlight3\\chcbpat1 a}{\\highlight0 "
             "b}{\\chcbpat1 c}}");
    EXPECT_EQ(backs, (std::vector<TColor>{gfx::RGB(0, 255, 255), gfx::clNone, gfx::RGB(1, 2, 3)}));
}

TEST(RTFProperties, ShadingMixesColours) {
    TRecorder rec;
    TColor back = 0;
    rec.Reader.OnNewText = [&](TVDRTFReader &r, const TVDAnsiString &, TVDRTFPosition) {
        back = r.ParaProps().FColor;
    };
    rec.Read("{\\rtf1{\\colortbl;\\red200\\green0\\blue0;\\red0\\green0\\blue100;}"
             "\\cbpat1\\cfpat2\\shading5000 a}");
    EXPECT_EQ(back, gfx::RGB(100, 0, 50));
}

TEST(RTFProperties, FontTableStripsCharsetSuffix) {
    TRecorder rec;
    rec.Read("{\\rtf1{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman Cyr;}"
             "{\\f3\\fcharset300 Odd;}}}");
    const TVDRTFFontList &fonts = rec.Reader.FontTable();
    ASSERT_EQ(fonts.Count(), 2);
    EXPECT_EQ(fonts[0].Number, 0);
    EXPECT_EQ(fonts[0].Family, rtf_ff_Roman);
    EXPECT_EQ(fonts[0].Charset, 204);
    EXPECT_EQ(fonts[0].Name, u"Times New Roman");
    EXPECT_EQ(fonts[1].Charset, 77);
}

TEST(RTFProperties, MissingFontFallsBackToDefault) {
    TRecorder rec;
    std::vector<int32_t> indexes;
    rec.Reader.OnNewText = [&](TVDRTFReader &r, const TVDAnsiString &, TVDRTFPosition) {
        indexes.push_back(r.CharProps().FFontIndex);
    };
    rec.Read("{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1 B;}}\\f7 a\\f0 b}");
    EXPECT_EQ(indexes, (std::vector<int32_t>{1, 0}));
}

TEST(RTFProperties, TabsFinalized) {
    TRecorder rec;
    std::vector<TVDRTFTab> tabs;
    rec.Reader.OnNewText = [&](TVDRTFReader &r, const TVDAnsiString &, TVDRTFPosition) {
        tabs = r.ParaProps().FTabs;
    };
    rec.Read("{\\rtf1 \\tqr\\tx1440\\tx2880 a}");
    ASSERT_EQ(tabs.size(), 2u);
    EXPECT_EQ(tabs[0].FAlign, rtf_tab_Right);
    EXPECT_EQ(tabs[0].FPositionTW, 1440);
    EXPECT_EQ(tabs[1].FAlign, rtf_tab_Left);
    EXPECT_EQ(tabs[1].FPositionTW, 2880);
}

TEST(RTFProperties, BordersKeepFirstTypeAndDefaultWidth) {
    TRecorder rec;
    TVDRTFBorderSide top;
    rec.Reader.OnNewText = [&](TVDRTFReader &r, const TVDAnsiString &, TVDRTFPosition) {
        top = r.ParaProps().Border().Sides[rtf_side_Top];
    };
    rec.Read("{\\rtf1 \\brdrt\\brdrs\\brdrdb a}");
    EXPECT_EQ(top.FBorderType, 1);
    EXPECT_EQ(top.FWidthTw, 10);
}

TEST(RTFProperties, HeaderOffsetOutlivesGroupAndPagebbIgnoresValue) {
    TRecorder rec;
    bool pageBreak = false;
    rec.Reader.OnNewText = [&](TVDRTFReader &r, const TVDAnsiString &, TVDRTFPosition) {
        pageBreak = r.ParaProps().FPageBreakBefore;
    };
    rec.Read("{\\rtf1 {\\headery100}\\pagebb0 a}");
    EXPECT_EQ(rec.Reader.SectProps().FHeaderYTw, 100);
    EXPECT_TRUE(pageBreak);
}

TEST(RTFProperties, RowDefinitions) {
    TRecorder rec;
    std::vector<TVDRTFCellProperties> cells;
    int32_t height = 0;
    rec.Reader.OnTable = [&](TVDRTFReader &r, TVDRTFTableEventKind k, bool &) {
        if (k == vdf_tbl_RowEnd) {
            cells = r.RTFState().RowProps().FCellProps;
            height = r.RTFState().RowProps().FHeightTw;
        }
    };
    rec.Read("{\\rtf1\\trowd\\trrh-400\\clvmgf\\clvmrg\\cellx1000\\clcbpat0\\cellx2000"
             "\\intbl a\\cell b\\cell\\row}");
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].FRightBoundaryTw, 1000);
    EXPECT_EQ(cells[0].FVMerge, rtf_cm_First);
    EXPECT_EQ(cells[1].FRightBoundaryTw, 2000);
    EXPECT_EQ(cells[1].FColor, gfx::clNone);
    EXPECT_EQ(height, 400);
}

// ---- Destinations ----

TEST(RTFDestinations, StyleSheetEntry) {
    TRecorder rec;
    bool fired = false;
    rec.Reader.OnStyleSheet = [&](TVDRTFReader &) { fired = true; };
    rec.Read("{\\rtf1{\\stylesheet{\\s0 Normal;}{\\s3\\sbasedon0\\fs28\\b Heading;}}}");
    EXPECT_TRUE(fired);
    const TVDRTFStyleSheet &ss = rec.Reader.StyleSheet();
    ASSERT_EQ(ss.Count(), 2);
    EXPECT_EQ(ss[1].FNumber, 3);
    EXPECT_EQ(ss[1].FStyleType, rtf_sst_Par);
    EXPECT_EQ(ss[1].FBasedOnIndex, 0);
    EXPECT_EQ(ss[1].FCharProps.FSizeDouble, 28);
    EXPECT_TRUE(ss[1].FCharProps.FStyle.Contains(gfx::fsBold));
    EXPECT_EQ(ss[1].FName, u"Heading");
}

TEST(RTFDestinations, StyleSheetSkippedWithoutHandler) {
    TRecorder rec;
    int32_t styleIndex = 0;
    rec.Reader.OnNewText = [&](TVDRTFReader &r, const TVDAnsiString &, TVDRTFPosition) {
        styleIndex = r.ParaProps().FStyleSheetIndex;
    };
    rec.Read("{\\rtf1{\\stylesheet{\\s1 X;}}\\s1 a}");
    EXPECT_EQ(rec.Reader.StyleSheet().Count(), 0);
    EXPECT_EQ(styleIndex, -1);
}

TEST(RTFDestinations, InfoTexts) {
    TRecorder rec;
    rec.Read("{\\rtf1{\\author out}{\\info{\\author A}{\\author B}{\\title \\'c8\\u1071?}}}");
    EXPECT_EQ(rec.Reader.DocProps().FAuthor, u"AB");
    EXPECT_EQ(rec.Reader.DocProps().FTitle, u"И\u042F"); // the system code page is 1251
}

TEST(RTFDestinations, BookmarkNameReported) {
    TRecorder rec;
    rec.Reader.OnBookmarkStart = [&](TVDRTFReader &, const rtl::UnicodeString &n) {
        rec.Log += "bm:" + Utf8(n) + "|";
    };
    rec.Read("{\\rtf1 a{\\*\\bkmkstart here}{\\*\\bkmkend here}b}");
    EXPECT_EQ(rec.Log, "TP:a|bm:here|TC:b|");
}

TEST(RTFDestinations, HeadersFirstOfEachKindOnly) {
    TRecorder rec;
    rec.Reader.OnHeaderFooter = [&](TVDRTFReader &, TVDRTFHeaderFooterType t, bool starting,
                                    bool &supported) {
        rec.Log += std::string(starting ? "hf+" : "hf-") + char('0' + t) + "|";
        supported = true;
    };
    rec.Read("{\\rtf1{\\header H1}{\\header H2}{\\footerf F}a}");
    EXPECT_EQ(rec.Log, "hf+1|TP:H1|hf-1|hf+6|TC:F|hf-6|TC:a|");
}

TEST(RTFDestinations, NotesNeverNest) {
    TRecorder rec;
    rec.Reader.OnNote = [&](TVDRTFReader &, TVDRTFNoteEventType t, TVDRTFPosition) {
        rec.Log += std::string("note") + char('0' + t) + "|";
    };
    rec.Read("{\\rtf1 a{\\footnote\\chftn n{\\footnote inner}\\ftnalt}b}");
    EXPECT_EQ(rec.Log, "TP:a|note1|note0|note2|TC:n|note3|TC:b|");
}

TEST(RTFDestinations, HyperlinkInstructionTravelsWithResult) {
    TRecorder rec;
    std::vector<std::string> codes;
    rec.Reader.OnNewText = [&](TVDRTFReader &r, const TVDAnsiString &, TVDRTFPosition) {
        codes.push_back(Utf8(r.RTFState().FFieldCode));
    };
    rec.Read("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt link}} after}");
    EXPECT_EQ(codes, (std::vector<std::string>{"HYPERLINK \"http://x\"", ""}));
}

TEST(RTFReader, FieldCommandValue) {
    struct TCase {
        TVDUnicodeString In;
        bool IgnorePrefixes;
        TVDUnicodeString Out;
    };
    const TCase cases[] = {
        {u"HYPERLINK \"http://a b\" \\o x", true, u"http://a b"},
        {u"SEQ Figure \\* ARABIC", true, u"Figure"},
        {u"INCLUDEPICTURE \\d \"f.png\"", false, u""},
        {u"X", true, u""},
        {u"A \"unterminated", true, u"unterminate"},
    };
    for (const TCase &c : cases) {
        int32_t start = 0, len = 0;
        EXPECT_EQ(TVDRTFReader::GetFieldCommandValueEx(c.In, start, len, c.IgnorePrefixes), c.Out);
    }
}

} // namespace
} // namespace vizivodu
