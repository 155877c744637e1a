// A minimal loadable module: one function and one data object, both plain
// C names, for the module loader's tests.
extern "C" __attribute__((visibility("default"))) int vddVersion(void)
{
    return 324;
}

extern "C" {
__attribute__((visibility("default"))) int vddTestValue = 42;
}
