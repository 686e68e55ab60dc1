// The DOCX tests' helpers: packages in memory, a small reader of our archives, and the words of
// a document.
#include "tests/vizivodu/formats/ooxml/DocXTestSupport.h"

#include "vizivodu/formats/ooxml/VDDocXPackage.h"
#include "vizivodu/tables/VDTable.h"
#include "vizivodu/tables/VDTable_Cells.h"

#include "platform/rtl/Classes.h"

#include <zlib.h>

#include <cstring>
#include <sstream>

namespace vizivodu::test {

std::string SaveDocXBytes(TCustomVDData &doc, bool *ok) {
    rtl::TMemoryStream stream;
    TVDDocXPackageSource source;
    source.Data = &doc;
    const bool saved = SaveDocXPackage(stream, source);
    if (ok) {
        *ok = saved;
    }
    const auto *p = reinterpret_cast<const char *>(stream.GetMemory());
    return p ? std::string(p, size_t(stream.GetSize())) : std::string();
}

namespace {

uint32_t Le(const std::string &s, size_t at, size_t bytes) {
    uint32_t v = 0;
    for (size_t i = 0; i < bytes; ++i) {
        v |= uint32_t(uint8_t(s[at + i])) << (8 * i);
    }
    return v;
}

std::string Inflate(const std::string &data, size_t size) {
    std::string out(size, '\0');
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) {
        return {};
    }
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    return rc == Z_STREAM_END ? out : std::string();
}

} // namespace

std::vector<std::pair<std::string, std::string>> UnpackEntries(const std::string &zip) {
    std::vector<std::pair<std::string, std::string>> entries;
    size_t at = 0;
    while (at + 30 <= zip.size() && Le(zip, at, 4) == 0x04034b50) {
        const uint32_t method = Le(zip, at + 8, 2);
        const uint32_t packed = Le(zip, at + 18, 4);
        const uint32_t size = Le(zip, at + 22, 4);
        const uint32_t nameLength = Le(zip, at + 26, 2);
        const uint32_t extra = Le(zip, at + 28, 2);
        const size_t data = at + 30 + nameLength + extra;
        if (data + packed > zip.size()) {
            return {};
        }
        const std::string body = zip.substr(data, packed);
        entries.emplace_back(zip.substr(at + 30, nameLength),
                             method == 8 ? Inflate(body, size) : body);
        at = data + packed;
    }
    return entries;
}

std::string EntryText(const std::vector<std::pair<std::string, std::string>> &entries,
                      const std::string &name) {
    for (const auto &[entryName, text] : entries) {
        if (entryName == name) {
            return text;
        }
    }
    return {};
}

std::vector<std::string> SplitWords(const std::string &text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    return words;
}

namespace {

void CollectText(TCustomVDData &doc, std::string &text) {
    for (int32_t i = 0; i < doc.ItemCount(); ++i) {
        TCustomVDItemInfo *item = doc.GetItem(i);
        // Runs of one line join; pictures and other items add no text, tabs a blank.
        if (!item->GetSameAsPrev() || item->GetBR() || item->StyleNo == StyleNoTab) {
            text += " ";
        }
        if (item->IsText()) {
            text += rtl::Utf16ToUtf8(doc.GetItemText(i));
            continue;
        }
        auto *table = dynamic_cast<TVDTableItemInfo *>(item);
        if (table) {
            text += " ";
        }
        for (int32_t r = 0; table && r < table->GetRowCount(); ++r) {
            for (int32_t c = 0; c < table->GetColCount(); ++c) {
                if (TVDTableCellData *cell = table->GetCells(r, c)) {
                    CollectText(*cell, text);
                }
            }
        }
    }
}

} // namespace

std::vector<std::string> DocumentWords(TCustomVDData &doc) {
    std::string text;
    CollectText(doc, text);
    return SplitWords(text);
}

} // namespace vizivodu::test
