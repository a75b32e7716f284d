#include "BenchData.h"

#include "data/DataFolder.h"
#include "data/Database.h"
#include "platform/MessageBox.h"

#include <QPushButton>
#include <QSqlQuery>

#include <cstdlib>

namespace paysum::bench {

QString Code(int value) {
    return QStringLiteral("%1").arg(value, 5, 10, QLatin1Char('0'));
}

void FillTables(int employees, int firstInBatch, int freeCode) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    Transaction transaction(db);
    if (Execute(db, QStringLiteral("DELETE FROM S_STAFF")) ||
        Execute(db, QStringLiteral("DELETE FROM S_ITEM")))
        std::abort();
    QSqlQuery staff(db);
    staff.prepare(QStringLiteral("INSERT INTO S_STAFF VALUES (?, ?, '35000', ?, '')"));
    QSqlQuery item(db);
    item.prepare(QStringLiteral("INSERT INTO S_ITEM VALUES (?, ?, '35000', ?, '', '')"));
    for (int i = 1; i <= employees; ++i) {
        if (i == freeCode)
            continue;
        staff.addBindValue(Code(i));
        staff.addBindValue(kAccount);
        staff.addBindValue(QStringLiteral("員工%1").arg(i));
        if (!staff.exec())
            std::abort();
        if (i >= firstInBatch && i < firstInBatch + kTransfers) {
            item.addBindValue(Code(i));
            item.addBindValue(kAccount);
            item.addBindValue(QStringLiteral("員工%1").arg(i));
            if (!item.exec())
                std::abort();
        }
    }
    if (transaction.Commit())
        std::abort();
}

int messagesShown = 0;

void CountMessages() {
    messagesShown = 0;
    SetMessageHook([](QMessageBox& box) {
        ++messagesShown;
        return box.standardButton(box.defaultButton());
    });
}

}  // namespace paysum::bench
