// Runs every benchmark suite: the Google Benchmark suites first, then the programs that print
// each measurement with its ratio to a floor.
void runPropertyListBenchmarks(int argc, char** argv);
void runStoreBenchmarks();
void runBrowserBenchmarks();
void runColorPickerBenchmarks();

int main(int argc, char** argv) {
    runPropertyListBenchmarks(argc, argv);
    runStoreBenchmarks();
    runBrowserBenchmarks();
    runColorPickerBenchmarks();
    return 0;
}
