// The RTF keyword table (sorted once, searched by bytes) and the dispatch of a control word
// by its kind.
#include "vizivodu/formats/rtf/VDRTFKeywords.h"

#include "vizivodu/formats/rtf/VDRTFReader.h"

#include <algorithm>
#include <cstring>

namespace vizivodu {

namespace {

constexpr bool F = false, T = true;
constexpr auto C = rtf_kwd_Char, W = rtf_kwd_WideChar, D = rtf_kwd_Dest, P = rtf_kwd_Prop,
               S = rtf_kwd_Spec;
constexpr auto N = rtf_af_None, CP = rtf_af_CharProp, PP = rtf_af_ParaProp;

// keyword, DefValue, UseDef, kind, Idx, AffectTo
const TVDRTFsymbol KeywordTable[] = {
    // characters
    {"par", 0, F, C, 10, N},
    {"sect", 0, F, C, 10, N},
    {"\n", 0, F, C, 10, N},
    {"\r", 0, F, C, 10, N},
    {"line", 0, F, C, 13, N},
    {"tab", 0, F, C, 9, N},
    {"~", 0, F, C, 160, N},
    {"{", 0, F, C, '{', N},
    {"}", 0, F, C, '}', N},
    {"\\", 0, F, C, '\\', N},
    // wide characters
    {"bullet", 8226, T, W, 149, N},
    {"ldblquote", 8220, T, W, 147, N},
    {"rdblquote", 8221, T, W, 148, N},
    {"lquote", 8216, T, W, 145, N},
    {"rquote", 8217, T, W, 146, N},
    {"endash", 8211, T, W, 150, N},
    {"emdash", 8212, T, W, 151, N},
    {"emspace", 8195, T, W, 32, N},
    {"enspace", 8194, T, W, 32, N},
    {"qmspace", 8197, T, W, 32, N},
    {"-", 173, T, W, 173, N},
    {"_", 8209, T, W, 45, N},
    {"zwnj", 8204, T, W, 0, N},
    {"zwj", 8205, T, W, 0, N},
    // special controls
    {"bin", 0, F, S, 0, N},
    {"'", 0, F, S, 1, N},
    {"*", 0, F, S, 2, N},
    // destinations
    {"shppict", 0, F, D, 1, N},
    {"nonshppict", 0, F, D, 2, N},
    {"pict", 0, F, D, 3, N},
    {"nonesttables", 0, F, D, 4, N},
    {"buptim", 0, F, D, 4, N},
    {"comment", 0, F, D, 4, N},
    {"creatim", 0, F, D, 4, N},
    {"ftncn", 0, F, D, 4, N},
    {"ftnsep", 0, F, D, 4, N},
    {"ftnsepc", 0, F, D, 4, N},
    {"keywords", 0, F, D, 4, N},
    {"operator", 0, F, D, 4, N},
    {"printim", 0, F, D, 4, N},
    {"private1", 0, F, D, 4, N},
    {"revtim", 0, F, D, 4, N},
    {"rxe", 0, F, D, 4, N},
    {"subject", 0, F, D, 4, N},
    {"tc", 0, F, D, 4, N},
    {"pntext", 0, F, D, 4, N},
    {"listtext", 0, F, D, 4, N},
    {"fonttbl", 0, F, D, 5, N},
    {"stylesheet", 0, F, D, 6, N},
    {"colortbl", 0, F, D, 7, N},
    {"bkmkstart", 0, F, D, 12, N},
    {"info", 0, F, D, 13, N},
    {"author", 0, F, D, 14, N},
    {"title", 0, F, D, 15, N},
    {"doccomm", 0, F, D, 16, N},
    {"field", 0, F, D, 17, N},
    {"fldinst", 0, F, D, 18, N},
    {"fldrslt", 0, F, D, 19, N},
    {"nesttableprops", 0, F, D, 20, N},
    {"header", 0, F, D, 21, N},
    {"footer", 0, F, D, 22, N},
    {"headerl", 0, F, D, 23, N},
    {"footerl", 0, F, D, 24, N},
    {"headerr", 0, F, D, 25, N},
    {"footerr", 0, F, D, 26, N},
    {"headerf", 0, F, D, 27, N},
    {"footerf", 0, F, D, 28, N},
    {"footnote", 0, F, D, 29, N},
    {"pntxta", 0, F, D, 30, N},
    {"pntxtb", 0, F, D, 31, N},
    {"pn", 0, F, D, 32, N},
    {"listtable", 0, F, D, 34, N},
    {"list", 0, F, D, 35, N},
    {"listname", 0, F, D, 36, N},
    {"listlevel", 0, F, D, 37, N},
    {"leveltext", 0, F, D, 38, N},
    {"levelnumbers", 0, F, D, 39, N},
    {"listoverridetable", 0, F, D, 40, N},
    {"listoverride", 0, F, D, 41, N},
    {"lfolevel", 0, F, D, 42, N},
    {"object", 0, F, D, 43, N},
    {"objdata", 0, F, D, 44, N},
    {"result", 0, F, D, 45, N},
    {"upr", 0, F, D, 46, N},
    {"ud", 0, F, D, 47, N},
    // character properties
    {"b", 1, F, P, 0, CP},
    {"i", 1, F, P, 1, CP},
    {"strike", 1, F, P, 2, CP},
    {"ul", 1, F, P, 3, CP},
    {"ulnone", 0, T, P, 3, CP},
    {"uld", 3, F, P, 4, CP},
    {"uldash", 5, F, P, 4, CP},
    {"uldashd", 9, F, P, 4, CP},
    {"uldashdd", 11, F, P, 4, CP},
    {"uldb", 2, F, P, 4, CP},
    {"ulldash", 7, F, P, 4, CP},
    {"ulth", 1, F, P, 4, CP},
    {"ulthd", 4, F, P, 4, CP},
    {"ulthdash", 6, F, P, 4, CP},
    {"ulthdashd", 10, F, P, 4, CP},
    {"ulthdashdd", 12, F, P, 4, CP},
    {"ulthldash", 8, F, P, 4, CP},
    {"ulc", 0, F, P, 5, CP},
    {"ltrch", 1, T, P, 6, CP},
    {"rtlch", 2, T, P, 6, CP},
    {"charscalex", 100, F, P, 7, CP},
    {"expndtw", 0, F, P, 8, CP},
    {"sub", 1, T, P, 9, CP},
    {"super", 2, T, P, 9, CP},
    {"nosupersub", 0, T, P, 9, CP},
    {"up", 6, F, P, 10, CP},
    {"dn", 6, F, P, 11, CP},
    {"caps", 1, F, P, 12, CP},
    {"fs", 24, F, P, 13, CP},
    {"cf", 0, F, P, 14, CP},
    {"chcbpat", 0, F, P, 15, CP},
    {"highlight", 0, F, P, 16, CP},
    {"lang", 0, F, P, 17, CP},
    {"deflang", 0, F, P, 18, N},
    // paragraph, section and document properties
    {"sl", 240, F, P, 19, PP},
    {"slmult", 1, F, P, 20, PP},
    {"pagebb", 1, F, P, 21, PP},
    {"li", 0, F, P, 22, PP},
    {"ri", 0, F, P, 23, PP},
    {"fi", 0, F, P, 24, PP},
    {"cols", 1, F, P, 25, N},
    {"pgnx", 0, F, P, 26, N},
    {"pgny", 0, F, P, 27, N},
    {"headery", 720, F, P, 28, N},
    {"footery", 720, F, P, 29, N},
    {"widowctrl", 1, F, P, 30, N},
    {"titlepg", 1, F, P, 31, N},
    {"paperw", 12240, F, P, 32, N},
    {"paperh", 15840, F, P, 33, N},
    {"margl", 1800, F, P, 34, N},
    {"margr", 1800, F, P, 35, N},
    {"margt", 1440, F, P, 36, N},
    {"margb", 1440, F, P, 37, N},
    {"pgnstart", 1, F, P, 38, N},
    {"sbknone", 0, T, P, 39, N},
    {"sbkcol", 1, T, P, 39, N},
    {"sbkeven", 2, T, P, 39, N},
    {"sbkodd", 3, T, P, 39, N},
    {"sbkpage", 4, T, P, 39, N},
    {"pgndec", 0, T, P, 40, N},
    {"pgnucrm", 1, T, P, 40, N},
    {"pgnlcrm", 2, T, P, 40, N},
    {"pgnucltr", 3, T, P, 40, N},
    {"pgnlcltr", 4, T, P, 40, N},
    {"facingp", 1, T, P, 41, N},
    {"margmirror", 1, T, P, 42, N},
    {"landscape", 1, T, P, 43, N},
    {"viewscale", 100, F, P, 44, N},
    {"viewzk", 0, F, P, 45, N},
    {"qc", 2, T, P, 46, PP},
    {"ql", 0, T, P, 46, PP},
    {"qr", 1, T, P, 46, PP},
    {"qj", 3, T, P, 46, PP},
    {"qd", 4, T, P, 46, PP},
    {"ltrpar", 1, T, P, 47, PP},
    {"rtlpar", 2, T, P, 47, PP},
    {"pard", 0, F, P, 48, PP},
    {"plain", 0, F, P, 49, CP},
    {"sectd", 0, F, P, 50, N},
    {"f", 0, F, P, 51, CP},
    {"af", 0, F, P, 52, CP},
    {"deff", 0, F, P, 53, N},
    {"sb", 0, F, P, 54, PP},
    {"sa", 0, F, P, 55, PP},
    {"chbrdr", 0, T, P, 56, N},
    {"brdrnone", 0, T, P, 57, PP},
    {"brdrs", 1, T, P, 57, PP},
    {"brdrth", 2, T, P, 57, PP},
    {"brdrsh", 3, T, P, 57, PP},
    {"brdrdb", 4, T, P, 57, PP},
    {"brdrdot", 5, T, P, 57, PP},
    {"brdrdash", 6, T, P, 57, PP},
    {"brdrhair", 7, T, P, 57, PP},
    {"brdrdashsm", 8, T, P, 57, PP},
    {"brdrdashd", 9, T, P, 57, PP},
    {"brdrdashdd", 10, T, P, 57, PP},
    {"brdrtriple", 11, T, P, 57, PP},
    {"brdrtnthsg", 12, T, P, 57, PP},
    {"brdrthtnsg", 13, T, P, 57, PP},
    {"brdrtnthtnsg", 14, T, P, 57, PP},
    {"brdrtnthmg", 15, T, P, 57, PP},
    {"brdrthtnmg", 16, T, P, 57, PP},
    {"brdrtnthtnmg", 17, T, P, 57, PP},
    {"brdrtnthlg", 18, T, P, 57, PP},
    {"brdrthtnlg", 19, T, P, 57, PP},
    {"brdrtnthtnlg", 20, T, P, 57, PP},
    {"brdrwavy", 21, T, P, 57, PP},
    {"brdrwavydb", 22, T, P, 57, PP},
    {"brdrdashdotstr", 23, T, P, 57, PP},
    {"brdremboss", 24, T, P, 57, PP},
    {"brdrengrave", 25, T, P, 57, PP},
    {"brdrinset", 26, T, P, 57, PP},
    {"brdroutset", 27, T, P, 57, PP},
    {"brdrl", 0, T, P, 58, PP},
    {"brdrt", 1, T, P, 58, PP},
    {"brdrr", 2, T, P, 58, PP},
    {"brdrb", 3, T, P, 58, PP},
    {"brdrw", 1, F, P, 59, PP},
    {"brdrcf", 0, F, P, 60, PP},
    {"brsp", 0, F, P, 61, PP},
    {"cbpat", 0, F, P, 62, PP},
    {"cfpat", 0, F, P, 63, PP},
    {"shading", 0, F, P, 64, PP},
    {"outlinelevel", -1, F, P, 65, PP},
    {"ansicpg", 0, F, P, 66, N},
    {"u", 0, F, P, 67, N},
    {"uc", 1, F, P, 68, CP},
    {"page", 0, F, P, 69, N},
    {"v", 1, F, P, 70, CP},
    {"keep", 1, T, P, 71, PP},
    {"keepn", 1, T, P, 72, PP},
    {"nowidctlpar", 2, T, P, 73, PP},
    {"widctlpar", 1, T, P, 73, PP},
    {"tx", 0, F, P, 74, PP},
    {"tqr", 1, T, P, 75, PP},
    {"tqc", 2, T, P, 75, PP},
    {"tqdec", 3, T, P, 75, PP},
    {"tldot", 1, T, P, 76, PP},
    {"tlhyph", 3, T, P, 76, PP},
    {"tlul", 4, T, P, 76, PP},
    {"tlth", 4, T, P, 76, PP},
    {"tleq", 5, T, P, 76, PP},
    {"tlmdot", 2, T, P, 76, PP},
    {"jclisttab", 0, F, P, 77, PP},
    // colour and font tables
    {"red", 0, F, P, 78, N},
    {"green", 0, F, P, 79, N},
    {"blue", 0, F, P, 80, N},
    {"fnil", 0, T, P, 81, N},
    {"froman", 1, T, P, 81, N},
    {"fswiss", 2, T, P, 81, N},
    {"fmodern", 3, T, P, 81, N},
    {"fscript", 4, T, P, 81, N},
    {"fdecor", 5, T, P, 81, N},
    {"ftech", 6, T, P, 81, N},
    {"fbidi", 7, T, P, 81, N},
    {"fcharset", 0, F, P, 82, CP},
    // style sheet
    {"s", 0, F, P, 83, N},
    {"cs", 0, F, P, 84, N},
    {"ts", 0, F, P, 85, N},
    {"ds", 0, F, P, 86, N},
    {"sbasedon", 0, F, P, 87, N},
    {"slink", 0, F, P, 88, N},
    {"snext", 0, F, P, 89, N},
    {"additive", 0, F, P, 90, N},
    {"shidden", 0, F, P, 91, N},
    {"sqformat", 0, F, P, 92, N},
    // pictures and objects
    {"picw", 0, F, P, 93, N},
    {"pich", 0, F, P, 94, N},
    {"picscalex", 100, F, P, 95, N},
    {"picscaley", 100, F, P, 96, N},
    {"picwgoal", 0, F, P, 97, N},
    {"pichgoal", 0, F, P, 98, N},
    {"wbmwidthbytes", 0, F, P, 99, N},
    {"wbmbitspixel", 1, F, P, 100, N},
    {"wbmplanes", 1, F, P, 101, N},
    {"emfblip", 0, T, P, 102, N},
    {"pngblip", 1, T, P, 102, N},
    {"jpegblip", 2, T, P, 102, N},
    {"macpict", 3, T, P, 102, N},
    {"pmmetafile", 4, T, P, 102, N},
    {"dibitmap", 6, T, P, 102, N},
    {"wbitmap", 7, T, P, 102, N},
    {"wmetafile", 1, F, P, 103, N},
    {"picbmp", 1, F, P, 104, N},
    {"objemb", 0, T, P, 105, N},
    {"objlink", 1, T, P, 105, N},
    {"objautlink", 2, T, P, 105, N},
    {"objsub", 3, T, P, 105, N},
    {"objpub", 4, T, P, 105, N},
    {"objicemb", 5, T, P, 105, N},
    {"objhtml", 6, T, P, 105, N},
    {"objocx", 7, T, P, 105, N},
    {"objw", 0, F, P, 106, N},
    {"objh", 0, F, P, 107, N},
    // old-style numbering
    {"pnlvl", 1, F, P, 108, N},
    {"pnlvlblt", 11, T, P, 108, N},
    {"pnlvlbody", 10, T, P, 108, N},
    {"pnhang", 1, F, P, 109, N},
    {"pndec", 1, T, P, 110, N},
    {"pnucltr", 3, T, P, 110, N},
    {"pnucrm", 5, T, P, 110, N},
    {"pnlcltr", 2, T, P, 110, N},
    {"pnlcrm", 4, T, P, 110, N},
    {"pnb", 1, F, P, 111, N},
    {"pni", 1, F, P, 112, N},
    {"pnuldash", 1, F, P, 113, N},
    {"pnuldashd", 1, F, P, 113, N},
    {"pnuldashdd", 1, F, P, 113, N},
    {"pnulhair", 1, F, P, 113, N},
    {"pnulth", 1, F, P, 113, N},
    {"pnulwave", 1, F, P, 113, N},
    {"pnul", 1, F, P, 113, N},
    {"pnuld", 1, F, P, 113, N},
    {"pnuldb", 1, F, P, 113, N},
    {"pnulw", 1, F, P, 113, N},
    {"pnulnone", 0, T, P, 113, N},
    {"pnstrike", 1, F, P, 114, N},
    {"pncf", 0, F, P, 115, N},
    {"pnf", 0, F, P, 116, N},
    {"pnfs", 0, F, P, 117, N},
    {"pnindent", 0, F, P, 118, N},
    {"pnsp", 0, F, P, 119, N},
    {"pnqc", 2, T, P, 120, N},
    {"pnql", 0, T, P, 120, N},
    {"pnqr", 1, T, P, 120, N},
    {"pnstart", 1, F, P, 121, N},
    {"pnseclvl", 1, F, P, 122, N},
    // lists
    {"listid", 0, F, P, 123, N},
    {"listsimple", 1, F, P, 125, N},
    {"levelstartat", 1, F, P, 127, N},
    {"levelnfc", 0, F, P, 128, N},
    {"leveljc", 0, F, P, 129, N},
    {"levelold", 1, F, P, 130, N},
    {"levelindent", 0, F, P, 131, N},
    {"levelspace", 0, F, P, 132, N},
    {"levelfollow", 0, F, P, 133, N},
    {"levellegal", 1, F, P, 134, N},
    {"levelnorestart", 1, F, P, 135, N},
    {"listoverridecount", 0, F, P, 136, N},
    {"ls", 1, F, P, 137, PP},
    {"listoverridestartat", 1, F, P, 138, N},
    {"ilvl", 1, F, P, 139, PP},
    // notes
    {"ftnalt", 0, F, P, 140, N},
    {"chftn", 0, F, P, 141, N},
    {"ftnrstcont", 0, T, P, 142, N},
    {"ftnrestart", 0, T, P, 142, N},
    {"ftnrstpg", 1, T, P, 142, N},
    // tables
    {"row", 0, T, P, 143, N},
    {"nestrow", 1, T, P, 143, N},
    {"cell", 0, T, P, 144, N},
    {"nestcell", 1, T, P, 144, N},
    {"intbl", 0, F, P, 145, N},
    {"itap", 1, F, P, 146, N},
    {"lastrow", 0, T, P, 147, N},
    {"trowd", 0, F, P, 148, N},
    {"trql", 0, T, P, 149, N},
    {"trqr", 1, T, P, 149, N},
    {"trqc", 2, T, P, 149, N},
    {"trgaph", 0, F, P, 150, N},
    {"trleft", 0, F, P, 151, N},
    {"trrh", 0, F, P, 152, N},
    {"trhdr", 1, F, P, 153, N},
    {"trpaddl", 0, F, P, 154, N},
    {"trpaddr", 0, F, P, 155, N},
    {"trpaddt", 0, F, P, 156, N},
    {"trpaddb", 0, F, P, 157, N},
    {"trpaddfl", 0, F, P, 158, N},
    {"trpaddfr", 0, F, P, 159, N},
    {"trpaddft", 0, F, P, 160, N},
    {"trpaddfb", 0, F, P, 161, N},
    {"trspdl", 0, F, P, 162, N},
    {"trspdr", 0, F, P, 163, N},
    {"trspdt", 0, F, P, 164, N},
    {"trspdb", 0, F, P, 165, N},
    {"trspdfl", 0, F, P, 166, N},
    {"trspdfr", 0, F, P, 167, N},
    {"trspdft", 0, F, P, 168, N},
    {"trspdfb", 0, F, P, 169, N},
    {"trwWidth", 0, F, P, 170, N},
    {"trftsWidth", 0, F, P, 171, N},
    {"trkeep", 0, F, P, 172, N},
    {"clvmrg", 2, T, P, 173, N},
    {"clvmgf", 1, T, P, 173, N},
    {"clmrg", 2, T, P, 174, N},
    {"clmgf", 1, T, P, 174, N},
    {"cltxtbrl", 1, T, P, 175, N},
    {"cltxbtlr", 2, T, P, 175, N},
    {"clwWidth", 0, F, P, 176, N},
    {"clftsWidth", 0, F, P, 177, N},
    {"clcbpat", 0, F, P, 178, N},
    {"clcbpatraw", 0, F, P, 178, N},
    {"clcfpat", 0, F, P, 179, N},
    {"clshdng", 0, F, P, 180, N},
    {"clvertalt", 0, T, P, 181, N},
    {"clvertalc", 2, T, P, 181, N},
    {"clvertalb", 1, T, P, 181, N},
    {"cellx", 0, F, P, 182, N},
    {"trbrdrl", 0, T, P, 183, PP},
    {"trbrdrt", 1, T, P, 183, PP},
    {"trbrdrr", 2, T, P, 183, PP},
    {"trbrdrb", 3, T, P, 183, PP},
    {"trbrdrh", 0, T, P, 184, PP},
    {"trbrdrv", 0, T, P, 184, PP},
    {"clbrdrl", 0, T, P, 185, PP},
    {"clbrdrt", 1, T, P, 185, PP},
    {"clbrdrr", 2, T, P, 185, PP},
    {"clbrdrb", 3, T, P, 185, PP},
    {"absnoovrlp", 0, F, P, 186, PP},
    {"vizivoducbw", 0, F, P, 188, N},
    {"vizivoducbh", 0, F, P, 189, N},
    {"vizivodutbw", 0, F, P, 190, N},
    {"vizivoducbwtw", 0, F, P, 191, N},
    {"vizivoducbhtw", 0, F, P, 192, N},
    {"vizivodutbwtw", 0, F, P, 193, N},
};

bool KeywordLess(const TVDRTFsymbol &a, const TVDRTFsymbol &b) {
    return std::strcmp(a.Keyword, b.Keyword) < 0;
}

struct TSortedTable {
    std::vector<TVDRTFsymbol> Entries;
    TSortedTable() : Entries(std::begin(KeywordTable), std::end(KeywordTable)) {
        std::sort(Entries.begin(), Entries.end(), KeywordLess);
    }
};

const std::vector<TVDRTFsymbol> &SortedKeywords() {
    // Sorted on first use; C++ makes this initialisation thread-safe.
    static const TSortedTable table;
    return table.Entries;
}

} // namespace

std::span<const TVDRTFsymbol> RTFKeywordTable() {
    return SortedKeywords();
}

const TVDRTFsymbol *FindRTFKeyword(std::string_view keyword) {
    const std::vector<TVDRTFsymbol> &table = SortedKeywords();
    auto it = std::lower_bound(
        table.begin(), table.end(), keyword,
        [](const TVDRTFsymbol &e, std::string_view k) { return std::string_view(e.Keyword) < k; });
    if (it == table.end() || std::string_view(it->Keyword) != keyword) {
        return nullptr;
    }
    return &*it;
}

TVDRTFErrorCode TVDRTFReader::DispatchKeyword(const TVDAnsiString &keyword, int32_t param,
                                              bool fParam) {
    if (OnTranslateKeyword) {
        TVDAnsiString text;
        bool doDefault = true;
        OnTranslateKeyword(*this, keyword, param, fParam, text, doDefault);
        for (char c : text) {
            if (TVDRTFErrorCode ec = ParseChar(uint8_t(c)); ec != rtf_ec_OK) {
                return ec;
            }
        }
        if (!doDefault) {
            return rtf_ec_OK;
        }
    }
    const TVDRTFsymbol *sym = FindRTFKeyword(keyword);
    if (!sym) {
        if (FSkipDestIfUnk) {
            FRTFState.rds = rdsSkip;
        }
        FSkipDestIfUnk = false;
        return rtf_ec_OK;
    }
    FSkipDestIfUnk = false;
    switch (sym->Kwd) {
    case rtf_kwd_Char:
        if (FSkipNext > 0) {
            --FSkipNext;
            return rtf_ec_OK;
        }
        return ParseChar(sym->Idx);
    case rtf_kwd_WideChar:
        if (FSkipNext > 0) {
            --FSkipNext;
            return rtf_ec_OK;
        }
        if (FRTFState.rds == rdsNorm && OnNewUnicodeText) {
            return PutWideChar(char16_t(sym->DefValue));
        }
        return sym->Idx != 0 ? ParseChar(sym->Idx) : rtf_ec_OK;
    case rtf_kwd_Dest:
        return ChangeDestination(sym->Idx, 0);
    case rtf_kwd_Prop: {
        const int32_t value = (sym->UseDef || !fParam) ? sym->DefValue : param;
        if (FRTFState.rds == rdsNorm &&
            (sym->AffectTo == rtf_af_CharProp || sym->AffectTo == rtf_af_BothProp)) {
            if (TVDRTFErrorCode ec = FlushPending(false, true); ec != rtf_ec_OK) {
                return ec;
            }
        }
        return ApplyProperty(sym->Idx, value);
    }
    case rtf_kwd_Spec:
        return SpecialControl(sym->Idx, fParam ? param : 0);
    }
    return rtf_ec_BadTable;
}

} // namespace vizivodu
