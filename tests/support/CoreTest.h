#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class QSqlQuery;

#include <gtest/gtest.h>

#include <functional>

namespace paysum::test {

// Gives each test of the core a fresh data folder (PAYSUM_DATA_DIR), today's date and the shared
// variables as the program starts, and closes every database afterwards.
class CoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The data folder; it does not exist until CreateDatabases() or the program creates it.
    QString DataDir() const;
    // Creates the data folder with both database files, empty.
    void CreateDatabases();
    // Appends a row to a table of either file, values by ordinal.
    void InsertRow(const QString& table, const QStringList& values);
    // Stores employees 00001 to `last` in one transaction, each row by ordinal as `row` makes it
    // from the code.
    void InsertStaffUpTo(int last, const std::function<QStringList(const QString& code)>& row);
    // Every row of a table, in the order the rows were stored.
    QList<QStringList> Rows(const QString& table);
    // The rows a query that ran gives, each value as Qt's driver gives it as text.
    static QList<QStringList> RowsOf(QSqlQuery& query);

private:
    QTemporaryDir temp_;
};

}  // namespace paysum::test
