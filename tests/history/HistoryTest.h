#pragma once

#include "common/Clock.h"
#include "data/PayRunHistory.h"
#include "output/BatchFile.h"
#include "support/PaysumTest.h"

#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace paysum::test {

// A company and, once ArchiveTwoRuns() has run, two archived pay runs with the batch empty again:
// run 1 of three transfers whose batch file was written, run 2 of one transfer without a file.
class HistoryTest : public PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        SetToday(QDate(2002, 5, 3));
        InsertRow("S_BASE", {"012", "大安實業", "045", "12345678", "主管", "會計", "出納"});
        InsertRow("RTBANK", {"0040129", "大安", "大安分行"});
        ASSERT_TRUE(out_.isValid());
        firstFile_ = out_.filePath("BATCH1.txt");
    }

    void ArchiveTwoRuns() {
        InsertRow("S_DAY", {"910503", "910505"});
        for (const QStringList& item : kFirstRun)
            InsertRow("S_ITEM", item);
        Batch batch;
        ASSERT_FALSE(ReadBatch(&batch));
        ASSERT_EQ(WriteCurrentBatchFile(firstFile_, batch).outcome, BatchFileOutcome::Written);
        firstBytes_ = Contents(firstFile_);
        ASSERT_FALSE(ArchiveAndClearBatch(QDateTime(QDate(2002, 5, 6), QTime(9, 30))));
        InsertRow("S_DAY", {"910603", "910605"});
        InsertRow("S_ITEM", {"00001", "012345678901", "1000", "陳美玲", "", ""});
        ASSERT_FALSE(ArchiveAndClearBatch(QDateTime(QDate(2002, 6, 6), QTime(10, 0))));
    }

    static PayRun Run(int run) {
        PayRun payRun;
        EXPECT_FALSE(ReadPayRun(run, &payRun));
        return payRun;
    }
    static QByteArray Contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }
    // The texts of a window's grid Grid1, row by row.
    QList<QStringList> GridRows(QWidget* window) {
        QList<QStringList> rows;
        const QAbstractItemModel* model = Find<QTableView>(window, "Grid1")->model();
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < model->columnCount(); ++c)
                row << model->index(r, c).data().toString();
            rows << row;
        }
        return rows;
    }
    void Click(QWidget* window, const QString& button) {
        QTest::mouseClick(Find<QPushButton>(window, button), Qt::LeftButton);
    }

    // Run 1's transfers in the order they were entered, not the order of their codes.
    const QList<QStringList> kFirstRun = {
        {"00002", "123016456789", "35000", "王小明", "00012345", "獎金"},
        {"00001", "012345678901", "120500", "陳美玲", "", ""},
        {"00003", "004001012341", "8800", "林志豪", "", "臨時工資"},
    };
    QTemporaryDir out_;  // where batch files go, outside the data folder
    QString firstFile_;
    QByteArray firstBytes_;
};

}  // namespace paysum::test
