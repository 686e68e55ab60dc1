// Mouse selection in the viewer on a document of 50,000 paragraphs: a selection anchored at the
// document's start is extended by mouse moves while the view stands at the top, the middle or
// the end of the document (each move goes a line down or up, so that every move changes the
// selection), with the repaint of the rows the move invalidated; and the hit test under the
// mouse at the same places. The goal: the same time at every place, under 50 µs a move with its
// repaint.
#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "platform/gfx/Bitmap.h"
#include "platform/ui/Forms.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;

struct TSelectionFixture {
    vizivodu::test::TLayoutStyle Style;
    ui::TForm Form{nullptr};
    vizivodu::TViziVodu *View;

    TSelectionFixture() {
        Form.SetClientWidth(kWidth + 200);
        Form.SetClientHeight(kHeight);
        View = new vizivodu::TViziVodu(&Form);
        View->SetStyle(&Style);
        View->SetBounds(0, 0, kWidth, kHeight);
        View->SetParent(&Form);
        Style.SetSelectionMode(vizivodu::vdsmChar);
        const std::u16string words[] = {u"синусовый", u"ритм",  u"блокада",  u"ножки",    u"пучка",
                                        u"Гиса",      u"зубец", u"комплекс", u"интервал", u"норма"};
        for (int32_t i = 0; i < 50000; ++i) {
            std::u16string p;
            for (int32_t w = 0; w < 6 + i % 5; ++w) {
                p += words[(i + w * 3) % 10];
                p += u' ';
            }
            View->AddNL(p, 0, 0);
        }
        View->Format();
    }
    // Scrolls to the place (0 top, 1 middle, 2 end) and anchors a mouse selection at the start.
    void Prepare(int32_t place) {
        vizivodu::TViziVoduVDData &data = View->GetVDData();
        const int32_t y = place == 0   ? 0
                          : place == 1 ? data.DocumentHeight / 2
                                       : data.DocumentHeight;
        View->ScrollTo(y);
        data.SetSelectionBounds(0, 1, 0, 1);
        data.State.Include(vizivodu::vdstMakingSelection);
    }
};

TSelectionFixture &Fixture() {
    static TSelectionFixture f;
    return f;
}

void BM_ExtendSelectionByMouse(benchmark::State &state) {
    TSelectionFixture &f = Fixture();
    f.Prepare(int32_t(state.range(0)));
    vizivodu::TViziVoduVDData &data = f.View->GetVDData();
    gfx::TBitmap buffer(kWidth, kHeight);
    int32_t step = 0;
    int64_t repainted = 0;
    for (auto _ : state) {
        const int32_t y = kHeight / 2 + (step++ % 2) * 20;
        f.Style.GI->Invalidated.clear();
        f.View->Perform(ui::WM_MOUSEMOVE, ui::MK_LBUTTON, ui::MakeLParam(200, y));
        for (const rtl::TRect &r : f.Style.GI->Invalidated) {
            data.PaintTo(buffer.GetCanvas(), r, false, false, false, false, true, 0, 0, 0,
                         data.DrawItems.Count() - 1, nullptr, nullptr, false);
            repainted += int64_t(r.Width()) * r.Height();
        }
    }
    state.counters["px_repainted_per_move"] =
        benchmark::Counter(double(repainted), benchmark::Counter::kAvgIterations);
    data.State.Exclude(vizivodu::vdstMakingSelection);
}

void BM_HitTestUnderMouse(benchmark::State &state) {
    TSelectionFixture &f = Fixture();
    f.Prepare(int32_t(state.range(0)));
    vizivodu::TViziVoduVDData &data = f.View->GetVDData();
    data.State.Exclude(vizivodu::vdstMakingSelection);
    int32_t step = 0;
    for (auto _ : state) {
        const int32_t y = kHeight / 2 + (step++ % 2) * 20;
        int32_t no = -1, offs = -1;
        data.FindDrawItemForSel(200 + data.GetHOffs(), y + data.GetVOffs(), no, offs, false, false,
                                false, false);
        benchmark::DoNotOptimize(no);
    }
}

} // namespace

BENCHMARK(BM_ExtendSelectionByMouse)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HitTestUnderMouse)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
