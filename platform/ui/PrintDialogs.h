// The class library's print and printer set-up dialogs, in Russian, on the process's printer
// object (gfx::Printer()).
//
// Execute shows the dialog (through the dialog handler when one is set), filled from the
// printer and from the dialog's own properties, and returns whether it was confirmed. Only on
// confirmation are the choices applied to the printer: the printer, copies and collation
// (print dialog); the printer, paper and orientation (set-up dialog). Printing to a file (always
// for the PDF printer) gives the printer the dialog's FileName; printing to a queue clears it.
// The file field shows the file the job will write: the printer's, else DefaultPrintFileName
// of the printer's title. Confirming with an existing file asks whether to replace it; "No"
// returns to the dialog (with a dialog handler: Execute returns false).
#pragma once

#include "platform/gfx/Printers.h"
#include "platform/rtl/System.h"
#include "platform/ui/Component.h"

#include <cstdint>

namespace ui {

class TWinControl;

enum TPrintRange : uint8_t { prAllPages, prSelection, prPageNums };
enum TPrintDialogOption : uint8_t { poPrintToFile, poPageNums, poSelection, poDisablePrintToFile };

class TPrintDialog : public TComponent {
public:
    explicit TPrintDialog(TComponent *owner) : TComponent(owner) {}

    bool Execute();
    bool Execute(TWinControl *parentWnd);
    TWinControl *GetParentWnd() const { return FParentWnd; }

    // The printer chosen (an index of gfx::Printer()'s list); filled from the printer.
    int32_t GetPrinterIndex() const { return FPrinterIndex; }
    void SetPrinterIndex(int32_t index) { FPrinterIndex = index; }
    int32_t GetCopies() const { return FCopies; }
    void SetCopies(int32_t copies) { FCopies = copies; }
    bool GetCollate() const { return FCollate; }
    void SetCollate(bool collate) { FCollate = collate; }
    TPrintRange GetPrintRange() const { return FPrintRange; }
    void SetPrintRange(TPrintRange range) { FPrintRange = range; }
    int32_t GetFromPage() const { return FFromPage; }
    void SetFromPage(int32_t page) { FFromPage = page; }
    int32_t GetToPage() const { return FToPage; }
    void SetToPage(int32_t page) { FToPage = page; }
    int32_t GetMinPage() const { return FMinPage; }
    void SetMinPage(int32_t page) { FMinPage = page; }
    int32_t GetMaxPage() const { return FMaxPage; }
    void SetMaxPage(int32_t page) { FMaxPage = page; }
    bool GetPrintToFile() const { return FPrintToFile; }
    void SetPrintToFile(bool toFile) { FPrintToFile = toFile; }
    const rtl::UnicodeString &GetFileName() const { return FFileName; }
    void SetFileName(const rtl::UnicodeString &fileName) { FFileName = fileName; }
    bool GetOption(TPrintDialogOption o) const { return (FOptions >> o) & 1u; }
    void SetOption(TPrintDialogOption o, bool on);

private:
    bool ExecuteNative();
    bool ToFileChosen() const;
    bool FileMayBeWritten();
    TWinControl *FParentWnd = nullptr;
    int32_t FPrinterIndex = -1;
    int32_t FCopies = 0; // 0: the printer's
    bool FCollate = false;
    TPrintRange FPrintRange = prAllPages;
    int32_t FFromPage = 0, FToPage = 0, FMinPage = 0, FMaxPage = 0;
    bool FPrintToFile = false;
    rtl::UnicodeString FFileName;
    uint8_t FOptions = 0;
};

class TPrinterSetupDialog : public TComponent {
public:
    explicit TPrinterSetupDialog(TComponent *owner) : TComponent(owner) {}

    bool Execute();
    bool Execute(TWinControl *parentWnd);
    TWinControl *GetParentWnd() const { return FParentWnd; }

    // The choices, filled from the printer when the dialog opens.
    int32_t GetPrinterIndex() const { return FPrinterIndex; }
    void SetPrinterIndex(int32_t index) { FPrinterIndex = index; }
    gfx::TPaperSize GetPaperSize() const { return FPaperSize; }
    void SetPaperSize(gfx::TPaperSize paper) { FPaperSize = paper; }
    gfx::TPrinterOrientation GetOrientation() const { return FOrientation; }
    void SetOrientation(gfx::TPrinterOrientation orientation) { FOrientation = orientation; }

private:
    bool ExecuteNative();
    TWinControl *FParentWnd = nullptr;
    int32_t FPrinterIndex = -1;
    gfx::TPaperSize FPaperSize = gfx::DMPAPER_A4;
    gfx::TPrinterOrientation FOrientation = gfx::poPortrait;
};

} // namespace ui
