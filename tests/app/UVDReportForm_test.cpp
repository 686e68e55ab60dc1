// The report window: its components and texts, the page measured in pixels, the page picture,
// and saving the picture safely beside the chosen name.
#include "app/UVDReportForm.h"

#include "tests/app/ReportTestSupport.h"
#include "tests/app_core/WorkbenchFixture.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/DialogHandler.h"
#include "tests/support/SaveFaults.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace workbench::testing {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadBytes(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> FolderEntries(const fs::path &folder) {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ReportFormTest : public ::testing::Test {
protected:
    void SetUp() override { UseFixedMetrics(Form); }

    // Runs the save action with the dialog confirmed on name.
    void SaveAs(const fs::path &name) {
        ui::TDialogHandlerScope scope{{nullptr, nullptr, [&](ui::TFileDialog &dialog) {
                                           dialog.SetFileName(rtl::Utf8ToUtf16(name.string()));
                                           return true;
                                       }}};
        Form.FileSaveAs1->Execute();
    }

    TTempFolder Folder;
    TVDReportForm Form{nullptr};
};

TEST_F(ReportFormTest, WindowHasItsComponentsActionsAndTexts) {
    EXPECT_EQ(Form.GetCaption(), u"Просмотр с отчета");
    EXPECT_EQ(Form.GetClientWidth(), 895);
    EXPECT_EQ(Form.GetClientHeight(), 608);
    EXPECT_EQ(Form.GetPosition(), ui::poScreenCenter);
    EXPECT_EQ(Form.GetWindowState(), ui::wsMaximized);
    EXPECT_EQ(Form.GetFont().GetName(), u"Tahoma");
    EXPECT_EQ(Form.GetFont().GetSize(), 8);

    EXPECT_EQ(Form.TopPanel->GetAlign(), ui::alTop);
    EXPECT_EQ(Form.TopPanel->GetHeight(), 33);
    struct Case {
        ui::TBitBtn *button;
        ui::TContainedAction *action;
        const char16_t *caption;
        int32_t left;
    };
    const Case buttons[] = {{Form.BtnSaveRep, Form.FileSaveAs1, u"Сохранить...", 1},
                            {Form.BtnPrintSetup, Form.FilePrintSetup1, u"Принтер...", 101},
                            {Form.BtnPrintRep, Form.FilePrintReport, u"Печать...", 201}};
    for (const Case &c : buttons) {
        SCOPED_TRACE(rtl::Utf16ToUtf8(c.caption));
        EXPECT_EQ(c.button->GetAlign(), ui::alLeft);
        EXPECT_EQ(c.button->GetWidth(), 100);
        EXPECT_EQ(c.button->GetLeft(), c.left);
        EXPECT_EQ(c.button->GetAction(), c.action);
        EXPECT_EQ(c.button->GetCaption(), c.caption);
        EXPECT_EQ(c.action->GetCategory(), u"File");
        EXPECT_EQ(c.action->GetActionList(), Form.ActionManager1);
    }
    EXPECT_EQ(Form.ActionManager1->GetStyle(), u"Platform Default");
    ui::TSaveDialog &dialog = Form.FileSaveAs1->GetDialog();
    EXPECT_EQ(dialog.GetDefaultExt(), u"wmf");
    EXPECT_EQ(dialog.GetFilter(), u"wmf files|*.wmf");
    EXPECT_EQ(dialog.GetTitle(), u"Сохранение отчета в файл");
    EXPECT_TRUE(dialog.GetOption(ui::ofOverwritePrompt));

    EXPECT_FALSE(Form.ZemVDReport->GetVisible());
    EXPECT_EQ(Form.ZemVDReport->GetAlign(), ui::alTop);
    EXPECT_EQ(Form.ZemVDReport->GetHeight(), 16);
    EXPECT_EQ(Form.ZemVDReport->GetStyle(), Form.VDStyle1);
    EXPECT_FALSE(Form.Image1->GetVisible());
    EXPECT_EQ(Form.Image1->GetAlign(), ui::alRight);
    EXPECT_EQ(Form.Image1->GetWidth(), 31);
}

TEST(ReportPage, MillimetresToPixelsRoundToTheNearest) {
    const std::array<std::array<int32_t, 3>, 6> cases = {
        {{210, 96, 794}, {297, 96, 1123}, {10, 96, 38}, {10, 600, 236}, {0, 96, 0}, {1, 72, 3}}};
    for (const auto &[mm, dpi, pixels] : cases) {
        EXPECT_EQ(MMToPixels(mm, dpi), pixels) << mm << " mm at " << dpi;
    }
}

TEST_F(ReportFormTest, ShowingMeasuresAnA4SheetAndDrawsAFramedPagePicture) {
    EXPECT_FALSE(Form.IsLoaded());
    EXPECT_EQ(Form.GetPagePicture(), nullptr);
    Form.FormShow(&Form);
    EXPECT_TRUE(Form.IsLoaded());
    const TPageInfo &page = Form.GetPageInfo();
    EXPECT_EQ(page.PageSize, (rtl::TSize{794, 1123}));
    EXPECT_EQ(page.Doc, (rtl::TRect{38, 38, 756, 1085}));
    EXPECT_EQ(page.Header, (rtl::TRect{-1, -1, -1, -1}));
    EXPECT_EQ(page.Footer, (rtl::TRect{-1, -1, -1, -1}));
    const gfx::TMetafile *picture = Form.GetPagePicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->GetEnhanced());
    EXPECT_EQ(picture->GetWidth(), 794);
    EXPECT_EQ(picture->GetHeight(), 1123);
}

// The bytes of an enhanced metafile: the header record (type 1) with " EMF" at offset 40.
bool IsEnhancedMetafile(const std::vector<uint8_t> &bytes) {
    return bytes.size() > 44 && bytes[0] == 1 && bytes[1] == 0 &&
           std::string(bytes.begin() + 40, bytes.begin() + 44) == " EMF";
}

TEST_F(ReportFormTest, SavingWritesTheEnhancedMetafileUnderTheChosenNameAndLeavesNothingElse) {
    Form.FormShow(&Form);
    const fs::path target = Folder.Path() / "Отчет.wmf";
    SaveAs(target);
    EXPECT_TRUE(IsEnhancedMetafile(ReadBytes(target)));
    EXPECT_EQ(ReadBytes(target), Form.GetPagePicture()->EmfBytes());
    EXPECT_EQ(FolderEntries(Folder.Path()), (std::vector<std::string>{"Отчет.wmf"}));
}

TEST_F(ReportFormTest, SavingOverAnExistingFileReplacesItWhenTheDialogAllowedIt) {
    Form.FormShow(&Form);
    const fs::path target = Folder.Path() / "report.wmf";
    std::ofstream(target) << "old";
    std::ofstream(Folder.Path() / ".report.wmf.1.tmp") << "someone else's";
    SaveAs(target);
    EXPECT_TRUE(IsEnhancedMetafile(ReadBytes(target)));
    EXPECT_EQ(ReadBytes(Folder.Path() / ".report.wmf.1.tmp").size(), 14u);
    EXPECT_EQ(FolderEntries(Folder.Path()),
              (std::vector<std::string>{".report.wmf.1.tmp", "report.wmf"}));
}

// Mended: the picture was written under a derived name ("reportbmp") that could replace an
// unrelated file, and a failed rename left it there silently.
TEST_F(ReportFormTest, SavingFailureIsReportedAndLeavesNoTemporaryFile) {
    Form.FormShow(&Form);
    std::ofstream(Folder.Path() / "reportbmp") << "unrelated";
    // A folder under the chosen name: the rename fails.
    fs::create_directories(Folder.Path() / "report.wmf" / "inner");
    EXPECT_THROW(SaveAs(Folder.Path() / "report.wmf"), rtl::Exception);
    EXPECT_EQ(FolderEntries(Folder.Path()), (std::vector<std::string>{"report.wmf", "reportbmp"}));
    EXPECT_EQ(ReadBytes(Folder.Path() / "reportbmp").size(), 9u);
    // A folder that does not exist: nothing can be created.
    EXPECT_THROW(SaveAs(Folder.Path() / "missing" / "report.wmf"), rtl::EFCreateError);
}

TEST_F(ReportFormTest, SavingOnAFullDiskOrReadOnlyFolderKeepsTheOldPicture) {
    Form.FormShow(&Form);
    wbtest::ExpectSaveFailuresKeepTheOldFile(
        "report.wmf", "old picture",
        [&](const UnicodeString &name) { SaveAs(fs::path(rtl::Utf16ToUtf8(name))); });
}

TEST_F(ReportFormTest, ShowingAnEmptyDocumentRendersAnEmptyFramedSheet) {
    Form.FormShow(&Form);
    gfx::TBitmap sheet;
    sheet.SetSize(794, 1123);
    sheet.GetCanvas().GetBrush().SetColor(gfx::clRed);
    sheet.GetCanvas().FillRect({0, 0, 794, 1123});
    Form.GetPagePicture()->Play(sheet.GetCanvas(), {0, 0, 794, 1123});
    const std::array<std::array<int32_t, 3>, 5> pixels = {
        {{0, 0, 0}, {793, 1122, 0}, {397, 0, 0}, {1, 1, 0xFFFFFF}, {397, 561, 0xFFFFFF}}};
    for (const auto &[x, y, color] : pixels) {
        EXPECT_EQ(sheet.GetCanvas().GetPixel(x, y) & 0xFFFFFF, color) << x << ", " << y;
    }
}

} // namespace
} // namespace workbench::testing
