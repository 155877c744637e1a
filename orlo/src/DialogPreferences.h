#ifndef ORLO_DIALOGPREFERENCES_H
#define ORLO_DIALOGPREFERENCES_H

#include <QDialog>

#include <map>
#include <string>

class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;

namespace KAVO {

class Property;
class QwtComboBox;

// Edits the profile file and the language. Each change is written to the
// settings file at once; a new language takes effect at the next start.
class DialogPreferences : public QDialog
{
    Q_OBJECT
public:
    explicit DialogPreferences(QWidget* parent);

    // Shows the stored settings without writing or reporting anything.
    void fillDialog();

    QLineEdit* profileField() const { return mProfile; }
    QPushButton* browseButton() const { return mBrowse; }
    QwtComboBox* languageBox() const { return mLanguage; }

signals:
    void signalProfileFileChanged();
    void signalLanguageChanged();

private slots:
    void slotChangePage(QListWidgetItem* current, QListWidgetItem* previous);
    void slotClose();
    void slotProfilePath(QString path);
    void slotProfileEdited();
    void slotProfileSelect();
    void slotLanguage(int id);

private:
    Property* mProperty;
    std::map<int, std::string> mLanguageCodes;
    bool mFilling = false;
    QLabel* mLabel = nullptr;
    QListWidget* mPageList = nullptr;
    QStackedWidget* mPages = nullptr;
    QGroupBox* mApplicationPage = nullptr;
    QGridLayout* mGrid = nullptr;
    QLineEdit* mProfile = nullptr;
    QPushButton* mBrowse = nullptr;
    QwtComboBox* mLanguage = nullptr;
    QPushButton* mOk = nullptr;
    QHBoxLayout* mRowLayout = nullptr;
    QVBoxLayout* mLayout = nullptr;
};

} // namespace KAVO

#endif
