// The report written as DOCX by its viewer: python-docx reads its tables and words, and
// LibreOffice renders it to PDF with the report's title, the statistics table's headings and
// rows, the legend and the commission. Skipped where the tools are missing.
#include "app/UReportBuilder.h"

#include "app/UResources.h"
#include "app/UVDReportForm.h"
#include "tests/app/ReportTestSupport.h"
#include "tests/app_core/WorkbenchFixture.h"
#include "tests/support/Commands.h"
#include "tests/vizivodu/formats/ooxml/DocXTestSupport.h"
#include "vizivodu/VDStartup.h"
#include "vizivodu/layout/viewer/VDVDData.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace workbench::testing {
namespace {

class ReportDocXTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { vizivodu::InitializeLibrary(); }

    void SetUp() override {
        Data.Logo.LoadFromMemory(LogoPng, LogoPngSize);
        UseFixedMetrics(Form);
        Data.DiaStat[1] = {60, 58, 57, 1, 3, 39};
        Data.DiaStat[2] = {10, 9, 8, 1, 2, 89};
        BuildReport(Form, Data.Input());
    }

    std::string File() const { return (Folder.Path() / "report.docx").string(); }
    std::string Save() {
        EXPECT_TRUE(Form.ZemVDReport->SaveDocX(rtl::Utf8ToUtf16(File()), false));
        return File();
    }

    TDecimalSeparatorScope Settings{u','};
    TReportInputData Data;
    TVDReportForm Form{nullptr};
    TTempFolder Folder;
};

TEST_F(ReportDocXTest, PackageHoldsTheReportsWordsAndItsPicture) {
    const std::string bytes = wbtest::ReadFileBytes(Save());
    const auto entries = vizivodu::test::UnpackEntries(bytes);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back().first, "[Content_Types].xml");
    EXPECT_FALSE(vizivodu::test::EntryText(entries, "word/media/img1.png").empty());
    const std::string document = vizivodu::test::EntryText(entries, "word/document.xml");
    for (const char *text : {"Всего в базе 100 файлов.", "Утверждаю:", "Члены комиссии:"}) {
        EXPECT_NE(document.find(text), std::string::npos) << text;
    }
}

TEST_F(ReportDocXTest, LibreOfficeRendersTheTablesToPDF) {
    if (!wbtest::HaveTool("soffice") || !wbtest::HaveTool("pdftotext")) {
        GTEST_SKIP() << "soffice or pdftotext is missing";
    }
    const std::string dir = Folder.Path().string();
    Save();
    wbtest::RunCommand("cd '" + dir + "' && soffice -env:UserInstallation=file://" + dir +
                       "/profile --headless --convert-to pdf --outdir '" + dir +
                       "/out' report.docx >/dev/null 2>&1");
    const std::string text =
        wbtest::RunCommand("pdftotext -layout '" + dir + "/out/report.pdf' - 2>/dev/null");
    ASSERT_FALSE(text.empty());
    for (const char *expected :
         {"Отчет испытания", "программы Кардиотест 2.1", "Заключение", "Синусовый ритм",
          "Тахикардия", "Экстрасистолия", "Итого по базе", "Всего в базе 100 файлов.",
          "Специфичность", "Утверждаю:", "Члены комиссии:", "Петров П.П."}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
}

} // namespace
} // namespace workbench::testing
