// Costs of the dynamic-value layer on the shapes the reader meets: a theme-sized JSON
// object read once at start, dictionary lookups by key, UTF-16 counting of page text and
// case-insensitive search in it.

#include "platform/base/Json.h"
#include "platform/base/Strings.h"
#include "platform/base/Value.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

std::string themeJson(int keys)
{
    std::string json = "{";
    for (int i = 0; i < keys; ++i) {
        if (i)
            json += ",";
        json += "\"colour_key_" + std::to_string(i) + "\":\"#6E6E6E\"";
    }
    return json + "}";
}

std::string pageText(size_t words)
{
    std::string text;
    for (size_t i = 0; i < words; ++i)
        text += (i % 7 == 0) ? "\xC3\x89l\xC3\xA8ve \xF0\x9F\x93\x96 " : "reading ";
    return text + "Bookmark";
}

void parseThemeJson(benchmark::State& state)
{
    const std::string json = themeJson(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(base::parseJson(json));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * json.size()));
}
BENCHMARK(parseThemeJson)->Arg(16)->Arg(300)->Arg(5000);

void writeThemeJson(benchmark::State& state)
{
    const base::Value theme = base::parseJson(themeJson(static_cast<int>(state.range(0)))).value();
    for (auto _ : state)
        benchmark::DoNotOptimize(base::toJson(theme));
}
BENCHMARK(writeThemeJson)->Arg(300);

// Below the index threshold lookups scan; above it they hash.
void dictionaryLookup(benchmark::State& state)
{
    const int keys = static_cast<int>(state.range(0));
    const base::Value theme = base::parseJson(themeJson(keys)).value();
    const std::string last = "colour_key_" + std::to_string(keys - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(theme[last]);
}
BENCHMARK(dictionaryLookup)->Arg(8)->Arg(15)->Arg(16)->Arg(300);

void utf16LengthOfPage(benchmark::State& state)
{
    const std::string text = pageText(static_cast<size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(base::utf16Length(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(utf16LengthOfPage)->Arg(1000);

void caseInsensitiveSearchInPage(benchmark::State& state)
{
    const std::string text = pageText(static_cast<size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(base::rangeOfCaseInsensitive(text, "BOOKMARK"));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(caseInsensitiveSearchInPage)->Arg(1000);

} // namespace

BENCHMARK_MAIN();
