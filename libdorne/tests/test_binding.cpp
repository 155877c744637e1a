// The library calls its own functions even when the executable defines the
// same names: the application has api* functions of its own, and later
// exports carry generic names. This program defines several library names
// itself (exported, so the dynamic linker could offer them to the library)
// and calls both sets from one process.
#include "dorneFiles.h"
#include "dorneHash.h"
#include "dornePlatform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <dlfcn.h>

namespace {
int ownCalls = 0;
}

// The executable's own definitions of library names.
extern "C" int VPutFInt(int, FILE*)
{
    ++ownCalls;
    return 0;
}

extern "C" int mpiHashClear(HASH_STRUCT*)
{
    ++ownCalls;
    return 0;
}

extern "C" void* apiDllOpen(const char*)
{
    ++ownCalls;
    return nullptr;
}

namespace {

// The library's definition of a name, looked up in libdorne itself.
template <typename F>
F libraryFunction(const char* name)
{
    void* library = dlopen(DORNE_SONAME, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(library, nullptr);
    F f = reinterpret_cast<F>(dlsym(library, name));
    if (library != nullptr)
        dlclose(library);
    return f;
}

TEST(Binding, LibraryCallsItsOwnFunctions)
{
    ownCalls = 0;
    // VPutFFloat writes through the library's VPutFInt.
    FILE* f = std::tmpfile();
    EXPECT_EQ(VPutFFloat(1.0f, f), 1);
    std::rewind(f);
    unsigned char b[4] = {};
    ASSERT_EQ(std::fread(b, 1, 4, f), 4u);
    EXPECT_EQ(b[0], 0x3F);
    EXPECT_EQ(b[1], 0x80);
    std::fclose(f);

    // mpiHashRemove clears through the library's mpiHashClear, which frees
    // the text copies (AddressSanitizer would report them otherwise).
    HASH_STRUCT* table = mpiHashCreate(4);
    static int value;
    ASSERT_EQ(mpiHashInsertAscii(table, "key", &value), 0);
    EXPECT_EQ(mpiHashRemove(table), 0);

    EXPECT_EQ(ownCalls, 0) << "the library called the executable's definitions";
}

TEST(Binding, BothSetsCallableFromOneProcess)
{
    ownCalls = 0;
    EXPECT_EQ(apiDllOpen(DORNE_TEST_MODULE), nullptr);
    EXPECT_EQ(VPutFInt(1, nullptr), 0);
    EXPECT_EQ(ownCalls, 2) << "the executable's own names";

    auto libOpen = libraryFunction<void* (*)(const char*)>("apiDllOpen");
    auto libPutInt = libraryFunction<int (*)(int, FILE*)>("VPutFInt");
    ASSERT_NE(libOpen, nullptr);
    ASSERT_NE(libPutInt, nullptr);
    EXPECT_NE(reinterpret_cast<void*>(libOpen), reinterpret_cast<void*>(&apiDllOpen));
    void* module = libOpen(DORNE_TEST_MODULE);
    EXPECT_NE(module, nullptr);
    apiDllClose(module);
    FILE* f = std::tmpfile();
    EXPECT_EQ(libPutInt(303, f), 1);
    EXPECT_EQ(std::ftell(f), 4);
    std::fclose(f);
    EXPECT_EQ(ownCalls, 2);
}

} // namespace
