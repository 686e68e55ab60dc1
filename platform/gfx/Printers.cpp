// TPrinter: CUPS printers through Qt's print support, the built-in PDF printer through
// QPdfWriter, and jobs that are sent whole or not at all.
#include "platform/gfx/Printers.h"

#include "platform/gfx/PainterDevice_p.h"
#include "platform/gfx/QtBridge_p.h"
#include "platform/rtl/SafeSave.h"
#include "platform/rtl/SpecialFolders.h"

#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace gfx {

const char16_t *const PdfPrinterName = u"Печать в файл PDF";

namespace {

constexpr int32_t PdfDpi = 600;

QPageSize::PageSizeId PageSizeOf(TPaperSize paper) {
    switch (paper) {
    case DMPAPER_LETTER:
        return QPageSize::Letter;
    case DMPAPER_LEGAL:
        return QPageSize::Legal;
    case DMPAPER_A3:
        return QPageSize::A3;
    case DMPAPER_A5:
        return QPageSize::A5;
    default:
        return QPageSize::A4;
    }
}

// The PDF printer's sheet: whole pixels of the paper (floor of the millimetres), no border.
TDeviceCaps PdfCaps(TPaperSize paper, TPrinterOrientation orientation) {
    const QSizeF mm = QPageSize(PageSizeOf(paper)).size(QPageSize::Millimeter);
    int32_t w = int32_t(std::floor(mm.width() * PdfDpi / 25.4 + 1e-9));
    int32_t h = int32_t(std::floor(mm.height() * PdfDpi / 25.4 + 1e-9));
    if (orientation == poLandscape) {
        std::swap(w, h);
    }
    TDeviceCaps caps;
    caps.Technology = DT_RASPRINTER;
    caps.Vector = true;
    caps.LogPixelsX = caps.LogPixelsY = PdfDpi;
    caps.HorzRes = caps.PhysicalWidth = w;
    caps.VertRes = caps.PhysicalHeight = h;
    return caps;
}

void ConfigurePrinter(QPrinter &printer, const rtl::UnicodeString &name, TPaperSize paper,
                      TPrinterOrientation orientation) {
    printer.setPrinterName(qt::ToQString(name));
    printer.setFullPage(false);
    printer.setPageSize(QPageSize(PageSizeOf(paper)));
    printer.setPageOrientation(orientation == poLandscape ? QPageLayout::Landscape
                                                          : QPageLayout::Portrait);
}

TDeviceCaps PrinterCaps(QPrinter &printer) {
    TDeviceCaps caps;
    caps.Technology = DT_RASPRINTER;
    caps.Vector = true;
    const int dpi = printer.resolution();
    caps.LogPixelsX = caps.LogPixelsY = dpi;
    const QRect paper = printer.pageLayout().fullRectPixels(dpi);
    const QRect page = printer.pageLayout().paintRectPixels(dpi);
    caps.PhysicalWidth = paper.width();
    caps.PhysicalHeight = paper.height();
    caps.HorzRes = page.width();
    caps.VertRes = page.height();
    caps.PhysicalOffsetX = page.left() - paper.left();
    caps.PhysicalOffsetY = page.top() - paper.top();
    return caps;
}

// A job's device: a painter on the PDF writer or the printer; sent whole or discarded.
class TJobDevice : public TPainterDevice {
public:
    TJobDevice() { FRaster = false; }
    TDeviceCaps GetCaps() const override { return FCaps; }
    virtual bool NewPage() = 0;
    virtual bool Finish() = 0; // false: the job failed and was discarded
    virtual void Discard() = 0;
    // Why the job failed, in the user's words; empty when nothing more is known.
    virtual const rtl::UnicodeString &GetFailure() const {
        static const rtl::UnicodeString none;
        return none;
    }

protected:
    QPainter *ActivePainter() override { return FPainter.isActive() ? &FPainter : nullptr; }
    QPainter FPainter;
    TDeviceCaps FCaps;
};

// The PDF engine's output: every write goes to a safe-save stream. The engine does not check
// its writes, so the first failure is kept and reported when the job ends; the target keeps
// its old content until the whole file is on disk.
class TSafeSaveDevice final : public QIODevice {
public:
    explicit TSafeSaveDevice(const rtl::UnicodeString &fileName) : FStream(fileName) {
        open(QIODevice::WriteOnly);
    }
    rtl::TSafeSaveStream &Stream() { return FStream; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override {
        try {
            for (qint64 done = 0; done < size;) {
                const auto part = int32_t(std::min<qint64>(size - done, qint64(1) << 30));
                FStream.WriteBuffer(data + done, part);
                done += part;
            }
            return size;
        } catch (const rtl::Exception &) {
            return -1; // kept by the stream, raised at the end of the job
        }
    }

private:
    rtl::TSafeSaveStream FStream;
};

class TPdfPrinterDevice final : public TJobDevice {
public:
    TPdfPrinterDevice(const rtl::UnicodeString &fileName, const rtl::UnicodeString &title,
                      TPaperSize paper, TPrinterOrientation orientation)
        : FOutput(fileName), FWriter(&FOutput) {
        FCaps = PdfCaps(paper, orientation);
        FWriter.setResolution(PdfDpi);
        FWriter.setTitle(qt::ToQString(title));
        FWriter.setCreator(QStringLiteral("ECG workbench"));
        FWriter.setPageLayout(
            QPageLayout(QPageSize(PageSizeOf(paper)),
                        orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                        QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        FPainter.begin(&FWriter);
    }
    ~TPdfPrinterDevice() override { Discard(); }
    bool Started() const { return FPainter.isActive(); }
    bool NewPage() override {
        PainterEnded();
        return FWriter.newPage();
    }
    // The file is renamed over the target only when the engine and every write succeeded.
    bool Finish() override {
        const bool ended = FPainter.isActive() && FPainter.end();
        try {
            if (ended) {
                FOutput.Stream().Commit();
                return true;
            }
        } catch (const rtl::EFileSaveError &e) {
            FFailure = e.Message();
        }
        Discard();
        return false;
    }
    void Discard() override {
        if (FPainter.isActive()) {
            FPainter.end();
        }
    }
    // Why the job failed, when its file could not be written.
    const rtl::UnicodeString &GetFailure() const override { return FFailure; }

private:
    TSafeSaveDevice FOutput;
    QPdfWriter FWriter;
    rtl::UnicodeString FFailure;
};

class TPrinterDevice final : public TJobDevice {
public:
    TPrinterDevice(const rtl::UnicodeString &name, const rtl::UnicodeString &title, int32_t copies,
                   bool collate, TPaperSize paper, TPrinterOrientation orientation)
        : FPrinter(QPrinter::HighResolution) {
        ConfigurePrinter(FPrinter, name, paper, orientation);
        FPrinter.setDocName(qt::ToQString(title));
        FPrinter.setCopyCount(copies);
        FPrinter.setCollateCopies(collate);
        FCaps = PrinterCaps(FPrinter);
        FPainter.begin(&FPrinter);
    }
    ~TPrinterDevice() override { Discard(); }
    bool Started() const { return FPainter.isActive(); }
    bool NewPage() override {
        PainterEnded();
        return FPrinter.newPage();
    }
    bool Finish() override {
        const bool ok = FPrinter.printerState() != QPrinter::Error && FPainter.isActive() &&
                        FPainter.end() && FPrinter.printerState() != QPrinter::Error;
        if (!ok) {
            Discard();
        }
        FFinished = true;
        return ok;
    }
    void Discard() override {
        if (!FFinished && FPainter.isActive()) {
            FPrinter.abort(); // nothing reaches the queue
            FPainter.end();
        }
        FFinished = true;
    }

private:
    QPrinter FPrinter;
    bool FFinished = false;
};

// The printer's canvas: one object whose device is the current job's sheet, or an
// information device between jobs.
class TPrinterCanvas final : public TCanvas {
public:
    explicit TPrinterCanvas(std::unique_ptr<TDevice> device) : TCanvas(std::move(device)) {}
    void Use(std::unique_ptr<TDevice> device) { ReplaceDevice(std::move(device)); }
};

// A file name that does not exist yet: name.pdf, "name (2).pdf", ...
std::filesystem::path FreeName(const std::filesystem::path &folder, const std::u16string &stem) {
    for (int i = 1;; ++i) {
        std::u16string name = stem;
        if (i > 1) {
            name += u" (" + rtl::Utf8ToUtf16(std::to_string(i)) + u")";
        }
        std::filesystem::path candidate = folder / std::filesystem::path(name + u".pdf");
        if (!std::filesystem::exists(candidate)) {
            return candidate;
        }
    }
}

std::u16string SafeStem(const rtl::UnicodeString &title) {
    std::u16string stem;
    for (char16_t c : title) {
        stem += (c == u'/' || c == u'\\' || c < 0x20) ? u'_' : c;
    }
    return stem.empty() || stem == u"." || stem == u".." ? u"document" : stem;
}

} // namespace

struct TPrinter::Impl {
    std::vector<rtl::UnicodeString> Printers;
    int32_t DefaultIndex = 0;
    int32_t Index = -1;
    bool Testing = false;
    rtl::UnicodeString Title, FileName, LastFileName;
    int32_t Copies = 1;
    bool Collate = false;
    TPrinterOrientation Orientation = poPortrait;
    TPaperSize Paper = DMPAPER_A4;
    bool Printing = false, Aborted = false;
    int32_t PageNumber = 0;
    std::unique_ptr<TPrinterCanvas> Canvas;
    TJobDevice *Job = nullptr;    // owned by the canvas while printing
    std::filesystem::path Target; // the file of a job printed to a file

    int32_t Current() const { return Index < 0 ? DefaultIndex : Index; }
    bool PdfSelected() const { return Current() == int32_t(Printers.size()) - 1; }
    TDeviceCaps Caps() const;
    void InformationDevice() { Canvas->Use(NewInformationDevice(Caps())); }
};

TDeviceCaps TPrinter::Impl::Caps() const {
    if (PdfSelected() || Testing) {
        return PdfCaps(Paper, Orientation);
    }
    qt::EnsureApplication();
    QPrinter printer(QPrinter::HighResolution);
    ConfigurePrinter(printer, Printers[size_t(Current())], Paper, Orientation);
    return PrinterCaps(printer);
}

TPrinter::TPrinter() : FImpl(std::make_unique<Impl>()) {
    Refresh();
    FImpl->Canvas = std::make_unique<TPrinterCanvas>(NewInformationDevice(FImpl->Caps()));
}

TPrinter::~TPrinter() {
    if (FImpl->Printing) {
        Abort();
    }
}

void TPrinter::Refresh() {
    if (FImpl->Printing) {
        throw EPrinter(std::string_view("Printing in progress"));
    }
    // Only a printer chosen by name stays chosen; the default follows the system's.
    const rtl::UnicodeString selected =
        FImpl->Index >= 0 ? FImpl->Printers[size_t(FImpl->Index)] : rtl::UnicodeString();
    std::vector<rtl::UnicodeString> names;
    rtl::UnicodeString defaultName;
    if (!FImpl->Testing) {
        qt::EnsureApplication();
        for (const QString &name : QPrinterInfo::availablePrinterNames()) {
            names.push_back(qt::FromQString(name));
        }
        defaultName = qt::FromQString(QPrinterInfo::defaultPrinterName());
    } else {
        names = std::vector<rtl::UnicodeString>(FImpl->Printers.begin(), FImpl->Printers.end() - 1);
    }
    names.push_back(PdfPrinterName);
    FImpl->Printers = names;
    const auto found = std::find(names.begin(), names.end(), defaultName);
    FImpl->DefaultIndex = found != names.end() && !defaultName.empty()
                              ? int32_t(found - names.begin())
                              : int32_t(names.size()) - 1;
    const auto again = std::find(names.begin(), names.end(), selected);
    FImpl->Index = selected.empty() || again == names.end() ? -1 : int32_t(again - names.begin());
    if (FImpl->Canvas) {
        FImpl->InformationDevice();
    }
}

void TPrinter::SetSystemPrintersForTesting(const std::vector<rtl::UnicodeString> &names) {
    FImpl->Testing = !names.empty();
    FImpl->Printers = names;
    FImpl->Printers.push_back(PdfPrinterName);
    FImpl->Index = -1;
    Refresh();
    if (FImpl->Testing) {
        FImpl->DefaultIndex = 0;
    }
}

const std::vector<rtl::UnicodeString> &TPrinter::GetPrinters() const {
    return FImpl->Printers;
}

int32_t TPrinter::GetPrinterIndex() const {
    return FImpl->Current();
}

void TPrinter::SetPrinterIndex(int32_t index) {
    if (FImpl->Printing) {
        throw EPrinter(std::string_view("Printing in progress"));
    }
    if (index < -1 || index >= int32_t(FImpl->Printers.size())) {
        throw EPrinter(std::string_view("Printer index out of range"));
    }
    FImpl->Index = index;
    FImpl->InformationDevice();
}

rtl::UnicodeString TPrinter::GetPrinterName() const {
    return FImpl->Printers[size_t(FImpl->Current())];
}

bool TPrinter::IsPdfPrinter() const {
    return FImpl->PdfSelected();
}

const rtl::UnicodeString &TPrinter::GetTitle() const {
    return FImpl->Title;
}

void TPrinter::SetTitle(const rtl::UnicodeString &title) {
    FImpl->Title = title;
}

int32_t TPrinter::GetCopies() const {
    return FImpl->Copies;
}

void TPrinter::SetCopies(int32_t copies) {
    FImpl->Copies = std::max(1, copies);
}

bool TPrinter::GetCollate() const {
    return FImpl->Collate;
}

void TPrinter::SetCollate(bool collate) {
    FImpl->Collate = collate;
}

TPrinterOrientation TPrinter::GetOrientation() const {
    return FImpl->Orientation;
}

void TPrinter::SetOrientation(TPrinterOrientation orientation) {
    if (FImpl->Printing) {
        throw EPrinter(std::string_view("Printing in progress"));
    }
    FImpl->Orientation = orientation;
    FImpl->InformationDevice();
}

TPaperSize TPrinter::GetPaperSize() const {
    return FImpl->Paper;
}

void TPrinter::SetPaperSize(TPaperSize paper) {
    if (FImpl->Printing) {
        throw EPrinter(std::string_view("Printing in progress"));
    }
    FImpl->Paper = paper;
    FImpl->InformationDevice();
}

const rtl::UnicodeString &TPrinter::GetFileName() const {
    return FImpl->FileName;
}

void TPrinter::SetFileName(const rtl::UnicodeString &fileName) {
    FImpl->FileName = fileName;
}

const rtl::UnicodeString &TPrinter::GetLastFileName() const {
    return FImpl->LastFileName;
}

TDeviceCaps TPrinter::GetCaps() const {
    return FImpl->Canvas->GetDeviceCapsInfo();
}

int32_t TPrinter::GetDeviceCaps(int32_t index) const {
    return DeviceCapsValue(GetCaps(), index);
}

int32_t TPrinter::GetPageWidth() const {
    return GetCaps().HorzRes;
}

int32_t TPrinter::GetPageHeight() const {
    return GetCaps().VertRes;
}

TCanvas &TPrinter::GetCanvas() {
    return *FImpl->Canvas;
}

std::unique_ptr<TCanvas> TPrinter::CreateInformationCanvas() const {
    return std::make_unique<TCanvas>(NewInformationDevice(GetCaps()));
}

bool TPrinter::GetPrinting() const {
    return FImpl->Printing;
}

bool TPrinter::GetAborted() const {
    return FImpl->Aborted;
}

int32_t TPrinter::GetPageNumber() const {
    return FImpl->Printing ? FImpl->PageNumber : 0;
}

void TPrinter::BeginDoc() {
    Impl &d = *FImpl;
    if (d.Printing) {
        throw EPrinter(std::string_view("Printing in progress"));
    }
    qt::EnsureApplication();
    d.Aborted = false;
    std::unique_ptr<TJobDevice> job;
    if (d.PdfSelected() || !d.FileName.empty()) {
        if (d.FileName.empty()) {
            rtl::UnicodeString documents;
            rtl::GetSpecialFolderPath(rtl::CSIDL_PERSONAL, documents, true);
            d.Target = FreeName(std::filesystem::path(documents), SafeStem(d.Title));
        } else {
            d.Target = std::filesystem::path(std::u16string(d.FileName));
        }
        std::unique_ptr<TPdfPrinterDevice> pdf;
        try {
            pdf = std::make_unique<TPdfPrinterDevice>(d.Target.u16string(), d.Title, d.Paper,
                                                      d.Orientation);
        } catch (const rtl::EFileSaveError &e) {
            throw EPrinter(e.Message());
        }
        if (!pdf->Started()) {
            throw EPrinter(u"Не удалось начать печать в файл \"" + d.Target.u16string() + u"\"");
        }
        job = std::move(pdf);
    } else {
        auto printer = std::make_unique<TPrinterDevice>(GetPrinterName(), d.Title, d.Copies,
                                                        d.Collate, d.Paper, d.Orientation);
        if (!printer->Started()) {
            throw EPrinter(u"Printer selected is not valid: " + GetPrinterName());
        }
        job = std::move(printer);
    }
    d.Job = job.get();
    d.Canvas->Use(std::move(job));
    d.Printing = true;
    d.PageNumber = 1;
}

void TPrinter::NewPage() {
    Impl &d = *FImpl;
    if (!d.Printing) {
        throw EPrinter(std::string_view("Printer is not currently printing"));
    }
    d.Job->NewPage();
    ++d.PageNumber;
}

void TPrinter::EndDoc() {
    Impl &d = *FImpl;
    if (!d.Printing) {
        throw EPrinter(std::string_view("Printer is not currently printing"));
    }
    const bool ok = d.Job->Finish();
    const rtl::UnicodeString failure = d.Job->GetFailure();
    const bool toFile = !d.Target.empty();
    d.Printing = false;
    d.Job = nullptr;
    d.InformationDevice();
    if (ok && toFile) {
        d.LastFileName = d.Target.u16string();
    }
    d.Target.clear();
    if (!ok) {
        throw EPrinter(failure.empty() ? u"Задание печати не удалось и не отправлено" : failure);
    }
}

void TPrinter::Abort() {
    Impl &d = *FImpl;
    if (!d.Printing) {
        throw EPrinter(std::string_view("Printer is not currently printing"));
    }
    d.Job->Discard();
    d.Printing = false;
    d.Aborted = true;
    d.Job = nullptr;
    d.Target.clear();
    d.InformationDevice();
}

std::unique_ptr<TCanvas> CreatePdfPrinterInformationCanvas(TPaperSize paper,
                                                           TPrinterOrientation orientation) {
    return std::make_unique<TCanvas>(NewInformationDevice(PdfCaps(paper, orientation)));
}

rtl::UnicodeString DefaultPrintFileName(const rtl::UnicodeString &title) {
    rtl::UnicodeString documents;
    rtl::GetSpecialFolderPath(rtl::CSIDL_PERSONAL, documents, true);
    return (std::filesystem::path(std::u16string(documents)) / (SafeStem(title) + u".pdf"))
        .u16string();
}

TPrinter &Printer() {
    // Lives until the process ends, like the Qt objects a job holds.
    static TPrinter *printer = new TPrinter();
    return *printer;
}

} // namespace gfx
