#include "batch/TransferEntry.h"

#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/StaffStore.h"
#include "support/CoreTest.h"

#include <QSqlQuery>

namespace paysum {
namespace {

TEST(TransferEntryTest, ChecksRunInOrderAndTheFirstFailureDecides) {
    const TransferEntry good{"00001", "004001012341", "", "35000", "王小明", "獎金"};
    const auto with = [&](auto change) {
        TransferEntry entry = good;
        change(entry);
        return entry;
    };
    const struct {
        const char* what;
        TransferEntry entry;
        QString text;  // empty: accepted
        TransferBox box;
        RefusalAction action = RefusalAction::FocusBox;
    } cases[] = {
        {"accepted", good, "", TransferBox::Code},
        {"blank code", with([](auto& e) {
             e.code = "  ";
             e.account = "";
         }),
         "欄位不可為空白", TransferBox::Code},
        {"zero code", with([](auto& e) { e.code = "00000"; }), "欄位不可為零", TransferBox::Code},
        {"code too long", with([](auto& e) { e.code = "000001"; }), "欄位超出", TransferBox::Code},
        {"blank account", with([](auto& e) { e.account = " "; }), "欄位不可為空白",
         TransferBox::Account},
        {"bad check digit", with([](auto& e) { e.account = "004001012342"; }), "員工帳號不正確",
         TransferBox::Account, RefusalAction::FocusCancel},
        {"short account", with([](auto& e) { e.account = "00400101234"; }), "員工帳號不正確",
         TransferBox::Account, RefusalAction::FocusCancel},
        {"certificate too long", with([](auto& e) { e.certificate = "123456789"; }), "欄位超出",
         TransferBox::Certificate},
        // Another account than a 016 one stores no certificate, whatever its box holds.
        {"certificate of another account", with([](auto& e) { e.certificate = "1"; }), "",
         TransferBox::Code},
        {"016 account, eight digits", with([](auto& e) {
             e.account = "123016789016";
             e.certificate = "12345678";
         }),
         "", TransferBox::Code},
        {"016 account, seven digits", with([](auto& e) {
             e.account = "123016789016";
             e.certificate = "1234567";
             e.amount = "";
         }),
         "存單號碼為八位，請重新輸入！", TransferBox::Certificate},
        {"016 account, no certificate", with([](auto& e) { e.account = "123016789016"; }),
         "存單號碼為八位，請重新輸入！", TransferBox::Certificate},
        {"blank amount", with([](auto& e) {
             e.amount = "";
             e.name = "";
         }),
         "欄位不可為空白", TransferBox::Amount},
        {"30-byte name", with([](auto& e) { e.name = QString(15, u'王'); }), "", TransferBox::Code},
        {"32-byte name", with([](auto& e) { e.name = QString(16, u'王'); }),
         "員工姓名超出欄位最大值, 請修改員工資料!!", TransferBox::Name,
         RefusalAction::OfferStaffWindow},
        {"blank name", with([](auto& e) { e.name = "   "; }), "欄位不可為空白", TransferBox::Name},
        {"any remark", with([](auto& e) { e.remark = QString(80, u'備'); }), "", TransferBox::Code},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<TransferRefusal> refusal = ValidateEntry(c.entry);
        ASSERT_EQ(refusal.has_value(), !c.text.isEmpty());
        if (!refusal)
            continue;
        EXPECT_EQ(refusal->text, c.text);
        EXPECT_EQ(refusal->box, c.box);
        EXPECT_EQ(refusal->action, c.action);
        const bool certificate = c.box == TransferBox::Certificate && c.text != "欄位超出";
        EXPECT_EQ(refusal->asks, certificate);
        EXPECT_EQ(refusal->title, c.action == RefusalAction::FocusCancel ? "Veltra 帳號檢核"
                                  : certificate                          ? "員工資料建檔"
                                                : "薪資轉帳資料輸入");
    }
}

class TemporaryCodeTest : public test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        CreateDatabases();
    }
    QString Next() {
        QString code = "unset";
        EXPECT_FALSE(NextTemporaryCode(Connection(MainDatabasePath()), &code));
        return code;
    }
    void Take(int first, int last) {
        const QSqlDatabase db = Connection(MainDatabasePath());
        Transaction transaction(db);
        QSqlQuery insert(db);
        insert.prepare("INSERT INTO S_STAFF (ID) VALUES (?)");
        for (int code = first; code <= last; ++code) {
            insert.addBindValue(QString::number(code));
            ASSERT_TRUE(insert.exec());
        }
        ASSERT_FALSE(transaction.Commit());
    }
};

TEST_F(TemporaryCodeTest, SmallestFreeCodeAboveNinetyThousand) {
    EXPECT_EQ(Next(), "90001");
    // Codes outside the range or not five digits are no temporary codes.
    for (const char* code : {"90000", "00001", "9001", "9000a", "90001 "})
        InsertRow("S_STAFF", {code});
    EXPECT_EQ(Next(), "90001");
    Take(90001, 90003);
    Take(90005, 90005);
    EXPECT_EQ(Next(), "90004");
    Take(90004, 90004);
    Take(90006, 99998);
    EXPECT_EQ(Next(), "99999");
    Take(99999, 99999);
    EXPECT_EQ(Next(), "");
}

}  // namespace
}  // namespace paysum
