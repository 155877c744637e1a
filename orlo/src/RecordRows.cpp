#include "RecordRows.h"

#include "ParallelWork.h"
#include "Record.h"

#include <algorithm>
#include <limits>

namespace KAVO {

void RecordRows::clear()
{
    mKeys.clear();
    mCells.clear();
}

std::size_t RecordRows::memoryUsed() const
{
    std::size_t bytes = mKeys.capacity() * sizeof(int64_t);
    for (const std::vector<int32_t>& cells : mCells)
        bytes += sizeof cells + cells.capacity() * sizeof(int32_t);
    return bytes;
}

void RecordRows::fill(const Record& record, const std::vector<const RecordIdList*>& lists)
{
    clear();
    if (!fillByIndex(record, lists))
        fillByMessages(record.recordData(), lists);
}

namespace {

// Calls f(index, key number) for the messages begin..end of a list read
// from files, in list order, the key found from the message's place alone.
template <typename F>
void forEachKey(const RecordTimeIndex& index, const RecordView& view, uint32_t begin, uint32_t end, F f)
{
    for (const RecordView::Part& part : view.parts()) {
        const uint32_t from = std::max(begin, part.begin);
        const uint32_t to = std::min(end, part.end);
        if (from >= to)
            continue;
        if (!part.ordered) {
            for (uint32_t i = from; i < to; ++i)
                f(i, index.keyAt(view.position(i), part.high));
            continue;
        }
        RecordTimeIndex::Cursor cursor(index, part.high, view.position(from));
        for (uint32_t i = from; i < to; ++i)
            f(i, cursor.keyAt(view.position(i)));
    }
}

} // namespace

bool RecordRows::fillByIndex(const Record& record, const std::vector<const RecordIdList*>& lists)
{
    if (lists.empty())
        return true;
    // Only lists read from files into this recording know their places.
    bool high = false;
    std::size_t total = 0;
    for (const RecordIdList* list : lists) {
        const RecordView& view = list->entries;
        if (!view.isView() || view.store() != &record.rawData().entries)
            return false;
        std::size_t parts = 0;
        for (const RecordView::Part& part : view.parts()) {
            parts += part.end - part.begin;
            high = high || part.high;
        }
        if (parts != view.size())
            return false;
        total += view.size();
    }
    const RecordTimeIndex& index = record.timeIndex(high);
    const std::size_t keyCount = index.keys().size();
    const int threads = ParallelWork::threads(static_cast<int64_t>(total));

    // The keys the lists meet, a bit per key, in stretches of equal length
    // on the workers.
    constexpr uint32_t Stretch = uint32_t(1) << 18;
    std::vector<std::pair<std::size_t, uint32_t>> stretches;
    for (std::size_t l = 0; l < lists.size(); ++l)
        for (uint32_t i = 0; i < lists[l]->size(); i += Stretch)
            stretches.emplace_back(l, i);
    std::vector<std::vector<uint64_t>> met(stretches.size());
    ParallelWork::run(stretches.size(), threads, [&](std::size_t k) {
        std::vector<uint64_t>& bits = met[k];
        bits.assign(keyCount / 64 + 1, 0);
        const RecordView& view = lists[stretches[k].first]->entries;
        const uint32_t begin = stretches[k].second;
        const uint32_t end = static_cast<uint32_t>(std::min<std::size_t>(view.size(), begin + std::size_t(Stretch)));
        forEachKey(index, view, begin, end, [&](uint32_t, uint32_t key) { bits[key / 64] |= uint64_t(1) << (key % 64); });
    });
    // One row per key met, in key order.
    std::vector<int32_t> rowOfKey(keyCount, -1);
    for (std::size_t w = 0; w < keyCount / 64 + 1; ++w) {
        uint64_t any = 0;
        for (const std::vector<uint64_t>& bits : met)
            any |= bits[w];
        for (; any != 0; any &= any - 1) {
            const std::size_t key = w * 64 + static_cast<std::size_t>(__builtin_ctzll(any));
            rowOfKey[key] = static_cast<int32_t>(mKeys.size());
            mKeys.push_back(index.keys()[key]);
        }
    }
    // Of several messages in one tenth the last in list order shows: a list
    // is one task, the longest first.
    std::vector<std::size_t> byLength(lists.size());
    for (std::size_t l = 0; l < lists.size(); ++l)
        byLength[l] = l;
    std::stable_sort(byLength.begin(), byLength.end(),
                     [&](std::size_t a, std::size_t b) { return lists[a]->size() > lists[b]->size(); });
    mCells.resize(lists.size());
    ParallelWork::run(lists.size(), threads, [&](std::size_t k) {
        const std::size_t l = byLength[k];
        std::vector<int32_t>& cells = mCells[l];
        cells.assign(mKeys.size(), -1);
        const RecordView& view = lists[l]->entries;
        forEachKey(index, view, 0, static_cast<uint32_t>(view.size()), [&](uint32_t i, uint32_t key) {
            cells[static_cast<std::size_t>(rowOfKey[key])] = static_cast<int32_t>(i);
        });
    });
    return true;
}

void RecordRows::fillByMessages(const RecordData& data, const std::vector<const RecordIdList*>& lists)
{
    // One key per message; the arrays are filled once, on fresh pages
    // asked for in bulk (a first fill must not cost more than a refill).
    std::vector<Keys> keysOfList(lists.size());
    int64_t low = std::numeric_limits<int64_t>::max();
    int64_t high = std::numeric_limits<int64_t>::min();
    std::size_t total = 0;
    for (std::size_t l = 0; l < lists.size(); ++l) {
        const RecordIdList& list = *lists[l];
        Keys& keys = keysOfList[l];
        keys.resize(list.size());
        int64_t* k = keys.data();
        list.entries.forEach([&](const RecordEntry& e) {
            const int64_t key = RecordData::timeKey(data.timeOf(list, e));
            *k++ = key;
            low = std::min(low, key);
            high = std::max(high, key);
        });
        total += list.size();
    }
    if (total > 0)
        numberRows(keysOfList, low, high, total);
}

void RecordRows::numberRows(const std::vector<Keys>& keysOfList, int64_t low, int64_t high, std::size_t total)
{
    mCells.resize(keysOfList.size());
    // Keys lie close together (one per tenth of a second of recording), so
    // a table over the whole key range numbers the rows in linear time; far
    // apart keys (a corrupt time stamp) are sorted instead. Keys are within
    // +-2^53, so the span does not overflow.
    const uint64_t span = static_cast<uint64_t>(high - low);
    if (span < 4 * static_cast<uint64_t>(total) + 4096) {
        std::vector<int32_t> rowOfKey(static_cast<std::size_t>(span) + 1, -1);
        for (const Keys& keys : keysOfList)
            for (int64_t k : keys)
                rowOfKey[static_cast<std::size_t>(k - low)] = 0;
        int32_t rows = 0;
        for (std::size_t i = 0; i < rowOfKey.size(); ++i) {
            if (rowOfKey[i] == 0) {
                rowOfKey[i] = rows++;
                mKeys.push_back(low + static_cast<int64_t>(i));
            }
        }
        for (std::size_t l = 0; l < keysOfList.size(); ++l) {
            const Keys& keys = keysOfList[l];
            std::vector<int32_t>& cells = mCells[l];
            cells.assign(mKeys.size(), -1);
            // Of several messages in one tenth the last in list order shows.
            for (std::size_t i = 0; i < keys.size(); ++i)
                cells[static_cast<std::size_t>(rowOfKey[static_cast<std::size_t>(keys[i] - low)])] =
                    static_cast<int32_t>(i);
        }
        return;
    }

    mKeys.reserve(total);
    for (const Keys& keys : keysOfList)
        mKeys.insert(mKeys.end(), keys.begin(), keys.end());
    std::sort(mKeys.begin(), mKeys.end());
    mKeys.erase(std::unique(mKeys.begin(), mKeys.end()), mKeys.end());
    mKeys.shrink_to_fit();
    for (std::size_t l = 0; l < keysOfList.size(); ++l) {
        const Keys& keys = keysOfList[l];
        std::vector<int32_t>& cells = mCells[l];
        cells.assign(mKeys.size(), -1);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const auto row = std::lower_bound(mKeys.begin(), mKeys.end(), keys[i]) - mKeys.begin();
            cells[static_cast<std::size_t>(row)] = static_cast<int32_t>(i);
        }
    }
}

} // namespace KAVO
