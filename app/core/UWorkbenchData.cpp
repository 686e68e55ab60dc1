// Loading the reference database, reading and scoring a result file, and the per-ECG texts.
#include "app/core/UWorkbenchData.h"

#include "app/core/UForeignNames.h"
#include "app/core/UTextLines.h"
#include "ecg/EncDecHelper.h"
#include "ecg/ZavStringHelper.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <optional>
#include <utility>

namespace workbench {

using rtl::U;

// ---------------------------------------------------------------------------------------------
// Shared line handling

namespace {

// Positions in a line of either file (1-based): the name, then ignored characters, then data.
constexpr int NameLength = 10;
constexpr int DataStart = 16;

// Characters 1 to 10 without surrounding blanks and control characters.
std::u16string_view LineName(const UnicodeString &line) {
    std::u16string_view name(line.data(), std::min<size_t>(line.size(), NameLength));
    while (!name.empty() && name.front() <= u' ') {
        name.remove_prefix(1);
    }
    while (!name.empty() && name.back() <= u' ') {
        name.remove_suffix(1);
    }
    return name;
}

// Characters 16 to the end of the line.
std::u16string_view LineData(const UnicodeString &line) {
    return line.size() < DataStart ? std::u16string_view()
                                   : std::u16string_view(line).substr(DataStart - 1);
}

bool IsBlankLine(const UnicodeString &line) {
    return std::all_of(line.begin(), line.end(), [](char16_t ch) { return ch <= u' '; });
}

// Opens a text file for TTextLineReader; nullptr when it cannot be opened.
std::unique_ptr<rtl::TFileStream> OpenTextFile(const UnicodeString &path) {
    try {
        return std::make_unique<rtl::TFileStream>(path, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    } catch (const rtl::Exception &) {
        return nullptr;
    }
}

UnicodeString Num(int64_t value) {
    return rtl::IntToStr(value);
}

// A set of checked codes (1 to 30) as a bit mask, for the scoring's membership tests.
using TCodeMask = uint32_t;

TCodeMask MaskOf(const TCodeList &codes) {
    TCodeMask mask = 0;
    for (const int32_t c : codes) {
        mask |= TCodeMask(1) << c;
    }
    return mask;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Counters

const TCodeCounters &TDiaStat::operator[](int32_t code) const {
    if (code < MinDiagCode || code > MaxDiagCode) {
        throw rtl::EListError(U("Item not found"));
    }
    return FCounters[code - MinDiagCode];
}

TCodeCounters &TDiaStat::operator[](int32_t code) {
    const auto &self = *this;
    return const_cast<TCodeCounters &>(self[code]);
}

void TDiaStat::ResetComputed() {
    for (auto &counters : FCounters) {
        std::fill(counters.begin() + ciComputed, counters.end(), 0);
    }
}

void TDiaStat::Clear() {
    for (auto &counters : FCounters) {
        counters.fill(0);
    }
}

// ---------------------------------------------------------------------------------------------
// Reference database

TBaseInfoKey MakeBaseInfoKey() {
    ecg::byte_array seed;
    ecg::StringToBytes(UnicodeString(BaseInfoKeySeed.begin(), BaseInfoKeySeed.end()), seed, false);
    TBaseInfoKey key{};
    for (size_t i = 0; i < key.size() && i < seed.size(); ++i) {
        key[i] = static_cast<uint8_t>(seed[i] >> (1 + i % 2));
    }
    return key;
}

namespace {

UnicodeString UnreadableBaseInfo() {
    return U("Файл не найден или не может быть открыт.");
}

UnicodeString LoadFailure(const UnicodeString &path, const UnicodeString &reason) {
    return U("Не удалось загрузить эталонную базу ЭКГ.\r") + path + u"\r" + reason;
}

UnicodeString LineReason(size_t lineNo, const UnicodeString &text) {
    return U("Строка ") + Num(static_cast<int64_t>(lineNo)) + u": " + text;
}

UnicodeString RepeatedName(std::u16string_view name) {
    return U("ЭКГ ") + UnicodeString(name) + U(" указана повторно.");
}

// Base64 text: the alphabet, "=" padding and blanks, which the decoder skips as the class
// library's does. Any other character means the payload is no Base64 at all: skipped too, it
// would load a payload of garbage as "no codes".
bool IsBase64Text(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
               c == u'+' || c == u'/' || c == u'=' || c <= u' ';
    });
}

// Decodes one payload into its reference codes (each once, payload order). A byte missing
// from a short payload means "no code". Returns the reason text on failure.
std::optional<UnicodeString> DecodePayload(std::u16string_view name, std::u16string_view payload,
                                           const TBaseInfoKey &key, TCodeList &codes) {
    rtl::TMemoryStream stream;
    try {
        if (!IsBase64Text(payload)) {
            throw rtl::EConvertError(std::string_view("not Base64"));
        }
        ecg::TEncDecHelper::SetStreamFromBase64String(UnicodeString(payload), stream);
    } catch (const rtl::Exception &) {
        return U("данные ЭКГ ") + UnicodeString(name) + U(" не являются текстом Base64.");
    }
    const int64_t size = stream.GetSize();
    const uint8_t *bytes = stream.GetMemory();
    for (size_t i = 0; i < key.size() && static_cast<int64_t>(i) < size; ++i) {
        const int32_t code = bytes[i] ^ key[i];
        if (code == 0 || std::find(codes.begin(), codes.end(), code) != codes.end()) {
            continue;
        }
        if (code > MaxDiagCode) {
            return U("код ") + Num(code) + U(" ЭКГ ") + UnicodeString(name) +
                   U(" вне диапазона от 1 до 30.");
        }
        codes.reserve(key.size());
        codes.push_back(code);
    }
    return std::nullopt;
}

} // namespace

TLoadResult TWorkbenchData::LoadReferenceDatabase(const UnicodeString &edfFolderName) {
    DropDatabase();
    const UnicodeString folder = rtl::IncludeTrailingPathDelimiter(edfFolderName);
    if (!rtl::DirectoryExists(folder)) {
        return {false, LoadFailure(folder, U("Папка не найдена."))};
    }
    const UnicodeString path = folder + UnicodeString(BaseInfoFileName);
    const std::unique_ptr<rtl::TFileStream> file = OpenTextFile(path);
    if (!file) {
        return {false, LoadFailure(path, UnreadableBaseInfo())};
    }
    return LoadReferenceDatabase(*file, path);
}

TLoadResult TWorkbenchData::LoadReferenceDatabase(rtl::TStream &baseInfo,
                                                  const UnicodeString &path) {
    DropDatabase();
    std::optional<UnicodeString> failure;
    try {
        failure = ReadReferenceLines(baseInfo);
    } catch (const rtl::Exception &) {
        failure = UnreadableBaseInfo();
    }
    if (failure) {
        DropDatabase();
        return {false, LoadFailure(path, *failure)};
    }
    CountReferenceCodes();
    FLoaded = true;
    return {true, {}};
}

// Reads every line of "base.info" into DBBook, DBData and the name index; the reason of the
// first bad line, if any.
std::optional<UnicodeString> TWorkbenchData::ReadReferenceLines(rtl::TStream &file) {
    const TBaseInfoKey key = MakeBaseInfoKey();
    // Room for the lines a file of this size usually holds (name, blanks, payload: about 32
    // bytes), so that a large database does not grow its tables step by step.
    const auto expected = static_cast<size_t>(std::max<int64_t>(file.GetSize(), 0) / 32);
    FDBIndex.Reserve(expected);
    DBBook.reserve(expected);
    DBData.reserve(expected);
    TTextLineReader lines(file);
    UnicodeString line;
    while (lines.Next(line)) {
        if (IsBlankLine(line)) {
            continue;
        }
        const std::u16string_view name = LineName(line);
        const auto lineNo = static_cast<size_t>(lines.GetLineNumber());
        TCodeList codes;
        if (auto reason = DecodePayload(name, LineData(line), key, codes)) {
            return LineReason(lineNo, *reason);
        }
        if (!FDBIndex.Insert(name, static_cast<int32_t>(DBBook.size()))) {
            return LineReason(lineNo, RepeatedName(name));
        }
        DBBook.emplace_back(name);
        DBData.push_back(std::move(codes));
    }
    return std::nullopt;
}

void TWorkbenchData::DropDatabase() {
    ResetResults();
    DBBook.clear();
    DBData.clear();
    FDBIndex.Clear();
    dia_stat.Clear();
    FLoaded = false;
}

void TWorkbenchData::CountReferenceCodes() {
    for (const TCodeList &codes : DBData) {
        for (const int32_t c : codes) {
            ++dia_stat[c][ciReference];
        }
    }
}

int32_t TWorkbenchData::IndexOfEcg(const UnicodeString &name) const {
    return FDBIndex.Find(name);
}

// ---------------------------------------------------------------------------------------------
// Result file

UnicodeString UnreadableResultMessage(const UnicodeString &path) {
    return U("Файл ") + path + U(" не найден или не может быть открыт.");
}

void TNameSample::Add(std::u16string_view name) {
    if (Shown.size() < MaxShownNames) {
        Shown.emplace_back(name);
    }
    ++Count;
}

namespace {

void AppendNames(UnicodeString &text, const TNameSample &names) {
    for (const UnicodeString &name : names.Shown) {
        text += name + u" ";
    }
    if (names.Count > names.Shown.size()) {
        text += U("и еще ") + Num(static_cast<int64_t>(names.Count - names.Shown.size()));
    }
}

} // namespace

UnicodeString NameMismatchMessage(const TNameSample &missing, const TNameSample &superfluous) {
    UnicodeString text = U("Ошибка.\rКоличество ЭКГ в исходной базе не совпадает\r"
                           "с количеством строк в файле Result.txt");
    if (missing.Count > 0) {
        text += U("\rне хватает:\r");
        AppendNames(text, missing);
    }
    if (superfluous.Count > 0) {
        text += U("\rлишние:\r");
        AppendNames(text, superfluous);
    }
    return text;
}

namespace {

// The longest line a result can have: the name field, then the codes 1 to 30 each once (a
// code a line repeats counts once, W2), two characters each. Longer lines are refused before
// they are held whole or scored.
constexpr size_t MaxResultLineChars =
    size_t(DataStart - 1) + 2 * size_t(MaxDiagCode - MinDiagCode + 1);

// What is kept of a longer line: enough to see the binary data behind a recording's 256-byte
// text header, so that a recording chosen by mistake is named as such.
constexpr size_t KeptLineChars = 1024;

UnicodeString LongResultLine() {
    return U("строка длиннее ") + Num(int64_t(MaxResultLineChars)) +
           U(" знаков: в ней больше кодов, чем их может быть (от 1 до 30, каждый один раз).");
}

// Splits a code text into two-character pieces (a last piece of one character stands by
// itself) and checks each. Returns the reason text on failure.
std::optional<UnicodeString> ParseCodes(std::u16string_view codeText, TCodeList &codes) {
    if (!codeText.empty() && codeText.back() <= u' ') {
        return U("пробелы после кодов.");
    }
    codes.reserve((codeText.size() + 1) / 2);
    for (size_t pos = 0; pos < codeText.size(); pos += 2) {
        const UnicodeString piece(codeText.substr(pos, 2));
        const bool digits = std::all_of(piece.begin(), piece.end(),
                                        [](char16_t ch) { return ch >= u'0' && ch <= u'9'; });
        if (!digits) {
            return U("код «") + piece + U("» не является числом.");
        }
        const int32_t code =
            piece.size() == 1 ? piece[0] - u'0' : (piece[0] - u'0') * 10 + (piece[1] - u'0');
        if (code < MinDiagCode || code > MaxDiagCode) {
            return U("код ") + piece + U(" вне диапазона от 1 до 30.");
        }
        codes.push_back(code);
    }
    return std::nullopt;
}

// Control characters other than the tab: a recording or another binary file was chosen.
bool HoldsBinaryData(const UnicodeString &line) {
    return std::any_of(line.begin(), line.end(),
                       [](char16_t ch) { return ch < u' ' && ch != u'\t'; });
}

// The parsed content of a result file, before it is committed.
struct TParsedResult {
    std::vector<int32_t> Order;   // ECG indices in line order
    std::vector<TCodeList> Codes; // by ECG index of the database
    std::vector<uint8_t> Seen;    // by ECG index: the file names that ECG
    TNameSample Superfluous;      // names the database lacks, in line order
};

// Reads every non-blank line; each name is looked up once in the database's index. A name the
// database lacks is checked for repeats at the end, and the first bad line in file order is
// the one reported.
std::optional<UnicodeString> ParseResultLines(TTextLineReader &lines, const TNameIndex &index,
                                              TParsedResult &out) {
    out.Codes.resize(index.Size());
    out.Seen.assign(index.Size(), 0);
    TForeignNames foreign;
    std::optional<std::pair<size_t, UnicodeString>> bad; // line and reason
    UnicodeString line;
    TCodeList codes; // reused while the line's codes are not kept
    while (!bad && lines.Next(line)) {
        if (IsBlankLine(line)) {
            continue;
        }
        const std::u16string_view name = LineName(line);
        const auto lineNo = static_cast<size_t>(lines.GetLineNumber());
        codes.clear();
        if (HoldsBinaryData(line)) {
            bad.emplace(lineNo, U("двоичные данные: это не текстовый файл результатов."));
        } else if (line.size() > MaxResultLineChars) {
            bad.emplace(lineNo, LongResultLine());
        } else if (auto reason = ParseCodes(LineData(line), codes)) {
            bad.emplace(lineNo, *reason);
        } else if (const int32_t position = index.Find(name); position < 0) {
            foreign.Add(name, lineNo);
            out.Superfluous.Add(name);
        } else if (std::exchange(out.Seen[position], 1) != 0) {
            bad.emplace(lineNo, RepeatedName(name));
        } else {
            out.Codes[position] = std::move(codes);
            out.Order.push_back(position);
        }
    }
    if (const auto [repeatLine, name] = foreign.FirstRepeat();
        repeatLine != 0 && (!bad || repeatLine < bad->first)) {
        bad.emplace(repeatLine, RepeatedName(name));
    }
    if (bad) {
        return LineReason(bad->first, bad->second);
    }
    return std::nullopt;
}

} // namespace

void TWorkbenchData::ResetResults() {
    ResultData.clear();
    ResultBook.clear();
    dia_stat.ResetComputed();
    FScored = false;
}

TResultOutcome TWorkbenchData::ReloadResult(const UnicodeString &resultPath) {
    ResetResults();
    if (resultPath.empty()) {
        return {TResultStatus::rsNoPath, {}, false};
    }
    const std::unique_ptr<rtl::TFileStream> file = OpenTextFile(resultPath);
    if (!file) {
        return {TResultStatus::rsUnreadable, UnreadableResultMessage(resultPath), false};
    }
    return ReloadResult(*file, resultPath);
}

TResultOutcome TWorkbenchData::ReloadResult(rtl::TStream &result, const UnicodeString &resultPath) {
    ResetResults();
    TParsedResult parsed;
    std::optional<UnicodeString> reason;
    try {
        TTextLineReader lines(result);
        lines.SetMaxLineUnits(KeptLineChars);
        reason = ParseResultLines(lines, FDBIndex, parsed);
    } catch (const rtl::Exception &) {
        return {TResultStatus::rsUnreadable, UnreadableResultMessage(resultPath), false};
    }
    if (reason) {
        return {TResultStatus::rsInvalidLine, U("Ошибка в файле ") + resultPath + u"\r" + *reason,
                true};
    }
    // A database of no ECGs is matched by a file of no lines.
    if (parsed.Order.empty() && parsed.Superfluous.Count == 0 && !DBBook.empty()) {
        return {TResultStatus::rsInvalidLine,
                U("Ошибка в файле ") + resultPath +
                    U("\rфайл не содержит ни одной строки результатов."),
                true};
    }
    TNameSample missing;
    for (size_t i = 0; i < DBBook.size(); ++i) {
        if (!parsed.Seen[i]) {
            missing.Add(DBBook[i]);
        }
    }
    if (missing.Count > 0 || parsed.Superfluous.Count > 0) {
        return {TResultStatus::rsNameMismatch, NameMismatchMessage(missing, parsed.Superfluous),
                true};
    }
    ResultData = std::move(parsed.Codes);
    ResultBook.reserve(parsed.Order.size());
    for (const int32_t position : parsed.Order) {
        ResultBook.push_back(DBBook[static_cast<size_t>(position)]);
    }
    Score();
    return {TResultStatus::rsScored, {}, true};
}

// A code that a result line repeats counts once for that ECG: counting it twice could push
// true negatives below zero and sensitivity above the truth.
void TWorkbenchData::Score() {
    for (size_t i = 0; i < DBBook.size(); ++i) {
        const TCodeMask reference = MaskOf(DBData[i]);
        const TCodeMask computed = MaskOf(ResultData[i]);
        for (TCodeMask rest = reference | computed; rest != 0; rest &= rest - 1) {
            const int32_t c = std::countr_zero(rest);
            const TCodeMask bit = TCodeMask(1) << c;
            if (computed & bit) {
                ++dia_stat[c][ciComputed];
                ++dia_stat[c][(reference & bit) ? ciTruePositive : ciFalsePositive];
            } else {
                ++dia_stat[c][ciMissed];
            }
        }
    }
    const int32_t ecgCount = GetDBCount();
    for (int32_t c = MinDiagCode; c <= MaxDiagCode; ++c) {
        TCodeCounters &counters = dia_stat[c];
        counters[ciTrueNegative] =
            ecgCount - counters[ciTruePositive] - counters[ciFalsePositive] - counters[ciMissed];
    }
    FScored = true;
}

const TCodeList &TWorkbenchData::GetResultCodes(int32_t index) const {
    static const TCodeList none;
    return FScored ? ResultData.at(static_cast<size_t>(index)) : none;
}

UnicodeString JoinCodes(const TCodeList &codes) {
    UnicodeString text;
    for (const int32_t c : codes) {
        if (!text.empty()) {
            text += u", ";
        }
        text += Num(c);
    }
    return text;
}

UnicodeString JoinDescriptions(const TCodeList &codes) {
    UnicodeString text;
    for (const int32_t c : codes) {
        const std::u16string_view description = FindDiagCodeDescription(c);
        if (description.empty()) {
            continue;
        }
        if (!text.empty()) {
            text += u", ";
        }
        text += description;
    }
    return text;
}

UnicodeString TWorkbenchData::ResultCodesText(const UnicodeString &name) const {
    const int32_t index = IndexOfEcg(name);
    return index < 0 ? UnicodeString() : JoinCodes(GetResultCodes(index));
}

UnicodeString TWorkbenchData::ResultDescriptionsText(const UnicodeString &name) const {
    const int32_t index = IndexOfEcg(name);
    return index < 0 ? UnicodeString() : JoinDescriptions(GetResultCodes(index));
}

} // namespace workbench
