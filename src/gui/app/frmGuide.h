#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QPushButton;
class QTextBrowser;

namespace paysum {

// The user guide: the HTML pages installed with the program, shown in a browser of their own.
class frmGuide : public QDialog {
    Q_OBJECT

public:
    // `page` is the guide's first page (index.html of GuideFolder()).
    explicit frmGuide(const QString& page, QWidget* parent = nullptr);

    void cmdClose_Click();

private:
    QTextBrowser* WebBrowser1;
    QPushButton* cmdClose;
};

// The folders the guide is looked for in, first found first: the installed documentation
// folder (share/doc/paysum/guide of the tree the program is installed in, wherever that tree
// was moved), then, but in a package's build, the source tree's docs/guide for a program run
// from its build folder.
QStringList GuideFolders();
// The first page of the guide in the first of GuideFolders() that holds one; empty when none
// does.
QString GuidePage();

// Tests look in other folders; an empty list goes back to GuideFolders().
void SetGuideFoldersForTest(const QStringList& folders);

}  // namespace paysum
