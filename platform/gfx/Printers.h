// The printer object of the class library: the system's printers (CUPS queues) and the built-in
// PDF printer, print jobs with title, copies, collation, paper and orientation, and the canvas
// of the page being printed.
//
// Contract:
// - Printers lists the CUPS queues, then the PDF printer, which is always there: with no CUPS
//   queue it is the only printer and the default, so pagination never finds "no printer".
//   The PDF printer has an A4 sheet at 600 dpi without unprintable border (4960 x 7015 pixels,
//   floor of the millimetres) and writes each job to the file FileName names (chosen in the
//   print dialog; without one, "<Title>.pdf" in the user's documents folder, never replacing a
//   file: " (2)", " (3)" ... are tried).
// - BeginDoc opens a job; the canvas then draws on the current sheet in printer pixels, with
//   (0, 0) at the top-left of the printable area; NewPage ends a sheet; EndDoc sends the job.
//   Abort discards it: nothing is sent and no file is left (a PDF file is written through
//   rtl::TSafeSaveStream and only renamed over the target at EndDoc, when the PDF engine and
//   every write succeeded). A job still open when the printer object goes is aborted. EndDoc of
//   a job whose device failed raises EPrinter and discards the job; a PDF file that could not
//   be written or opened keeps the old file of that name, and EPrinter carries the save's
//   message naming the file and the reason in Russian.
// - Outside a job the canvas measures and reports the current printer's capabilities but
//   draws nothing.
// - Errors raise EPrinter with the class library's messages ("Printing in progress",
//   "Printer is not currently printing", "Printer index out of range").
#pragma once

#include "platform/gfx/Graphics.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/System.h"

#include <memory>
#include <vector>

namespace gfx {

class EPrinter : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

enum TPrinterOrientation : uint8_t { poPortrait, poLandscape };

// Paper sizes the printers take, with the Windows DMPAPER_ numbers.
enum TPaperSize : int16_t {
    DMPAPER_LETTER = 1,
    DMPAPER_LEGAL = 5,
    DMPAPER_A3 = 8,
    DMPAPER_A4 = 9,
    DMPAPER_A5 = 11,
};

// The name of the built-in PDF printer.
extern const char16_t *const PdfPrinterName;

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter &) = delete;
    TPrinter &operator=(const TPrinter &) = delete;

    // The printers by name; the index selects one (-1: the default printer).
    const std::vector<rtl::UnicodeString> &GetPrinters() const;
    int32_t GetPrinterIndex() const;
    void SetPrinterIndex(int32_t index);
    rtl::UnicodeString GetPrinterName() const;
    bool IsPdfPrinter() const;
    // Asks the system for its printers again (the selected one stays when it is still there).
    void Refresh();

    const rtl::UnicodeString &GetTitle() const;
    void SetTitle(const rtl::UnicodeString &title); // the job's name
    int32_t GetCopies() const;
    void SetCopies(int32_t copies); // below 1 is taken as 1
    bool GetCollate() const;
    void SetCollate(bool collate);
    TPrinterOrientation GetOrientation() const;
    void SetOrientation(TPrinterOrientation orientation);
    TPaperSize GetPaperSize() const;
    void SetPaperSize(TPaperSize paper);
    // The file a job of the PDF printer (or any printer printing to a file) goes to.
    const rtl::UnicodeString &GetFileName() const;
    void SetFileName(const rtl::UnicodeString &fileName);

    // The printable area in printer pixels, and the capabilities of the current printer.
    int32_t GetPageWidth() const;
    int32_t GetPageHeight() const;
    TDeviceCaps GetCaps() const;
    int32_t GetDeviceCaps(int32_t index) const;

    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();
    bool GetPrinting() const;
    bool GetAborted() const;
    int32_t GetPageNumber() const; // from 1 while printing
    // The file the last finished job of the PDF printer wrote.
    const rtl::UnicodeString &GetLastFileName() const;

    TCanvas &GetCanvas();
    // A new canvas with the current printer's capabilities that draws nothing, for measuring
    // and laying out pages; cheap to make.
    std::unique_ptr<TCanvas> CreateInformationCanvas() const;

    // Printers the system is made to report, for tests without a CUPS server; empty lists
    // the real queues again.
    void SetSystemPrintersForTesting(const std::vector<rtl::UnicodeString> &names);

    struct Impl;

private:
    std::unique_ptr<Impl> FImpl;
};

// The process's printer object.
TPrinter &Printer();

// The file a print dialog offers for a job titled title: "<title>.pdf" in the user's
// documents folder (characters a file name cannot hold replaced by "_").
rtl::UnicodeString DefaultPrintFileName(const rtl::UnicodeString &title);

// A canvas with the built-in PDF printer's capabilities (600 dpi, the sheet without border)
// that draws nothing: the page to lay documents out on when no printer can be used.
std::unique_ptr<TCanvas>
CreatePdfPrinterInformationCanvas(TPaperSize paper = DMPAPER_A4,
                                  TPrinterOrientation orientation = poPortrait);

} // namespace gfx
