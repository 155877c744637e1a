// The generic node: linking, exchanging, copying and deleting children.
#include "fontFixtures.h"
#include "sartoLibrary.h"

#include <cstring>
#include <string>

using namespace sartotest;

namespace {

// A family node named by one letter.
FNT_DATA_STRUCT* named(char letter)
{
    FNT_DATA_STRUCT* node = ftDataCreate(FNT_TYPE_FAMILY);
    static_cast<FNT_FAMILY*>(node->data)->name[0] = letter;
    return node;
}

char letter(const FNT_DATA_STRUCT* node)
{
    return static_cast<const FNT_FAMILY*>(node->data)->name[0];
}

// The children's letters, after checking every link both ways.
std::string children(const FNT_DATA_STRUCT* parent)
{
    std::string forward;
    const FNT_DATA_STRUCT* last = nullptr;
    for (const FNT_DATA_STRUCT* node = parent->child; node; node = node->next) {
        EXPECT_EQ(node->parent, parent) << forward;
        EXPECT_EQ(node->prev, last) << forward;
        forward += letter(node);
        last = node;
    }
    EXPECT_EQ(parent->lastChild, last);
    std::string backward;
    for (const FNT_DATA_STRUCT* node = parent->lastChild; node; node = node->prev)
        backward.insert(backward.begin(), letter(node));
    EXPECT_EQ(forward, backward);
    return forward;
}

FNT_DATA_STRUCT* child(FNT_DATA_STRUCT* parent, char wanted)
{
    for (FNT_DATA_STRUCT* node = parent->child; node; node = node->next)
        if (letter(node) == wanted)
            return node;
    return nullptr;
}

TEST(DataNodes, CreateGivesTheTypesRecord)
{
    const struct
    {
        int type;
        int len;
    } cases[] = {{FNT_TYPE_PATH, FNT_PATH_SIZE},
                 {FNT_TYPE_FAMILY, static_cast<int>(sizeof(FNT_FAMILY))},
                 {FNT_TYPE_SOURCE, static_cast<int>(sizeof(FNT_SOURCE))}};
    for (const auto& c : cases) {
        FNT_DATA_STRUCT* node = ftDataCreate(c.type);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->type, c.type);
        EXPECT_EQ(node->len, c.len);
        const std::string zero(static_cast<size_t>(c.len), '\0');
        EXPECT_EQ(std::memcmp(node->data, zero.data(), zero.size()), 0);
        EXPECT_EQ(ftDataDel(node), 0);
    }
    FNT_DATA_STRUCT* unknown = nullptr;
    EXPECT_EQ(captureStdout([&] { unknown = ftDataCreate(9); }), "ftCreateData: Error unknown data type 9\n");
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->data, nullptr);
    EXPECT_EQ(unknown->len, 0);
    EXPECT_EQ(ftDataDel(unknown), 0);
}

TEST(DataNodes, LinkingKeepsBothDirectionsAndTheEnds)
{
    FNT_DATA_STRUCT* root = named('r');
    EXPECT_EQ(ftDataInsertAfter(root, nullptr, named('a')), 0); // only child
    EXPECT_EQ(children(root), "a");
    ftDataAppend(root, named('b'));
    ftDataPush(root, named('c'));
    EXPECT_EQ(children(root), "cab");
    ftDataInsertBefore(root, child(root, 'b'), named('d'));
    ftDataInsertAfter(root, child(root, 'b'), named('e'));
    EXPECT_EQ(children(root), "cadbe");
    ftDataInsertBefore(root, nullptr, named('f')); // before the first child
    ftDataInsertAfter(root, nullptr, named('g'));  // after the first child
    EXPECT_EQ(children(root), "fgcadbe");

    // Exchanges: only a node and its next sibling.
    EXPECT_EQ(ftDataSwap(child(root, 'f'), child(root, 'g')), 0);
    EXPECT_EQ(ftDataSwap(child(root, 'b'), child(root, 'e')), 0);
    EXPECT_EQ(ftDataSwap(child(root, 'c'), child(root, 'd')), 0); // not adjacent
    EXPECT_EQ(ftDataSwap(child(root, 'a'), child(root, 'c')), 0); // wrong order
    EXPECT_EQ(children(root), "gfcadeb");

    // Moving a linked node takes it out of its old place first.
    FNT_DATA_STRUCT* other = named('o');
    ftDataAppend(other, child(root, 'a'));
    EXPECT_EQ(children(root), "gfcdeb");
    EXPECT_EQ(children(other), "a");
    // A sibling under another parent is refused.
    FNT_DATA_STRUCT* stray = named('s');
    EXPECT_EQ(ftDataInsertBefore(root, child(other, 'a'), stray), -1);
    EXPECT_EQ(ftDataDel(stray), 0);
    // Nor is a node placed beside itself (a null sibling: the first child).
    EXPECT_EQ(ftDataInsertAfter(root, nullptr, root->child), -1);
    EXPECT_EQ(ftDataInsertBefore(root, root->child, root->child), -1);
    EXPECT_EQ(ftDataDel(other), 0);

    // Deleting the ends and the middle.
    ftDataDel(child(root, 'g'));
    ftDataDel(child(root, 'b'));
    ftDataDel(child(root, 'd'));
    EXPECT_EQ(children(root), "fce");
    EXPECT_EQ(ftDataDel(root), 0);
}

TEST(DataNodes, CopyIsDeep)
{
    FNT_DATA_STRUCT* root = named('r');
    for (char c : std::string("xyz"))
        ftDataAppend(root, named(c));
    ftDataAppend(child(root, 'y'), named('k'));
    FNT_DATA_STRUCT* copy = ftDataCopy(root);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->parent, nullptr);
    EXPECT_EQ(copy->type, FNT_TYPE_FAMILY);
    EXPECT_EQ(letter(copy), 'r');
    EXPECT_NE(copy->data, root->data);
    EXPECT_EQ(children(copy), "xyz");
    EXPECT_EQ(children(child(copy, 'y')), "k");
    EXPECT_NE(child(copy, 'y'), child(root, 'y'));
    ftDataDel(root);
    EXPECT_EQ(children(copy), "xyz");
    ftDataDel(copy);
}

TEST(DataNodes, NullArguments)
{
    FNT_DATA_STRUCT* node = named('n');
    EXPECT_EQ(ftDataAppend(nullptr, node), -1);
    EXPECT_EQ(ftDataAppend(node, nullptr), -1);
    EXPECT_EQ(ftDataPush(nullptr, node), -1);
    EXPECT_EQ(ftDataInsertBefore(nullptr, nullptr, node), -1);
    EXPECT_EQ(ftDataInsertAfter(node, nullptr, nullptr), -1);
    EXPECT_EQ(ftDataSwap(nullptr, node), -1);
    EXPECT_EQ(ftDataCopy(nullptr), nullptr);
    EXPECT_EQ(ftDataDel(nullptr), -1);
    ftDataDel(node);
}

} // namespace
