#include "support/CoreTest.h"

#include "common/Clock.h"
#include "common/SharedState.h"
#include "data/DataFolder.h"
#include "data/Database.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace paysum::test {

namespace {

QString FileOf(const QString& table) {
    const TableDef* def = FindTable(table);
    return DatabasePath(def && def->file == DatabaseFile::Branch ? DatabaseFile::Branch
                                                                 : DatabaseFile::Main);
}

}  // namespace

void CoreTest::SetUp() {
    ASSERT_TRUE(temp_.isValid());
    qputenv("PAYSUM_DATA_DIR", DataDir().toUtf8());
    SetToday(std::nullopt);
    LookupCaller = 0;
    LookupResult = QStringLiteral("0");
    ReportOrder = 0;
}

void CoreTest::TearDown() {
    CloseAllConnections();
    SetToday(std::nullopt);
    qunsetenv("PAYSUM_DATA_DIR");
}

QString CoreTest::DataDir() const {
    return temp_.path() + QStringLiteral("/data");
}

void CoreTest::CreateDatabases() {
    ASSERT_FALSE(CreateDataFolder(DataDir()).has_value());
}

namespace {

DbResult InsertInto(const QSqlDatabase& db, const QString& table, const QStringList& values) {
    const TableDef* def = FindTable(table);
    QStringList columns;
    QStringList marks;
    QVariantList bound;
    for (qsizetype i = 0; i < values.size(); ++i) {
        columns << QLatin1String(def->columns[i].name);
        marks << QStringLiteral("?");
        bound << (values[i].isNull() ? QStringLiteral("") : values[i]);
    }
    return Execute(db,
                   QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(table, columns.join(u','), marks.join(u',')),
                   bound);
}

}  // namespace

void CoreTest::InsertRow(const QString& table, const QStringList& values) {
    ASSERT_NE(FindTable(table), nullptr);
    const DbResult error = InsertInto(Connection(FileOf(table)), table, values);
    ASSERT_FALSE(error.has_value()) << error->message.toStdString();
}

void CoreTest::InsertStaffUpTo(int last,
                               const std::function<QStringList(const QString& code)>& row) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    Transaction transaction(db);
    ASSERT_FALSE(transaction.BeginError());
    for (int code = 1; code <= last; ++code) {
        const DbResult error =
            InsertInto(db, QStringLiteral("S_STAFF"), row(QString::asprintf("%05d", code)));
        ASSERT_FALSE(error.has_value()) << error->message.toStdString();
    }
    ASSERT_FALSE(transaction.Commit());
}

QList<QStringList> CoreTest::Rows(const QString& table) {
    QSqlQuery query(Connection(FileOf(table)));
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table)));
    return RowsOf(query);
}

QList<QStringList> CoreTest::RowsOf(QSqlQuery& query) {
    QList<QStringList> rows;
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i).toString();
        rows << row;
    }
    return rows;
}

}  // namespace paysum::test
