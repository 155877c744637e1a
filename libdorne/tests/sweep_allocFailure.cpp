// Memory running out inside one call of the library, at every allocation in
// turn: for each n, a child forked from a process that never made the call
// fails the n-th allocation the call makes (malloc and its siblings return
// null with errno ENOMEM, operator new throws), until a run makes its call
// without reaching n. No child may end abnormally, and each call keeps the
// promise its header makes: each call below has a judge, run in the child
// after the call, that names a broken promise, or tells whether the call
// gave its documented failure or completed (then with a digest that must
// be the digest of the run that nothing failed).
//
// The program replaces malloc, calloc, realloc, the aligned allocators,
// strdup and operator new/delete for the whole process (the allocator
// underneath is reached through dlsym), so it has a main of its own; it is
// built with the libraries without sanitizers (allocSweep.cmake), whose
// allocator would make each of its thousands of children several times
// slower. The children run as many at once as there are processors. A
// child that makes a GL context exempts the GL driver's own allocations
// (Mesa ends on a signal when one fails inside a GL call): the font
// library's and FreeType's fail in turn all the same.
#include "NalvoView.h"
#include "dorneDataSources.h"
#include "dorneElements.h"
#include "dorneFiles.h"
#include "dorneView.h"
#include "orloGlContext.h"
#include "sartoFonts.h"
#include "sartoLibrary.h"
#include "shapeSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <execinfo.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <new>
#include <pthread.h>
#include <sstream>
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

// Blocks held by the process, on every thread, armed or not: what a call
// leaves held is the difference across it. Blocks, not bytes: the bytes the
// allocator hands out for a request depend on the free block it picks.
long long liveBlocks = 0;

// The stack of the failing allocation is shown (SWEEP_SHOW runs).
bool traceFailure = false;

SWEEP_HOOK bool inBoot(const void* p)
{
    return p >= static_cast<const void*>(bootArena) && p < static_cast<const void*>(bootArena + sizeof bootArena);
}

SWEEP_HOOK void* bootAlloc(size_t n)
{
    n = (n + 15) & ~size_t(15);
    if (bootUsed + n > sizeof bootArena) {
        errno = ENOMEM;
        return nullptr;
    }
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

// True when this allocation is the one to fail; the failure then sets
// errno as the C library's allocator does (pthread_create relies on it).
// Code whose own allocations are neither counted nor failed: the GL
// driver's (Mesa ends on a signal when an allocation inside a GL call
// fails), set by a child that needs a context. An allocation counts as
// made by the code that called the allocator.
struct CodeRange
{
    uintptr_t begin, end;
};
CodeRange exempt[64];
int exemptCount = 0;

SWEEP_HOOK bool exempted(const void* caller)
{
    const auto a = reinterpret_cast<uintptr_t>(caller);
    for (int i = 0; i < exemptCount; ++i)
        if (a >= exempt[i].begin && a < exempt[i].end)
            return true;
    return false;
}

SWEEP_HOOK bool failHere(const void* caller = nullptr)
{
    if (!__atomic_load_n(&armed, __ATOMIC_RELAXED))
        return false;
    if (exemptCount > 0 && exempted(caller))
        return false;
    if (__atomic_add_fetch(&counted, 1, __ATOMIC_RELAXED) != failAt)
        return false;
    if (traceFailure) {
        void* frames[32];
        backtrace_symbols_fd(frames, backtrace(frames, 32), 2);
    }
    errno = ENOMEM;
    return true;
}

SWEEP_HOOK void* held(void* p)
{
    if (p != nullptr && !inBoot(p))
        __atomic_add_fetch(&liveBlocks, 1, __ATOMIC_RELAXED);
    return p;
}

SWEEP_HOOK void released(void* p)
{
    if (p != nullptr && !inBoot(p))
        __atomic_sub_fetch(&liveBlocks, 1, __ATOMIC_RELAXED);
}

} // namespace

extern "C" {

static SWEEP_HOOK void* mallocFrom(size_t n, const void* caller)
{
    resolve();
    if (realMalloc == nullptr)
        return bootAlloc(n);
    return failHere(caller) ? nullptr : held(realMalloc(n));
}

SWEEP_HOOK void* malloc(size_t n)
{
    return mallocFrom(n, __builtin_return_address(0));
}

SWEEP_HOOK void* calloc(size_t count, size_t size)
{
    resolve();
    if (realCalloc == nullptr) {
        if (size != 0 && count > SIZE_MAX / size) {
            errno = ENOMEM;
            return nullptr;
        }
        void* p = bootAlloc(count * size);
        if (p != nullptr)
            std::memset(p, 0, count * size);
        return p;
    }
    return failHere(__builtin_return_address(0)) ? nullptr : held(realCalloc(count, size));
}

SWEEP_HOOK void* realloc(void* p, size_t n)
{
    resolve();
    if (inBoot(p)) { // only ever grown by the dynamic linker's start
        void* q = malloc(n);
        const size_t size = size_t(bootArena + sizeof bootArena - static_cast<char*>(p));
        if (q != nullptr)
            std::memcpy(q, p, n < size ? n : size);
        return q;
    }
    if (p != nullptr && n == 0) { // a free, as the C library's realloc makes it
        released(p);
        realFree(p);
        return nullptr;
    }
    if (failHere(__builtin_return_address(0)))
        return nullptr;
    void* q = realRealloc(p, n);
    return p == nullptr ? held(q) : q; // a block moved is still one block
}

SWEEP_HOOK void* reallocarray(void* p, size_t count, size_t size)
{
    if (size != 0 && count > SIZE_MAX / size) {
        errno = ENOMEM;
        return nullptr;
    }
    return realloc(p, count * size);
}

SWEEP_HOOK void free(void* p)
{
    if (p == nullptr || inBoot(p))
        return;
    resolve();
    released(p);
    realFree(p);
}

static SWEEP_HOOK int memalignFrom(void** out, size_t alignment, size_t n, const void* caller)
{
    resolve();
    if (failHere(caller))
        return ENOMEM;
    const int error = realMemalign(out, alignment, n);
    if (error == 0)
        held(*out);
    return error;
}

SWEEP_HOOK int posix_memalign(void** out, size_t alignment, size_t n)
{
    return memalignFrom(out, alignment, n, __builtin_return_address(0));
}

static SWEEP_HOOK void* alignedFrom(size_t alignment, size_t n, const void* caller)
{
    void* p = nullptr;
    const int error = memalignFrom(&p, alignment < sizeof(void*) ? sizeof(void*) : alignment, n, caller);
    if (error != 0) {
        errno = error;
        return nullptr;
    }
    return p;
}

SWEEP_HOOK void* aligned_alloc(size_t alignment, size_t n)
{
    return alignedFrom(alignment, n, __builtin_return_address(0));
}

SWEEP_HOOK void* memalign(size_t alignment, size_t n)
{
    return alignedFrom(alignment, n, __builtin_return_address(0));
}

// The sanitizers' own strdup would allocate past the counter.
SWEEP_HOOK char* strdup(const char* s)
{
    const size_t n = std::strlen(s) + 1;
    auto* p = static_cast<char*>(mallocFrom(n, __builtin_return_address(0)));
    if (p != nullptr)
        std::memcpy(p, s, n);
    return p;
}

SWEEP_HOOK char* strndup(const char* s, size_t limit)
{
    const size_t n = strnlen(s, limit);
    auto* p = static_cast<char*>(mallocFrom(n + 1, __builtin_return_address(0)));
    if (p != nullptr) {
        std::memcpy(p, s, n);
        p[n] = '\0';
    }
    return p;
}

} // extern "C"

// Each passes its own caller on: the allocations of exempted code stay
// exempted through operator new.
void* operator new(size_t n)
{
    if (void* p = mallocFrom(n != 0 ? n : 1, __builtin_return_address(0)))
        return p;
    throw std::bad_alloc();
}
void* operator new[](size_t n)
{
    if (void* p = mallocFrom(n != 0 ? n : 1, __builtin_return_address(0)))
        return p;
    throw std::bad_alloc();
}
void* operator new(size_t n, const std::nothrow_t&) noexcept
{
    return mallocFrom(n != 0 ? n : 1, __builtin_return_address(0));
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept
{
    return mallocFrom(n != 0 ? n : 1, __builtin_return_address(0));
}
void* operator new(size_t n, std::align_val_t a)
{
    if (void* p = alignedFrom(size_t(a), n != 0 ? n : 1, __builtin_return_address(0)))
        return p;
    throw std::bad_alloc();
}
void* operator new[](size_t n, std::align_val_t a)
{
    if (void* p = alignedFrom(size_t(a), n != 0 ? n : 1, __builtin_return_address(0)))
        return p;
    throw std::bad_alloc();
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

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...)
{
    char text[1024];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    return text;
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

// One element's grab handles: id, type, position and hit box of each.
std::string handlesOf(const ELEMENT_STRUCT* e)
{
    std::string out;
    for (const STICKY_STRUCT* s = e->stickies; s != nullptr; s = s->next)
        out += format(" %u/%u@%.9g,%.9g,%.9g,%.9g", unsigned(s->id), unsigned(s->type), double(s->x), double(s->y),
                      double(s->halfWidth), double(s->halfHeight));
    return out;
}

// Every handle, box and record presence of the tree.
void describeTree(const ELEMENT_STRUCT* e, std::string& out)
{
    for (; e != nullptr; e = e->next) {
        out += format("[%d %.63s data=%d update=%d box=%g,%g,%g,%g handles:", e->kind, e->name, e->data != nullptr,
                      e->update != nullptr, double(e->minX), double(e->minY), double(e->maxX), double(e->maxY));
        out += handlesOf(e);
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
    return format("save=%d file=%zu/%016llx tree=%016llx config=%016llx", saved, bytes.size(),
                  static_cast<unsigned long long>(fnv(bytes.data(), bytes.size())),
                  static_cast<unsigned long long>(fnv(tree.data(), tree.size())),
                  static_cast<unsigned long long>(fnv(&lists.config, sizeof lists.config)));
}

// The size of an element's kind record; 0 for a kind without one.
size_t kindRecordSize(int kind)
{
    switch (kind) {
    case VD_GRAPH: return sizeof(GRAPH_STRUCT);
    case VD_RECTANGLE: return sizeof(RECT_STRUCT);
    case VD_POLYGON:
    case VD_CPOLYGON: return sizeof(POLY_STRUCT);
    case VD_CIRCLE:
    case VD_ARC: return sizeof(CIRCLE_STRUCT);
    case VD_TEXT: return sizeof(TEXT_STRUCT);
    case VD_LINE: return sizeof(LINE_STRUCT);
    case VD_TEXTURE: return sizeof(IMAGE_STRUCT);
    case VD_BUTTON: return sizeof(BUTTON_STRUCT);
    case VD_SLIDER: return sizeof(SLIDER_STRUCT);
    case VD_SCISSOR: return sizeof(SCISSOR_STRUCT);
    default: return 0;
    }
}

// Every record of the caller's lists, by address and with its bytes: the
// elements of the whole tree with their kind records, vertices and grab
// handles, the sources with their variables, and the view block.
struct Snapshot
{
    struct Record
    {
        const void* address;
        std::string bytes;
        std::string what;
    };
    const ELEMENT_STRUCT* elements = nullptr;
    const DD_DATA_TYPE_STRUCT* sources = nullptr;
    std::vector<Record> records;

    void add(const void* address, size_t size, std::string what)
    {
        records.push_back({address, std::string(static_cast<const char*>(address), size), std::move(what)});
    }
    void addTree(const ELEMENT_STRUCT* e)
    {
        for (; e != nullptr; e = e->next) {
            const std::string name = e->name;
            add(e, sizeof *e, "element " + name);
            const size_t size = kindRecordSize(e->kind);
            if (e->data != nullptr && size > 0) {
                add(e->data, size, "kind record of " + name);
                if (e->kind == VD_POLYGON || e->kind == VD_CPOLYGON) {
                    const auto* poly = static_cast<const POLY_STRUCT*>(e->data);
                    for (const COORD_STRUCT* c = poly->coords; c != nullptr; c = c->next)
                        add(c, sizeof *c, "vertex of " + name);
                    for (const COORD_STRUCT* c = poly->fillCoords; c != nullptr; c = c->next)
                        add(c, sizeof *c, "fill vertex of " + name);
                }
            }
            for (const STICKY_STRUCT* s = e->stickies; s != nullptr; s = s->next)
                add(s, sizeof *s, "handle " + std::to_string(s->id) + " of " + name);
            addTree(e->children);
        }
    }
    static Snapshot of(const Lists& lists)
    {
        Snapshot shot;
        shot.elements = lists.elements;
        shot.sources = lists.sources;
        shot.addTree(lists.elements);
        for (const DD_DATA_TYPE_STRUCT* s = lists.sources; s != nullptr; s = s->next) {
            shot.add(s, sizeof *s, std::string("source ") + s->name);
            for (const DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
                shot.add(v, sizeof *v, std::string("variable ") + v->name);
        }
        shot.add(&lists.config, sizeof lists.config, "view block");
        return shot;
    }

    // "" when now holds the same records at the same addresses with the
    // same bytes; else the first difference.
    std::string differences(const Snapshot& now) const
    {
        if (now.elements != elements)
            return "the element list has another head";
        if (now.sources != sources)
            return "the source list has another head";
        const size_t common = std::min(records.size(), now.records.size());
        for (size_t i = 0; i < common; ++i) {
            if (records[i].address != now.records[i].address)
                return records[i].what + " is a new record (" + now.records[i].what + ")";
            if (records[i].bytes != now.records[i].bytes)
                return records[i].what + " changed";
        }
        if (records.size() != now.records.size())
            return format("%zu records instead of %zu", now.records.size(), records.size());
        return "";
    }
};

// What a judge finds after the call.
struct Verdict
{
    std::string broken;    // the broken promise; empty when the call kept it
    bool complete = false; // it succeeded (else it gave its documented failure)
    std::string digest;    // for a complete call: the same as the unfailed one's
    std::string state;     // what the judge compares with the unfailed call's
};

// One call under test. prepare makes the caller's side in the child
// (nothing counted; "" or why it could not), run makes the call with
// allocations counted and failing, judge tells what it did.
struct Call
{
    std::string name;
    std::function<std::string()> prepare;
    std::function<int()> run;
    std::function<Verdict(int result)> judge;
    // The call runs a data thread: how many allocations it makes varies
    // from run to run, so a run that ends before allocation n is judged
    // like the others.
    bool threaded = false;
    // Holds no more memory after the call than the unfailed call does.
    bool frees = false;
    // The call may need no allocation at all: then it has no failure point,
    // and only its unfailed run is judged.
    bool mayNotAllocate = false;
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
    long long held = 0; // blocks held after the call less those before
    Verdict verdict;
};

// The unfailed run's report, in the children that come after it.
const Outcome* unfailedRun = nullptr;

// The exit code of a child whose call let an exception out.
const int kEscaped = 70;

std::string oneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

void writeAll(int fd, const std::string& text)
{
    const char* p = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t w = write(fd, p, left);
        if (w <= 0)
            break;
        p += w;
        left -= size_t(w);
    }
}

// The shown child's stack when it ends on a signal.
void showStack(int signal)
{
    void* frames[64];
    const int n = backtrace(frames, 64);
    const char line[] = "the child ends on a signal; its stack:\n";
    (void)!write(2, line, sizeof line - 1);
    backtrace_symbols_fd(frames, n, 2);
    std::signal(signal, SIG_DFL);
    raise(signal);
}

// Runs the call in a child that fails allocation n (0: none), reporting
// through a pipe. Returns the child's pid and the pipe's read end. Nothing
// of the library runs in this process: each child meets every first use
// as cold as the process it came from.
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
    } else {
        void* frame[1];
        backtrace(frame, 1); // loads what it needs now
        traceFailure = true;
        for (const int signal : {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL})
            std::signal(signal, showStack);
    }
    // Standard output's buffer is not the library's to free.
    static char outBuffer[BUFSIZ];
    std::setvbuf(stdout, outBuffer, _IOFBF, sizeof outBuffer);
    alarm(60);
    const std::string unprepared = call.prepare();
    if (!unprepared.empty()) {
        writeAll(fds[1], "0 0 0 0 0\ncannot prepare the call: " + oneLine(unprepared) + "\n-\n-\n");
        _exit(0);
    }
    failAt = n;
    counted = 0;
    const long long heldBefore = __atomic_load_n(&liveBlocks, __ATOMIC_SEQ_CST);
    __atomic_store_n(&armed, 1, __ATOMIC_SEQ_CST);
    int result = 0;
    try {
        result = call.run();
    } catch (...) { // from a C function: the end of a C caller
        _exit(kEscaped);
    }
    __atomic_store_n(&armed, 0, __ATOMIC_SEQ_CST);
    const long made = counted;
    const long long heldAfter = __atomic_load_n(&liveBlocks, __ATOMIC_SEQ_CST);
    const Verdict v = call.judge(result);
    std::string report = format("%d %ld %d %d %lld\n", result, made, n > 0 && made >= n, v.complete,
                                heldAfter - heldBefore);
    report += oneLine(v.broken) + "\n" + (v.digest.empty() ? "-" : oneLine(v.digest)) + "\n" +
              (v.state.empty() ? "-" : oneLine(v.state)) + "\n";
    writeAll(fds[1], report);
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
    std::istringstream in(text);
    std::string first;
    int reached = 0, complete = 0;
    if (!std::getline(in, first) ||
        std::sscanf(first.c_str(), "%d %ld %d %d %lld", &o.result, &o.allocations, &reached, &complete,
                    &o.held) != 5 ||
        !std::getline(in, o.verdict.broken) || !std::getline(in, o.verdict.digest) ||
        !std::getline(in, o.verdict.state))
        o.normalExit = false; // no report
    o.reached = reached != 0;
    o.verdict.complete = complete != 0;
    return o;
}

struct SweepFigures
{
    long allocations = 0; // of the call that nothing failed
    long refused = 0;     // runs that gave the documented failure
    long complete = 0;    // runs that completed as the unfailed one
    long short_ = 0;      // runs of a threaded call that ended before their failure point
    std::vector<std::pair<long, std::string>> faults; // by allocation
};

// Fails every allocation of the call in turn, kParallel children at a time.
SweepFigures sweep(const Call& call)
{
    SweepFigures figures;
    auto [refPid, refFd] = launch(call, 0, true);
    const Outcome reference = collect(refPid, refFd);
    if (!reference.normalExit || reference.exitCode != 0 || !reference.verdict.broken.empty() ||
        !reference.verdict.complete) {
        figures.faults.push_back(
            {0, format("the call fails without any allocation failing (signal %d, exit %d, result %d: %s)",
                       reference.signal, reference.exitCode, reference.result, reference.verdict.broken.c_str())});
        return figures;
    }
    unfailedRun = &reference;
    figures.allocations = reference.allocations;
    // SWEEP_SHOW=n: only the run that fails allocation n, with what it prints.
    if (const char* show = std::getenv("SWEEP_SHOW")) {
        std::fflush(stdout);
        auto [pid, fd] = launch(call, std::atol(show), false);
        const Outcome o = collect(pid, fd);
        std::printf("allocation %s: signal %d, exit %d, result %d, reached %d, complete %d, held %lld: %s | %s\n",
                    show, o.signal, o.exitCode, o.result, o.reached, o.verdict.complete, o.held,
                    o.verdict.broken.c_str(), o.verdict.digest.c_str());
        unfailedRun = nullptr;
        return figures;
    }
    std::vector<std::pair<long, std::pair<pid_t, int>>> running;
    long next = 1;
    const long end = reference.allocations + 1; // this run reaches no failure
    long firstSignalled = 0;
    auto judge = [&](long n, const Outcome& o) {
        if (o.exitCode == kEscaped) {
            figures.faults.push_back(
                {n, format("allocation %ld: the child ended abnormally (an exception left the call)", n)});
            return;
        }
        if (!o.normalExit || o.exitCode != 0) {
            figures.faults.push_back({n, format("allocation %ld: the child ended abnormally (signal %d, exit %d)", n,
                                                o.signal, o.exitCode)});
            if (firstSignalled == 0 || n < firstSignalled)
                firstSignalled = n;
            return;
        }
        if (!o.reached && !call.threaded) {
            if (n <= reference.allocations)
                figures.faults.push_back(
                    {n, format("allocation %ld: only %ld allocations made", n, o.allocations)});
            else if (!o.verdict.complete || o.verdict.digest != reference.verdict.digest)
                figures.faults.push_back({n, "the run past the last allocation differs from the unfailed one"});
            return;
        }
        if (n > reference.allocations) // a threaded call's run past the last allocation
            return;
        std::string fault;
        if (!o.verdict.broken.empty())
            fault = o.verdict.broken;
        else if (o.verdict.complete && o.verdict.digest != reference.verdict.digest)
            fault = "completed, but not as the unfailed call: " + o.verdict.digest + " (unfailed: " +
                    reference.verdict.digest + ")";
        else if (call.frees && o.held > reference.held)
            fault = format("%lld blocks more held after the call than after the unfailed call (%lld)",
                           o.held - reference.held, reference.held);
        if (!fault.empty()) {
            figures.faults.push_back({n, format("allocation %ld: result %d: ", n, o.result) + fault});
            return;
        }
        if (!o.reached)
            ++figures.short_;
        if (o.verdict.complete)
            ++figures.complete;
        else
            ++figures.refused;
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
    unfailedRun = nullptr;
    return figures;
}

void expectSweepClean(const Call& call)
{
    const SweepFigures f = sweep(call);
    if (std::getenv("SWEEP_SHOW") != nullptr) // one run shown: nothing to count
        return;
    std::printf("%-44s %5ld failure points: %5ld documented failure, %5ld complete, %3zu faults",
                call.name.c_str(), f.allocations, f.refused, f.complete, f.faults.size());
    if (call.threaded)
        std::printf(" (%ld ended before their point)", f.short_);
    std::printf("\n");
    std::fflush(stdout);
    if (!call.mayNotAllocate) {
        EXPECT_GT(f.allocations, 0) << call.name;
    }
    EXPECT_EQ(f.refused + f.complete + long(f.faults.size()), f.allocations) << call.name;
    // SWEEP_SHOW_ALL=1 shows every fault, not only the first few.
    const size_t shown =
        std::getenv("SWEEP_SHOW_ALL") != nullptr ? f.faults.size() : std::min<size_t>(f.faults.size(), 8);
    for (size_t i = 0; i < shown; ++i)
        ADD_FAILURE() << call.name << ": " << f.faults[i].second;
}

// ---- Calls over the caller's lists (the readers, elementCreate). ----

// The caller's lists of the call running in this child, as they were
// before it.
Lists callerLists;
Snapshot callerBefore;

// A call of the lists: -1 with every record of the caller's lists where
// and as it was, or 0 with the lists the unfailed call left.
Call listCall(std::string name, std::function<void(Lists&)> prepare, std::function<int(Lists&)> run)
{
    Call call;
    call.name = std::move(name);
    call.prepare = [prepare] {
        prepare(callerLists);
        callerBefore = Snapshot::of(callerLists);
        return std::string();
    };
    call.run = [run] { return run(callerLists); };
    call.judge = [](int result) {
        Verdict v;
        if (result == 0) {
            v.complete = true;
            v.digest = digest(callerLists);
        } else if (result == -1) {
            const std::string changed = callerBefore.differences(Snapshot::of(callerLists));
            if (!changed.empty())
                v.broken = "refused, but the caller's lists are not as they were: " + changed;
        } else {
            v.broken = "an undocumented result";
        }
        return v;
    };
    return call;
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

std::string viewPath(const char* file)
{
    return kViewFolder + "/" + file;
}

TEST(AllocFailureSweep, ElementCreateOfEveryKind)
{
    for (int kind = 0; kind <= 14; ++kind) {
        expectSweepClean(listCall(
            "elementCreate(" + std::to_string(kind) + ")", oneElement, [kind](Lists& lists) {
                ELEMENT_STRUCT* e = elementCreate(kind);
                if (e == nullptr)
                    return -1;
                elementAppend(e, &lists.elements);
                return 0;
            }));
    }
}

TEST(AllocFailureSweep, LoadFileOfTheInstrumentViews)
{
    for (const char* file : {"frame.v", "instruments.v"}) {
        const std::string path = viewPath(file);
        ASSERT_FALSE(fileText(path).empty()) << "no view file " << path;
        expectSweepClean(listCall(std::string("loadFile(") + file + ")", oneElement,
                                  [path](Lists& lists) { return loadView(lists, path); }));
    }
}

// The caller's list holds a view read from a file, with the update hooks
// and grab handles a reader gives its elements: a refused load leaves each
// of those records where it was, as it was.
TEST(AllocFailureSweep, LoadFileOverTheCallersView)
{
    const std::string frame = viewPath("frame.v"), instruments = viewPath("instruments.v");
    ASSERT_FALSE(fileText(frame).empty()) << "no view file " << frame;
    expectSweepClean(listCall(
        "loadFile(instruments.v) over frame.v",
        [frame](Lists& lists) { return loadView(lists, frame) == 0 ? "" : "cannot load " + frame; },
        [instruments](Lists& lists) { return loadView(lists, instruments); }));
}

TEST(AllocFailureSweep, LoadFileXmlOfTheInstrumentView)
{
    const std::string path = instrumentsXml();
    ASSERT_FALSE(fileText(path).empty());
    expectSweepClean(listCall("loadFileXml(instruments.xml)", oneElement,
                              [path](Lists& lists) { return loadViewXml(lists, path); }));
}

TEST(AllocFailureSweep, LoadSymbolFile)
{
    const std::string path = symbolFile();
    expectSweepClean(listCall("loadSymbolFile(symbols.sym)", oneElement, [path](Lists& lists) {
        return loadSymbolFile(path.c_str(), &lists.elements, nullptr, nullptr);
    }));
}

// ---- The view lifecycle and the facade. ----

// Counting and failing paused while a run looks at what its call did.
struct Paused
{
    Paused() { __atomic_store_n(&armed, 0, __ATOMIC_SEQ_CST); }
    ~Paused() { __atomic_store_n(&armed, 1, __ATOMIC_SEQ_CST); }
};

// The view of the call running in this child, loaded before it.
vdView_Struct* sweepView = nullptr;

std::string loadSweepView(const std::string& path)
{
    sweepView = vdViewLoad(path.c_str());
    return sweepView != nullptr ? "" : "vdViewLoad(" + path + ") gave null";
}

Verdict freed(int result)
{
    Verdict v;
    if (result == 0) {
        v.complete = true;
        v.digest = "freed";
    } else {
        v.broken = "vdViewFree of a loaded view did not return 0";
    }
    return v;
}

TEST(AllocFailureSweep, ViewFreeOfALoadedView)
{
    for (const char* file : {"frame.v", "instruments.v"}) {
        Call call;
        call.name = std::string("vdViewFree(") + file + ")";
        const std::string path = viewPath(file);
        call.prepare = [path] { return loadSweepView(path); };
        call.run = [] { return vdViewFree(sweepView); };
        call.judge = freed;
        call.frees = true;
        call.mayNotAllocate = true; // a free need not allocate
        expectSweepClean(call);
    }
}

// What a start, its stop and the free returned, and what the started view
// held: its variables, those with value storage, those its table finds by
// name, and the actions bound to a variable.
struct LifecycleCodes
{
    int start = 0, stop = 0, freed = 0;
    int variables = 0, stored = 0, found = 0, boundActions = 0;
} lifecycle;

void countBoundActions(const ELEMENT_STRUCT* e, int& bound)
{
    for (; e != nullptr; e = e->next) {
        for (const ACTION_STRUCT* a = e->actions; a != nullptr; a = a->next)
            bound += (a->value != nullptr) + (a->secondValue != nullptr);
        countBoundActions(e->children, bound);
    }
}

int runLifecycle(bool animated)
{
    vdView_Struct* view = sweepView;
    lifecycle.start = animated ? vdViewStartAnim(view) : vdViewStart(view);
    if (lifecycle.start == 0) {
        Paused paused;
        pthread_mutex_lock(&view->mutex);
        for (DD_DATA_TYPE_STRUCT* s = view->dataSources; s != nullptr; s = s->next) {
            for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next) {
                ++lifecycle.variables;
                lifecycle.stored += v->value != nullptr;
                lifecycle.found += mpiHashSearchAscii(view->variables, v->name) != nullptr;
            }
        }
        countBoundActions(view->elements, lifecycle.boundActions);
        pthread_mutex_unlock(&view->mutex);
    }
    lifecycle.stop = animated ? vdViewStopAnim(view) : vdViewStop(view);
    lifecycle.freed = vdViewFree(view);
    return lifecycle.start;
}

Verdict judgeLifecycle(bool animated)
{
    Verdict v;
    const LifecycleCodes& c = lifecycle;
    const bool documented = c.start == 0 || c.start == -5 || (animated && c.start == -4);
    if (!documented)
        v.broken = format("the start returned %d", c.start);
    else if (c.stop != (c.start == 0 ? 0 : -3))
        v.broken = format("the stop after a start of %d returned %d", c.start, c.stop);
    else if (c.freed != 0)
        v.broken = format("the free returned %d", c.freed);
    else if (c.start == 0 && c.found != c.variables)
        v.broken = format("started with %d of %d variables in the table", c.found, c.variables);
    else if (c.start == 0 && c.stored != c.variables)
        v.broken = format("started with %d of %d variables without value storage", c.variables - c.stored,
                          c.variables);
    v.complete = c.start == 0;
    // A start that left actions unbound differs from the unfailed one here.
    v.digest = format("start %d stop %d free %d, %d variables, %d bound variable references", c.start, c.stop,
                      c.freed, c.variables, c.boundActions);
    return v;
}

TEST(AllocFailureSweep, ViewStartStopFree)
{
    for (const bool animated : {false, true}) {
        Call call;
        call.name = animated ? "vdViewStartAnim/StopAnim/Free(instruments.v)"
                             : "vdViewStart/Stop/Free(instruments.v)";
        const std::string path = viewPath("instruments.v");
        call.prepare = [path] { return loadSweepView(path); };
        call.run = [animated] { return runLifecycle(animated); };
        call.judge = [animated](int) { return judgeLifecycle(animated); };
        call.threaded = animated;
        call.frees = true;
        expectSweepClean(call);
    }
}

Nalvo2D::NalvoView* sweepFacade = nullptr;

TEST(AllocFailureSweep, FacadeDeleteOfALoadedView)
{
    Call call;
    call.name = "delete NalvoView(instruments.v)";
    const std::string path = viewPath("instruments.v");
    call.prepare = [path] {
        sweepFacade = new Nalvo2D::NalvoView;
        return sweepFacade->load(path) ? "" : "NalvoView::load(" + path + ") failed";
    };
    call.run = [] {
        delete sweepFacade;
        return 0;
    };
    call.judge = freed;
    call.frees = true;
    call.mayNotAllocate = true;
    expectSweepClean(call);
}

// ---- Edits and updates of every kind with grab handles. ----

// An element of the kind with some geometry, updated as a reader leaves
// it; null when the kind cannot be made.
ELEMENT_STRUCT* makeElement(int kind)
{
    switch (kind) {
    case VD_LINE: return shapes::line(10, 20, 110, 70);
    case VD_CIRCLE:
    case VD_ARC: return shapes::curve(kind, 60, 50, 30, 20);
    case VD_RECTANGLE: return shapes::rect(10, 20, 110, 80);
    case VD_SCISSOR: return shapes::scissor(5, 5, 95, 65);
    case VD_GROUP:
        return shapes::group({shapes::rect(10, 20, 60, 50), shapes::line(30, 10, 90, 70),
                              shapes::curve(VD_CIRCLE, 70, 40, 15, 10)});
    default: break;
    }
    ELEMENT_STRUCT* e = elementCreate(kind);
    if (e == nullptr || e->data == nullptr)
        return e;
    switch (kind) {
    case VD_TEXT: {
        auto* t = static_cast<TEXT_STRUCT*>(e->data);
        t->x = 40;
        t->y = 30;
        break;
    }
    case VD_GRAPH: {
        auto* g = static_cast<GRAPH_STRUCT*>(e->data);
        g->x = 10, g->y = 20, g->width = 120, g->height = 60;
        break;
    }
    case VD_POLYGON:
    case VD_CPOLYGON: {
        auto* p = static_cast<POLY_STRUCT*>(e->data);
        const float xs[] = {10, 60, 90, 40, 20}, ys[] = {10, 5, 50, 70, 40};
        for (int i = 0; i < 5; ++i) {
            COORD_STRUCT* c = createCoord();
            c->x = xs[i];
            c->y = ys[i];
            appendCoord(&p->coords, c);
        }
        break;
    }
    case VD_TEXTURE: {
        auto* image = static_cast<IMAGE_STRUCT*>(e->data);
        shapes::boxCorners(image->cornerX, image->cornerY, 10, 20, 70, 60);
        break;
    }
    case VD_BUTTON: {
        auto* b = static_cast<BUTTON_STRUCT*>(e->data);
        shapes::boxCorners(b->cornerX, b->cornerY, 10, 20, 70, 50);
        break;
    }
    case VD_SLIDER: {
        auto* s = static_cast<SLIDER_STRUCT*>(e->data);
        s->x = 50, s->y = 40, s->width = 20, s->height = 80;
        break;
    }
    default: break;
    }
    e->update(e);
    return e;
}

// Moves the element's geometry in its record by (dx, dy), leaving its
// handles as they are until its update runs.
void shiftRecord(ELEMENT_STRUCT* e, float dx, float dy)
{
    void* d = e->data;
    switch (e->kind) {
    case VD_LINE: {
        auto* l = static_cast<LINE_STRUCT*>(d);
        l->x1 += dx, l->x2 += dx, l->y1 += dy, l->y2 += dy;
        break;
    }
    case VD_CIRCLE:
    case VD_ARC: static_cast<CIRCLE_STRUCT*>(d)->x += dx, static_cast<CIRCLE_STRUCT*>(d)->y += dy; break;
    case VD_RECTANGLE:
        for (int i = 0; i < 4; ++i)
            static_cast<RECT_STRUCT*>(d)->x[i] += dx, static_cast<RECT_STRUCT*>(d)->y[i] += dy;
        break;
    case VD_TEXT: static_cast<TEXT_STRUCT*>(d)->x += dx, static_cast<TEXT_STRUCT*>(d)->y += dy; break;
    case VD_GRAPH: static_cast<GRAPH_STRUCT*>(d)->x += dx, static_cast<GRAPH_STRUCT*>(d)->y += dy; break;
    case VD_POLYGON:
    case VD_CPOLYGON:
        for (COORD_STRUCT* c = static_cast<POLY_STRUCT*>(d)->coords; c != nullptr; c = c->next)
            c->x += dx, c->y += dy;
        break;
    case VD_TEXTURE:
        for (int i = 0; i < 4; ++i)
            static_cast<IMAGE_STRUCT*>(d)->cornerX[i] += dx, static_cast<IMAGE_STRUCT*>(d)->cornerY[i] += dy;
        break;
    case VD_BUTTON:
        for (int i = 0; i < 4; ++i)
            static_cast<BUTTON_STRUCT*>(d)->cornerX[i] += dx, static_cast<BUTTON_STRUCT*>(d)->cornerY[i] += dy;
        break;
    case VD_SLIDER: static_cast<SLIDER_STRUCT*>(d)->x += dx, static_cast<SLIDER_STRUCT*>(d)->y += dy; break;
    case VD_SCISSOR:
        for (int i = 0; i < 4; ++i)
            static_cast<SCISSOR_STRUCT*>(d)->cornerX[i] += dx, static_cast<SCISSOR_STRUCT*>(d)->cornerY[i] += dy;
        break;
    case VD_GROUP:
        for (ELEMENT_STRUCT* c = e->children; c != nullptr; c = c->next)
            shiftRecord(c, dx, dy);
        break;
    default: break;
    }
}

// The handles of every element of the list's tree, element by element
// (an element before its children), "|" between elements.
void treeHandles(ELEMENT_STRUCT* e, std::vector<std::string>& out, std::vector<ELEMENT_STRUCT*>* elements)
{
    for (; e != nullptr; e = e->next) {
        out.push_back(std::string(e->name) + ":" + handlesOf(e));
        if (elements != nullptr)
            elements->push_back(e);
        treeHandles(e->children, out, elements);
    }
}

std::vector<std::string> treeHandles(ELEMENT_STRUCT* list, std::vector<ELEMENT_STRUCT*>* elements = nullptr)
{
    std::vector<std::string> out;
    treeHandles(list, out, elements);
    return out;
}

std::string joined(const std::vector<std::string>& parts)
{
    std::string out;
    for (const std::string& p : parts)
        out += (out.empty() ? "" : "|") + p;
    return out;
}

std::vector<std::string> split(const std::string& text)
{
    std::vector<std::string> out;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, '|'))
        out.push_back(part);
    return out;
}

// The handles of the call's elements before it.
std::vector<std::string> handlesBefore;

// An edit or update: 0 with the element as the unfailed call leaves it, or
// -1 (memory ran out) with each element keeping the handles of its last
// complete update: those it had before or those the unfailed call gave it,
// nothing in between, none missing. A group's children may be left some
// moved and some not (editGroup): the group may then hold the handles an
// update gives it over its children as they are.
Verdict judgeHandles(int result)
{
    Verdict v;
    std::vector<ELEMENT_STRUCT*> elements;
    const std::vector<std::string> now = treeHandles(callerLists.elements, &elements);
    if (result == 0) {
        v.complete = true;
        v.digest = digest(callerLists);
        v.state = joined(now);
        if (unfailedRun == nullptr && now == handlesBefore)
            v.broken = "the unfailed call moved no handle: the check could not fail";
        return v;
    }
    if (result != -1 || unfailedRun == nullptr) {
        v.broken = "an undocumented result";
        return v;
    }
    const std::vector<std::string> unfailed = split(unfailedRun->verdict.state);
    if (now.size() != handlesBefore.size() || now.size() != unfailed.size()) {
        v.broken = format("%zu elements, %zu before", now.size(), handlesBefore.size());
        return v;
    }
    for (size_t i = 0; i < now.size(); ++i) {
        if (now[i] == handlesBefore[i] || now[i] == unfailed[i])
            continue;
        ELEMENT_STRUCT* e = elements[i];
        if (e->kind == VD_GROUP && e->update(e) == 0 && treeHandles(e).front() == now[i])
            continue; // (now was taken before this update)
        v.broken = "-1, with handles neither as before nor as the unfailed call left them: " + now[i] +
                   " (before: " + handlesBefore[i] + "; unfailed: " + unfailed[i] + ")";
        return v;
    }
    return v;
}

// The kinds with grab handles (a text without fonts has its anchor's).
const int kHandleKinds[] = {VD_LINE,     VD_CIRCLE,  VD_ARC,    VD_RECTANGLE, VD_TEXT,  VD_GRAPH,  VD_POLYGON,
                            VD_CPOLYGON, VD_TEXTURE, VD_BUTTON, VD_SLIDER,    VD_GROUP, VD_SCISSOR};

const char* kindName(int kind)
{
    static const char* const names[] = {"graph", "rect", "poly", "circle", "text",  "line",  "arc",    "image",
                                        "group", "?",    "?",    "button", "slider", "cpoly", "scissor"};
    return kind >= 0 && kind <= 14 ? names[kind] : "?";
}

// A command that drags a polygon's first vertex (its id + 100, the ids
// running for the whole process): made when the element is.
const int kFirstVertex = -1;
int firstVertexCommand = 0;

// The edit command with the pointer or new centre at (x, y) in phase 3
// (begin, drag and end in one call), or in phase 1 (the drag) after a
// begin made before the call.
Call editCall(int kind, int command, float x, float y, int phase)
{
    Call call;
    call.name = command == kFirstVertex ? format("edit %s first vertex phase %d", kindName(kind), phase)
                                        : format("edit %s command %d phase %d", kindName(kind), command, phase);
    auto para = [x, y] {
        EDIT_PARA_STRUCT p{};
        p.x = x;
        p.y = y;
        return p;
    };
    auto commandOf = [command] { return command == kFirstVertex ? firstVertexCommand : command; };
    call.prepare = [kind, commandOf, phase, para] {
        ELEMENT_STRUCT* e = makeElement(kind);
        if (e == nullptr || e->edit == nullptr || e->stickies == nullptr)
            return std::string("no element with handles and an edit");
        callerLists.elements = e;
        if (kind == VD_POLYGON || kind == VD_CPOLYGON)
            firstVertexCommand = int(static_cast<POLY_STRUCT*>(e->data)->coords->id) + 100;
        if (phase == 1) {
            EDIT_PARA_STRUCT p = para();
            if (e->edit(e, e->stickies, commandOf(), 0, &p) != 0)
                return std::string("the edit's begin failed");
        }
        handlesBefore = treeHandles(e);
        return std::string();
    };
    call.run = [commandOf, phase, para] {
        ELEMENT_STRUCT* e = callerLists.elements;
        EDIT_PARA_STRUCT p = para();
        return e->edit(e, e->stickies, commandOf(), phase, &p);
    };
    call.judge = judgeHandles;
    return call;
}

TEST(AllocFailureSweep, EditsOfEveryKindWithHandles)
{
    for (const int kind : kHandleKinds) {
        // The centre moved, then a corner or an end dragged (a text without
        // fonts has only its anchor): all phases in one call, and the drag
        // alone after its begin.
        for (const int phase : {3, 1}) {
            expectSweepClean(editCall(kind, 9, 70, 65, phase));
            if (kind == VD_LINE)
                expectSweepClean(editCall(kind, 101, 140, 120, phase));
            else if (kind != VD_TEXT)
                expectSweepClean(editCall(kind, 3, 150, 120, phase));
        }
        // The kinds' own handles, which take no phases: an arc's end angle,
        // a polygon's vertex.
        if (kind == VD_CIRCLE || kind == VD_ARC)
            expectSweepClean(editCall(kind, 51, 40, 80, 3));
        if (kind == VD_POLYGON || kind == VD_CPOLYGON)
            expectSweepClean(editCall(kind, kFirstVertex, 95, 15, 3));
    }
}

TEST(AllocFailureSweep, SetElementAttrOverEveryKindWithHandles)
{
    Call call;
    call.name = "setElementAttr(every kind with handles)";
    call.prepare = [] {
        for (const int kind : kHandleKinds) {
            ELEMENT_STRUCT* e = makeElement(kind);
            if (e == nullptr)
                return std::string("cannot make a ") + kindName(kind);
            elementAppend(e, &callerLists.elements);
            shiftRecord(e, 7, -5);
        }
        handlesBefore = treeHandles(callerLists.elements);
        return std::string();
    };
    call.run = [] { return setElementAttr(callerLists.elements); };
    call.judge = judgeHandles;
    expectSweepClean(call);
}

// ---- The module services on a thread that never used them. ----

// A thread made before the call that makes its work when released.
struct WaitingThread
{
    pthread_t thread{};
    pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
    pthread_cond_t released = PTHREAD_COND_INITIALIZER;
    bool go = false;
    int (*work)() = nullptr;
    int result = 0;

    static void* body(void* arg)
    {
        auto* t = static_cast<WaitingThread*>(arg);
        pthread_mutex_lock(&t->mutex);
        while (!t->go)
            pthread_cond_wait(&t->released, &t->mutex);
        pthread_mutex_unlock(&t->mutex);
        t->result = t->work();
        return nullptr;
    }
    bool start(int (*fn)())
    {
        work = fn;
        return pthread_create(&thread, nullptr, body, this) == 0;
    }
    int releaseAndJoin()
    {
        pthread_mutex_lock(&mutex);
        go = true;
        pthread_cond_signal(&released);
        pthread_mutex_unlock(&mutex);
        pthread_join(thread, nullptr);
        return result;
    }
} waitingThread;

DD_DATA_TYPE_STRUCT* sweepSource = nullptr;
const char* const kVariableNames[] = {"alpha", "beta", "gamma", "delta"};

std::string prepareSource(int (*work)())
{
    sweepSource = createDataType(0);
    if (sweepSource == nullptr || vddInit(sweepSource, const_cast<char*>("Sweep"), 90, 0) != 0)
        return "cannot make a source";
    for (const char* name : kVariableNames)
        if (vddAddVariable(sweepSource, const_cast<char*>(name), DD_FLOAT) != 0)
            return "cannot add a variable";
    return waitingThread.start(work) ? "" : "cannot start the thread";
}

// 0: the names in list order; -1: null; 1: anything else.
int allVariableNames()
{
    char** names = vddGetAllVariables(sweepSource);
    if (names == nullptr)
        return -1;
    for (size_t i = 0; i < std::size(kVariableNames); ++i)
        if (names[i] == nullptr || std::strcmp(names[i], kVariableNames[i]) != 0)
            return 1;
    return names[std::size(kVariableNames)] == nullptr ? 0 : 1;
}

int allVariableRecords()
{
    DD_VAR_STRUCT** records = vddGetAllVariablesS(sweepSource);
    if (records == nullptr)
        return -1;
    size_t i = 0;
    for (DD_VAR_STRUCT* v = sweepSource->variables; v != nullptr; v = v->next, ++i)
        if (records[i] != v)
            return 1;
    return i == std::size(kVariableNames) && records[i] == nullptr ? 0 : 1;
}

TEST(AllocFailureSweep, ModuleServicesOnAFreshThread)
{
    for (const bool records : {false, true}) {
        Call call;
        call.name = records ? "vddGetAllVariablesS on a new thread" : "vddGetAllVariables on a new thread";
        call.prepare = [records] { return prepareSource(records ? allVariableRecords : allVariableNames); };
        call.run = [] { return waitingThread.releaseAndJoin(); };
        call.judge = [](int result) {
            Verdict v;
            v.complete = result == 0;
            v.digest = "in list order";
            if (result != 0 && result != -1)
                v.broken = "the array does not hold the variables in list order";
            return v;
        };
        // What the thread was handed is released when it ends.
        call.frees = true;
        expectSweepClean(call);
    }
}


// ---- Fonts, in a GL context of each child's own. ----

// Exempts the GL driver and what it loaded (see failHere): the sweep fails
// the allocations of the font library and FreeType, not those of Mesa.
void exemptGlDriver()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            const std::string name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            bool driver = false;
            for (const char* part : {"/dri/", "LLVM", "glapi", "libGL", "libEGL", "libOpenGL", "libgbm", "libdrm",
                                     "gallium", "libX", "libxcb", "libwayland", "libxshmfence", "libexpat",
                                     "libzstd", "libelf", "libsensors"})
                driver = driver || name.find(part) != std::string::npos;
            for (int i = 0; driver && i < info->dlpi_phnum && exemptCount < int(std::size(exempt)); ++i) {
                const ElfW(Phdr)& segment = info->dlpi_phdr[i];
                if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X) != 0)
                    exempt[exemptCount++] = {info->dlpi_addr + segment.p_vaddr,
                                             info->dlpi_addr + segment.p_vaddr + segment.p_memsz};
            }
            return 0;
        },
        nullptr);
}

intptr_t sweepFont = 0;

// What a caller can tell of a font: its kind and a text's metrics.
std::string fontDigest(intptr_t font)
{
    char text[] = "Sweep 0123 \xe4\xf6";
    int metric[2] = {0, 0};
    const int measured = ftFontStringMetric(font, text, metric);
    return format("scalable=%d metric=%d: %d,%d", ftFontScalable(font), measured, metric[0], metric[1]);
}

// A handle to the font the unfailed call gives, or 0 with the library
// whole: the next request then gets that font. The parent never makes a
// GL context; each child makes its own and sets the font library up.
TEST(AllocFailureSweep, FontCreate)
{
    Call call;
    call.name = "ftFontCreate(Arial, 1, 20)";
    call.prepare = [] {
        std::string error;
        // Kept to the child's end, which releases it with the process.
        orlo_gl::GlContext* context = orlo_gl::GlContext::create(64, 64, error).release();
        if (context == nullptr)
            return "no GL context: " + error;
        ftSetDebugLevel(0);
        if (ftLibraryInit() != 1 || ftLibraryParseFonts() != 0)
            return std::string("cannot set the font library up");
        exemptGlDriver();
        return std::string();
    };
    call.run = [] {
        sweepFont = ftFontCreate("Arial", 1, 20);
        return sweepFont != 0 ? 0 : -1;
    };
    call.judge = [](int result) {
        Verdict v;
        v.complete = result == 0;
        if (result == 0) {
            v.digest = fontDigest(sweepFont);
            if (ftFontFree(sweepFont) != 0)
                v.broken = "ftFontFree of the handle did not return 0";
            return v;
        }
        const intptr_t again = ftFontCreate("Arial", 1, 20);
        if (again == 0)
            v.broken = "after a failed ftFontCreate the next one gives no font either";
        else if (unfailedRun != nullptr && fontDigest(again) != unfailedRun->verdict.digest)
            v.broken = "the font made after a failed ftFontCreate differs: " + fontDigest(again);
        return v;
    };
    expectSweepClean(call);
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
