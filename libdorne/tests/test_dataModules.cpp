// Data-source modules: the registry built from the folders searched, with
// the log line of every module registered, refused or skipped; a view's
// module sources opened, exchanged and closed, in plain and in symbol mode.
// The probe modules append every call they receive to a trace file.
#include "dataSourceSupport.h"
#include "viewSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dlfcn.h>
#include <string>
#include <unistd.h>
#include <vector>

using namespace support;
namespace fs = std::filesystem;

namespace {

class Modules : public testing::Test
{
protected:
    void SetUp() override
    {
        home = temp.path + "/home";
        bin = home + "/bin";
        cwd = temp.path + "/cwd";
        fs::create_directories(bin);
        fs::create_directories(cwd);
        tracePath = temp.path + "/trace";
        setenv("PROBE_TRACE", tracePath.c_str(), 1);
        setenv("NALVO_HOME", home.c_str(), 1);
        saved = fs::current_path();
        fs::current_path(cwd);
    }
    void TearDown() override
    {
        closeDataSources(view);
        freeSources(&view);
        fs::current_path(saved);
        unsetenv("PROBE_TRACE");
        unsetenv("NALVO_HOME");
    }

    // Copies a probe module into a folder, under its own or another name.
    static std::string install(const std::string& module, const std::string& folder, std::string as = "")
    {
        if (as.empty())
            as = "libVdd" + module + ".so";
        const std::string target = folder + "/" + as;
        fs::copy_file(std::string(DORNE_PROBE_DIR) + "/libVdd" + module + ".so", target);
        return target;
    }

    // The calls the probes recorded since the last look.
    std::vector<std::string> trace() { return viewtest::takeLines(tracePath); }

    static bool isLoaded(const std::string& path)
    {
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (handle != nullptr)
            dlclose(handle);
        return handle != nullptr;
    }

    TempFolder temp;
    std::string home, bin, cwd, tracePath;
    fs::path saved;
    DD_DATA_TYPE_STRUCT* view = nullptr;
    LogCapture log;
};

const char kStaticLines[] = "Nalvo Static Data Source: <type=1> Auto Data \n"
                            "Nalvo Static Data Source: <type=2> Constant Data \n"
                            "Nalvo Static Data Source: <type=3> SHM DATA \n"
                            "Nalvo Static Data Source: <type=4> UDP Socket Data \n"
                            "Nalvo Static Data Source: <type=5> Internal Data \n"
                            "Nalvo Static Data Source: <type=6> Calculator \n";

TEST_F(Modules, RegisteredRefusedAndSkipped)
{
    const std::string probe = install("Probe", bin);
    const std::string probeAgain = install("Probe", home);
    const std::string wrong = install("WrongVersion", bin);
    const std::string noVersion = install("NoVersion", bin);
    const std::string noInfo = install("NoInfo", bin);
    const std::string clash = install("Clash", bin);
    install("Probe", bin, "libVddProbe.so.1");
    install("Probe", bin, "Probe.so");
    const std::string broken = bin + "/libVddBroken.so";
    std::ofstream(broken) << "not a library";

    DD_DATA_TYPE_STRUCT* registry = nullptr;
    EXPECT_EQ(vdiLoadStaticDataSources(&registry), 0);
    EXPECT_EQ(vdiLoadDataSources(&registry), 0);
    std::string logged = log.take();

    // Each module's lines once; within one folder the listing order holds.
    const std::string blocks[] = {
        "probe: 12 and 11 options declared\n"
        "Nalvo Dynamic Data Source: <type=100 version 324> <Probe> <" + probe + ">\n",
        "Module <" + wrong + "> Wrong version 323, recompile datasource !\n"
        "error opening Dynamic Data Source " + wrong + "\n",
        "Module <" + noVersion + "> No Version Information, recompile datasource !\n"
        "error opening Dynamic Data Source " + noVersion + "\n",
        "Module <" + noInfo + "> Function <vddNoInfoInfo> not found !\n"
        "error opening Dynamic Data Source " + noInfo + "\n",
        "probe: 12 and 11 options declared\n"
        "Nalvo Dynamic Data Source: <type=3 version 324> <Clash> <" + clash + ">\n"
        "Data Type <3> already present. skipped ...\n",
        "error opening <" + broken + "> <Broken>\n"
        "error opening Dynamic Data Source " + broken + "\n",
    };
    ASSERT_EQ(logged.rfind(kStaticLines, 0), 0u) << logged;
    logged.erase(0, sizeof kStaticLines - 1);
    const std::string fromHome = "probe: 12 and 11 options declared\n"
                                 "Nalvo Dynamic Data Source: <type=100 version 324> <Probe> <" + probeAgain + ">\n"
                                 "Data Type <100> already present. skipped ...\n";
    ASSERT_GE(logged.size(), fromHome.size());
    EXPECT_EQ(logged.substr(logged.size() - fromHome.size()), fromHome) << "the home folder comes last";
    logged.erase(logged.size() - fromHome.size());
    for (const std::string& block : blocks) {
        const size_t at = logged.find(block);
        ASSERT_NE(at, std::string::npos) << block << "\nin\n" << logged;
        logged.erase(at, block.size());
    }
    EXPECT_EQ(logged, "") << "nothing else: the versioned name and Probe.so are no modules";

    // The registry keeps the declarations, never the loaded module.
    std::vector<int> types;
    const DD_DATA_TYPE_STRUCT* kind = nullptr;
    for (const DD_DATA_TYPE_STRUCT* s = registry; s != nullptr; s = s->next) {
        types.push_back(s->type);
        if (s->type == 100)
            kind = s;
    }
    EXPECT_EQ(types, (std::vector<int>{1, 2, 3, 4, 5, 6, 100}));
    ASSERT_NE(kind, nullptr);
    EXPECT_STREQ(kind->name, "Probe");
    EXPECT_EQ(kind->modulePath, probe);
    EXPECT_STREQ(kind->moduleName, "Probe");
    EXPECT_EQ(kind->version, 324);
    EXPECT_EQ(kind->isStatic, 0);
    EXPECT_EQ(kind->module, nullptr);
    EXPECT_EQ(kind->fnInfo, nullptr);
    EXPECT_EQ(kind->fnGet, nullptr);
    EXPECT_NE(kind->logMsgData, nullptr);
    ASSERT_EQ(kind->dataOptionCount, 12);
    ASSERT_EQ(kind->varOptionCount, 11);
    EXPECT_EQ(kind->dataOptions[3].flags, 7);
    ASSERT_EQ(kind->dataOptions[1].choiceCount, 3);
    EXPECT_STREQ(kind->dataOptions[1].choices[2], "Slow");
    EXPECT_STREQ(kind->varOptions[10].label, "V10");
    for (const std::string& path : {probe, probeAgain, wrong, noVersion, noInfo, clash})
        EXPECT_FALSE(isLoaded(path)) << path;
    // Info only after a good version; the module without one says nothing.
    std::vector<std::string> calls = trace();
    std::sort(calls.begin(), calls.end());
    EXPECT_EQ(calls, (std::vector<std::string>{"info", "info", "info", "version", "version", "version", "version",
                                               "version"}));
    freeSources(&registry);
}

TEST_F(Modules, WithoutHomeOnlyTheCurrentFolder)
{
    install("Probe", bin);
    install("Probe", cwd);
    unsetenv("NALVO_HOME");
    DD_DATA_TYPE_STRUCT* registry = nullptr;
    vdiLoadDataSources(&registry);
    EXPECT_EQ(log.take(), "probe: 12 and 11 options declared\n"
                          "Nalvo Dynamic Data Source: <type=100 version 324> <Probe> <./libVddProbe.so>\n");
    ASSERT_NE(registry, nullptr);
    EXPECT_STREQ(registry->modulePath, "./libVddProbe.so");
    EXPECT_EQ(registry->next, nullptr);
    freeSources(&registry);
}

TEST_F(Modules, PathsThatWouldBeCutAreSkipped)
{
    // A module path over 255 characters is never loaded in a cut form.
    const std::string deep = home + "/" + std::string(250, 'd');
    fs::create_directories(deep);
    install("Probe", deep);
    setenv("NALVO_HOME", deep.c_str(), 1);
    DD_DATA_TYPE_STRUCT* registry = nullptr;
    vdiLoadDataSources(&registry);
    EXPECT_EQ(registry, nullptr);
    EXPECT_EQ(log.take(), "Module path too long, not loaded: " + deep + "/libVddProbe.so\n");

    const std::string tooLong(600, 'h');
    setenv("NALVO_HOME", tooLong.c_str(), 1);
    vdiLoadDataSources(&registry);
    EXPECT_EQ(registry, nullptr);
    EXPECT_EQ(log.take(), "Module folder too long, not searched: " + tooLong + "\n" +
                              "Module folder too long, not searched: " + tooLong + "\n");
    trace();
}

TEST_F(Modules, OneCycleInPlainMode)
{
    const std::string probe = install("Probe", bin);
    DD_DATA_TYPE_STRUCT* s = fileSource(&view, 100, 3, 2);
    setParaText(s->para[0], "host-a");
    DD_VAR_STRUCT* count = fileVariable(s, "count", DD_INT);
    DD_VAR_STRUCT* level = fileVariable(s, "level", DD_INT, "0x10");
    DD_VAR_STRUCT* big = fileVariable(s, "big", DD_LONG, "0x123456789");
    DD_VAR_STRUCT* label = fileVariable(s, "label", DD_STRING, "abc");
    fileVariable(s, "plain", DD_DOUBLE, "2.5");
    setParaText(level->para[0], "4");
    level->write = big->write = label->write = 1;
    mergeWithRegistry(&view);
    trace();
    log.take();

    startSources(view);
    EXPECT_TRUE(isLoaded(probe));
    // Open reads the twelfth source and the eleventh variable parameter:
    // the merge grew the arrays the file gave.
    EXPECT_EQ(trace(), (std::vector<std::string>{
                           "version", "open Probe host=host-a p11=", "open count offset= v10=",
                           "open level offset=4 v10=", "open big offset= v10=", "open label offset= v10=",
                           "open plain offset= v10=", "startView 5 variables",
                           // Defaults go to Set, 64-bit ones whole.
                           "set level changed=1 16", "set big changed=1 4886718345", "set label changed=1 'abc'",
                           "set plain changed=1 2.5", "postRun"}));

    fillDP(view);
    EXPECT_EQ(trace(), (std::vector<std::string>{"run 1", "get count", "set level changed=0 16", "get level",
                                                 "set big changed=0 4886718345", "get big",
                                                 "set label changed=0 'abc'", "get label", "get plain",
                                                 "postRun"}));
    EXPECT_EQ(valueOf<int32_t>(count), 1);

    // The view writes; a text whose first 8 bytes stay counts as changed.
    setValue<int32_t>(level, 17);
    std::snprintf(static_cast<char*>(label->value), 256, "abcdefgh-1");
    fillDP(view);
    std::vector<std::string> lines = trace();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[2], "set level changed=1 17");
    EXPECT_EQ(lines[6], "set label changed=1 'abcdefgh-1'");
    std::snprintf(static_cast<char*>(label->value), 256, "abcdefgh-2");
    fillDP(view);
    lines = trace();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[2], "set level changed=0 17");
    EXPECT_EQ(lines[6], "set label changed=1 'abcdefgh-2'");
    EXPECT_EQ(valueOf<int32_t>(count), 3);

    // The editor hooks are resolved too.
    char x[] = "x";
    s->fnNewData(s);
    s->fnNewVariable(count);
    s->fnCallbackData(3, 1, x, s);
    s->fnCallbackVar(1, 2, x, level);
    EXPECT_EQ(trace(), (std::vector<std::string>{"newData Probe", "newVariable count", "callbackData 3 1 x Probe",
                                                 "callbackVar 1 2 x level"}));

    closeDataSources(view);
    EXPECT_EQ(trace(), std::vector<std::string>{"close"});
    EXPECT_FALSE(isLoaded(probe));
    EXPECT_EQ(s->module, nullptr);
    EXPECT_EQ(s->fnGet, nullptr);
    fillDP(view); // a closed source takes part in nothing
    EXPECT_EQ(trace(), std::vector<std::string>{});
}

TEST_F(Modules, SymbolModeCopiesTheModuleGlobals)
{
    const std::string probe = install("ProbeSym", bin);
    DD_DATA_TYPE_STRUCT* s = fileSource(&view, 101, 12, 11);
    DD_VAR_STRUCT* counter = fileVariable(s, "probeInt", DD_INT);
    DD_VAR_STRUCT* number = fileVariable(s, "probeDouble", DD_DOUBLE, "9");
    DD_VAR_STRUCT* wide = fileVariable(s, "probeLong", DD_LONG);
    DD_VAR_STRUCT* unsignedWide = fileVariable(s, "probeULong", DD_ULONG);
    DD_VAR_STRUCT* text = fileVariable(s, "probeText", DD_STRING);
    DD_VAR_STRUCT* missing = fileVariable(s, "noSuchGlobal", DD_INT);
    wide->write = text->write = 1;
    mergeWithRegistry(&view);
    trace();
    log.take();

    startSources(view);
    EXPECT_EQ(log.take(), "error global variable noSuchGlobal\n");
    EXPECT_EQ(missing->symbol, nullptr);
    const std::string unchanged = " probeDouble=2.25 probeLong=0 probeULong=17293822569102704641 probeText='module text'";
    std::vector<std::string> lines = trace();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "postRun probeInt=0" + unchanged) << "no defaults in symbol mode";

    fillDP(view);
    EXPECT_EQ(trace(), (std::vector<std::string>{"run 1", "postRun probeInt=1" + unchanged}));
    EXPECT_EQ(valueOf<int32_t>(counter), 1);
    EXPECT_EQ(valueOf<double>(number), 2.25);
    EXPECT_EQ(valueOf<uint64_t>(unsignedWide), 0xF000000000000001u) << "8 bytes";
    EXPECT_EQ(textOf(text), "module text");
    EXPECT_EQ(valueOf<int32_t>(missing), 0);

    // Written by the view: out to the module in the next cycle, not read back.
    setValue<int64_t>(wide, 0x100000002);
    wide->setPending = 1;
    std::snprintf(static_cast<char*>(text->value), 256, "from view");
    text->setPending = 1;
    fillDP(view);
    EXPECT_EQ(trace(), (std::vector<std::string>{"run 2", "postRun probeInt=2 probeDouble=2.25 probeLong=4294967298 "
                                                          "probeULong=17293822569102704641 probeText='from view'"}));
    EXPECT_EQ(wide->setPending, 0);
    EXPECT_EQ(text->setPending, 0);

    // Without a new write the variable reads the module's value again.
    void* module = dlopen(probe.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(module, nullptr);
    *static_cast<int64_t*>(dlsym(module, "probeLong")) = -5;
    dlclose(module);
    fillDP(view);
    EXPECT_EQ(valueOf<int64_t>(wide), -5);
    trace();

    // Stopped, the module is gone and so are the addresses of its globals;
    // a start without the module file exchanges nothing.
    closeDataSources(view);
    EXPECT_EQ(trace(), std::vector<std::string>{"close"});
    EXPECT_FALSE(isLoaded(probe));
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
        EXPECT_EQ(v->symbol, nullptr) << v->name;
    fs::remove(probe);
    log.take();
    startSources(view);
    EXPECT_EQ(log.take(), "error opening <" + probe + "> <ProbeSym>\n");
    fillDP(view);
    EXPECT_EQ(valueOf<int32_t>(counter), 0);
    EXPECT_EQ(trace(), std::vector<std::string>{});
}

} // namespace
