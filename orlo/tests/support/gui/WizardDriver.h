#ifndef ORLO_WIZARDDRIVER_H
#define ORLO_WIZARDDRIVER_H

// Drives a modal wizard from inside its own event loop: once a wizard is
// shown, one step runs per timer tick. A wizard still open some time after
// its last step (or after the watchdog) is cancelled and the test fails,
// so that no test blocks on it.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QTest>
#include <QTime>
#include <QTimeEdit>
#include <QTimer>
#include <QWizard>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

class WizardDriver : public QObject
{
public:
    using Step = std::function<void(QWizard*)>;

    explicit WizardDriver(std::vector<Step> steps)
        : mSteps(std::move(steps))
    {
        mTimer.setInterval(5);
        QObject::connect(&mTimer, &QTimer::timeout, this, [this] { tick(); });
        mTimer.start();
    }

    // Steps that have run.
    std::size_t ran() const { return mNext; }
    bool finishedSteps() const { return mNext == mSteps.size(); }

    // The wizard that is shown now, or null.
    static QWizard* shownWizard()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            QWizard* wizard = qobject_cast<QWizard*>(w);
            if (wizard != nullptr && wizard->isVisible())
                return wizard;
        }
        return nullptr;
    }

    // Common steps.
    static Step next() { return [](QWizard* w) { w->next(); }; }
    static Step back() { return [](QWizard* w) { w->back(); }; }
    static Step finish()
    {
        return [](QWizard* w) { w->button(QWizard::FinishButton)->click(); };
    }
    static Step cancel()
    {
        return [](QWizard* w) { w->button(QWizard::CancelButton)->click(); };
    }

private:
    void tick()
    {
        ++mTicks;
        QWizard* wizard = shownWizard();
        if (wizard != nullptr && mNext < mSteps.size()) {
            mSteps[mNext++](wizard);
            mAfterLast = 0;
            return;
        }
        if (wizard == nullptr) {
            if (mNext == mSteps.size())
                mTimer.stop();
            return;
        }
        // Steps used up and the wizard still open; or the watchdog.
        if (++mAfterLast > 100 || mTicks > 4000) {
            ADD_FAILURE() << "wizard left open after " << mNext << " steps";
            wizard->reject();
            mTimer.stop();
        }
    }

    std::vector<Step> mSteps;
    std::size_t mNext = 0;
    int mTicks = 0;
    int mAfterLast = 0;
    QTimer mTimer;
};

// Steps on the widgets of the current page, found by object name.
namespace wizardsteps {

template <typename T>
T* widget(QWizard* w, const char* name)
{
    T* found = w->currentPage()->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name << " on page " << w->currentId();
    return found;
}

inline WizardDriver::Step click(const char* name)
{
    return [name](QWizard* w) { QTest::mouseClick(widget<QPushButton>(w, name), Qt::LeftButton); };
}

// Replaces a line edit's text by typing.
inline WizardDriver::Step typeInto(const char* name, const QString& text)
{
    return [name, text](QWizard* w) {
        QLineEdit* e = widget<QLineEdit>(w, name);
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
    };
}

// Chooses the item with this text in a choice list by keyboard.
inline WizardDriver::Step choose(const char* name, const QString& text)
{
    return [name, text](QWizard* w) {
        QComboBox* box = widget<QComboBox>(w, name);
        const int target = box->findText(text);
        ASSERT_GE(target, 0) << text.toStdString();
        box->setFocus();
        while (box->currentIndex() < target)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > target)
            QTest::keyClick(box, Qt::Key_Up);
    };
}

// The user sets a time field (it emits its change as when typed).
inline WizardDriver::Step setTime(const char* name, const QTime& time)
{
    return [name, time](QWizard* w) { widget<QTimeEdit>(w, name)->setTime(time); };
}

} // namespace wizardsteps

#endif
