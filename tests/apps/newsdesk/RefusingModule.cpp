// A module that refuses every function table, as one built for an older
// table revision would.
extern "C" __attribute__((visibility("default"))) int FSetFunctionAddress(void*, void*, int,
                                                                           int) {
    return 3;
}
