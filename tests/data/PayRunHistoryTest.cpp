#include "common/Amounts.h"
#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/PayRunHistory.h"
#include "data/TableRows.h"
#include "support/CoreTest.h"

#include <QSqlError>
#include <QSqlQuery>

namespace paysum {
namespace {

using Table = QList<QStringList>;

const QDateTime kMonday(QDate(2026, 1, 5), QTime(9, 30));
const QDateTime kFriday(QDate(2026, 1, 9), QTime(17, 5, 2));

const QStringList kCompany{"123", "大安實業", "045", "12345678", "主管", "會計", "出納"};
const WrittenFile kFile{"/media/usb/PAY.TXT",
                        183,
                        "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef",
                        3,
                        164800,
                        "2026-01-05 09:12:00"};

// A batch whose entry order is not the order of its codes, with its dates, the company record and
// the file written for it.
class PayRunHistoryTest : public test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        CreateDatabases();
        InsertRow("S_BASE", kCompany);
        InsertRow("S_DAY", {"910503", "910505"});
        for (const QStringList& item : kItems)
            InsertRow("S_ITEM", item);
        ASSERT_FALSE(RecordWrittenFile(kFile));
    }

    // The history tables and the current batch, to tell whether anything changed them.
    Table Everything() {
        Table all;
        for (const char* table : {"H_RUN", "H_ITEM", "S_ITEM", "S_DAY", "S_FILE"})
            all << QStringList{table} << Rows(table);
        return all;
    }
    static QSqlDatabase Db() { return Connection(MainDatabasePath()); }

    const Table kItems{{"00003", "123016789016", "121000", "陳美玲", "00012345", ""},
                       {"00001", "004001012341", "35000", "王小明", "", ""},
                       {"90001", "004001012341", "8800", "林志豪", "", "臨時工資"}};
};

TEST_F(PayRunHistoryTest, ANewBatchArchivesTheWholeBatchThenClearsIt) {
    // The count and total shown with the batch are those the run keeps, amounts with blanks and
    // leading zeros included.
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         "UPDATE S_ITEM SET PAYSUM = ' 0' || PAYSUM WHERE rowid = 1"));
    int count = 0;
    qint64 total = 0;
    ASSERT_FALSE(ReadBatchCountAndTotal(&count, &total));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(total, 164800);
    qint64 amounts = 0;
    for (const QStringList& item : Rows("S_ITEM"))
        amounts = AddAmounts(amounts, AmountOf(item[2]));
    EXPECT_EQ(total, amounts);
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         "UPDATE S_ITEM SET PAYSUM = ltrim(PAYSUM, ' 0') WHERE rowid = 1"));
    qint64 archived = 0;
    ASSERT_FALSE(ArchiveAndClearBatch(kMonday, &archived));
    EXPECT_EQ(archived, 1);
    ASSERT_FALSE(ReadBatchCountAndTotal(&count, &total));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(total, 0);
    EXPECT_TRUE(Rows("S_ITEM").isEmpty());
    EXPECT_TRUE(Rows("S_DAY").isEmpty());
    EXPECT_TRUE(Rows("S_FILE").isEmpty());

    PayRun run;
    ASSERT_FALSE(ReadPayRun(1, &run));
    EXPECT_EQ(run.summary.run, 1);
    EXPECT_EQ(run.summary.archivedAt, "2026-01-05 09:30:00");
    EXPECT_EQ(run.summary.loginDate, "910503");
    EXPECT_EQ(run.summary.transferDate, "910505");
    EXPECT_EQ(run.summary.count, 3);
    EXPECT_EQ(run.summary.total, 164800);
    EXPECT_EQ(run.summary.file.name, kFile.name);
    EXPECT_EQ(run.summary.file.size, kFile.size);
    EXPECT_EQ(run.summary.file.sha256, kFile.sha256);
    EXPECT_EQ(run.summary.file.count, kFile.count);
    EXPECT_EQ(run.summary.file.total, kFile.total);
    EXPECT_EQ(run.summary.file.writtenAt, kFile.writtenAt);
    EXPECT_EQ(run.company, kCompany);
    EXPECT_EQ(run.items, kItems);

    // An empty batch is cleared but not archived; a batch without dates or file is.
    InsertRow("S_DAY", {"910510", "910512"});
    ASSERT_FALSE(ArchiveAndClearBatch(kFriday));
    EXPECT_TRUE(Rows("S_DAY").isEmpty());
    InsertRow("S_ITEM", {"00001", "004001012341", "36000", "王小明", "", ""});
    ASSERT_FALSE(ArchiveAndClearBatch(kFriday, &archived));
    EXPECT_EQ(archived, 2);

    std::vector<PayRunSummary> runs;
    ASSERT_FALSE(ReadPayRuns(&runs));
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].run, 2);
    EXPECT_EQ(runs[0].archivedAt, "2026-01-09 17:05:02");
    EXPECT_EQ(runs[0].loginDate, "");
    EXPECT_TRUE(runs[0].file.IsEmpty());
    EXPECT_EQ(runs[0].total, 36000);
    EXPECT_EQ(runs[1].run, 1);

    Table last;
    ASSERT_FALSE(ReadLastRunTransfers(&last));
    EXPECT_EQ(last, Table({{"004001012341", "36000"}}));

    // A run that is not kept.
    bool kept = true;
    EXPECT_TRUE(ReadPayRun(3, &run));
    EXPECT_FALSE(ReadPayRun(3, &run, &kept));
    EXPECT_FALSE(kept);
}

TEST_F(PayRunHistoryTest, RunNumbersPastThirtyTwoBitsAreKeptUpToTheLastOne) {
    InsertRow("H_RUN", {"2147483647", "2026-01-01 00:00:00"});
    ASSERT_FALSE(ArchiveAndClearBatch(kMonday));
    PayRun run;
    ASSERT_FALSE(ReadPayRun(2147483648, &run));
    EXPECT_EQ(run.summary.run, 2147483648);
    EXPECT_EQ(run.items, kItems);
    BringBack outcome = BringBack::BatchNotEmpty;
    ASSERT_FALSE(BringBackPayRun(2147483648, &outcome));
    EXPECT_EQ(outcome, BringBack::Done);
    EXPECT_EQ(Rows("S_ITEM"), kItems);

    // No run past the last number: the batch stays as it is.
    ASSERT_FALSE(
        Execute(Db(), "UPDATE H_RUN SET RUN = ? WHERE RUN = 2147483647", {kLastRunNumber}));
    const Table before = Everything();
    EXPECT_TRUE(ArchiveAndClearBatch(kFriday));
    EXPECT_EQ(Everything(), before);
}

TEST_F(PayRunHistoryTest, RowsAreReadAsTheQtDriverReadsThem) {
    // Rows are read from SQLite itself; every value must come out as QSqlQuery gives it.
    const auto throughQt = [](const QString& sql, const QVariantList& values) {
        QSqlQuery query(Db());
        EXPECT_TRUE(query.prepare(sql));
        for (const QVariant& value : values)
            query.addBindValue(value);
        EXPECT_TRUE(query.exec());
        return RowsOf(query);
    };
    const QString sql = QStringLiteral(
        "SELECT ?, ?, ?, ?, ?, NULL, 2147483648, 0.1, 1e300, X'41e4b8ad', CAST(X'41ff80e4' AS "
        "TEXT), "
        "'陳美玲', ?, ? IS NULL, ? = ''");
    const QVariantList values{QString(), QStringLiteral(""), qint64(-5),
                              true,      QByteArray("ab"),   2.5,
                              QString(), QStringLiteral("")};
    Table rows;
    ASSERT_FALSE(ReadQueryRows(Db(), sql, values, &rows));
    EXPECT_EQ(rows, throughQt(sql, values));
    EXPECT_TRUE(rows.value(0).value(0).isNull());
    EXPECT_FALSE(rows.value(0).value(1).isNull());
    ASSERT_FALSE(
        ReadQueryRows(Db(), QStringLiteral("SELECT * FROM S_ITEM ORDER BY ID"), {}, &rows));
    EXPECT_EQ(rows, throughQt(QStringLiteral("SELECT * FROM S_ITEM ORDER BY ID"), {}));

    // A statement SQLite refuses, one that fails as it runs, or one the driver does not run (two
    // at once, a value missing, none at all) gives the driver's error.
    for (const char* bad : {"SELECT * FROM NO_SUCH_TABLE", "SELECT abs(-9223372036854775807 - 1)",
                            "SELECT 1; SELECT 2", "SELECT ?", ""}) {
        QSqlQuery query(Db());
        const bool ran = query.prepare(QString::fromLatin1(bad)) && query.exec();
        ASSERT_FALSE(ran) << bad;
        const DbResult error = ReadQueryRows(Db(), QString::fromLatin1(bad), {}, &rows);
        ASSERT_TRUE(error) << bad;
        EXPECT_EQ(error->message, query.lastError().text()) << bad;
        EXPECT_EQ(error->nativeCode, query.lastError().nativeErrorCode().toInt()) << bad;
    }
}

TEST_F(PayRunHistoryTest, AChangedBatchNoLongerClaimsTheFileWrittenBefore) {
    // Each way a transfer is written: a record set's add, change and delete, and a bulk insert.
    const auto superseded = [&] {
        WrittenFile file;
        EXPECT_FALSE(ReadWrittenFile(&file));
        const bool was = file.Superseded() && file.IsEmpty() && file.name == kFile.name;
        EXPECT_FALSE(RecordWrittenFile(kFile));
        return was;
    };
    WrittenFile file;
    ASSERT_FALSE(ReadWrittenFile(&file));
    EXPECT_FALSE(file.IsEmpty());
    DataControl control;
    control.SetConnectionString(MainDatabasePath());
    control.SetCommandType(CommandType::Text);
    control.SetRecordSource("select * from S_ITEM order by ID");
    ASSERT_FALSE(control.Refresh());
    Recordset& items = control.Recordset();
    items.AddNew();
    items.SetField(0, "00005");
    ASSERT_FALSE(items.Update());
    EXPECT_TRUE(superseded()) << "add";
    items.SetField(2, "1");
    ASSERT_FALSE(items.Update());
    EXPECT_TRUE(superseded()) << "change";
    ASSERT_FALSE(items.Delete());
    EXPECT_TRUE(superseded()) << "delete";
    {
        Transaction transaction(Db());
        ASSERT_FALSE(InsertRows(Db(), "S_ITEM", {{"00006", "004001012341", "1", "x", "", ""}}));
        ASSERT_FALSE(transaction.Commit());
    }
    EXPECT_TRUE(superseded()) << "insert";
    // The employee master is no part of the batch.
    ASSERT_FALSE(InsertRows(Db(), "S_STAFF", {{"00006", "004001012341", "1", "x", ""}}));
    ASSERT_FALSE(ReadWrittenFile(&file));
    EXPECT_FALSE(file.IsEmpty());

    // Archived after the change, the run names no file; a rollback keeps the file's record.
    {
        Transaction transaction(Db());
        ASSERT_FALSE(InsertRows(Db(), "S_ITEM", {{"00007", "004001012341", "1", "x", "", ""}}));
    }
    ASSERT_FALSE(ReadWrittenFile(&file));
    EXPECT_FALSE(file.IsEmpty());
    ASSERT_FALSE(InsertRows(Db(), "S_ITEM", {{"00007", "004001012341", "1", "x", "", ""}}));
    ASSERT_FALSE(ArchiveAndClearBatch(kMonday));
    PayRun run;
    ASSERT_FALSE(ReadPayRun(1, &run));
    EXPECT_TRUE(run.summary.file.IsEmpty());
    EXPECT_TRUE(run.summary.file.Superseded());
}

TEST_F(PayRunHistoryTest, ANewBatchThatFailsHalfwayLeavesBatchAndHistoryAsTheyWere) {
    ASSERT_FALSE(ArchiveAndClearBatch(kMonday));
    for (const QStringList& item : kItems)
        InsertRow("S_ITEM", item);
    InsertRow("S_DAY", {"910603", "910605"});
    ASSERT_FALSE(RecordWrittenFile(kFile));
    const Table before = Everything();
    // Temporary triggers live on the connection alone; the file's schema stays ours. Each fails
    // a later step than the one before: the archived transfers, then the clearing of the dates.
    for (const char* trigger :
         {"CREATE TEMP TRIGGER fail BEFORE INSERT ON main.H_ITEM BEGIN SELECT RAISE(ABORT, 'x'); "
          "END",
          "CREATE TEMP TRIGGER fail BEFORE DELETE ON main.S_DAY BEGIN SELECT RAISE(ABORT, 'x'); "
          "END"}) {
        ASSERT_FALSE(Execute(Db(), trigger));
        EXPECT_TRUE(ArchiveAndClearBatch(kFriday)) << trigger;
        ASSERT_FALSE(Execute(Db(), "DROP TRIGGER temp.fail"));
        EXPECT_EQ(Everything(), before) << trigger;
    }
    ASSERT_FALSE(ArchiveAndClearBatch(kFriday));
    EXPECT_EQ(Rows("H_RUN").size(), 2);
}

TEST_F(PayRunHistoryTest, BringingARunBackNeedsAnEmptyBatchAndRestoresItExactly) {
    ASSERT_FALSE(ArchiveAndClearBatch(kMonday));
    const Table runs = Rows("H_RUN");
    const Table items = Rows("H_ITEM");
    InsertRow("S_ITEM", {"00007", "004001012341", "100", "李四", "", ""});
    InsertRow("S_DAY", {"910603", "910605"});
    const Table batch = Everything();

    BringBack outcome = BringBack::Done;
    ASSERT_FALSE(BringBackPayRun(1, &outcome));
    EXPECT_EQ(outcome, BringBack::BatchNotEmpty);
    EXPECT_EQ(Everything(), batch);
    EXPECT_TRUE(BringBackPayRun(2, &outcome)) << "a run that is not kept";
    EXPECT_EQ(Everything(), batch);

    // Without transfers the dates of the batch give way to the run's.
    ASSERT_FALSE(Execute(Db(), "DELETE FROM S_ITEM"));
    ASSERT_FALSE(BringBackPayRun(1, &outcome));
    EXPECT_EQ(outcome, BringBack::Done);
    EXPECT_EQ(Rows("S_ITEM"), kItems);
    EXPECT_EQ(Rows("S_DAY"), Table({{"910503", "910505"}}));
    EXPECT_EQ(Rows("S_FILE"),
              Table({{kFile.name, "183", kFile.sha256, "3", "164800", kFile.writtenAt}}));
    EXPECT_EQ(Rows("H_RUN"), runs);
    EXPECT_EQ(Rows("H_ITEM"), items);

    // Archived again, it is a run of its own; the first stays as it was.
    ASSERT_FALSE(ArchiveAndClearBatch(kFriday));
    EXPECT_EQ(Rows("H_RUN").first(), runs.first());
    EXPECT_EQ(Rows("H_ITEM").mid(0, items.size()), items);
    PayRun again;
    ASSERT_FALSE(ReadPayRun(2, &again));
    EXPECT_EQ(again.items, kItems);
    EXPECT_EQ(again.summary.file.sha256, kFile.sha256);
}

}  // namespace
}  // namespace paysum
