// Runs every benchmark suite and prints each measurement with the ratio to its floor.
void runStoreBenchmarks();
void runBrowserBenchmarks();

int main() {
    runStoreBenchmarks();
    runBrowserBenchmarks();
    return 0;
}
