// Shared by the class facade's tests: a view file written with saveFile
// that holds an internal source with one variable of every value type, a
// constant, a calculator over it, a group with a child and a button; and
// the facade driven from a second thread while the view's data thread runs
// (also under ThreadSanitizer, tsan_nalvoView.cpp).
// Plain C++, the public headers and GoogleTest only.
#ifndef DORNE_NALVO_VIEW_SUPPORT_H
#define DORNE_NALVO_VIEW_SUPPORT_H

#include "NalvoView.h"
#include "viewSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace facadetest {

using namespace viewtest;

// Polls cond (which reads a value the data thread makes) for up to 30 s:
// a deadline for a thread that never gets there, not a time it needs.
inline bool eventually(const std::function<bool()>& cond)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!cond()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

inline void nameElement(ELEMENT_STRUCT* e, const char* name)
{
    std::snprintf(e->name, sizeof e->name, "%s", name);
}

// The view: 201.7 x 100 units at (10, 20).
//   internal source: f (float, default 1.5), d (double, 2.25), c, uc, s,
//     us, i (default -7), ui, l, ul (each integer type), t (text, "hello"),
//     b (int, written by the button);
//   constant source: k = 42 (int);
//   calculator: calc = k * 2 (double);
//   elements: "group" holding "child" over (50, 50)-(70, 70), "button" over
//     (10, 20)-(30, 40) whose left press sets b to 1.
inline bool writeFacadeView(const std::string& path)
{
    ViewDraft draft(10, 20, 201.7f, 100);
    DD_DATA_TYPE_STRUCT* internal = draft.source(5, 0, 0);
    const struct
    {
        const char* name;
        int type;
        const char* initial;
    } variables[] = {
        {"f", DD_FLOAT, "1.5"}, {"d", DD_DOUBLE, "2.25"}, {"c", DD_CHAR, ""},   {"uc", DD_UCHAR, ""},
        {"s", DD_SHORT, ""},    {"us", DD_USHORT, ""},    {"i", DD_INT, "-7"}, {"ui", DD_UINT, ""},
        {"l", DD_LONG, ""},     {"ul", DD_ULONG, ""},     {"t", DD_STRING, "hello"}, {"b", DD_INT, ""},
    };
    for (const auto& v : variables)
        ViewDraft::variable(internal, v.name, v.type, v.initial);
    DD_DATA_TYPE_STRUCT* constant = draft.source(2, 0, 1);
    DD_VAR_STRUCT* k = ViewDraft::variable(constant, "k", DD_INT);
    std::snprintf(k->para[0].text, size_t(k->para[0].capacity), "%s", "42");
    DD_DATA_TYPE_STRUCT* calculator = draft.source(6, 0, 2);
    DD_VAR_STRUCT* calc = ViewDraft::variable(calculator, "calc", DD_DOUBLE);
    std::snprintf(calc->para[0].text, size_t(calc->para[0].capacity), "%s", "k * 2");

    ELEMENT_STRUCT* group = draft.add(elementCreate(VD_GROUP));
    nameElement(group, "group");
    nameElement(draft.add(filledRect(50, 50, 70, 70, 0, 1, 0), group), "child");
    ELEMENT_STRUCT* button = draft.add(filledRect(10, 20, 30, 40, 1, 1, 1));
    nameElement(button, "button");
    ACTION_STRUCT* press = addAction(button, 22, "b");
    press->mouseButton = 0;
    press->mouseAction = 0;
    press->mouseMode = 0;
    press->mouseInc = 1;
    return draft.save(path);
}

// getVar, setVar and setEvent from a second thread while the data thread
// of the started view runs; the values it writes to the internal source
// stay, and the calculator follows the constant.
inline void useFromAnotherThread(const std::string& path)
{
    Nalvo2D::NalvoView facade;
    ASSERT_TRUE(facade.load(path));
    ASSERT_TRUE(facade.startView(true));
    int mismatches = 0;
    int calcSeen = 0;
    std::thread user([&] {
        for (long n = 0; n < 2000; ++n) {
            if (!facade.setVar("i", n))
                ++mismatches;
            long back = -1;
            if (!facade.getVar("i", back) || back != n)
                ++mismatches;
            std::string text;
            if (!facade.setVar("t", std::to_string(n)) || !facade.getVar("t", text) || text != std::to_string(n))
                ++mismatches;
            double calc = 0;
            if (facade.getVar("calc", calc) && calc == 84.0)
                ++calcSeen;
            // On the button: its press writes b while the data thread runs.
            facade.setEvent(Nalvo2D::MOUSE_LEFT, Nalvo2D::EVENT_PRESS, 20, 30);
            facade.setEvent(Nalvo2D::MOUSE_LEFT, Nalvo2D::EVENT_RELEASE, 20, 30);
            if (n % 100 == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    user.join();
    EXPECT_EQ(mismatches, 0);
    EXPECT_TRUE(eventually([&] {
        double calc = 0;
        return facade.getVar("calc", calc) && calc == 84.0;
    })) << "seen " << calcSeen << " times";
    EXPECT_TRUE(facade.stopView());
}

} // namespace facadetest

#endif
