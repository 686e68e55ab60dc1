// The workbench's data: the reference database ("base.info"), the results of the program under
// test ("Result.txt"), the six counters per diagnosis code, and the operations the main window
// runs on them. Headless: the window shows the texts these operations return.
#pragma once

#include "app/core/UDiagCodes.h"
#include "app/core/UNameIndex.h"
#include "platform/rtl/System.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace rtl {
class TStream;
}

namespace workbench {

// The name of the reference database's list file inside the database folder.
inline constexpr std::u16string_view BaseInfoFileName = u"base.info";

// The seed of the key that descrambles the reference codes of "base.info".
inline constexpr std::string_view BaseInfoKeySeed = "KELVORATHIN";
inline constexpr size_t BaseInfoKeyLength = 11;
using TBaseInfoKey = std::array<uint8_t, BaseInfoKeyLength>;

// The descrambling key: seed byte i shifted right by 1 bit for even i, by 2 bits for odd i.
// Reference code i of a line is payload byte i XOR key byte i; a code of 0 means "no code".
TBaseInfoKey MakeBaseInfoKey();

// Code lists: reference codes (each once, payload order) or the codes of a result line (line
// order, repeats kept).
using TCodeList = std::vector<int32_t>;
// ECG names in file order.
using TNameBook = std::vector<UnicodeString>;

// The codes as decimal numbers joined by ", " ("1, 4, 4").
UnicodeString JoinCodes(const TCodeList &codes);
// The descriptions of the codes joined by ", "; codes without a description are left out.
UnicodeString JoinDescriptions(const TCodeList &codes);

// The six counters of every code 1 to 30 (the four codes outside the table included).
class TDiaStat {
public:
    // Throws rtl::EListError "Item not found" for a code outside 1 to 30.
    const TCodeCounters &operator[](int32_t code) const;
    TCodeCounters &operator[](int32_t code);

    // Counters 1 to 5 of every code to 0; counter 0 keeps its value.
    void ResetComputed();
    // Every counter to 0.
    void Clear();

private:
    std::array<TCodeCounters, MaxDiagCode> FCounters{};
};

// Outcome of loading the reference database.
struct TLoadResult {
    bool Ok = false;
    // Empty on success; otherwise the whole text of the one message box to show:
    // "Не удалось загрузить эталонную базу ЭКГ.\r" + path + "\r" + reason, where path is the
    // folder ("Папка не найдена.") or the "base.info" path, and reason one of
    // "Файл не найден или не может быть открыт.", "Строка N: ЭКГ <name> указана повторно.",
    // "Строка N: код K ЭКГ <name> вне диапазона от 1 до 30.",
    // "Строка N: данные ЭКГ <name> не являются текстом Base64." (N counts every line from 1).
    UnicodeString Message;
};

// Outcome of reading and scoring a result file (the reload handler).
enum class TResultStatus {
    rsNoPath,       // the path was empty: results cleared, nothing to show
    rsUnreadable,   // the file could not be read: Message
    rsInvalidLine,  // a line of the file is invalid: Message names the line and the reason
    rsNameMismatch, // the file names other ECGs than the database: Message lists them
    rsScored        // counters 1 to 5 and the per-ECG texts are filled
};

struct TResultOutcome {
    TResultStatus Status = TResultStatus::rsNoPath;
    // The exact text of the message box to show; empty for rsNoPath and rsScored.
    //   rsUnreadable:   UnreadableResultMessage(path)
    //   rsNameMismatch: NameMismatchMessage(missing, superfluous)
    //   rsInvalidLine:  "Ошибка в файле " + path + "\rСтрока N: " + reason, N counting every
    //                   line from 1 and reason one of "код «0a» не является числом.",
    //                   "код 31 вне диапазона от 1 до 30.", "ЭКГ <name> указана повторно.",
    //                   "пробелы после кодов.", "двоичные данные: это не текстовый файл
    //                   результатов." (a control character other than the tab); and
    //                   "Ошибка в файле " + path + "\rфайл не содержит ни одной строки
    //                   результатов." for a file of blank lines only
    // Line breaks are carriage returns ("\r"), as the message box shows them.
    UnicodeString Message;
    // True once the file could be read (rsInvalidLine, rsNameMismatch, rsScored): the window
    // enables its report button then and keeps it enabled.
    bool FileRead = false;
};

class TWorkbenchData {
public:
    // Reads edfFolderName + "base.info" (edfFolderName with or without its trailing separator)
    // into DBData and DBBook and counts the reference codes into counter 0. Blank lines are
    // skipped; payload bytes missing from a short line mean "no code". On failure (missing
    // folder or file, a payload that is not Base64 text, a repeated ECG name, a code outside 1
    // to 30) nothing is kept (IsDatabaseLoaded() is false) and Message tells the user why.
    // Any earlier database and results are dropped first.
    TLoadResult LoadReferenceDatabase(const UnicodeString &edfFolderName);
    // The same on the content of "base.info" in a stream (from its position to its end); path
    // names the file in the message.
    TLoadResult LoadReferenceDatabase(rtl::TStream &baseInfo, const UnicodeString &path);

    // The whole reload: ResetResults, then (for a non-empty path) reads the file, checks every
    // line (codes must be numbers from 1 to 30, no repeated ECG name, no blanks after the
    // codes; blank lines are skipped), checks that the file names exactly the ECGs of the
    // database, and scores. Every outcome other than rsScored leaves the reset state: counters
    // 1 to 5 at 0, no results. Without a loaded database every readable file is a name
    // mismatch unless it names no ECG at all.
    TResultOutcome ReloadResult(const UnicodeString &resultPath);
    // The same on the content of the file in a stream; resultPath names it in the messages.
    TResultOutcome ReloadResult(rtl::TStream &result, const UnicodeString &resultPath);

    // Drops every result and sets counters 1 to 5 of every code to 0; counter 0 stays.
    void ResetResults();
    // Drops the database, the results and every counter (the window is closing): the state of
    // a database that was never loaded.
    void Release() { DropDatabase(); }

    bool IsDatabaseLoaded() const { return FLoaded; }
    // True after a successful scoring, until the next reset.
    bool IsScored() const { return FScored; }
    // The number of ECGs of the database (its non-blank lines).
    int32_t GetDBCount() const { return static_cast<int32_t>(DBBook.size()); }

    // ECG names in "base.info" order; an ECG's index is its position here.
    const TNameBook &GetDBBook() const { return DBBook; }
    // The index of an ECG of the database, -1 when there is none of that name.
    int32_t IndexOfEcg(const UnicodeString &name) const;
    // The reference codes of ECG index (0 <= index < GetDBCount()).
    const TCodeList &GetReferenceCodes(int32_t index) const { return DBData.at(index); }
    // ECG names in "Result.txt" line order; empty unless scored.
    const TNameBook &GetResultBook() const { return ResultBook; }
    // The codes of ECG index's result line (line order, repeats kept); empty unless scored.
    const TCodeList &GetResultCodes(int32_t index) const;
    const TDiaStat &GetDiaStat() const { return dia_stat; }

    // The per-ECG texts of the result list for the named ECG: JoinCodes and JoinDescriptions
    // of its result line; both empty when the ECG has no scored result.
    UnicodeString ResultCodesText(const UnicodeString &name) const;
    UnicodeString ResultDescriptionsText(const UnicodeString &name) const;

private:
    void DropDatabase();
    std::optional<UnicodeString> ReadReferenceLines(rtl::TStream &file);
    void CountReferenceCodes();
    void Score();

    // Names and code lists are kept by ECG index (the position in DBBook), so that scoring
    // a large database looks each result name up once.
    TNameBook DBBook;
    std::vector<TCodeList> DBData;
    TNameIndex FDBIndex;
    TNameBook ResultBook;
    std::vector<TCodeList> ResultData; // by ECG index, filled only when scored
    TDiaStat dia_stat;
    bool FLoaded = false;
    bool FScored = false;
};

// A list of names as a message shows it: the first MaxShownNames, and how many there are.
struct TNameSample {
    static constexpr size_t MaxShownNames = 20;
    TNameBook Shown;
    size_t Count = 0;
    void Add(std::u16string_view name);
};

// Message texts (exact).
// "Файл " + path + " не найден или не может быть открыт."
UnicodeString UnreadableResultMessage(const UnicodeString &path);
// "Ошибка.\rКоличество ЭКГ в исходной базе не совпадает\rс количеством строк в файле
// Result.txt", then "\rне хватает:\r" and the missing names (when any), then "\rлишние:\r"
// and the superfluous names (when any); each name shown is followed by " ", and after the
// first 20 "и еще N" tells how many more there are (a message box cannot show millions).
UnicodeString NameMismatchMessage(const TNameSample &missing, const TNameSample &superfluous);

} // namespace workbench
