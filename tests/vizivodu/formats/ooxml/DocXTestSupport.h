// What the DOCX tests share: a document's package in memory, its entries unpacked in archive
// order, and a document's plain text as the words of its text items, tables included.
#pragma once

#include "vizivodu/document/CVDData.h"

#include <string>
#include <utility>
#include <vector>

namespace vizivodu::test {

// The package of the whole document (page colour clNone); ok receives SaveDocXPackage's answer.
std::string SaveDocXBytes(TCustomVDData &doc, bool *ok = nullptr);
// The archive's entries in order, each inflated; an empty list when the bytes are no archive.
std::vector<std::pair<std::string, std::string>> UnpackEntries(const std::string &zip);
// The text of one entry; "" when it is missing.
std::string EntryText(const std::vector<std::pair<std::string, std::string>> &entries,
                      const std::string &name);
// The words of the text as a reader sees it: the runs of a line joined, tabs, line breaks and
// paragraphs apart, cells of tables row by row (merged cells once), notes left out.
std::vector<std::string> DocumentWords(TCustomVDData &doc);
std::vector<std::string> SplitWords(const std::string &text);

} // namespace vizivodu::test
