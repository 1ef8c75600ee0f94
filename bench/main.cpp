// Runs every benchmark suite: the Google Benchmark suites first, then the programs that print
// each measurement with its ratio to a floor.
void runPropertyListBenchmarks(int argc, char** argv);
void runStoreBenchmarks();
void runBrowserBenchmarks();
void runFilterListBenchmarks();
void runColorPickerBenchmarks();
void runLabelPreviewBenchmarks();

int main(int argc, char** argv) {
    runPropertyListBenchmarks(argc, argv);
    runStoreBenchmarks();
    runBrowserBenchmarks();
    runFilterListBenchmarks();
    runColorPickerBenchmarks();
    runLabelPreviewBenchmarks();
    return 0;
}
