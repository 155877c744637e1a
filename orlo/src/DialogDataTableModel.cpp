#include "DialogDataTableModel.h"

#include "DialogDataTable.h"
#include "Profile.h"
#include "Record.h"

#include <QBrush>

#include <algorithm>
#include <limits>
#include <map>

namespace KAVO {

namespace {

// The list of a channel and id, or null; never adds an entry.
const RecordIdList* findList(const RecordData& data, const ProfileParameter& p)
{
    const auto channel = data.channels.find(static_cast<uint32_t>(p.mChannel));
    if (channel == data.channels.end())
        return nullptr;
    const auto list = channel->second.find(static_cast<uint32_t>(p.mCanId));
    return list == channel->second.end() ? nullptr : &list->second;
}

} // namespace

DialogDataTableModel::DialogDataTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{
    mLabels << QString("Time");
}

void DialogDataTableModel::setColumns(const QStringList& labels, const std::vector<ProfileParameter>& parameters)
{
    beginResetModel();
    mLabels = labels;
    mColumns.clear();
    for (const ProfileParameter& p : parameters)
        mColumns.push_back(Column{p, -1});
    mKeys.clear();
    mEntryOfRow.clear();
    mCachedValid = false;
    mCachedRow = -1;
    endResetModel();
}

void DialogDataTableModel::fill(Record* record)
{
    beginResetModel();
    mRecord = record;
    mKeys.clear();
    mEntryOfRow.clear();
    mCachedValid = false;
    mCachedRow = -1;
    for (Column& c : mColumns)
        c.list = -1;

    if (record != nullptr) {
        const RecordData& data = record->recordData();
        // Parameters packed into one message share its id list: its keys
        // and cells are worked out once.
        std::map<const RecordIdList*, int> listIndex;
        std::vector<const RecordIdList*> lists;
        for (Column& c : mColumns) {
            const RecordIdList* list = findList(data, c.parameter);
            if (list == nullptr || list->empty())
                continue;
            const auto found = listIndex.emplace(list, static_cast<int>(lists.size()));
            if (found.second)
                lists.push_back(list);
            c.list = found.first->second;
        }

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
    endResetModel();
}

void DialogDataTableModel::numberRows(const std::vector<Keys>& keysOfList, int64_t low, int64_t high,
                                      std::size_t total)
{
    mEntryOfRow.resize(keysOfList.size());
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
            std::vector<int32_t>& cells = mEntryOfRow[l];
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
        std::vector<int32_t>& cells = mEntryOfRow[l];
        cells.assign(mKeys.size(), -1);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const auto row = std::lower_bound(mKeys.begin(), mKeys.end(), keys[i]) - mKeys.begin();
            cells[static_cast<std::size_t>(row)] = static_cast<int32_t>(i);
        }
    }
}

int DialogDataTableModel::rowOfKey(int64_t key) const
{
    const auto it = std::upper_bound(mKeys.begin(), mKeys.end(), key);
    return it == mKeys.begin() ? 0 : static_cast<int>(it - mKeys.begin()) - 1;
}

std::size_t DialogDataTableModel::memoryUsed() const
{
    std::size_t bytes = mKeys.capacity() * sizeof(int64_t) + mColumns.capacity() * sizeof(Column);
    for (const std::vector<int32_t>& cells : mEntryOfRow)
        bytes += sizeof cells + cells.capacity() * sizeof(int32_t);
    return bytes;
}

int DialogDataTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(mKeys.size());
}

int DialogDataTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1 + static_cast<int>(mColumns.size());
}

bool DialogDataTableModel::decode(int row, int column, QString& text, QColor& colour) const
{
    if (row == mCachedRow && column == mCachedColumn) {
        text = mCachedText;
        colour = mCachedColour;
        return mCachedValid;
    }
    mCachedRow = row;
    mCachedColumn = column;
    mCachedValid = false;
    mCachedText.clear();
    mCachedColour = QColor();

    const Column& c = mColumns[static_cast<std::size_t>(column - 1)];
    if (c.list < 0 || mRecord == nullptr)
        return false;
    const int32_t index = mEntryOfRow[static_cast<std::size_t>(c.list)][static_cast<std::size_t>(row)];
    if (index < 0)
        return false;
    // The list is looked up again on every call: while a new recording is
    // read its lists are rebuilt, and a repaint must not reach freed ones.
    const RecordIdList& list = mRecord->recordData().idList(static_cast<uint32_t>(c.parameter.mChannel),
                                                            static_cast<uint32_t>(c.parameter.mCanId));
    if (static_cast<std::size_t>(index) >= list.size())
        return false;
    mCachedText = Profile::instance()->getDataString(list.entries[static_cast<std::size_t>(index)], c.parameter,
                                                     mCachedColour);
    mCachedValid = true;
    text = mCachedText;
    colour = mCachedColour;
    return true;
}

QVariant DialogDataTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return QVariant();
    const int row = index.row();
    if (index.column() == 0) {
        const qint64 ms = mKeys[static_cast<std::size_t>(row)] * 100;
        switch (role) {
        case Qt::DisplayRole:
            return DialogDataTable::timeText(ms);
        case Qt::UserRole:
            return QVariant(ms);
        case Qt::BackgroundRole:
            return QBrush(QColor(230, 230, 230));
        default:
            return QVariant();
        }
    }
    if (role != Qt::DisplayRole && role != Qt::BackgroundRole)
        return QVariant();
    QString text;
    QColor colour;
    if (!decode(row, index.column(), text, colour))
        return QVariant();
    if (role == Qt::DisplayRole)
        return text;
    return QBrush(colour);
}

QVariant DialogDataTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    return section >= 0 && section < mLabels.size() ? QVariant(mLabels[section]) : QVariant();
}

Qt::ItemFlags DialogDataTableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

} // namespace KAVO
