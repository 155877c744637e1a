#ifndef ORLO_DIALOGCARD_H
#define ORLO_DIALOGCARD_H

#include "CardInfo.h"

#include <QString>
#include <QWidget>

#include <list>

class QLineEdit;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

namespace KAVO {

// The record files of the opened card folder with their header
// identification. Once the selection has rested for half a second, the
// selected paths are handed to the main window.
class DialogCard : public QWidget
{
    Q_OBJECT
public:
    explicit DialogCard(QWidget* parent);
    ~DialogCard() override;

    void setCardInfo(const KAVO::CardInfo& info);
    void updateInfo();

    const CardInfo& cardInfo() const { return mCardInfo; }
    QTreeWidget* tree() const { return mTree; }
    QLineEdit* folderField() const { return mFolder; }

    // A recorder time in seconds as a clock time: midnight plus its whole
    // milliseconds, modulo one day.
    static QString clockText(double seconds);

    static constexpr int DebounceMs = 500;
    QTimer* debounceTimer() const { return mTimer; }

signals:
    void signalLoadRecord(std::list<QString> fileList);

private slots:
    void slotSelect();
    void slotTimeout();
    void slotSelect(QTreeWidgetItem* current, QTreeWidgetItem* previous);

private:
    void addRecordItem(const QString& path, const RecordInfo& info);

    CardInfo mCardInfo;
    std::list<QString> mSelected;
    QTimer* mTimer = nullptr;
    QLineEdit* mFolder = nullptr;
    QTreeWidget* mTree = nullptr;
    QVBoxLayout* mLayout = nullptr;
};

} // namespace KAVO

#endif
