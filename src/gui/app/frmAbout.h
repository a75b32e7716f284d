#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace paysum {

// The About box: the program's title and version.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    void cmdOK_Click();

private:
    void Form_Load();

    QLabel* Image1;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDisclaimer;
    QFrame* Line1;
    QFrame* Line2;
    QPushButton* cmdOK;
};

}  // namespace paysum
