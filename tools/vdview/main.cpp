// A try-out program (not part of the workbench): one viewer control showing a native-format
// file (or an RTF file, by its ".rtf" ending), with its animated pictures playing, for trying
// selection and copying by hand. "vdview --sample FILE.vdf" writes a small document to try it
// on: Russian and Latin text, a picture, an animated picture and a table.
#include "vizivodu/VDStartup.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/tables/VDTable.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/System.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"

#include <cstdio>
#include <string>

namespace {

// A bitmap of `count` cells of 48 x 48, each filled with its own colour and a square.
std::unique_ptr<gfx::TBitmap> Frames(int32_t count) {
    auto frames = std::make_unique<gfx::TBitmap>(48 * count, 48);
    gfx::TCanvas &canvas = frames->GetCanvas();
    const gfx::TColor colors[] = {gfx::RGB(200, 0, 0), gfx::RGB(0, 160, 0), gfx::RGB(0, 0, 200)};
    for (int32_t i = 0; i < count; ++i) {
        canvas.GetBrush().SetColor(colors[i % 3]);
        canvas.FillRect(rtl::Rect(48 * i, 0, 48 * (i + 1), 48));
        canvas.GetBrush().SetColor(gfx::clWhite);
        canvas.FillRect(rtl::Rect(48 * i + 8 + 8 * i, 16, 48 * i + 24 + 8 * i, 32));
    }
    return frames;
}

void AddPicture(vizivodu::TViziVodu &viewer, int32_t frameCount) {
    auto item = std::make_unique<vizivodu::TVDGraphicItemInfo>(
        &viewer.GetVDData(), Frames(frameCount), vizivodu::vdvaBaseline);
    if (frameCount > 1) {
        item->ImageWidth = 48;
        item->ImageHeight = 48;
        item->Interval = 50;
    }
    viewer.AddItem(u"", std::move(item));
}

bool WriteSample(vizivodu::TViziVodu &viewer, const rtl::UnicodeString &name) {
    viewer.AddNL(u"Съешь же ещё этих мягких французских булок, да выпей чаю.", 0, 0);
    viewer.AddNL(u"The quick brown fox jumps over the lazy dog. ", 0, 0);
    AddPicture(viewer, 1);
    viewer.AddNL(u" still picture, animated: ", 0, -1);
    AddPicture(viewer, 3);
    auto table = std::make_unique<vizivodu::TVDTableItemInfo>(2, 2, &viewer.GetVDData());
    const char16_t *texts[] = {u"первая ячейка", u"second cell", u"третья ячейка", u"fourth"};
    for (int32_t i = 0; i < 4; ++i) {
        vizivodu::TVDTableCellData &cell = *table->GetCells(i / 2, i % 2);
        cell.Clear();
        cell.AddNL(texts[i], 0, 0);
    }
    viewer.AddItem(u"", std::move(table));
    viewer.AddNL(u"Последний абзац после таблицы.", 0, 0);
    return viewer.SaveVDF(name, false);
}

} // namespace

int main(int argc, char **argv) {
    const bool sample = argc == 3 && std::string(argv[1]) == "--sample";
    if (argc != 2 && !sample) {
        std::fprintf(stderr, "usage: vdview FILE.vdf|FILE.rtf\n       vdview --sample FILE.vdf\n");
        return 2;
    }
    ui::Application->Initialize();
    vizivodu::InitializeLibrary();
    ui::TForm *form = nullptr;
    ui::Application->CreateForm(form);
    form->SetCaption(u"vdview");
    form->SetBounds(100, 100, 640, 480);
    auto *style = new vizivodu::TVDStyle(form); // owned by the window
    auto *viewer = new vizivodu::TViziVodu(form);
    viewer->SetParent(form);
    viewer->SetAlign(ui::alClient);
    viewer->SetStyle(style);
    if (sample) {
        return WriteSample(*viewer, rtl::Utf8ToUtf16(argv[2])) ? 0 : 1;
    }
    const std::string path = argv[1];
    const bool rtf = path.size() > 4 && path.compare(path.size() - 4, 4, ".rtf") == 0;
    const rtl::UnicodeString name = rtl::Utf8ToUtf16(path);
    if (!(rtf ? viewer->LoadRTF(name) : viewer->LoadVDF(name))) {
        std::fprintf(stderr, "vdview: cannot read %s\n", argv[1]);
        return 1;
    }
    viewer->Format();
    viewer->StartAnimation();
    ui::Application->Run();
    return 0;
}
