#include "app/frmGuide.h"

#include "print/Fonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace paysum {

namespace {

QStringList& FoldersForTest() {
    static QStringList folders;
    return folders;
}

const QString kFirstPage = QStringLiteral("index.html");

}  // namespace

frmGuide::frmGuide(const QString& page, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmGuide"));
    setFont(UiFont());
    setSizeGripEnabled(true);

    WebBrowser1 = new QTextBrowser(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setFont(UiFont(11));
    // The guide's own pages only; it links to nothing outside.
    WebBrowser1->setOpenExternalLinks(false);
    WebBrowser1->setSource(QUrl::fromLocalFile(page));
    cmdClose = new QPushButton(QStringLiteral("關　閉"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    connect(cmdClose, &QPushButton::clicked, this, &frmGuide::cmdClose_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(WebBrowser1);
    layout->addLayout(buttons);

    const QString title = WebBrowser1->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("文件說明") : title);
    resize(900, 720);
}

void frmGuide::cmdClose_Click() {
    close();
}

QStringList GuideFolders() {
    if (!FoldersForTest().isEmpty())
        return FoldersForTest();
    QStringList folders{QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' +
                                        QStringLiteral(PAYSUM_GUIDE_FROM_PROGRAM))};
#ifdef PAYSUM_GUIDE_SOURCE_DIR
    folders << QStringLiteral(PAYSUM_GUIDE_SOURCE_DIR);
#endif
    return folders;
}

QString GuidePage() {
    for (const QString& folder : GuideFolders()) {
        const QFileInfo page(QDir(folder).filePath(kFirstPage));
        if (page.isFile())
            return page.absoluteFilePath();
    }
    return QString();
}

void SetGuideFoldersForTest(const QStringList& folders) {
    FoldersForTest() = folders;
}

}  // namespace paysum
