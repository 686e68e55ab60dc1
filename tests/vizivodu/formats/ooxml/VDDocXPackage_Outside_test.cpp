// DOCX we write, read by other programs: every package of the random documents and of a fixed
// sample passes unzip's and Python's archive tests, every XML part is well-formed for xmllint,
// python-docx reads the document's words and table shapes, and LibreOffice converts it to the
// same words. Skipped where a tool is missing; LibreOffice converts every file in one run.
#include "vizivodu/formats/ooxml/VDDocXPackage.h"

#include "vizivodu/tables/VDTable.h"
#include "vizivodu/tables/VDTable_Cells.h"

#include "tests/support/Commands.h"
#include "tests/support/TempFolder.h"
#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/RandomDocument.h"
#include "tests/vizivodu/formats/ooxml/DocXTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vizivodu {
namespace {

constexpr uint32_t kSeeds = 12;

// What python-docx reads: the body's words in order (paragraphs, and tables cell by cell with
// merged cells once), then the tables' shapes.
constexpr const char *kScript = R"(import sys

import docx
import docx.table
import docx.text.paragraph
from docx.oxml.ns import qn


def walk(element, words, shapes):
    for child in element.iterchildren():
        if child.tag == qn("w:p"):
            words.extend(docx.text.paragraph.Paragraph(child, None).text.split())
        elif child.tag == qn("w:tbl"):
            table = docx.table.Table(child, None)
            shapes.append("%dx%d" % (len(table.rows), len(table.columns)))
            for row in child.iterchildren(qn("w:tr")):
                for cell in row.iterchildren(qn("w:tc")):
                    walk(cell, words, shapes)


def main():
    document = docx.Document(sys.argv[1])
    words, shapes = [], []
    walk(document.element.body, words, shapes)
    print(" ".join(words))
    print(" ".join(shapes))


main()
)";

std::string Join(const std::vector<std::string> &words) {
    std::string s;
    for (const std::string &w : words) {
        s += (s.empty() ? "" : " ") + w;
    }
    return s;
}

// The shapes of the tables in document order, nested ones after the cells that hold them.
void CollectShapes(TCustomVDData &doc, std::vector<std::string> &shapes) {
    for (int32_t i = 0; i < doc.ItemCount(); ++i) {
        auto *table = dynamic_cast<TVDTableItemInfo *>(doc.GetItem(i));
        if (!table) {
            continue;
        }
        shapes.push_back(std::to_string(table->GetRowCount()) + "x" +
                         std::to_string(table->GetColCount()));
        for (int32_t r = 0; r < table->GetRowCount(); ++r) {
            for (int32_t c = 0; c < table->GetColCount(); ++c) {
                if (TVDTableCellData *cell = table->GetCells(r, c)) {
                    CollectShapes(*cell, shapes);
                }
            }
        }
    }
}

// A fixed sample: every item kind the random documents make, under seed 7.
struct TExpected {
    std::string Name;
    std::vector<std::string> Words;
    std::vector<std::string> Shapes;
};

class DocXOutsideReaders : public testing::Test {
protected:
    DocXOutsideReaders() : Style(nullptr) { test::AddRandomDocumentStyles(Style); }

    void WriteCorpus(const test::TRandomDocumentKinds &kinds) {
        for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
            test::TTestDocument doc(&Style);
            test::FillRandomDocument(doc, seed, kinds);
            Write(doc, "doc" + std::to_string(seed));
        }
        test::TTestDocument sample(&Style);
        sample.AddNL(u"Протокол испытаний", 1, 0);
        sample.AddNL(u" и  <результаты> & итог ", 0, 0);
        test::FillRandomDocument(sample, 7, kinds);
        Write(sample, "sample");
    }

    void Write(TCustomVDData &doc, const std::string &name) {
        bool ok = false;
        wbtest::WriteFileBytes(Folder / (name + ".docx"), test::SaveDocXBytes(doc, &ok));
        EXPECT_TRUE(ok) << name;
        TExpected expected{name, test::DocumentWords(doc), {}};
        CollectShapes(doc, expected.Shapes);
        Expected.push_back(expected);
    }

    std::string Dir() const { return Folder.Path().string(); }

    TVDStyle Style;
    wbtest::TTempFolder Folder;
    std::vector<TExpected> Expected;
};

TEST_F(DocXOutsideReaders, ArchivesPassUnzipAndPythonTests) {
    if (!wbtest::HaveTool("unzip") || !wbtest::HaveTool("python3")) {
        GTEST_SKIP() << "unzip or python3 is missing";
    }
    WriteCorpus({});
    for (const TExpected &e : Expected) {
        const std::string file = Dir() + "/" + e.Name + ".docx";
        EXPECT_NE(wbtest::RunCommand("unzip -tq '" + file + "' 2>&1").find("No errors detected"),
                  std::string::npos)
            << e.Name;
        EXPECT_EQ(wbtest::RunCommand("python3 -c \"import sys, zipfile; "
                                     "print(zipfile.ZipFile(sys.argv[1]).testzip())\" '" +
                                     file + "' 2>&1"),
                  "None\n")
            << e.Name;
    }
}

TEST_F(DocXOutsideReaders, EveryXMLPartIsWellFormed) {
    if (!wbtest::HaveTool("xmllint")) {
        GTEST_SKIP() << "xmllint is missing";
    }
    WriteCorpus({});
    for (const TExpected &e : Expected) {
        int32_t parts = 0;
        for (const auto &[name, text] :
             test::UnpackEntries(wbtest::ReadFileBytes(Folder / (e.Name + ".docx")))) {
            if (name.find("media/") != std::string::npos) {
                continue;
            }
            const std::filesystem::path part = Folder / "part.xml";
            wbtest::WriteFileBytes(part, text);
            EXPECT_EQ(wbtest::RunCommand("xmllint --noout '" + part.string() + "' 2>&1; echo $?"),
                      "0\n")
                << e.Name << " " << name;
            ++parts;
        }
        EXPECT_GE(parts, 7) << e.Name;
    }
}

TEST_F(DocXOutsideReaders, PythonDocxReadsTheWordsAndTableShapes) {
    if (wbtest::RunCommand("/usr/bin/python3 -c 'import docx; print(1)' 2>/dev/null") != "1\n") {
        GTEST_SKIP() << "python3-docx is missing";
    }
    WriteCorpus({});
    wbtest::WriteFileBytes(Folder / "words.py", kScript);
    for (const TExpected &e : Expected) {
        const std::string out = wbtest::RunCommand("/usr/bin/python3 '" + Dir() + "/words.py' '" +
                                                   Dir() + "/" + e.Name + ".docx' 2>&1");
        EXPECT_EQ(out, Join(e.Words) + "\n" + Join(e.Shapes) + "\n") << e.Name;
    }
}

TEST_F(DocXOutsideReaders, LibreOfficeReadsTheSameWords) {
    if (!wbtest::HaveTool("soffice")) {
        GTEST_SKIP() << "soffice is missing";
    }
    // List numbers and note marks are text in LibreOffice's plain text, not in ours.
    test::TRandomDocumentKinds kinds;
    kinds.Lists = kinds.Notes = false;
    WriteCorpus(kinds);
    const std::string dir = Dir();
    wbtest::RunCommand("cd '" + dir + "' && soffice -env:UserInstallation=file://" + dir +
                       "/profile --headless --convert-to 'txt:Text (encoded):UTF8' --outdir '" +
                       dir + "/out' *.docx >/dev/null 2>&1");
    for (const TExpected &e : Expected) {
        std::string text = wbtest::ReadFileBytes(Folder / ("out/" + e.Name + ".txt"));
        if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
            text = text.substr(3);
        }
        EXPECT_EQ(Join(test::SplitWords(text)), Join(e.Words)) << e.Name;
    }
}

} // namespace
} // namespace vizivodu
