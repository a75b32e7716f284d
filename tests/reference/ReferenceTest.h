#pragma once

#include "maintenance/DataGrid.h"
#include "support/PaysumTest.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace paysum::test {

// The company and bank code windows: boxes Text1_i, buttons clicked by name, one grid.
class ReferenceTest : public PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
    }

    QLineEdit* Box(QWidget* window, int i) {
        return Find<QLineEdit>(window, QStringLiteral("Text1_%1").arg(i));
    }
    void Click(QWidget* window, const QString& button) {
        QTest::mouseClick(Find<QPushButton>(window, button), Qt::LeftButton);
    }
    DataGrid* Grid(QWidget* window) { return Find<DataGrid>(window, QStringLiteral("DataGrid1")); }
    int GridRows(QWidget* window) { return Grid(window)->model()->rowCount(); }

    // The last message box had this text, title, icon, buttons and default button.
    void ExpectMessage(const QString& text, const QString& title = QStringLiteral("PAYSUM"),
                       QMessageBox::Icon icon = QMessageBox::NoIcon,
                       QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                       QMessageBox::StandardButton defaultButton = QMessageBox::Ok) {
        ASSERT_GT(messages.Count(), 0u);
        EXPECT_EQ(messages.Last().text, text);
        EXPECT_EQ(messages.Last().title, title);
        EXPECT_EQ(messages.Last().icon, icon);
        EXPECT_EQ(messages.Last().buttons, buttons);
        EXPECT_EQ(messages.Last().defaultButton, defaultButton);
    }
};

}  // namespace paysum::test
