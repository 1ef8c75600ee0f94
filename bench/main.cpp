// Runs every benchmark suite and prints each measurement with the ratio to its floor.
void runStoreBenchmarks();

int main() {
    runStoreBenchmarks();
    return 0;
}
