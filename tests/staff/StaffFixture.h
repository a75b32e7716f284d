#pragma once

#include "support/PaysumTest.h"

namespace paysum::test {

inline const QString kStaffTable = QStringLiteral("S_STAFF");
inline const QString kItemTable = QStringLiteral("S_ITEM");

// A fresh pair of database files, and the codes and rows of S_STAFF and S_ITEM read back.
class StaffFixture : public PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
    }

    // The codes of a table in code order.
    QStringList Codes(const QString& table) {
        QStringList codes;
        for (const QStringList& row : Rows(table))
            codes << row[0];
        codes.sort();
        return codes;
    }

    // The row of a table with a code; empty when there is none.
    QStringList Row(const QString& table, const QString& code) {
        for (const QStringList& row : Rows(table)) {
            if (row[0] == code)
                return row;
        }
        return {};
    }
};

}  // namespace paysum::test
