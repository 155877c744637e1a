#include "DialogDataTableModel.h"

#include "DialogDataTable.h"
#include "Profile.h"
#include "Record.h"

#include <QBrush>

#include <algorithm>
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
    mRows.clear();
    mCachedValid = false;
    mCachedRow = -1;
    endResetModel();
}

void DialogDataTableModel::fill(Record* record)
{
    beginResetModel();
    mRecord = record;
    mRows.clear();
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

        mRows.fill(*record, lists);
    }
    endResetModel();
}

int DialogDataTableModel::rowOfKey(int64_t key) const
{
    const std::vector<int64_t>& keys = mRows.keys();
    const auto it = std::upper_bound(keys.begin(), keys.end(), key);
    return it == keys.begin() ? 0 : static_cast<int>(it - keys.begin()) - 1;
}

std::size_t DialogDataTableModel::memoryUsed() const
{
    return mRows.memoryUsed() + mColumns.capacity() * sizeof(Column);
}

int DialogDataTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(mRows.keys().size());
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
    const int32_t index = mRows.cells(static_cast<std::size_t>(c.list))[static_cast<std::size_t>(row)];
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
        const qint64 ms = mRows.keys()[static_cast<std::size_t>(row)] * 100;
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
