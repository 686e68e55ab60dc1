// The print and printer set-up dialogs through the dialog handler: filled from the printer,
// applied to it only when confirmed.
#include "platform/gfx/Printers.h"
#include "platform/ui/DialogHandler.h"
#include "platform/ui/ModalResult.h"
#include "platform/ui/PrintDialogs.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <vector>

using namespace ui;

namespace {

// The process's printer with one made-up queue ("Office", index 0) and the PDF printer (1).
struct PrinterFixture : ::testing::Test {
    gfx::TPrinter &printer = gfx::Printer();
    void SetUp() override {
        printer.SetSystemPrintersForTesting({u"Office"});
        printer.SetPrinterIndex(0);
        printer.SetCopies(1);
        printer.SetCollate(false);
        printer.SetFileName(u"");
        printer.SetPaperSize(gfx::DMPAPER_A4);
        printer.SetOrientation(gfx::poPortrait);
    }
    void TearDown() override { printer.SetSystemPrintersForTesting({}); }
};

} // namespace

TEST_F(PrinterFixture, PrintDialogOpensWithThePrintersChoicesAndAppliesTheUsers) {
    int32_t seenIndex = -2, seenCopies = -2;
    TDialogHandler handler;
    handler.PrintDialog = [&](TPrintDialog &d) {
        seenIndex = d.GetPrinterIndex();
        seenCopies = d.GetCopies();
        d.SetPrinterIndex(1); // the PDF printer
        d.SetCopies(3);
        d.SetCollate(true);
        d.SetFileName(u"/tmp/wb-no-such-folder/report.pdf");
        return true;
    };
    TDialogHandlerScope scope(handler);
    TPrintDialog dialog(nullptr);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(seenIndex, 0);
    EXPECT_EQ(seenCopies, 1);
    EXPECT_TRUE(printer.IsPdfPrinter());
    EXPECT_EQ(printer.GetCopies(), 3);
    EXPECT_TRUE(printer.GetCollate());
    EXPECT_EQ(printer.GetFileName(), u"/tmp/wb-no-such-folder/report.pdf");
}

TEST_F(PrinterFixture, CancellingChangesNothing) {
    TDialogHandler handler;
    handler.PrintDialog = [](TPrintDialog &d) {
        d.SetPrinterIndex(1);
        d.SetCopies(5);
        return false;
    };
    handler.PrinterSetupDialog = [](TPrinterSetupDialog &d) {
        d.SetOrientation(gfx::poLandscape);
        return false;
    };
    TDialogHandlerScope scope(handler);
    TPrintDialog print(nullptr);
    TPrinterSetupDialog setup(nullptr);
    EXPECT_FALSE(print.Execute());
    EXPECT_FALSE(setup.Execute());
    EXPECT_EQ(printer.GetPrinterIndex(), 0);
    EXPECT_EQ(printer.GetCopies(), 1);
    EXPECT_EQ(printer.GetOrientation(), gfx::poPortrait);
}

TEST_F(PrinterFixture, AQueueGetsTheFileOnlyWhenPrintingToAFile) {
    printer.SetFileName(u"/tmp/old.pdf");
    bool toFile = false;
    TDialogHandler handler;
    handler.PrintDialog = [&](TPrintDialog &d) {
        d.SetPrintToFile(toFile);
        d.SetFileName(u"/tmp/wb-no-such-folder/queue.pdf");
        return true;
    };
    TDialogHandlerScope scope(handler);
    TPrintDialog dialog(nullptr);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(printer.GetFileName(), u"");
    toFile = true;
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(printer.GetFileName(), u"/tmp/wb-no-such-folder/queue.pdf");
}

// The PDF printer never writes to a file the dialog did not show, nor replaces one unasked.
TEST_F(PrinterFixture, TheFileFieldShowsTheJobsFileAndReplacingAFileAsksFirst) {
    printer.SetTitle(u"wb job title");
    const wbtest::TTempFolder folder;
    const std::filesystem::path existing = folder / "old.pdf";
    wbtest::WriteFileBytes(existing, "old");
    rtl::UnicodeString offered, chosen = existing.u16string();
    std::vector<rtl::UnicodeString> asked;
    int32_t answer = IDNO;
    TDialogHandler handler;
    handler.PrintDialog = [&](TPrintDialog &d) {
        offered = d.GetFileName();
        d.SetPrinterIndex(1);
        d.SetFileName(chosen);
        return true;
    };
    handler.MessageBox = [&](const rtl::UnicodeString &text, const rtl::UnicodeString &,
                             uint32_t flags) {
        asked.push_back(text);
        EXPECT_EQ(flags, uint32_t(MB_YESNO | MB_ICONWARNING));
        return answer;
    };
    TDialogHandlerScope scope(handler);
    TPrintDialog dialog(nullptr);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(offered, gfx::DefaultPrintFileName(u"wb job title"));
    EXPECT_EQ(std::filesystem::path(std::u16string(offered)).filename(), "wb job title.pdf");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], u"Файл \"" + chosen + rtl::U("\" уже существует.\rЗаменить его?"));
    EXPECT_EQ(printer.GetPrinterIndex(), 0); // "No" applied nothing
    answer = IDYES;
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(printer.GetFileName(), chosen);
    chosen = (folder / "new.pdf").u16string();
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(asked.size(), 2u); // a new file asks nothing
}

TEST_F(PrinterFixture, PageRangesStayWithinTheDocument) {
    TDialogHandler handler;
    handler.PrintDialog = [](TPrintDialog &d) {
        d.SetPrintRange(prPageNums);
        d.SetFromPage(0);
        d.SetToPage(99);
        d.SetCopies(0);
        return true;
    };
    TDialogHandlerScope scope(handler);
    TPrintDialog dialog(nullptr);
    dialog.SetMinPage(1);
    dialog.SetMaxPage(4);
    dialog.SetOption(poPageNums, true);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.GetFromPage(), 1);
    EXPECT_EQ(dialog.GetToPage(), 4);
    EXPECT_EQ(dialog.GetCopies(), 1);
}

TEST_F(PrinterFixture, SetupDialogChoosesPrinterPaperAndOrientation) {
    TDialogHandler handler;
    handler.PrinterSetupDialog = [](TPrinterSetupDialog &d) {
        EXPECT_EQ(d.GetPaperSize(), gfx::DMPAPER_A4);
        d.SetPrinterIndex(1);
        d.SetPaperSize(gfx::DMPAPER_A5);
        d.SetOrientation(gfx::poLandscape);
        return true;
    };
    TDialogHandlerScope scope(handler);
    TPrinterSetupDialog dialog(nullptr);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(printer.IsPdfPrinter());
    // A5 across at 600 dpi: 210 x 148 mm.
    EXPECT_EQ(printer.GetPageWidth(), 4960);
    EXPECT_EQ(printer.GetPageHeight(), 3496);
}

// Qt underlines a label's mnemonic only when the label has a buddy; without one the user reads
// "Фа&йл:" with its '&'. Every such label of both dialogs names the field it stands for.
TEST_F(PrinterFixture, EveryLabelWithAnAccessKeyLeadsToItsField) {
    TPrintDialog print(nullptr);
    TPrinterSetupDialog setup(nullptr);
    for (const std::function<bool()> &execute :
         {std::function<bool()>([&] { return print.Execute(); }),
          std::function<bool()>([&] { return setup.Execute(); })}) {
        QStringList orphans, seen;
        QTimer::singleShot(0, [&] {
            QWidget *open = QApplication::activeModalWidget();
            if (!open) {
                return;
            }
            for (const QLabel *label : open->findChildren<QLabel *>()) {
                seen << label->text();
                if (label->text().contains(u'&') && !label->buddy()) {
                    orphans << label->text();
                }
            }
            open->close();
        });
        EXPECT_FALSE(execute());
        EXPECT_FALSE(seen.isEmpty());
        EXPECT_TRUE(orphans.isEmpty()) << orphans.join(u'|').toStdString();
    }
}
