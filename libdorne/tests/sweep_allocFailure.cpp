// Memory running out inside one call of the library, at every allocation in
// turn: for each n, a child forked from a process that never made the call
// fails the n-th allocation the call makes (malloc and its siblings return
// null, operator new throws), until a run makes its call without reaching
// n. No child may end abnormally, and each call gives its documented
// error with the caller's lists as they were, or success with everything
// read (the same as the load that nothing failed).
//
// The program replaces malloc, calloc, realloc, the aligned allocators,
// strdup and operator new/delete for the whole process (the allocator
// underneath is reached through dlsym), so it has a main of its own; it is
// built with the libraries without sanitizers (allocSweep.cmake), whose
// allocator would make each of its thousands of children several times
// slower. The children run as many at once as there are processors.
#include "dorneElements.h"
#include "dorneFiles.h"
#include "dorneDataSources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <new>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// ---- The allocation counter. ----

namespace {

using MallocFn = void* (*)(size_t);
using CallocFn = void* (*)(size_t, size_t);
using ReallocFn = void* (*)(void*, size_t);
using FreeFn = void (*)(void*);
using MemalignFn = int (*)(void**, size_t, size_t);

MallocFn realMalloc;
CallocFn realCalloc;
ReallocFn realRealloc;
FreeFn realFree;
MemalignFn realMemalign;

// dlsym may allocate before the real functions are known.
alignas(16) char bootArena[1 << 16];
size_t bootUsed;
bool resolving;

// Counting runs only while armed; the allocation numbered failAt fails.
// The hooks run before the sanitizers' start: nothing in them is
// instrumented, and they use builtins only.
#define SWEEP_HOOK __attribute__((no_sanitize("address", "undefined")))
int armed = 0;
long counted = 0;
long failAt = 0;

SWEEP_HOOK bool inBoot(const void* p)
{
    return p >= static_cast<const void*>(bootArena) && p < static_cast<const void*>(bootArena + sizeof bootArena);
}

SWEEP_HOOK void* bootAlloc(size_t n)
{
    n = (n + 15) & ~size_t(15);
    if (bootUsed + n > sizeof bootArena)
        return nullptr;
    void* p = bootArena + bootUsed;
    bootUsed += n;
    return p;
}

SWEEP_HOOK void resolve()
{
    if (realMalloc != nullptr || resolving)
        return;
    resolving = true;
    realMalloc = reinterpret_cast<MallocFn>(dlsym(RTLD_NEXT, "malloc"));
    realCalloc = reinterpret_cast<CallocFn>(dlsym(RTLD_NEXT, "calloc"));
    realRealloc = reinterpret_cast<ReallocFn>(dlsym(RTLD_NEXT, "realloc"));
    realFree = reinterpret_cast<FreeFn>(dlsym(RTLD_NEXT, "free"));
    realMemalign = reinterpret_cast<MemalignFn>(dlsym(RTLD_NEXT, "posix_memalign"));
    resolving = false;
}

// True when this allocation is the one to fail.
SWEEP_HOOK bool failHere()
{
    if (!__atomic_load_n(&armed, __ATOMIC_RELAXED))
        return false;
    return __atomic_add_fetch(&counted, 1, __ATOMIC_RELAXED) == failAt;
}

} // namespace

extern "C" {

SWEEP_HOOK void* malloc(size_t n)
{
    resolve();
    if (realMalloc == nullptr)
        return bootAlloc(n);
    return failHere() ? nullptr : realMalloc(n);
}

SWEEP_HOOK void* calloc(size_t count, size_t size)
{
    resolve();
    if (realCalloc == nullptr) {
        if (size != 0 && count > SIZE_MAX / size)
            return nullptr;
        void* p = bootAlloc(count * size);
        if (p != nullptr)
            std::memset(p, 0, count * size);
        return p;
    }
    return failHere() ? nullptr : realCalloc(count, size);
}

SWEEP_HOOK void* realloc(void* p, size_t n)
{
    resolve();
    if (inBoot(p)) { // only ever grown by the dynamic linker's start
        void* q = malloc(n);
        const size_t held = size_t(bootArena + sizeof bootArena - static_cast<char*>(p));
        if (q != nullptr)
            std::memcpy(q, p, n < held ? n : held);
        return q;
    }
    return failHere() ? nullptr : realRealloc(p, n);
}

SWEEP_HOOK void free(void* p)
{
    if (p == nullptr || inBoot(p))
        return;
    resolve();
    realFree(p);
}

SWEEP_HOOK int posix_memalign(void** out, size_t alignment, size_t n)
{
    resolve();
    if (failHere())
        return ENOMEM;
    return realMemalign(out, alignment, n);
}

SWEEP_HOOK void* aligned_alloc(size_t alignment, size_t n)
{
    void* p = nullptr;
    return posix_memalign(&p, alignment < sizeof(void*) ? sizeof(void*) : alignment, n) == 0 ? p : nullptr;
}

SWEEP_HOOK void* memalign(size_t alignment, size_t n)
{
    return aligned_alloc(alignment, n);
}

// The sanitizers' own strdup would allocate past the counter.
SWEEP_HOOK char* strdup(const char* s)
{
    const size_t n = std::strlen(s) + 1;
    auto* p = static_cast<char*>(malloc(n));
    if (p != nullptr)
        std::memcpy(p, s, n);
    return p;
}

SWEEP_HOOK char* strndup(const char* s, size_t limit)
{
    const size_t n = strnlen(s, limit);
    auto* p = static_cast<char*>(malloc(n + 1));
    if (p != nullptr) {
        std::memcpy(p, s, n);
        p[n] = '\0';
    }
    return p;
}

} // extern "C"

void* operator new(size_t n)
{
    if (void* p = malloc(n != 0 ? n : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](size_t n)
{
    return operator new(n);
}
void* operator new(size_t n, const std::nothrow_t&) noexcept
{
    return malloc(n != 0 ? n : 1);
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept
{
    return malloc(n != 0 ? n : 1);
}
void* operator new(size_t n, std::align_val_t a)
{
    if (void* p = aligned_alloc(size_t(a), n != 0 ? n : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](size_t n, std::align_val_t a)
{
    return operator new(n, a);
}
void operator delete(void* p) noexcept { free(p); }
void operator delete[](void* p) noexcept { free(p); }
void operator delete(void* p, size_t) noexcept { free(p); }
void operator delete[](void* p, size_t) noexcept { free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { free(p); }
void operator delete(void* p, std::align_val_t) noexcept { free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { free(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { free(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { free(p); }

// ---- The sweep. ----

namespace {

// Where the build writes the instrument page's view files.
const std::string kViewFolder = DORNE_VIEW_FOLDER;

// Children running at once.
const int kParallel = [] {
    const long cores = sysconf(_SC_NPROCESSORS_ONLN);
    return cores < 4 ? 4 : cores > 16 ? 16 : int(cores);
}();

// A scratch folder for the whole program (children write into it too),
// in memory where there is one: the files children save are synced.
std::string scratch()
{
    static const std::string path = [] {
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string pattern = std::string(base) + "/dorneSweepXXXXXX";
            if (mkdtemp(&pattern[0]) != nullptr)
                return pattern;
        }
        return std::string("/tmp");
    }();
    return path;
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The caller's side of a load: the lists and the view block it passes.
struct Lists
{
    ELEMENT_STRUCT* elements = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config;
    Lists()
    {
        std::memset(&config, 0, sizeof config);
        config.r = 0.25f;
        config.width = 77;
        std::strcpy(config.texts[2], "kept");
    }
};

uint64_t fnv(const void* data, size_t size, uint64_t h = 1469598103934665603ull)
{
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i)
        h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

// Every handle, box and record presence of the tree.
void describeTree(const ELEMENT_STRUCT* e, std::string& out)
{
    char line[256];
    for (; e != nullptr; e = e->next) {
        std::snprintf(line, sizeof line, "[%d %.63s data=%d update=%d box=%g,%g,%g,%g handles:", e->kind, e->name,
                      e->data != nullptr, e->update != nullptr, double(e->minX), double(e->minY), double(e->maxX),
                      double(e->maxY));
        out += line;
        for (const STICKY_STRUCT* s = e->stickies; s != nullptr; s = s->next) {
            std::snprintf(line, sizeof line, " %u/%u@%g,%g", unsigned(s->id), unsigned(s->type), double(s->x),
                          double(s->y));
            out += line;
        }
        out += " children:";
        describeTree(e->children, out);
        out += "]";
    }
}

// What a caller can tell of its lists and view block: the binary file they
// save as (elements with their actions, sources with their variables, the
// view block), the handles and boxes, and the whole view block.
std::string digest(const Lists& lists)
{
    const std::string path = scratch() + "/digest-" + std::to_string(getpid()) + ".v";
    CONFIG_STRUCT config = lists.config;
    const int saved = saveFile(path.c_str(), lists.elements, lists.sources, &config);
    const std::string bytes = fileText(path);
    std::remove(path.c_str());
    std::string tree;
    describeTree(lists.elements, tree);
    char text[160];
    std::snprintf(text, sizeof text, "save=%d file=%zu/%016llx tree=%016llx config=%016llx", saved, bytes.size(),
                  static_cast<unsigned long long>(fnv(bytes.data(), bytes.size())),
                  static_cast<unsigned long long>(fnv(tree.data(), tree.size())),
                  static_cast<unsigned long long>(fnv(&lists.config, sizeof lists.config)));
    return text;
}

// One call under test: prepares the caller's side (nothing counted), makes
// the call (counted) and tells its result.
struct Call
{
    std::string name;
    std::function<void(Lists&)> prepare;
    std::function<int(Lists&)> run; // 0 or -1 as documented (a null element is -1)
};

// A child's report.
struct Outcome
{
    bool normalExit = false;
    int signal = 0;
    int exitCode = 0;
    bool reached = false; // the n-th allocation was made (and failed)
    long allocations = 0;
    int result = 0;
    bool asBefore = false; // the caller's lists and block are as they were
    std::string lists;     // the digest after a call that succeeded
};

// The exit code of a child whose call let an exception out.
const int kEscaped = 70;

// Runs the call in a child that fails allocation n (0: none), reporting
// through a pipe. Returns the child's pid and the pipe's read end. Nothing
// of the library runs before the call: it meets every first use as cold as
// the process it came from.
std::pair<pid_t, int> launch(const Call& call, long n, bool quiet)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {-1, -1};
    const pid_t pid = fork();
    if (pid != 0) {
        close(fds[1]);
        return {pid, fds[0]};
    }
    close(fds[0]);
    if (quiet) { // the library's messages of thousands of children
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
    }
    alarm(60);
    Lists lists;
    call.prepare(lists);
    // What the caller had, to compare with when the call refuses.
    ELEMENT_STRUCT* const head = lists.elements;
    ELEMENT_STRUCT headCopy{};
    if (head != nullptr)
        headCopy = *head;
    const CONFIG_STRUCT configCopy = lists.config;
    failAt = n;
    counted = 0;
    __atomic_store_n(&armed, 1, __ATOMIC_SEQ_CST);
    int result = 0;
    try {
        result = call.run(lists);
    } catch (...) { // from a C function: the end of a C caller
        _exit(kEscaped);
    }
    __atomic_store_n(&armed, 0, __ATOMIC_SEQ_CST);
    const long made = counted;
    const bool asBefore = lists.elements == head && lists.sources == nullptr &&
                          (head == nullptr || std::memcmp(head, &headCopy, sizeof headCopy) == 0) &&
                          std::memcmp(&lists.config, &configCopy, sizeof configCopy) == 0;
    char line[128];
    std::snprintf(line, sizeof line, "%d %ld %d %d\n", result, made, n > 0 && made >= n, asBefore);
    // Saved only when there is something to compare: most runs refuse.
    const std::string report = line + (result == 0 ? digest(lists) : std::string("-")) + "\n";
    const char* p = report.data();
    size_t left = report.size();
    while (left > 0) {
        const ssize_t w = write(fds[1], p, left);
        if (w <= 0)
            break;
        p += w;
        left -= size_t(w);
    }
    _exit(0);
}

// The report of a child; status is its wait status when it was reaped
// already.
Outcome collect(pid_t pid, int fd, const int* reaped = nullptr)
{
    Outcome o;
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t r = read(fd, buffer, sizeof buffer);
        if (r <= 0)
            break;
        text.append(buffer, size_t(r));
    }
    close(fd);
    int status = reaped != nullptr ? *reaped : 0;
    while (reaped == nullptr && waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    o.normalExit = WIFEXITED(status);
    o.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
    o.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    int reached = 0, asBefore = 0;
    char lists[200] = "";
    if (std::sscanf(text.c_str(), "%d %ld %d %d\n%199[^\n]", &o.result, &o.allocations, &reached, &asBefore, lists) != 5)
        o.normalExit = false; // no report
    o.reached = reached != 0;
    o.asBefore = asBefore != 0;
    o.lists = lists;
    return o;
}

struct SweepFigures
{
    long allocations = 0; // of the call that nothing failed
    long refused = 0;     // runs that gave the error
    long complete = 0;    // runs that succeeded with everything read
    std::vector<std::pair<long, std::string>> faults; // by allocation
};

// Fails every allocation of the call in turn, kParallel children at a time.
SweepFigures sweep(const Call& call)
{
    SweepFigures figures;
    auto [refPid, refFd] = launch(call, 0, true);
    const Outcome reference = collect(refPid, refFd);
    if (!reference.normalExit || reference.result != 0) {
        figures.faults.push_back({0, "the call fails without any allocation failing"});
        return figures;
    }
    figures.allocations = reference.allocations;
    std::vector<std::pair<long, std::pair<pid_t, int>>> running;
    long next = 1;
    const long end = reference.allocations + 1; // this run reaches no failure
    long firstSignalled = 0;
    auto judge = [&](long n, const Outcome& o) {
        char text[640];
        if (o.exitCode == kEscaped) {
            std::snprintf(text, sizeof text, "allocation %ld: the child ended abnormally (an exception left the call)",
                          n);
            figures.faults.push_back({n, text});
            return;
        }
        if (!o.normalExit || o.exitCode != 0) {
            std::snprintf(text, sizeof text, "allocation %ld: the child ended abnormally (signal %d, exit %d)", n,
                          o.signal, o.exitCode);
            figures.faults.push_back({n, text});
            if (firstSignalled == 0 || n < firstSignalled)
                firstSignalled = n;
            return;
        }
        if (!o.reached) {
            if (n <= reference.allocations) {
                std::snprintf(text, sizeof text, "allocation %ld: only %ld allocations made", n, o.allocations);
                figures.faults.push_back({n, text});
            } else if (o.result != 0 || o.lists != reference.lists) {
                figures.faults.push_back({n, "the run past the last allocation differs from the unfailed one"});
            }
            return;
        }
        if (o.result == -1 && o.asBefore) {
            ++figures.refused;
        } else if (o.result == 0 && o.lists == reference.lists) {
            ++figures.complete;
        } else {
            std::snprintf(text, sizeof text, "allocation %ld: result %d, lists %s, as before: %d (unfailed: %s)", n,
                          o.result, o.lists.c_str(), o.asBefore, reference.lists.c_str());
            figures.faults.push_back({n, text});
        }
    };
    while (next <= end || !running.empty()) {
        while (next <= end && int(running.size()) < kParallel) {
            running.push_back({next, launch(call, next, true)});
            ++next;
        }
        // Whichever ends first: a child exits only after its report.
        int status = 0;
        const pid_t ended = waitpid(-1, &status, 0);
        if (ended < 0 && errno == EINTR)
            continue;
        auto child = running.begin();
        while (child != running.end() && child->second.first != ended)
            ++child;
        if (child == running.end()) {
            figures.faults.push_back({0, "lost track of the children"});
            break;
        }
        const long n = child->first;
        const int fd = child->second.second;
        running.erase(child);
        judge(n, collect(ended, fd, &status));
    }
    std::sort(figures.faults.begin(), figures.faults.end());
    if (firstSignalled != 0) { // show what the first such child printed
        std::fflush(stdout);
        auto [pid, fd] = launch(call, firstSignalled, false);
        collect(pid, fd);
    }
    return figures;
}

void expectSweepClean(const Call& call)
{
    const SweepFigures f = sweep(call);
    std::printf("%-34s %6ld allocations tried: %6ld refused with the lists as they were, %6ld complete, %zu "
                "faults\n",
                call.name.c_str(), f.allocations, f.refused, f.complete, f.faults.size());
    std::fflush(stdout);
    EXPECT_GT(f.allocations, 0) << call.name;
    EXPECT_EQ(f.refused + f.complete, f.allocations) << call.name;
    const size_t shown = std::min<size_t>(f.faults.size(), 8);
    for (size_t i = 0; i < shown; ++i)
        ADD_FAILURE() << call.name << ": " << f.faults[i].second;
}

// A caller whose list already holds an element, so that "as they were"
// means more than empty: an empty group made by hand, since a call of the
// library here would make its first uses before the call under test.
void oneElement(Lists& lists)
{
    static ELEMENT_STRUCT group;
    group.kind = VD_GROUP;
    std::strcpy(group.name, "CALLER");
    std::strcpy(group.id, "CALLER-ID");
    lists.elements = &group;
}

int loadView(Lists& lists, const std::string& path)
{
    return loadFile(path.c_str(), &lists.elements, &lists.sources, &lists.config);
}

int loadViewXml(Lists& lists, const std::string& path)
{
    return loadFileXml(path.c_str(), &lists.elements, &lists.sources, &lists.config);
}

// A symbol file with every keyword and primitive, a polygon chain and a
// second polygon, over two symbols.
std::string symbolFile()
{
    const std::string path = scratch() + "/symbols.sym";
    std::ofstream(path, std::ios::binary)
        << "SYMBOL-NR. 3\n"
           "BEZUGSPUNKT_X 10 BEZUGSPUNK_Y 20\n"
           "VEKTOR\n"
           "X1 0 Y1 0 X2 10 Y2 0 RGB-Farbe 255 0 0 GESTRICHELT\n"
           "GEF. RECHTECK\n"
           "X1 0 Y1 0 X2 20 Y2 10 RGB-Farbe 0 255 0 DURCHGEZOGEN\n"
           "RECHTECK\n"
           "\tX1 5 Y1 5 X2 25 Y2 15 RGB-Farbe 0 0 255 GEPUNKTET\r\n"
           "TEXT\n"
           "X1 3 Y1 4 Font 3 RGB-Farbe 10 20 30 CHARACTER Druck\n"
           "KREIS\n"
           "X1 50 Y1 50 RADIUS 20 RGB-Farbe 1 2 3 STRICHPUNKT\n"
           "KREIS_BOGEN\n"
           "X1 60 Y1 60 RADIUS 10 Winkelanfang[Grad] 270 Winkelende[GRAD] 90 RGB-Farbe 4 5 6\n"
           "POLYGON\n"
           "X1 0 Y1 0 X2 10 Y2 0 RGB-Farbe 7 8 9 DURCHGEZOGEN\n"
           "POLYGON\n"
           "X1 10 Y1 0 X2 10 Y2 10 RGB-Farbe 7 8 9 DURCHGEZOGEN\n"
           "POLYGON\n"
           "X1 10 Y1 10 X2 0 Y2 0 RGB-Farbe 7 8 9 DURCHGEZOGEN\n"
           "POLYGON\n"
           "X1 5 Y1 5 X2 6 Y2 9 RGB-Farbe 7 8 9 DURCHGEZOGEN\n"
           "ignored line\n"
           "SYMBOL-NR. 4\n"
           "BEZUGSPUNKT_X 0 BEZUGSPUNK_Y 0\n"
           "TEXT\n"
           "X1 1 Y1 1 Font 2 RGB-Farbe 0 0 0 CHARACTER zwei\n"
           "VEKTOR\n"
           "X1 1 Y1 2 X2 3 Y2 4 RGB-Farbe 9 9 9 anders\n";
    return path;
}

// instruments.v in the XML form, written by a child so that this process
// stays as cold as every child starts.
std::string instrumentsXml()
{
    const std::string path = scratch() + "/instruments.xml";
    const pid_t pid = fork();
    if (pid == 0) {
        Lists lists;
        int status = loadView(lists, kViewFolder + "/instruments.v");
        if (status == 0)
            status = saveFileXml(path.c_str(), lists.elements, lists.sources, &lists.config);
        _exit(status == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "cannot write " << path;
    return path;
}

TEST(AllocFailureSweep, ElementCreateOfEveryKind)
{
    for (int kind = 0; kind <= 14; ++kind) {
        Call call{"elementCreate(" + std::to_string(kind) + ")", oneElement, [kind](Lists& lists) {
                      ELEMENT_STRUCT* e = elementCreate(kind);
                      if (e == nullptr)
                          return -1;
                      elementAppend(e, &lists.elements);
                      return 0;
                  }};
        expectSweepClean(call);
    }
}

TEST(AllocFailureSweep, LoadFileOfTheInstrumentViews)
{
    for (const char* file : {"frame.v", "instruments.v"}) {
        const std::string path = kViewFolder + "/" + file;
        ASSERT_FALSE(fileText(path).empty()) << "no view file " << path;
        expectSweepClean({std::string("loadFile(") + file + ")", oneElement,
                          [path](Lists& lists) { return loadView(lists, path); }});
    }
}

TEST(AllocFailureSweep, LoadFileXmlOfTheInstrumentView)
{
    const std::string path = instrumentsXml();
    ASSERT_FALSE(fileText(path).empty());
    expectSweepClean({"loadFileXml(instruments.xml)", oneElement,
                      [path](Lists& lists) { return loadViewXml(lists, path); }});
}

TEST(AllocFailureSweep, LoadSymbolFile)
{
    const std::string path = symbolFile();
    expectSweepClean({"loadSymbolFile(symbols.sym)", oneElement, [path](Lists& lists) {
                          return loadSymbolFile(path.c_str(), &lists.elements, nullptr, nullptr);
                      }});
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    scratch(); // made here, not in every child
    const int result = RUN_ALL_TESTS();
    std::filesystem::remove_all(scratch());
    return result;
}
