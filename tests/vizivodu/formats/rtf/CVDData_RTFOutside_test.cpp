// RTF we write, read by other programs: LibreOffice and pandoc open the random documents and
// give back their words in order. Skipped where the tools are missing; LibreOffice converts
// every file in one run, as it starts slowly.
#include "vizivodu/document/CVDData.h"

#include "tests/support/Commands.h"
#include "tests/support/TempFolder.h"
#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/RandomDocument.h"
#include "vizivodu/document/CVDData_Helpers.h"

#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vizivodu {
namespace {

constexpr uint32_t kSeeds = 12;

std::string SaveRTFBytes(TCustomVDData &doc) {
    rtl::TMemoryStream stream;
    TVDRTFSavingData saving;
    EXPECT_TRUE(doc.SaveRTFToStream(stream, false, 0, gfx::clWindow, nullptr, saving, vdrtfdtMain,
                                    true, false, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr));
    return std::string(reinterpret_cast<const char *>(stream.GetMemory()),
                       size_t(stream.GetSize()));
}

std::vector<std::string> Words(const std::string &text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    return words;
}

// The document's text: runs of a line joined, lines, paragraphs and tabs apart.
std::string PlainText(TCustomVDData &doc) {
    std::string text;
    for (int32_t i = 0; i < doc.ItemCount(); ++i) {
        TCustomVDItemInfo *item = doc.GetItem(i);
        if (!item->GetSameAsPrev() || item->GetBR()) {
            text += " ";
        }
        text += item->IsText() ? rtl::Utf16ToUtf8(doc.GetItemText(i)) : " ";
    }
    return text;
}

class RTFOutsideReaders : public testing::Test {
protected:
    RTFOutsideReaders() : Style(nullptr) { test::AddRandomDocumentStyles(Style); }

    // Writes the documents of every seed; text-only ones are kept for the word comparison.
    void WriteCorpus(bool everyKind) {
        for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
            test::TTestDocument doc(&Style);
            doc.SetRTFOptions({vdrtfDuplicateUnicode});
            test::TRandomDocumentKinds kinds;
            if (!everyKind) {
                kinds.Breaks = kinds.Pictures = kinds.Lists = kinds.Notes = kinds.Tables = false;
            }
            test::FillRandomDocument(doc, seed, kinds);
            const std::string name = "doc" + std::to_string(seed);
            wbtest::WriteFileBytes(Folder / (name + ".rtf"), SaveRTFBytes(doc));
            Expected.push_back(Words(PlainText(doc)));
        }
    }

    TVDStyle Style;
    wbtest::TTempFolder Folder;
    std::vector<std::vector<std::string>> Expected;
};

TEST_F(RTFOutsideReaders, LibreOfficeReadsTheSameWords) {
    if (!wbtest::HaveTool("soffice")) {
        GTEST_SKIP() << "soffice is missing";
    }
    WriteCorpus(false);
    const std::string dir = Folder.Path().string();
    wbtest::RunCommand("cd '" + dir + "' && soffice -env:UserInstallation=file://" + dir +
                       "/profile --headless --convert-to 'txt:Text (encoded):UTF8' --outdir '" +
                       dir + "/out' doc*.rtf >/dev/null 2>&1");
    for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
        const std::string text =
            wbtest::ReadFileBytes(Folder / ("out/doc" + std::to_string(seed) + ".txt"));
        const std::string bom = "\xEF\xBB\xBF";
        EXPECT_EQ(Words(text.rfind(bom, 0) == 0 ? text.substr(3) : text), Expected[seed - 1])
            << seed;
    }
}

TEST_F(RTFOutsideReaders, LibreOfficeOpensEveryItemKind) {
    if (!wbtest::HaveTool("soffice")) {
        GTEST_SKIP() << "soffice is missing";
    }
    WriteCorpus(true);
    const std::string dir = Folder.Path().string();
    wbtest::RunCommand("cd '" + dir + "' && soffice -env:UserInstallation=file://" + dir +
                       "/profile --headless --convert-to odt --outdir '" + dir +
                       "/out' doc*.rtf >/dev/null 2>&1");
    for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
        EXPECT_TRUE(std::filesystem::exists(Folder / ("out/doc" + std::to_string(seed) + ".odt")))
            << seed;
    }
}

TEST_F(RTFOutsideReaders, PandocReadsTheSameWords) {
    if (!wbtest::HaveTool("pandoc")) {
        GTEST_SKIP() << "pandoc is missing";
    }
    WriteCorpus(false);
    for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
        const std::string file = (Folder / ("doc" + std::to_string(seed) + ".rtf")).string();
        const std::string text =
            wbtest::RunCommand("pandoc -f rtf -t plain --wrap=none '" + file + "'");
        EXPECT_EQ(Words(text), Expected[seed - 1]) << seed;
    }
}

} // namespace
} // namespace vizivodu
