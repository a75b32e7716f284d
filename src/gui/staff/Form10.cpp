#include "staff/Form10.h"

#include "common/Big5Text.h"
#include "common/SharedState.h"
#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/SchemaTable.h"
#include "data/StaffNames.h"
#include "data/StaffStore.h"
#include "maintenance/DataGrid.h"
#include "platform/BoxRules.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "print/Fonts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace paysum {

namespace {

constexpr int kCodeWidth = ColumnWidth("S_STAFF", "ID");

}  // namespace

Form10::Form10(QWidget* parent)
    : LookupWindow(QStringLiteral("Form10"), QStringLiteral("員工資料--查詢"), parent) {
    createLayout();
    Form_Load();
}

void Form10::createLayout() {
    Label1 = MakeHeading(QStringLiteral("員工資料--查詢"));
    Label1->setGeometry(TwipsRect(360, 360, 4200, 540));

    PlaceButtons(4800, 240, 1200, 1212, 492);

    // Boxes by the ordinal of the S_STAFF column they show: label place, box place and width,
    // and maximum length.
    struct Place {
        const char* caption;
        int labelX, labelY, boxX, boxY, boxWidth, maxLength;
    };
    const Place places[5] = {
        // The code box takes part of a name as well.
        {"員 工 代 碼：", 480, 1320, 2040, 1200, 975, ColumnWidth("S_STAFF", "NAME")},
        {"員 工 帳 號：", 480, 1800, 2040, 1680, 1815, ColumnWidth("S_STAFF", "ACTNO")},
        {"員 工 薪 資：", 480, 2280, 2040, 2160, 1815, ColumnWidth("S_STAFF", "PAYSUM")},
        {"員 工 姓 名：", 480, 2760, 2040, 2640, 4572, ColumnWidth("S_STAFF", "NAME")},
        {"存 單 號 碼：", 4440, 1800, 6120, 1680, 1335, ColumnWidth("S_STAFF", "AT")},
    };
    for (int i = 0; i < 5; ++i) {
        const Place& place = places[i];
        Label2[i] = new QLabel(QString::fromUtf8(place.caption), this);
        Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
        Label2[i]->setGeometry(TwipsRect(place.labelX, place.labelY, 1560, 300));
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        Text1[i]->setGeometry(TwipsRect(place.boxX, place.boxY, place.boxWidth, 360));
        LimitLength(Text1[i], place.maxLength);
        Text1[i]->setFont(CourierFont());
        Text1[i]->setEnabled(i == 0);
        SelectAllOnFocus(Text1[i]);
    }

    Command3 = new QPushButton(QStringLiteral("..."), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(TwipsRect(3060, 1200, 375, 360));
    Command3->setEnabled(false);

    DataGrid1->setGeometry(TwipsRect(360, 3240, 9372, 3252));
    LetGrow(QSize(Px(10095), Px(6915)), {DataGrid1});

    setTabOrder(Command2[0], Command2[1]);
    setTabOrder(Command2[1], Text1[0]);
    setTabOrder(Text1[0], DataGrid1);
}

void Form10::Form_Load() {
    OpenList(MainDatabasePath(), StaffSelectAll(),
             {{QStringLiteral("員工代碼 "), QStringLiteral("ID"), 1110},
              {QStringLiteral("員 工 帳 號"), QStringLiteral("ACTNO"), 2010},
              {QStringLiteral("員 工 薪 資"), QStringLiteral("PAYSUM"), 1800},
              {QStringLiteral("員 工 姓 名"), QStringLiteral("NAME"), 2700},
              {QStringLiteral("存單號碼"), QStringLiteral("AT"), 4200}},
             Text1);
    Command2[0]->setFocus();
}

void Form10::Text1_Change() {
    // Text other than digits is part of a name: the list narrows to the names that hold it.
    if (IsPartOfName(Text1[0]->text())) {
        Narrow(StaffSelectByName(), {Text1[0]->text()});
        return;
    }
    // The typed code is zero-filled first, so the list narrows to exactly that employee; it is
    // only ever a bound value.
    const QString code = PadZeroLeft(kCodeWidth, Text1[0]->text());
    if (code.isEmpty())
        Narrow(StaffSelectAll());
    else
        Narrow(StaffSelectByPrefix(), KeyPrefixRange(code));
}

bool Form10::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && watched == Text1[0])
        HoldStaffNames(Connection(MainDatabasePath()));
    return LookupWindow::eventFilter(watched, event);
}

void Form10::OnPicked() {
    const Recordset& row = Adodc1->Recordset();
    picked_ = StaffEntry{row.Field(0), row.Field(1), row.Field(4), row.Field(2), row.Field(3)};
}

}  // namespace paysum
