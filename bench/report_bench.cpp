// The test report from the button's work to the formatted, paginated report (the document
// cleared, filled with its four tables and legend, laid out and cut into pages) and to the
// picture of page 1, for the sample database and for a generated database of 100,000 ECGs;
// and the report printed to the PDF printer. Text is measured and shaped by the style sheet's
// own graphic interface, as in the program.
#include "LargeDatabase.h"
#include "app/UReportBuilder.h"
#include "app/UResources.h"
#include "app/UVDReportForm.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Printers.h"
#include "platform/rtl/DateUtils.h"
#include "vizivodu/VDStartup.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace workbench;

// The report window with everything the builder reads: the data scored, the signatories,
// the logo.
struct TReportScene {
    TWorkbenchData Data;
    TSignatoryTable Confirmer1{{1, u"Профессор, д.м.н., Президент ЗЕМБРАК"}};
    TSignatoryTable Confirmer2{{1, u"Иванов И.И."}};
    TSignatoryTable JuryPeople1{{1, u"Профессор, д.м.н."}, {2, u"Доцент"}, {3, u"Врач"}};
    TSignatoryTable JuryPeople2{{1, u"Петров П.П."}, {2, u"Сидоров С.С."}, {3, u"Ким К.К."}};
    gfx::TPngImage Logo;
    std::unique_ptr<TVDReportForm> Form;
    bool Ok = false;

    TReportScene(const UnicodeString &folder, const UnicodeString &result) {
        Ok = Data.LoadReferenceDatabase(folder).Ok &&
             Data.ReloadResult(result).Status == TResultStatus::rsScored;
        Logo.LoadFromMemory(LogoPng, LogoPngSize);
        vizivodu::InitializeLibrary();
        Form = std::make_unique<TVDReportForm>(nullptr);
    }

    TReportInput Input() const {
        TReportInput input;
        input.ProgramName = u"Кардиотест 2.1";
        input.DiaStat = &Data.GetDiaStat();
        input.DBCount = Data.GetDBCount();
        input.Confirmer1 = &Confirmer1;
        input.Confirmer2 = &Confirmer2;
        input.JuryPeople1 = &JuryPeople1;
        input.JuryPeople2 = &JuryPeople2;
        input.Logo = &Logo;
        input.Date = rtl::Date();
        return input;
    }
};

void RunBuild(benchmark::State &state, TReportScene &scene) {
    if (!scene.Ok) {
        state.SkipWithError("the database did not load or score");
        return;
    }
    const TReportInput input = scene.Input();
    for (auto _ : state) {
        BuildReport(*scene.Form, input);
    }
}

void RunBuildAndPicture(benchmark::State &state, TReportScene &scene) {
    if (!scene.Ok) {
        state.SkipWithError("the database did not load or score");
        return;
    }
    const TReportInput input = scene.Input();
    for (auto _ : state) {
        BuildReport(*scene.Form, input);
        scene.Form->FormShow(scene.Form.get());
        benchmark::DoNotOptimize(scene.Form->GetPagePicture());
    }
}

#if defined(WB_SAMPLE_DB_DIR) && defined(WB_SAMPLE_RESULT_FILE)
TReportScene &SampleScene() {
    static TReportScene scene(rtl::Utf8ToUtf16(WB_SAMPLE_DB_DIR "/"),
                              rtl::Utf8ToUtf16(WB_SAMPLE_RESULT_FILE));
    return scene;
}
void BM_ReportSample(benchmark::State &state) {
    RunBuild(state, SampleScene());
}
BENCHMARK(BM_ReportSample)->Unit(benchmark::kMillisecond);
void BM_ReportSampleWithPagePicture(benchmark::State &state) {
    RunBuildAndPicture(state, SampleScene());
}
BENCHMARK(BM_ReportSampleWithPagePicture)->Unit(benchmark::kMillisecond);
#endif

// The paginated report of the sample database printed to the PDF printer, every page.
void RunPrintToPdf(benchmark::State &state, TReportScene &scene) {
    if (!scene.Ok) {
        state.SkipWithError("the database did not load or score");
        return;
    }
    BuildReport(*scene.Form, scene.Input());
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("wb_report_bench_" + std::to_string(::getpid()) + ".pdf");
    gfx::Printer().SetSystemPrintersForTesting({});
    gfx::Printer().SetPrinterIndex(-1);
    gfx::Printer().SetFileName(rtl::Utf8ToUtf16(file.string()));
    for (auto _ : state) {
        scene.Form->VDPrint1->Print(u"Отчет ЗЕМБРАК", 1, false);
    }
    gfx::Printer().SetFileName(u"");
    std::error_code ec;
    std::filesystem::remove(file, ec);
}

TReportScene &LargeScene() {
    static const bench::TLargeDatabase database;
    static TReportScene scene(database.Folder(), database.ResultPath());
    return scene;
}
void BM_Report100000Ecgs(benchmark::State &state) {
    RunBuild(state, LargeScene());
}
BENCHMARK(BM_Report100000Ecgs)->Unit(benchmark::kMillisecond);
void BM_Report100000EcgsWithPagePicture(benchmark::State &state) {
    RunBuildAndPicture(state, LargeScene());
}
BENCHMARK(BM_Report100000EcgsWithPagePicture)->Unit(benchmark::kMillisecond);
void BM_Report100000EcgsPrintToPdf(benchmark::State &state) {
    RunPrintToPdf(state, LargeScene());
}
BENCHMARK(BM_Report100000EcgsPrintToPdf)->Unit(benchmark::kMillisecond);

} // namespace
