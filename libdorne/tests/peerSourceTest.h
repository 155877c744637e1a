// Fixture of the shared-memory and UDP source tests: one view's sources
// built as a view file reader builds them, started in a view start's order
// and closed and freed after each test.
#ifndef DORNE_PEER_SOURCE_TEST_H
#define DORNE_PEER_SOURCE_TEST_H

#include "dataSourceSupport.h"

#include <gtest/gtest.h>

class PeerSourceTest : public testing::Test
{
protected:
    void TearDown() override { reset(); }
    void reset()
    {
        closeDataSources(view);
        support::freeSources(&view);
    }
    // A variable of the last source with its OFFSET text.
    DD_VAR_STRUCT* variable(const char* name, int type, const char* offset, const char* defaultText = "")
    {
        DD_VAR_STRUCT* v = support::fileVariable(s, name, type, defaultText);
        support::setParaText(v->para[0], offset);
        return v;
    }
    // A view start in its order: open, start hooks (which may load an NSHM
    // block), fresh storage, defaults.
    void start()
    {
        support::mergeWithRegistry(&view);
        openDataSources(view);
        callStartView(view);
        for (DD_DATA_TYPE_STRUCT* t = view; t != nullptr; t = t->next)
            for (DD_VAR_STRUCT* v = t->variables; v != nullptr; v = v->next)
                ASSERT_EQ(dorne::resetValue(v), 0);
        writeDefault(view);
    }
    DD_DATA_TYPE_STRUCT* view = nullptr;
    DD_DATA_TYPE_STRUCT* s = nullptr; // the last source made
};

#endif
