/* The PE image of the catalog tests: built with mingw-w64 (-nostdlib -e start) when they run. */
int start(void) {
    return 0;
}
