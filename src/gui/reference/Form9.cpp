#include "reference/Form9.h"

#include "common/SharedState.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "maintenance/DataGrid.h"
#include "platform/BoxRules.h"
#include "platform/Twips.h"
#include "print/Fonts.h"
#include "reference/BankCodeTable.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace paysum {

namespace {

// The company window may only pick branches of its own bank, 004.
bool OwnBankOnly() {
    return LookupCaller == 5;
}

}  // namespace

Form9::Form9(QWidget* parent)
    : LookupWindow(QStringLiteral("Form9"), QStringLiteral("金融機構代碼--查詢"), parent) {
    createLayout();
    Form_Load();
}

void Form9::createLayout() {
    Label1 = MakeHeading(QStringLiteral("金融機構代碼--查詢"));
    Label1->setGeometry(TwipsRect(240, 120, 8880, 540));

    MakeBankBoxes(this, 840, 6840, Label2, Text1);
    for (int i = 0; i < 3; ++i) {
        Text1[i]->setEnabled(i == 0);
        SelectAllOnFocus(Text1[i]);
    }
    PlaceButtons(6480, 840, 1320, 1200, 420);
    DataGrid1->setGeometry(TwipsRect(240, 2400, 8880, 3960));
    LetGrow(QSize(Px(9360), Px(6600)), {DataGrid1});

    setTabOrder(Text1[0], Command2[0]);
    setTabOrder(Command2[0], Command2[1]);
    setTabOrder(Command2[1], DataGrid1);
}

void Form9::Form_Load() {
    OpenList(BranchDatabasePath(),
             OwnBankOnly()
                 ? QStringLiteral("select * from RTBANK where BKBRNO >= '004' and BKBRNO < '005' "
                                  "order by BKBRNO")
                 : QStringLiteral("select * from RTBANK order by BKBRNO"),
             BankGridColumns(), Text1);
    Text1[0]->setFocus();
}

void Form9::Text1_Change() {
    // The typed text is only ever a bound value; the 004 restriction is part of the text.
    Narrow(OwnBankOnly() ? QStringLiteral("select * from RTBANK where BKBRNO >= '004' and "
                                          "BKBRNO < '005' and BKBRNO >= ? and BKBRNO < ? "
                                          "order by BKBRNO")
                         : QStringLiteral("select * from RTBANK where BKBRNO >= ? and BKBRNO < ? "
                                          "order by BKBRNO"),
           KeyPrefixRange(Text1[0]->text()));
}

}  // namespace paysum
