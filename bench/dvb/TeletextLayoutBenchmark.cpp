// Laying out a busy teletext page (colours, mosaics, double height, page numbers, a navigation
// row) and working out its alpha rows, as the renderer does for every page it draws.
#include <benchmark/benchmark.h>

#include <string>

#include "dvb/libDVB/teletext/CTeletextLayout.h"

namespace {

libDVB::CTeletextPage BusyPage()
{
    libDVB::CTeletextPage page(100, 0);
    const std::string rows[] = {
        "\x01\x1D\x07 INDEX \x1C  News 101  Sport 200  TV 300",
        "\x11\x7F\x1A\x7F\x1E\x12\x13\x1F\x19\x35\x61\x7F\x7F\x7F\x7F\x14\x6F\x6F\x6F",
        "\x0D\x03Weather 400 \x0C small \x18hidden\x02 shown 500",
    };
    for (unsigned row = 1; row <= 24; ++row) {
        const std::string& text = rows[row % 3];
        for (unsigned c = 0; c < 40; ++c)
            page.cells[row * 40 + c] = static_cast<uint8_t>(c < text.size() ? text[c] : ' ');
    }
    const std::string nav = "\x01News \x02\x1D\x07Sport \x03Weather \x06More";
    for (unsigned c = 0; c < 40; ++c)
        page.cells[24 * 40 + c] = static_cast<uint8_t>(c < nav.size() ? nav[c] : ' ');
    page.row24 = 1;
    page.linkedPages = {120, 130, 140, 150};
    return page;
}

void BM_TeletextLayout(benchmark::State& state)
{
    const libDVB::CTeletextPage page = BusyPage();
    char16_t table[libDVB::kTeletextCharacterCount];
    libDVB::BuildTeletextCharacterTable(9, table);
    libDVB::CTeletextLayout layout;
    for (auto _ : state) {
        layout.Build(page, false, false, table);
        benchmark::DoNotOptimize(layout.Cells().data());
        benchmark::DoNotOptimize(layout.TreatedRows(40).data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TeletextLayout);

} // namespace
BENCHMARK_MAIN();
