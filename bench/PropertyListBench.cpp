// Property-list speed on a settings file of realistic shape: 10,000 dictionary records of
// fifteen string and integer keys (about 8 MB of XML as written, with tabs and tags).

#include <benchmark/benchmark.h>

#include <string>

#include "platform/foundation/PropertyList.h"

namespace {

PlistValue records() {
    PlistValue list = PlistValue::array();
    for (int i = 0; i < 10000; ++i) {
        PlistValue record = PlistValue::dictionary();
        for (int key = 0; key < 8; ++key) {
            record.set("pattern" + std::to_string(key), "value &lt; " + std::to_string(i * key));
        }
        for (int key = 0; key < 7; ++key) {
            record.set("matchType" + std::to_string(key), PlistValue::integer(i * 31 + key));
        }
        list.append(record);
    }
    PlistValue root = PlistValue::dictionary();
    root.set("filtersEnabled", list);
    return root;
}

const std::string& recordsXml() {
    static const std::string xml = PropertyList::toXml(records()).value();
    return xml;
}

void BM_ParseXml(benchmark::State& state) {
    const std::string& xml = recordsXml();
    for (auto _ : state) {
        Result<PlistValue> value = PropertyList::parse(xml);
        benchmark::DoNotOptimize(value);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * xml.size()));
    state.counters["xml_bytes"] = static_cast<double>(xml.size());
}
BENCHMARK(BM_ParseXml)->Unit(benchmark::kMillisecond);

void BM_WriteXml(benchmark::State& state) {
    PlistValue value = records();
    for (auto _ : state) {
        Result<std::string> xml = PropertyList::toXml(value);
        benchmark::DoNotOptimize(xml);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * recordsXml().size()));
}
BENCHMARK(BM_WriteXml)->Unit(benchmark::kMillisecond);

}  // namespace

void runPropertyListBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
