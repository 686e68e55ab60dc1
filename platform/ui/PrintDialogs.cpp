// TPrintDialog and TPrinterSetupDialog: the handler path and the native dialogs (Qt widgets
// with the class library's Russian texts).
#include "platform/ui/PrintDialogs.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/Application.h"
#include "platform/ui/DialogHandler.h"
#include "platform/ui/ModalResult.h"
#include "platform/ui/QtBridge_p.h"
#include "platform/ui/WinControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace ui {

namespace {

QWidget *OwnerWindow(TWinControl *parentWnd) {
    QWidget *owner = parentWnd ? qt::WidgetOf(*parentWnd) : nullptr;
    return owner ? owner->window() : nullptr;
}

// The parent is only borrowed for the dialog's run.
struct TParentScope {
    TWinControl *&Parent;
    TParentScope(TWinControl *&parent, TWinControl *value) : Parent(parent) { Parent = value; }
    ~TParentScope() { Parent = nullptr; }
};

QComboBox *PrinterCombo(int32_t index) {
    auto *combo = new QComboBox;
    for (const rtl::UnicodeString &name : gfx::Printer().GetPrinters()) {
        combo->addItem(gfx::qt::ToQString(name));
    }
    combo->setCurrentIndex(index);
    return combo;
}

QDialogButtonBox *OkCancel(QDialog &dlg) {
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    return buttons;
}

struct TPaperChoice {
    gfx::TPaperSize Size;
    const char16_t *Name;
};
constexpr TPaperChoice Papers[] = {{gfx::DMPAPER_A4, u"A4 (210 x 297 мм)"},
                                   {gfx::DMPAPER_A5, u"A5 (148 x 210 мм)"},
                                   {gfx::DMPAPER_A3, u"A3 (297 x 420 мм)"},
                                   {gfx::DMPAPER_LETTER, u"Letter (8,5 x 11 дюймов)"},
                                   {gfx::DMPAPER_LEGAL, u"Legal (8,5 x 14 дюймов)"}};

} // namespace

void TPrintDialog::SetOption(TPrintDialogOption o, bool on) {
    FOptions = on ? uint8_t(FOptions | (1u << o)) : uint8_t(FOptions & ~(1u << o));
}

bool TPrintDialog::Execute() {
    return Execute(nullptr);
}

bool TPrintDialog::Execute(TWinControl *parentWnd) {
    TParentScope parent(FParentWnd, parentWnd);
    gfx::TPrinter &printer = gfx::Printer();
    FPrinterIndex = printer.GetPrinterIndex();
    if (FCopies <= 0) {
        FCopies = printer.GetCopies();
    }
    if (FFileName.empty()) {
        FFileName = printer.GetFileName();
    }
    if (FFileName.empty()) {
        FFileName = gfx::DefaultPrintFileName(printer.GetTitle());
    }
    const auto &handler = GetDialogHandler().PrintDialog;
    for (;;) {
        const bool ok = handler ? handler(*this) : ExecuteNative();
        if (!ok || FPrinterIndex < 0 || FPrinterIndex >= int32_t(printer.GetPrinters().size())) {
            return false;
        }
        if (!ToFileChosen() || FileMayBeWritten()) {
            break;
        }
        if (handler) {
            return false;
        }
    }
    FCopies = std::max(1, FCopies);
    if (FPrintRange == prPageNums) {
        FFromPage = std::clamp(FFromPage, FMinPage, std::max(FMinPage, FMaxPage));
        FToPage = std::clamp(FToPage, FFromPage, std::max(FFromPage, FMaxPage));
    }
    printer.SetPrinterIndex(FPrinterIndex);
    printer.SetCopies(FCopies);
    printer.SetCollate(FCollate);
    printer.SetFileName(ToFileChosen() ? FFileName : rtl::UnicodeString());
    return true;
}

bool TPrintDialog::ToFileChosen() const {
    const std::vector<rtl::UnicodeString> &names = gfx::Printer().GetPrinters();
    const bool pdf = FPrinterIndex >= 0 && FPrinterIndex < int32_t(names.size()) &&
                     names[size_t(FPrinterIndex)] == gfx::PdfPrinterName;
    return pdf || FPrintToFile;
}

// A job must not silently replace a file: an empty name takes the offered one, and an existing
// file is replaced only when the user says so, as the save dialog asks.
bool TPrintDialog::FileMayBeWritten() {
    if (FFileName.empty()) {
        FFileName = gfx::DefaultPrintFileName(gfx::Printer().GetTitle());
    }
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::path(std::u16string(FFileName)), ec)) {
        return true;
    }
    return Application->MessageBox(u"Файл \"" + FFileName + u"\" уже существует.\rЗаменить его?",
                                   u"Печать", MB_YESNO | MB_ICONWARNING) == IDYES;
}

namespace {

// The print dialog's three groups; their widgets belong to the dialog.
struct TPrinterGroup {
    QComboBox *Printers;
    QCheckBox *ToFile;
    QLineEdit *File;
};

TPrinterGroup AddPrinterGroup(QDialog &dlg, QVBoxLayout *layout, int32_t index, bool toFile,
                              const rtl::UnicodeString &fileName, bool fileDisabled) {
    auto *box = new QGroupBox(QStringLiteral("Принтер"));
    auto *form = new QFormLayout(box);
    TPrinterGroup g{PrinterCombo(index), new QCheckBox(QStringLiteral("Печать в &файл")),
                    new QLineEdit(gfx::qt::ToQString(fileName))};
    form->addRow(QStringLiteral("&Имя:"), g.Printers);
    g.ToFile->setChecked(toFile);
    auto *browse = new QPushButton(QStringLiteral("&Обзор..."));
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(g.File);
    fileRow->addWidget(browse);
    form->addRow(g.ToFile);
    // A row of a layout gets no buddy: without one the label shows its '&' as it stands.
    auto *fileLabel = new QLabel(QStringLiteral("Фа&йл:"));
    fileLabel->setBuddy(g.File);
    form->addRow(fileLabel, fileRow);
    layout->addWidget(box);
    // The PDF printer always prints to a file; a queue only when asked.
    auto update = [g, browse, fileDisabled] {
        const bool pdf = g.Printers->currentIndex() == g.Printers->count() - 1;
        g.ToFile->setEnabled(!pdf && !fileDisabled);
        g.File->setEnabled(pdf || g.ToFile->isChecked());
        browse->setEnabled(g.File->isEnabled());
    };
    QObject::connect(g.Printers, &QComboBox::currentIndexChanged, &dlg, update);
    QObject::connect(g.ToFile, &QCheckBox::toggled, &dlg, update);
    QObject::connect(browse, &QPushButton::clicked, &dlg, [&dlg, file = g.File] {
        const QString chosen = QFileDialog::getSaveFileName(
            &dlg, QStringLiteral("Печать в файл"), file->text(),
            QStringLiteral("Файлы PDF (*.pdf)"), nullptr,
            // The print dialog asks before replacing, once, when it is confirmed.
            QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
        if (!chosen.isEmpty()) {
            file->setText(chosen);
        }
    });
    update();
    return g;
}

struct TRangeGroup {
    QRadioButton *Selection, *Pages;
    QSpinBox *From, *To;
};

TRangeGroup AddRangeGroup(QVBoxLayout *layout, const TPrintDialog &d) {
    auto *box = new QGroupBox(QStringLiteral("Диапазон печати"));
    auto *rows = new QVBoxLayout(box);
    auto *all = new QRadioButton(QStringLiteral("&Все"));
    TRangeGroup g{new QRadioButton(QStringLiteral("Выделенный &фрагмент")),
                  new QRadioButton(QStringLiteral("&Страницы")), new QSpinBox, new QSpinBox};
    for (QSpinBox *spin : {g.From, g.To}) {
        spin->setRange(std::max(0, d.GetMinPage()), std::max({0, d.GetMinPage(), d.GetMaxPage()}));
    }
    g.From->setValue(d.GetFromPage());
    g.To->setValue(d.GetToPage());
    auto *pagesRow = new QHBoxLayout;
    pagesRow->addWidget(g.Pages);
    pagesRow->addWidget(new QLabel(QStringLiteral("с")));
    pagesRow->addWidget(g.From);
    pagesRow->addWidget(new QLabel(QStringLiteral("по")));
    pagesRow->addWidget(g.To);
    rows->addWidget(all);
    rows->addWidget(g.Selection);
    rows->addLayout(pagesRow);
    g.Selection->setEnabled(d.GetOption(poSelection));
    g.Pages->setEnabled(d.GetOption(poPageNums));
    const TPrintRange range = d.GetPrintRange();
    (range == prPageNums ? g.Pages : range == prSelection ? g.Selection : all)->setChecked(true);
    layout->addWidget(box);
    return g;
}

} // namespace

bool TPrintDialog::ExecuteNative() {
    gfx::qt::EnsureApplication();
    QDialog dlg(OwnerWindow(FParentWnd));
    dlg.setWindowTitle(QStringLiteral("Печать"));
    auto *layout = new QVBoxLayout(&dlg);
    const TPrinterGroup printer = AddPrinterGroup(dlg, layout, FPrinterIndex, FPrintToFile,
                                                  FFileName, GetOption(poDisablePrintToFile));
    const TRangeGroup range = AddRangeGroup(layout, *this);
    auto *copiesBox = new QGroupBox(QStringLiteral("Копии"));
    auto *copiesForm = new QFormLayout(copiesBox);
    auto *copies = new QSpinBox;
    copies->setRange(1, 9999);
    copies->setValue(std::max(1, FCopies));
    auto *collate = new QCheckBox(QStringLiteral("&Разобрать по копиям"));
    collate->setChecked(FCollate);
    copiesForm->addRow(QStringLiteral("&Число копий:"), copies);
    copiesForm->addRow(collate);
    layout->addWidget(copiesBox);
    layout->addWidget(OkCancel(dlg));
    if (dlg.exec() != QDialog::Accepted) {
        return false;
    }
    FPrinterIndex = int32_t(printer.Printers->currentIndex());
    FPrintToFile = printer.ToFile->isChecked();
    FFileName = gfx::qt::FromQString(printer.File->text());
    FPrintRange = range.Pages->isChecked()       ? prPageNums
                  : range.Selection->isChecked() ? prSelection
                                                 : prAllPages;
    FFromPage = range.From->value();
    FToPage = range.To->value();
    FCopies = copies->value();
    FCollate = collate->isChecked();
    return true;
}

bool TPrinterSetupDialog::Execute() {
    return Execute(nullptr);
}

bool TPrinterSetupDialog::Execute(TWinControl *parentWnd) {
    TParentScope parent(FParentWnd, parentWnd);
    gfx::TPrinter &printer = gfx::Printer();
    FPrinterIndex = printer.GetPrinterIndex();
    FPaperSize = printer.GetPaperSize();
    FOrientation = printer.GetOrientation();
    const bool ok = GetDialogHandler().PrinterSetupDialog
                        ? GetDialogHandler().PrinterSetupDialog(*this)
                        : ExecuteNative();
    if (!ok || FPrinterIndex < 0 || FPrinterIndex >= int32_t(printer.GetPrinters().size())) {
        return false;
    }
    printer.SetPrinterIndex(FPrinterIndex);
    printer.SetPaperSize(FPaperSize);
    printer.SetOrientation(FOrientation);
    return true;
}

bool TPrinterSetupDialog::ExecuteNative() {
    gfx::qt::EnsureApplication();
    QDialog dlg(OwnerWindow(FParentWnd));
    dlg.setWindowTitle(QStringLiteral("Настройка печати"));
    auto *layout = new QVBoxLayout(&dlg);
    auto *printerBox = new QGroupBox(QStringLiteral("Принтер"));
    auto *printerForm = new QFormLayout(printerBox);
    QComboBox *printers = PrinterCombo(FPrinterIndex);
    printerForm->addRow(QStringLiteral("&Имя:"), printers);
    layout->addWidget(printerBox);

    auto *paperBox = new QGroupBox(QStringLiteral("Бумага"));
    auto *paperForm = new QFormLayout(paperBox);
    auto *paper = new QComboBox;
    for (const TPaperChoice &p : Papers) {
        paper->addItem(QString::fromUtf16(p.Name), int(p.Size));
    }
    paper->setCurrentIndex(std::max(0, paper->findData(int(FPaperSize))));
    paperForm->addRow(QStringLiteral("&Размер:"), paper);
    layout->addWidget(paperBox);

    auto *orientationBox = new QGroupBox(QStringLiteral("Ориентация"));
    auto *orientationLayout = new QVBoxLayout(orientationBox);
    auto *portrait = new QRadioButton(QStringLiteral("&Книжная"));
    auto *landscape = new QRadioButton(QStringLiteral("&Альбомная"));
    (FOrientation == gfx::poLandscape ? landscape : portrait)->setChecked(true);
    orientationLayout->addWidget(portrait);
    orientationLayout->addWidget(landscape);
    layout->addWidget(orientationBox);
    layout->addWidget(OkCancel(dlg));

    if (dlg.exec() != QDialog::Accepted) {
        return false;
    }
    FPrinterIndex = int32_t(printers->currentIndex());
    FPaperSize = gfx::TPaperSize(paper->currentData().toInt());
    FOrientation = landscape->isChecked() ? gfx::poLandscape : gfx::poPortrait;
    return true;
}

} // namespace ui
