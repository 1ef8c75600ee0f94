// Runs every benchmark suite: the Google Benchmark suites first, then the programs that print
// each measurement with its ratio to a floor. `--suite=NAME` (properties, store, browser,
// filters, pickers, preview) runs one suite alone; other arguments go to Google Benchmark.
#include <cstring>
#include <string_view>
#include <vector>

void runPropertyListBenchmarks(int argc, char** argv);
void runStoreBenchmarks();
void runBrowserBenchmarks();
void runFilterListBenchmarks();
void runColorPickerBenchmarks();
void runLabelPreviewBenchmarks();

int main(int argc, char** argv) {
    std::string_view suite;
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--suite=", 8) == 0) {
            suite = argv[i] + 8;
        } else {
            rest.push_back(argv[i]);
        }
    }
    auto runs = [&suite](std::string_view name) { return suite.empty() || suite == name; };
    if (runs("properties")) {
        runPropertyListBenchmarks(static_cast<int>(rest.size()), rest.data());
    }
    if (runs("store")) {
        runStoreBenchmarks();
    }
    if (runs("browser")) {
        runBrowserBenchmarks();
    }
    if (runs("filters")) {
        runFilterListBenchmarks();
    }
    if (runs("pickers")) {
        runColorPickerBenchmarks();
    }
    if (runs("preview")) {
        runLabelPreviewBenchmarks();
    }
    return 0;
}
