// Binding actions to the variables of a view's data sources by name: which
// variables the view writes (at load) and value storage, snapshots and
// sample rings (at start).
#include "dorneDataSources.h"
#include "dorneElements.h"
#include "dorneLog.h"

#include "data/dataValue.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>
#include <string_view>
#include <vector>

namespace {

std::string_view nameOf(const char (&name)[64])
{
    return std::string_view(name, strnlen(name, sizeof name));
}

// Every variable of every source by name; variables of one name keep their
// order in the walk through sources and lists, so the last one is the one a
// name binds to.
class VariableIndex
{
public:
    explicit VariableIndex(DD_DATA_TYPE_STRUCT* sources)
    {
        for (DD_DATA_TYPE_STRUCT* s = sources; s != nullptr; s = s->next)
            for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
                entries_.push_back(Entry{nameOf(v->name), entries_.size(), v});
        std::stable_sort(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return a.name < b.name; });
    }

    struct Entry
    {
        std::string_view name;
        size_t position; // in the walk
        DD_VAR_STRUCT* variable;
    };

    // The variables of the name in walk order (empty when there is none).
    std::pair<const Entry*, const Entry*> find(std::string_view name) const
    {
        auto range = std::equal_range(entries_.begin(), entries_.end(), Entry{name, 0, nullptr},
                                      [](const Entry& a, const Entry& b) { return a.name < b.name; });
        return {entries_.data() + (range.first - entries_.begin()),
                entries_.data() + (range.second - entries_.begin())};
    }

private:
    std::vector<Entry> entries_;
};

// Calls f for every element of the tree, a group's children before the group.
template <typename F>
void forEachElement(ELEMENT_STRUCT* list, F& f)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        if (e->kind == VD_GROUP)
            forEachElement(e->children, f);
        f(e);
    }
}

void freeRing(ACTION_RING& ring)
{
    std::free(ring.values);
    std::free(ring.secondValues);
    ring.values = ring.secondValues = nullptr;
    ring.capacity = 0;
}

// Zeroed sample arrays of capacity n for both rings; on failure the rings
// stay without arrays (capacity 0).
void allocateRings(ACTION_STRUCT* a, int n)
{
    for (ACTION_RING* ring : {&a->input, &a->display}) {
        ring->values = static_cast<float*>(std::calloc(size_t(n), sizeof(float)));
        ring->secondValues = static_cast<float*>(std::calloc(size_t(n), sizeof(float)));
        ring->readIndex = ring->writeIndex = ring->count = 0;
        ring->capacity = n;
    }
    if (a->input.values == nullptr || a->input.secondValues == nullptr || a->display.values == nullptr ||
        a->display.secondValues == nullptr) {
        logMsg(1, "assignVariables: out of memory\n");
        freeRing(a->input);
        freeRing(a->display);
    }
}

// What binding one of an action's two variables found.
struct Bound
{
    DD_VAR_STRUCT* variable = nullptr; // null: not bound
    size_t position = 0;               // of the variable in the walk
    bool outOfMemory = false;          // found, but no snapshot could be made
};

// Binds one of the action's two variables: every variable of the name is in
// use (and written, for a mouse action); the last one gets the action's
// storage pointer and a zeroed snapshot of its size.
Bound bindVariable(ACTION_STRUCT* a, const VariableIndex& index, std::string_view name, void** value,
                   void** snapshot)
{
    const auto [begin, end] = index.find(name);
    for (const VariableIndex::Entry* e = begin; e != end; ++e) {
        e->variable->used = 1;
        if (a->type == 22)
            e->variable->write = 1;
    }
    if (begin == end || end[-1].variable->value == nullptr)
        return Bound{};
    *snapshot = std::calloc(1, dorne::valueStorageSize(end[-1].variable->type));
    if (*snapshot == nullptr) {
        logMsg(1, "assignVariables: out of memory\n");
        return Bound{nullptr, 0, true};
    }
    *value = end[-1].variable->value;
    return Bound{end[-1].variable, end[-1].position};
}

// false when memory ran out for a snapshot: a variable that exists is left
// unbound.
bool bindAction(ACTION_STRUCT* a, const ELEMENT_STRUCT* element, const VariableIndex& index)
{
    // The previous binding's pointers lead into storage just replaced.
    a->value = a->secondValue = nullptr;
    a->varRecord = nullptr;
    a->filterState = 0;
    a->filterElapsed = 0;
    getAB(&a->offset, &a->slope, a->a0, a->b0, a->a1, a->b1);
    getAB(&a->secondOffset, &a->secondSlope, a->secondA0, a->secondB0, a->secondA1, a->secondB1);
    freeRing(a->input);
    freeRing(a->display);
    std::free(a->snapshot);
    std::free(a->secondSnapshot);
    a->snapshot = a->secondSnapshot = nullptr;

    const Bound first = bindVariable(a, index, nameOf(a->var), &a->value, &a->snapshot);
    const Bound second = bindVariable(a, index, nameOf(a->secondVar), &a->secondValue, &a->secondSnapshot);
    const bool bound = !first.outOfMemory && !second.outOfMemory;
    a->varRecord = first.variable;
    // The value type is that of whichever variable the walk met last.
    const Bound& last = second.variable != nullptr && (first.variable == nullptr || second.position > first.position)
                            ? second
                            : first;
    if (last.variable != nullptr)
        a->valueType = last.variable->type;

    if (element->kind == VD_GRAPH && element->data != nullptr) {
        const int samples = static_cast<const GRAPH_STRUCT*>(element->data)->samples;
        // A sample count below 1 (corrupt) counts as 1: a ring of two holds
        // one sample between two data steps.
        allocateRings(a, samples < 1 ? 2 : samples == INT32_MAX ? INT32_MAX : samples + 1);
    }
    if (a->value == nullptr)
        logMsg(1, "error: var <%.*s> not found\n", int(nameOf(a->var).size()), a->var);
    return bound;
}

} // namespace

int assignVariablesReadWrite(ELEMENT_STRUCT* list, DD_DATA_TYPE_STRUCT* sources)
{
    try {
        for (DD_DATA_TYPE_STRUCT* s = sources; s != nullptr; s = s->next)
            for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
                v->write = 0;
        const VariableIndex index(sources);
        auto mark = [&index](ELEMENT_STRUCT* e) {
            for (ACTION_STRUCT* a = e->actions; a != nullptr; a = a->next) {
                if (a->type != 22)
                    continue;
                const auto [begin, end] = index.find(nameOf(a->var));
                for (const VariableIndex::Entry* entry = begin; entry != end; ++entry)
                    entry->variable->write = 1;
            }
        };
        forEachElement(list, mark);
    } catch (const std::bad_alloc&) {
        logMsg(1, "assignVariablesReadWrite: out of memory\n");
        return -1;
    }
    return 0;
}

int assignVariables(ELEMENT_STRUCT* list, DD_DATA_TYPE_STRUCT* sources)
{
    int result = 0;
    for (DD_DATA_TYPE_STRUCT* s = sources; s != nullptr; s = s->next) {
        for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next) {
            v->used = 1;
            v->write = 0;
            if (dorne::resetValue(v) != 0) {
                logMsg(1, "assignVariables: out of memory\n");
                result = -1;
            }
        }
    }
    // Without memory for the index every action is still unbound from the
    // storage just replaced.
    VariableIndex index(nullptr);
    try {
        index = VariableIndex(sources);
    } catch (const std::bad_alloc&) {
        logMsg(1, "assignVariables: out of memory\n");
        result = -1;
    }
    auto bind = [&index, &result](ELEMENT_STRUCT* e) {
        for (ACTION_STRUCT* a = e->actions; a != nullptr; a = a->next)
            if (!bindAction(a, e, index))
                result = -1;
    };
    forEachElement(list, bind);
    return result;
}
