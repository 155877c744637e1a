#ifndef ORLO_DIALOGDATATABLEMODEL_H
#define ORLO_DIALOGDATATABLEMODEL_H

#include "ProfileParameter.h"
#include "RecordRows.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace KAVO {

class Record;
struct RecordIdList;

// The cells of the value table. A long recording has millions of cells, so
// a cell is decoded only when the view asks for it: a fill keeps the time
// key of each row and, per id list shown, the index of the message that
// each row shows.
class DialogDataTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DialogDataTableModel(QObject* parent);

    // Column 0 is the time; one column per parameter follows. Empties the rows.
    void setColumns(const QStringList& labels, const std::vector<ProfileParameter>& parameters);
    // Builds the rows from the recording; null empties them.
    void fill(Record* record);

    // The row of the last key not greater than 'key'; 0 when there is none.
    int rowOfKey(int64_t key) const;
    int64_t keyOfRow(int row) const { return mRows.keys()[static_cast<std::size_t>(row)]; }
    // Bytes held for the rows and cells.
    std::size_t memoryUsed() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Column
    {
        ProfileParameter parameter;
        int list = -1;   // index of the list among those of the rows; -1 without recorded values
    };

    // Decodes one cell; the last cell is kept, since the view asks for its
    // text and its colour one after the other.
    bool decode(int row, int column, QString& text, QColor& colour) const;
    Record* mRecord = nullptr;
    QStringList mLabels;
    std::vector<Column> mColumns;
    RecordRows mRows;

    mutable int mCachedRow = -1;
    mutable int mCachedColumn = -1;
    mutable bool mCachedValid = false;
    mutable QString mCachedText;
    mutable QColor mCachedColour;
};

} // namespace KAVO

#endif
