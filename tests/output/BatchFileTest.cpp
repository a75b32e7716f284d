#include "common/Clock.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "output/BatchFile.h"
#include "support/Files.h"
#include "support/CoreTest.h"

#include <QFile>
#include <QTemporaryDir>

namespace paysum {
namespace {

// The worked example's batch, written as the batch file window writes it, then archived.
class BatchFileTest : public test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        CreateDatabases();
        SetToday(QDate(2002, 5, 3));
        InsertRow("S_BASE", {"123", "大安實業", "045", "12345678"});
        InsertRow("S_DAY", {"910503", "910505"});
        InsertRow("S_ITEM", {"00001", "123016456789", "35000", "王小明", "00012345", ""});
        InsertRow("S_ITEM", {"00002", "012345678901", "120500", "陳美玲", "", ""});
    }

    QString Out(const QString& name) const { return out_.filePath(name); }
    static QByteArray Contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }
    BatchFileResult WriteCurrent(const QString& path) {
        Batch batch;
        EXPECT_FALSE(ReadBatch(&batch));
        return WriteCurrentBatchFile(path, batch);
    }
    PayRun ArchiveAndRead() {
        EXPECT_FALSE(ArchiveAndClearBatch(Now()));
        std::vector<PayRunSummary> runs;
        EXPECT_FALSE(ReadPayRuns(&runs));
        PayRun run;
        EXPECT_FALSE(ReadPayRun(runs.empty() ? 0 : runs.front().run, &run));
        return run;
    }

    QTemporaryDir out_;
};

TEST_F(BatchFileTest, AnArchivedRunsFileComesOutAgainByteForByte) {
    const BatchFileResult then = WriteCurrent(Out("then.txt"));
    ASSERT_EQ(then.outcome, BatchFileOutcome::Written);
    const PayRun run = ArchiveAndRead();
    // What changed in the company record since does not matter: the run keeps its own.
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), "UPDATE S_BASE SET BRNO = '456'"));

    const BatchFileResult again = RewritePayRunFile(Out("again.txt"), run);
    ASSERT_EQ(again.outcome, BatchFileOutcome::Written) << again.detail.toStdString();
    EXPECT_EQ(Contents(Out("again.txt")), Contents(Out("then.txt")));
    EXPECT_EQ(again.file.sha256, then.file.sha256);
    EXPECT_EQ(again.file.count, 2);
    EXPECT_EQ(again.file.total, 155500);
    // Writing an old run's file again is not the current batch's file.
    EXPECT_TRUE(Rows("S_FILE").isEmpty());

    // A run whose file was never written is written from what it keeps.
    InsertRow("S_DAY", {"910603", "910605"});
    InsertRow("S_ITEM", {"00001", "123016456789", "36000", "王小明", "", ""});
    const BatchFileResult first = RewritePayRunFile(Out("first.txt"), ArchiveAndRead());
    EXPECT_EQ(first.outcome, BatchFileOutcome::Written);
    EXPECT_TRUE(Contents(Out("first.txt")).startsWith("910603910605456"));
}

TEST_F(BatchFileTest, ARunChangedAfterItsFileWasWrittenIsNotWrittenAgain) {
    ASSERT_EQ(WriteCurrent(Out("then.txt")).outcome, BatchFileOutcome::Written);
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), "UPDATE S_DAY SET TDATE = '910506'"));
    const PayRun run = ArchiveAndRead();
    test::WriteFile(Out("earlier.txt"), "earlier\r\n");
    for (const QString& path : {Out("again.txt"), Out("earlier.txt")}) {
        const BatchFileResult again = RewritePayRunFile(path, run);
        EXPECT_EQ(again.outcome, BatchFileOutcome::NotAsRecorded);
        EXPECT_EQ(again.detail, "本批資料與當時產生的轉帳檔不同");
    }
    EXPECT_FALSE(QFile::exists(Out("again.txt")));
    EXPECT_EQ(Contents(Out("earlier.txt")), "earlier\r\n");
}

TEST_F(BatchFileTest, NoBatchFileIsWrittenIntoTheDataFolder) {
    const QByteArray database = test::FileHash(MainDatabasePath());
    ASSERT_TRUE(QFile::link(DataDir(), Out("link")));
    ASSERT_TRUE(QFile::link(MainDatabasePath(), Out("PAYSUM.db")));
    for (const QString& path :
         {MainDatabasePath(), DataDir() + "/PAY.TXT", Out("link/PAY.TXT"), Out("PAYSUM.db")}) {
        const BatchFileResult result = WriteCurrent(path);
        EXPECT_EQ(result.outcome, BatchFileOutcome::WriteFailed) << path.toStdString();
        EXPECT_EQ(result.detail, "不可寫入資料夾");
    }
    EXPECT_EQ(test::FileHash(MainDatabasePath()), database);
    EXPECT_FALSE(QFile::exists(DataDir() + "/PAY.TXT"));
    EXPECT_TRUE(Rows("S_FILE").isEmpty());
}

}  // namespace
}  // namespace paysum
