// Data sources and variables: the list operations, the services a source
// kind declares itself through, ownership of everything a record holds
// (leaks fail this test), and the merge of a view's sources with the
// registry of kinds.
#include "dataSourceSupport.h"

#include "dorneFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace support;

namespace {

// The names along next, after checking that prev mirrors next.
template <typename T>
std::string listNames(T* head)
{
    std::string names;
    T* previous = nullptr;
    for (T* r = head; r != nullptr; previous = r, r = r->next) {
        EXPECT_EQ(r->prev, previous) << r->name;
        names += r->name;
    }
    return names;
}

template <typename T>
struct ListOps;

template <>
struct ListOps<DD_DATA_TYPE_STRUCT>
{
    static DD_DATA_TYPE_STRUCT* make(const char* name)
    {
        DD_DATA_TYPE_STRUCT* s = createDataType(1);
        std::snprintf(s->name, sizeof s->name, "%s", name);
        return s;
    }
    static int append(DD_DATA_TYPE_STRUCT** h, DD_DATA_TYPE_STRUCT* r) { return appendDataType(h, r); }
    static int before(DD_DATA_TYPE_STRUCT* r, DD_DATA_TYPE_STRUCT* b, DD_DATA_TYPE_STRUCT** h)
    {
        return VDataInsertBefore(r, b, h);
    }
    static int after(DD_DATA_TYPE_STRUCT* r, DD_DATA_TYPE_STRUCT* a, DD_DATA_TYPE_STRUCT** h)
    {
        return VDataInsertAfter(r, a, h);
    }
    static int del(DD_DATA_TYPE_STRUCT** h, DD_DATA_TYPE_STRUCT* r) { return delDataType(h, r, 1); }
};

template <>
struct ListOps<DD_VAR_STRUCT>
{
    static DD_VAR_STRUCT* make(const char* name)
    {
        DD_VAR_STRUCT* v = createVariable(1);
        std::snprintf(v->name, sizeof v->name, "%s", name);
        return v;
    }
    static int append(DD_VAR_STRUCT** h, DD_VAR_STRUCT* r) { return appendVariable(h, r); }
    static int before(DD_VAR_STRUCT* r, DD_VAR_STRUCT* b, DD_VAR_STRUCT** h) { return variableInsertBefore(r, b, h); }
    static int after(DD_VAR_STRUCT* r, DD_VAR_STRUCT* a, DD_VAR_STRUCT** h) { return variableInsertAfter(r, a, h); }
    static int del(DD_VAR_STRUCT** h, DD_VAR_STRUCT* r) { return delVariable(h, r); }
};

template <typename T>
class Lists : public testing::Test
{
};
using RecordTypes = testing::Types<DD_DATA_TYPE_STRUCT, DD_VAR_STRUCT>;
TYPED_TEST_SUITE(Lists, RecordTypes);

TYPED_TEST(Lists, EveryOperationKeepsBothLinks)
{
    using Ops = ListOps<TypeParam>;
    TypeParam* head = nullptr;

    // Empty list: every insert makes the record the head.
    EXPECT_EQ(Ops::before(Ops::make("b"), nullptr, &head), 0);
    EXPECT_EQ(listNames(head), "b");
    TypeParam* b = head;
    EXPECT_EQ(Ops::del(&head, b), 0);
    EXPECT_EQ(head, nullptr);
    EXPECT_EQ(Ops::after(Ops::make("b"), nullptr, &head), 0);
    EXPECT_EQ(listNames(head), "b");
    b = head;

    EXPECT_EQ(Ops::append(&head, Ops::make("d")), 0);
    TypeParam* d = b->next;
    EXPECT_EQ(Ops::before(Ops::make("a"), nullptr, &head), 0) << "null neighbour: in front of the head";
    EXPECT_EQ(listNames(head), "abd");
    EXPECT_EQ(Ops::after(Ops::make("x"), nullptr, &head), 0) << "null neighbour: right behind the head";
    EXPECT_EQ(listNames(head), "axbd");
    EXPECT_EQ(Ops::before(Ops::make("c"), d, &head), 0);
    EXPECT_EQ(Ops::after(Ops::make("e"), d, &head), 0);
    EXPECT_EQ(listNames(head), "axbcde");
    EXPECT_EQ(Ops::before(Ops::make("0"), head, &head), 0) << "before the head: a new head";
    EXPECT_EQ(listNames(head), "0axbcde");

    EXPECT_EQ(Ops::del(&head, head), 0) << "deleting the head moves it on";
    EXPECT_EQ(listNames(head), "axbcde");
    EXPECT_EQ(Ops::del(&head, head->next), 0);
    EXPECT_EQ(Ops::del(&head, d->next), 0) << "the last record";
    EXPECT_EQ(listNames(head), "abcd");
    EXPECT_EQ(Ops::del(&head, nullptr), 0);
    EXPECT_EQ(Ops::append(nullptr, head), -1);
    EXPECT_EQ(Ops::append(&head, nullptr), 0);
    EXPECT_EQ(listNames(head), "abcd");
    while (head != nullptr)
        Ops::del(&head, head);
}

TEST(DataRecords, NewRecordsHaveZeroedParameterTexts)
{
    DD_DATA_TYPE_STRUCT* s = createDataType(3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->known, 1);
    EXPECT_EQ(s->dataOptionCount, 0);
    DD_VAR_STRUCT* v = createVariable(2);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->paraCount, 2);
    for (const DD_PARA_STRUCT& para : {s->para[0], s->para[2], v->para[1]}) {
        EXPECT_EQ(para.capacity, 64);
        EXPECT_EQ(std::string(para.text, 64), std::string(64, '\0'));
    }
    DD_VAR_STRUCT* bare = createVariable(0);
    EXPECT_EQ(bare->para, nullptr);
    delVariable(nullptr, bare);
    appendVariable(&s->variables, v);
    s->type = 7;
    EXPECT_EQ(checkDataType(s, 7), 1);
    EXPECT_EQ(checkDataType(s, 8), 0);
    EXPECT_EQ(checkDataType(nullptr, 0), 0);
    delDataType(nullptr, s, 0);
}

// A record frees all it owns whatever the reader or the merge did to it.
TEST(DataRecords, DeletingFreesEverythingOwned)
{
    DD_DATA_TYPE_STRUCT* head = nullptr;
    DD_DATA_TYPE_STRUCT* s = fileSource(&head, 2, 3, 2); // ten entries, three options
    char label[] = "LIST";
    ASSERT_EQ(vddOption(s, 1, 1, 0, label, "one", "two", nullptr), 0);
    DD_VAR_STRUCT* v = fileVariable(s, "v", DD_STRING);
    ASSERT_EQ(dorne::resetValue(v), 0);
    // A reader grows a text buffer that a stored text does not fit.
    std::free(v->para[1].text);
    v->para[1].text = static_cast<char*>(std::calloc(1, 200));
    v->para[1].capacity = 200;
    fileVariable(s, "w", DD_INT);
    // The flag 0 of a view's sources still frees the option arrays.
    EXPECT_EQ(delDataType(&head, s, 0), 0);
    EXPECT_EQ(head, nullptr);
}

TEST(Services, InitCutsTheNameAndClampsTheMode)
{
    DD_DATA_TYPE_STRUCT* s = createDataType(0);
    char label[] = "A";
    vddOption(s, 0, 0, 0, label);
    vddOption(s, 1, 1, 0, label, "x", nullptr);
    std::string name(70, 'n');
    EXPECT_EQ(vddInit(s, &name[0], 42, 5), 0);
    EXPECT_EQ(std::string(s->name), std::string(63, 'n'));
    EXPECT_EQ(s->type, 42);
    EXPECT_EQ(s->symbolMode, 1);
    EXPECT_EQ(s->dataOptionCount, 0) << "a new declaration starts afresh";
    EXPECT_EQ(s->varOptionCount, 0);
    vddInit(s, nullptr, 1, -3);
    EXPECT_STREQ(s->name, "");
    EXPECT_EQ(s->symbolMode, 0);
    EXPECT_EQ(vddInit(nullptr, &name[0], 1, 0), -1);
    delDataType(nullptr, s, 1);
}

TEST(Services, OptionsOfEveryKind)
{
    DD_DATA_TYPE_STRUCT* s = createDataType(0);
    char text[] = "TEXT", list[] = "LIST", button[] = "BUTTON", free[] = "FREE";
    std::string longLabel(40, 'L');
    const std::string longChoice(40, 'c');
    ASSERT_EQ(vddOption(s, 0, 0, 3, text), 0);
    ASSERT_EQ(vddOption(s, 0, 1, 0, list, "a", longChoice.c_str(), "c", nullptr), 0);
    ASSERT_EQ(vddOption(s, 0, 2, 0, button, "Press"), 0);
    ASSERT_EQ(vddOption(s, 2, 3, 0, free), 0) << "every scope but 0 declares a variable option";
    ASSERT_EQ(vddOption(s, 1, 0, 0, &longLabel[0]), 0);
    ASSERT_EQ(s->dataOptionCount, 3);
    ASSERT_EQ(s->varOptionCount, 2);

    const DD_OPTION_STRUCT* d = s->dataOptions;
    EXPECT_EQ(d[0].kind, 0);
    EXPECT_STREQ(d[0].label, "TEXT");
    EXPECT_EQ(d[0].flags, 3);
    EXPECT_EQ(d[0].choiceCount, 0);
    EXPECT_EQ(d[0].choices, nullptr);
    EXPECT_EQ(d[1].kind, 1);
    ASSERT_EQ(d[1].choiceCount, 3);
    EXPECT_STREQ(d[1].choices[0], "a");
    EXPECT_EQ(std::string(d[1].choices[1]), std::string(31, 'c'));
    EXPECT_STREQ(d[1].choices[2], "c");
    EXPECT_EQ(d[2].kind, 2);
    ASSERT_EQ(d[2].choiceCount, 1);
    EXPECT_STREQ(d[2].choices[0], "Press");
    EXPECT_EQ(s->varOptions[0].kind, 3);
    EXPECT_EQ(s->varOptions[0].choices, nullptr);
    EXPECT_EQ(std::string(s->varOptions[1].label), std::string(31, 'L'));
    EXPECT_EQ(vddOption(nullptr, 0, 0, 0, text), -1);
    delDataType(nullptr, s, 1);
}

TEST(Services, VariablesTakeTheirParametersInOptionOrder)
{
    DD_DATA_TYPE_STRUCT* s = createDataType(0);
    char text[] = "T", list[] = "L", button[] = "B", free[] = "F";
    vddOption(s, 1, 0, 0, text);
    vddOption(s, 1, 2, 0, button, "Go");
    vddOption(s, 1, 1, 0, list, "a", "b", "c", nullptr);
    vddOption(s, 1, 3, 0, free);
    vddOption(s, 1, 0, 0, text);

    std::string longName(70, 'v');
    const std::string longText(80, 't');
    ASSERT_EQ(vddAddVariable(s, &longName[0], DD_DOUBLE, "first", 2, longText.c_str()), 0);
    char second[] = "second";
    ASSERT_EQ(vddAddVariable(s, second, DD_STRING, nullptr, 1, "x"), 0);
    DD_VAR_STRUCT* v = s->variables;
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(std::string(v->name), std::string(63, 'v'));
    EXPECT_EQ(v->type, DD_DOUBLE);
    EXPECT_EQ(v->paraCount, 5);
    EXPECT_STREQ(v->para[0].text, "first");
    EXPECT_STREQ(v->para[1].text, "") << "a button takes no argument";
    EXPECT_EQ(v->para[2].value, 2);
    EXPECT_STREQ(v->para[3].text, "") << "nor does a free text without choices";
    EXPECT_EQ(std::string(v->para[4].text), std::string(63, 't'));
    EXPECT_STREQ(v->next->para[0].text, "");

    char** names = vddGetAllVariables(s);
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(std::string(names[0]), std::string(63, 'v'));
    EXPECT_STREQ(names[1], "second");
    EXPECT_EQ(names[2], nullptr);
    DD_VAR_STRUCT** records = vddGetAllVariablesS(s);
    ASSERT_NE(records, nullptr);
    EXPECT_EQ(records[0], v);
    EXPECT_EQ(records[1], v->next);
    EXPECT_EQ(records[2], nullptr);

    EXPECT_EQ(vddDeleteAllVariables(s), 0);
    EXPECT_EQ(s->variables, nullptr);
    names = vddGetAllVariables(s); // releases the previous array
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(names[0], nullptr) << "no variables: the terminator only";
    EXPECT_EQ(vddGetAllVariables(nullptr), nullptr);
    EXPECT_EQ(names[0], nullptr) << "a null source releases nothing";
    EXPECT_EQ(vddGetAllVariablesS(s)[0], nullptr);
    EXPECT_EQ(vddDeleteAllVariables(nullptr), 0);
    EXPECT_EQ(vddAddVariable(nullptr, second, 0), -1);
    delDataType(nullptr, s, 1);
}

// A registry record declared by hand, as a module's Info would.
DD_DATA_TYPE_STRUCT* declaredKind(int type, int dataOptions, int varOptions)
{
    DD_DATA_TYPE_STRUCT* kind = createDataType(10);
    char name[] = "Probe", host[] = "HOST", mode[] = "MODE", other[] = "P";
    vddInit(kind, name, type, 1);
    vddOption(kind, 0, 0, 0, host);
    vddOption(kind, 0, 1, 0, mode, "Plain", "Fast", nullptr);
    for (int i = 2; i < dataOptions; ++i)
        vddOption(kind, 0, 0, 0, other);
    for (int i = 0; i < varOptions; ++i)
        vddOption(kind, 1, 0, 0, other);
    std::snprintf(kind->modulePath, sizeof kind->modulePath, "/somewhere/libVddProbe.so");
    std::snprintf(kind->moduleName, sizeof kind->moduleName, "Probe");
    return kind;
}

TEST(Merge, CompletesKnownSourcesWarnsAndGrows)
{
    DD_DATA_TYPE_STRUCT* registry = nullptr;
    vdiLoadStaticDataSources(&registry);
    appendDataType(&registry, declaredKind(100, 12, 11));

    DD_DATA_TYPE_STRUCT* view = nullptr;
    DD_DATA_TYPE_STRUCT* constant = fileSource(&view, 2, 0, 1);
    DD_DATA_TYPE_STRUCT* probe = fileSource(&view, 100, 3, 2);
    setParaText(probe->para[0], "stored host");
    DD_VAR_STRUCT* v = fileVariable(probe, "v", DD_INT);
    setParaText(v->para[1], "kept");
    DD_DATA_TYPE_STRUCT* unknown = fileSource(&view, 77, 2, 1);
    fileVariable(unknown, "orphan", DD_INT);

    LogCapture log;
    EXPECT_EQ(updateDataTypes(registry, &view), 0);
    EXPECT_EQ(log.take(), "Warning: nr of data parameter mismatch\n"
                          "Data type 100 Probe\n"
                          "Library has 12 parameters, view has 3 parameters\n"
                          "Warning: nr of variable parameter mismatch\n"
                          "Data type 100 Probe\n"
                          "Library has 11 parameters, view has 2 parameters\n"
                          "Warning: data type 77 not found. deleted !\n");
    while (registry != nullptr)
        delDataType(&registry, registry, 1); // the view must not need it any more

    EXPECT_STREQ(constant->name, "Constant Data");
    EXPECT_EQ(constant->known, 1);
    EXPECT_EQ(constant->isStatic, 1);
    EXPECT_NE(constant->fnGet, nullptr);
    EXPECT_EQ(constant->fnSet, nullptr);
    EXPECT_NE(constant->vddInit, nullptr);
    EXPECT_EQ(constant->logMsgData, nullptr);
    ASSERT_EQ(constant->varOptionCount, 1);
    EXPECT_STREQ(constant->varOptions[0].label, "VALUE");

    EXPECT_STREQ(probe->name, "Probe");
    EXPECT_EQ(probe->symbolMode, 1);
    EXPECT_STREQ(probe->modulePath, "/somewhere/libVddProbe.so");
    EXPECT_STREQ(probe->moduleName, "Probe");
    ASSERT_EQ(probe->dataOptionCount, 12);
    EXPECT_STREQ(probe->dataOptions[1].label, "MODE");
    EXPECT_EQ(probe->dataOptions[1].choiceCount, 2);
    EXPECT_EQ(probe->dataOptions[1].choices, nullptr) << "the choice texts stay with the registry";
    // The arrays grew to the declared counts and kept what the file stored.
    ASSERT_GE(probe->paraAlloc, 12);
    EXPECT_STREQ(probe->para[0].text, "stored host");
    EXPECT_EQ(probe->para[11].capacity, 64);
    EXPECT_STREQ(probe->para[11].text, "");
    EXPECT_EQ(v->paraCount, 11);
    ASSERT_GE(v->paraAlloc, 11);
    EXPECT_STREQ(v->para[1].text, "kept");
    EXPECT_STREQ(v->para[10].text, "");

    // An unknown kind stays, renamed, with its variables and no entry points.
    EXPECT_EQ(unknown->known, 0);
    EXPECT_STREQ(unknown->name, "unknown Data Source 77");
    EXPECT_STREQ(unknown->variables->name, "orphan");
    EXPECT_EQ(unknown->fnGet, nullptr);
    EXPECT_EQ(unknown->fnRun, nullptr);
    EXPECT_EQ(unknown->next, nullptr);
    EXPECT_EQ(view->next->next, unknown);

    EXPECT_EQ(updateDataTypes(nullptr, nullptr), -1);
    freeSources(&view);
}

// Records read from a view file hold their parameter entries and texts in
// their own allocation: a text longer than the stored one grows out of it,
// the merge grows the arrays, and everything is freed once (the sanitizers
// watch). The section reader leaves a stream just behind the section.
TEST(Merge, GrowsAndFreesSourcesReadFromAFile)
{
    TempFolder folder;
    const std::string path = folder.path + "/view.v";
    DD_DATA_TYPE_STRUCT* saved = nullptr;
    DD_DATA_TYPE_STRUCT* probe = fileSource(&saved, 100, 3, 2);
    setParaText(probe->para[0], "stored host");
    DD_VAR_STRUCT* v = fileVariable(probe, "v", DD_INT);
    // A record longer than the reader holds of the file at a time.
    const int32_t longText = 100000;
    std::free(v->para[0].text);
    v->para[0].text = static_cast<char*>(std::calloc(1, size_t(longText)));
    v->para[0].capacity = longText;
    std::memset(v->para[0].text, 'x', size_t(longText) - 1);
    setParaText(v->para[1], "kept");
    fileVariable(probe, "w", DD_INT);
    // More parameters than are sized ahead: the last grows when read.
    DD_DATA_TYPE_STRUCT* wide = fileSource(&saved, 2, 0, 300);
    setParaText(fileVariable(wide, "many", DD_INT)->para[299], "last");
    CONFIG_STRUCT config{};
    ASSERT_EQ(saveFile(path.c_str(), nullptr, saved, &config), 0);
    freeSources(&saved);
    // Bytes behind the section for the stream's next reader, more than the
    // reader fetches ahead.
    std::FILE* file = std::fopen(path.c_str(), "ab");
    ASSERT_NE(file, nullptr);
    const std::string tail(5000, 't');
    std::fputs(tail.c_str(), file);
    std::fclose(file);

    DD_DATA_TYPE_STRUCT* view = nullptr;
    const long sectionAt = 30 + 8 + 11 * 4 + 4; // header, view block, tag 20
    file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fseek(file, sectionAt, SEEK_SET), 0);
    ASSERT_EQ(dataLoad_303(file, &view), 0);
    std::string after(tail.size() + 1, '\0');
    EXPECT_EQ(std::fread(&after[0], 1, after.size(), file), tail.size());
    after.resize(tail.size());
    EXPECT_EQ(after, tail);
    std::fclose(file);

    ASSERT_NE(view, nullptr);
    probe = view;
    EXPECT_STREQ(probe->para[0].text, "stored host");
    v = probe->variables;
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->para[0].capacity, longText + 12);
    EXPECT_EQ(std::strlen(v->para[0].text), size_t(longText) - 1);
    EXPECT_EQ(v->para[1].capacity, 76);
    EXPECT_STREQ(v->para[1].text, "kept");
    ASSERT_NE(v->next, nullptr);
    EXPECT_EQ(v->next->para[0].capacity, 76);
    ASSERT_NE(probe->next, nullptr);
    DD_VAR_STRUCT* many = probe->next->variables;
    ASSERT_NE(many, nullptr);
    ASSERT_EQ(many->paraAlloc, 300);
    EXPECT_EQ(many->para[0].capacity, 76);
    EXPECT_EQ(many->para[299].capacity, 76);
    EXPECT_STREQ(many->para[299].text, "last");

    DD_DATA_TYPE_STRUCT* registry = nullptr;
    vdiLoadStaticDataSources(&registry);
    appendDataType(&registry, declaredKind(100, 12, 11));
    EXPECT_EQ(updateDataTypes(registry, &view), 0);
    while (registry != nullptr)
        delDataType(&registry, registry, 1);
    ASSERT_GE(probe->paraAlloc, 12);
    EXPECT_STREQ(probe->para[0].text, "stored host");
    EXPECT_EQ(probe->para[11].capacity, 64);
    ASSERT_GE(v->paraAlloc, 11);
    EXPECT_EQ(v->paraCount, 11);
    EXPECT_EQ(std::strlen(v->para[0].text), size_t(longText) - 1);
    EXPECT_STREQ(v->para[1].text, "kept");
    EXPECT_STREQ(v->para[10].text, "");
    freeSources(&view);
}

} // namespace
