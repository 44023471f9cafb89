// A tiny loadable library for the loader tests: it stands in for a plug-in.
extern "C" __attribute__((visibility("default"))) int probe_twice(int x) {
    return 2 * x;
}
