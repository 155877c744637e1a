#include "DialogAbout.h"

#include "Images.h"
#include "Revision.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QFrame* separator(QWidget* parent)
{
    QFrame* line = new QFrame(parent);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    return line;
}

QLabel* logo(QWidget* parent, const char* image)
{
    QLabel* label = new QLabel(parent);
    label->setPixmap(KAVO::Images::pixmap(QString::fromLatin1(image)));
    return label;
}

} // namespace

DialogAbout::DialogAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog)
{
    setWindowTitle(tr("ORLO"));
    setWindowIcon(KAVO::Images::icon(QStringLiteral("kavo")));
    setPalette(QPalette(QColor(255, 255, 255)));

    mTitle = new QLabel(QString::fromStdString(KAVO::Revision::getRevisionString()) + tr("\nOrlo Station"), this);
    mTitle->setAlignment(Qt::AlignCenter);

    mGrid = new QGridLayout;
    mGrid->setSpacing(15);
    mLine1 = separator(this);
    mGrid->addWidget(mLine1, 0, 0, 1, 2);

    // Invented contact data; the example.invalid domain cannot be reached.
    mLogo1 = logo(this, "Corvane_Logo");
    mAddress1 = new QLabel(QStringLiteral("Corvane Flight Systems\n"
                                          "12 Harbour Lane\n"
                                          "Exampletown 00000\n"
                                          "Phone +00 000 000 000\n"
                                          "Fax +00 000 000 001\n"
                                          "support@corvane.example.invalid\n"
                                          "www.corvane.example.invalid"),
                           this);
    mGrid->addWidget(mLogo1, 1, 0);
    mGrid->addWidget(mAddress1, 1, 1);

    mLine2 = separator(this);
    mGrid->addWidget(mLine2, 2, 0, 1, 2);

    mLogo2 = logo(this, "tamsel_logo");
    mAddress2 = new QLabel(QStringLiteral("Tamsel Engine Data\n"
                                          "P.O. Box 0000\n"
                                          "Sampleville 00000\n"
                                          "info@tamsel.example.invalid\n"
                                          "www.tamsel.example.invalid"),
                           this);
    mGrid->addWidget(mLogo2, 3, 0);
    mGrid->addWidget(mAddress2, 3, 1);

    mLine3 = separator(this);
    mGrid->addWidget(mLine3, 4, 0, 1, 2);

    mClose = new QPushButton(tr("Close"), this);
    connect(mClose, &QPushButton::clicked, this, &DialogAbout::slotClose);

    mLayout = new QVBoxLayout(this);
    mLayout->setContentsMargins(15, 15, 15, 15);
    mLayout->setSpacing(15);
    mLayout->addWidget(mTitle);
    mLayout->addLayout(mGrid);
    mLayout->addWidget(mClose);
    resize(minimumSizeHint());
}

void DialogAbout::slotClose()
{
    hide();
}
