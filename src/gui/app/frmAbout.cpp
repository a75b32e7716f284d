#include "app/frmAbout.h"

#include "app/ProgramPicture.h"
#include "common/Version.h"
#include "print/Fonts.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace paysum {

namespace {

QFrame* Separator(QWidget* parent, const QString& name) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setFont(UiFont());

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(ProgramPicture(64));
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setFont(UiFont(18));
    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDisclaimer = new QLabel(this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);
    Line1 = Separator(this, QStringLiteral("Line1"));
    Line2 = Separator(this, QStringLiteral("Line2"));
    cmdOK = new QPushButton(QStringLiteral("關　閉"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    auto* heading = new QGridLayout;
    heading->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);
    heading->addWidget(lblTitle, 0, 1);
    heading->addWidget(lblVersion, 1, 1);
    heading->setColumnStretch(1, 1);
    heading->setHorizontalSpacing(16);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(Line1);
    layout->addWidget(lblDisclaimer);
    layout->addWidget(Line2);
    layout->addLayout(buttons);
    setMinimumWidth(480);

    Form_Load();
}

void frmAbout::Form_Load() {
    const QString title = QString::fromLatin1(kAppTitle);
    setWindowTitle(QStringLiteral("About ") + title);
    lblVersion->setText(QStringLiteral("Version ") + QString::fromLatin1(kVersion));
    lblTitle->setText(title);
    lblDisclaimer->setText(
        QStringLiteral("本程式供企業編製薪資轉帳資料之用，轉帳檔送交銀行前請核對明細表。"));
}

void frmAbout::cmdOK_Click() {
    accept();
}

}  // namespace paysum
