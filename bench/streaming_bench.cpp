// Component stream speed: a collection of 100,000 items (an integer, a string and a nested
// reference-free collection each), written and read back from memory, in bytes per second.
#include "platform/rtl/Streaming.h"
#include "tests/rtl/StreamingDemo.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int Items = 100000;

void Fill(rtl::TCollection &items) {
    for (int i = 0; i < Items; ++i) {
        auto &item = static_cast<demo::TDemoItem &>(*items.Add());
        item.SetValue(i * 37);
        item.SetText(u"cell text " + std::u16string(1, char16_t(u'a' + i % 26)));
    }
}

void WriteCollection(benchmark::State &state) {
    rtl::TCollection items(demo::TDemoItem::StaticClassInfo());
    Fill(items);
    int64_t bytes = 0;
    for (auto _ : state) {
        rtl::TMemoryStream s;
        rtl::TWriter(s).WriteCollection(items);
        bytes = s.GetSize();
        benchmark::DoNotOptimize(s.GetMemory());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(WriteCollection)->Unit(benchmark::kMillisecond);

void ReadCollection(benchmark::State &state) {
    rtl::TCollection items(demo::TDemoItem::StaticClassInfo());
    Fill(items);
    rtl::TMemoryStream s;
    rtl::TWriter(s).WriteCollection(items);
    for (auto _ : state) {
        s.SetPosition(0);
        rtl::TCollection back(demo::TDemoItem::StaticClassInfo());
        rtl::TReader reader(s);
        reader.ReadValue();
        reader.ReadCollection(back);
        benchmark::DoNotOptimize(back.GetCount());
    }
    state.SetBytesProcessed(state.iterations() * s.GetSize());
}
BENCHMARK(ReadCollection)->Unit(benchmark::kMillisecond);

} // namespace
