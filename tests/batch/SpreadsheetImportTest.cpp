#include "batch/SpreadsheetImport.h"

#include "support/CoreTest.h"
#include "support/Files.h"

#include <unicode/ucnv.h>

namespace paysum {
namespace {

// A transfer sheet as a spreadsheet program saves it: a byte order mark, the window's captions
// with their blanks, quoted fields holding commas, quotes and a line break, CR LF and an empty
// last line.
const QString kSheet = QStringLiteral(
    "員工代碼,員 工 帳 號,轉 帳 金 額,  員  工  姓  名,存單號碼,  備   註\r\n"
    "1,123456789014,35000,王小明,,\"獎金,三月\"\r\n"
    "00002,201016000011,120500,\"陳 \"\"美\"\" 玲\",00012345,\"兩行\r\n備註\"\r\n"
    ",102000000012,5,臨時工,,\r\n"
    ",,,,,\r\n"
    "\r\n");

QByteArray Utf8WithBom(const QString& text) {
    return "\xEF\xBB\xBF" + text.toUtf8();
}

QByteArray Big5(const QString& text) {
    UErrorCode status = U_ZERO_ERROR;
    QByteArray bytes(text.size() * 2 + 1, '\0');
    const int32_t length =
        ucnv_convert("windows-950", "UTF-16LE", bytes.data(), static_cast<int32_t>(bytes.size()),
                     reinterpret_cast<const char*>(text.utf16()),
                     static_cast<int32_t>(text.size() * 2), &status);
    EXPECT_TRUE(U_SUCCESS(status));
    bytes.truncate(length);
    return bytes;
}

QByteArray Utf16(const QString& text, bool bigEndian) {
    QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const QChar c : text) {
        const char high = static_cast<char>(c.unicode() >> 8);
        const char low = static_cast<char>(c.unicode() & 0xFF);
        bytes += bigEndian ? QByteArray{1, high} + low : QByteArray{1, low} + high;
    }
    return bytes;
}

TEST(SpreadsheetImportTest, ReadsASpreadsheetFileInUtf8Utf16AndBig5Alike) {
    for (const auto& [bytes, encoding] : {std::pair{Utf8WithBom(kSheet), TextEncoding::Utf8},
                                          {Big5(kSheet), TextEncoding::Big5},
                                          {kSheet.toUtf8(), TextEncoding::Utf8},
                                          {Utf16(kSheet, false), TextEncoding::Utf16},
                                          {Utf16(kSheet, true), TextEncoding::Utf16}}) {
        const ImportFile file = ReadImportFile(bytes, ImportKind::Transfers);
        ASSERT_EQ(file.error, "");
        EXPECT_EQ(file.encoding, encoding);
        ASSERT_EQ(file.rows.size(), 3u);
        EXPECT_EQ(file.rows[0].line, 2);
        EXPECT_EQ(file.rows[0].remark, "獎金,三月");
        EXPECT_EQ(file.rows[1].line, 3);
        EXPECT_EQ(file.rows[1].name, "陳 \"美\" 玲");
        EXPECT_EQ(file.rows[1].certificate, "00012345");
        EXPECT_EQ(file.rows[1].remark, "兩行\r\n備註");
        EXPECT_EQ(file.rows[2].line, 5);
        EXPECT_EQ(file.rows[2].code, "");
        EXPECT_EQ(file.rows[2].amount, "5");
    }
    // Tab- and semicolon-separated files as spreadsheet programs save them, and amounts as people
    // write them, read as the whole numbers they mean.
    for (const QString separator : {"\t", ";", ","}) {
        const QString sheet =
            QStringList{"員工代碼", "員工帳號", "轉帳金額", "員工姓名"}.join(separator) + "\r\n" +
            QStringList{"1", "123456789014", "\"45,000\"", "王"}.join(separator) + "\r\n" +
            QStringList{"2", "123456789014", " 45000.00 ", "陳"}.join(separator) + "\r\n" +
            QStringList{"3", "123456789014", "４５，０００", "林"}.join(separator) + "\r\n";
        const ImportFile file = ReadImportFile(sheet.toUtf8(), ImportKind::Transfers);
        ASSERT_EQ(file.error, "") << separator.toStdString();
        ASSERT_EQ(file.rows.size(), 3u) << separator.toStdString();
        for (const ImportRow& row : file.rows)
            EXPECT_EQ(row.amount, "45000") << separator.toStdString() << " line " << row.line;
    }
}

TEST(SpreadsheetImportTest, RefusesFilesItCannotRead) {
    const struct {
        const char* what;
        QByteArray bytes;
        ImportKind kind;
        QString error;
    } cases[] = {
        {"Latin-1", "ID,ACTNO,PAYSUM,NAME\r\n1,123456789014,5,Jos\xE9,\r\n", ImportKind::Employees,
         "第 2 行：不是正確的 Big5 編碼，無法匯入"},
        {"one UTF-8 name in Big5",
         Big5("ID,ACTNO,PAYSUM,NAME\r\n1,123456789014,5,王小明\r\n") +
             QString("2,102000000012,5,幸幸\r\n").toUtf8(),
         ImportKind::Employees, "第 3 行：是 UTF-8 編碼，與檔案的 Big5 編碼不同，無法匯入"},
        {"one Big5 name in UTF-8",
         QString("ID,ACTNO,PAYSUM,NAME\n1,123456789014,5,王小明\n\n").toUtf8() +
             Big5("2,102000000012,5,陳美玲\n"),
         ImportKind::Employees, "第 4 行：不是正確的 UTF-8 編碼，無法匯入"},
        {"bad byte after a byte order mark", "\xEF\xBB\xBFID,ACTNO,PAYSUM,NAME\n1,1,1,\xFF\n",
         ImportKind::Employees, "第 2 行：不是正確的 UTF-8 編碼，無法匯入"},
        {"too many fields", "ID,ACTNO,PAYSUM,NAME\n1,2,3" + QByteArray(64, ',') + "\n",
         ImportKind::Employees, "第 2 行：超過 64 個欄位，無法匯入"},
        {"UTF-16 without its byte order mark", QByteArray("I\0D\0", 4), ImportKind::Employees,
         "檔案不是 UTF-8、UTF-16 或 Big5 編碼的文字檔，無法匯入"},
        {"UTF-16 with a lone surrogate",
         Utf16("ID,ACTNO,PAYSUM,NAME\n1,1,1,", false) + QByteArray("\x00\xD8\n\0", 4),
         ImportKind::Employees, "第 2 行：不是正確的 UTF-16 編碼，無法匯入"},
        {"open quote", "ID,ACTNO,PAYSUM,NAME\r\n1,\"123456789014,5,x\r\n", ImportKind::Employees,
         "檔案不是正確的 CSV 格式（引號不成對）"},
        {"empty", "\xEF\xBB\xBF\r\n", ImportKind::Employees, "檔案沒有資料"},
        {"no pay column", "員工代碼,員工帳號,員工姓名\r\n1,123456789014,王\r\n",
         ImportKind::Employees, "第 1 行：缺少欄位「員工薪資」"},
        {"no code column for employees", "ACTNO,PAYSUM,NAME\r\n123456789014,5,x\r\n",
         ImportKind::Employees, "第 1 行：缺少欄位「員工代碼」"},
        {"column twice", "ID,ACTNO,員工帳號,PAYSUM,NAME\r\n", ImportKind::Transfers,
         "第 1 行：欄位「員工帳號」重複"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadImportFile(c.bytes, c.kind).error, c.error) << c.what;
    QByteArray many = "ID,ACTNO,PAYSUM,NAME\n";
    for (int row = 0; row <= 100'000; ++row)
        many += "1,2,3,4\n";
    EXPECT_EQ(ReadImportFile(many, ImportKind::Employees).error,
              "第 100002 行：檔案超過 100000 筆資料，無法匯入");
    many.chop(8);
    EXPECT_EQ(ReadImportFile(many, ImportKind::Employees).rows.size(), 100'000u);
    EXPECT_EQ(ReadImportFile("ACTNO,PAYSUM,NAME\r\n", ImportKind::Transfers).error, "")
        << "a transfer file may leave the codes out";
}

ImportRow Row(QString code, QString account, QString amount, QString name, QString certificate = {},
              QString remark = {}) {
    ImportRow row;
    row.line = 2;
    row.code = code;
    row.account = account;
    row.amount = amount;
    row.name = name;
    row.certificate = certificate;
    row.remark = remark;
    return row;
}

// A row is refused with the column at fault and the text the entry window of its kind shows for
// the same boxes on 確定 (the same literals as the window tests); what no box would take and what
// only a file can hold keep the import's own texts.
TEST(SpreadsheetImportTest, EachRowIsCheckedWithTheRulesOfTheEntryWindows) {
    ImportContext context;
    context.employees.insert("00007", {"00007", "300000000041", "1000", "林一", ""});
    context.batchCodes.insert("00008");
    const QString longName = QString(15, u'王') + "x";
    const ImportKind staff = ImportKind::Employees;
    const ImportKind transfer = ImportKind::Transfers;
    const struct {
        const char* what;
        ImportKind kind;
        ImportRow row;
        QString column;  // empty: accepted
        QString reason;
    } cases[] = {
        {"good", staff, Row("12", "123456789014", "1", "王"), "", ""},
        // The employee window's checks.
        {"no code", staff, Row("", "123456789014", "1", "王"), "員工代碼", "欄位不可為空白"},
        {"no account", staff, Row("1", "", "1", "王"), "員工帳號", "欄位不可為空白"},
        {"no pay", staff, Row("1", "123456789014", "", "王"), "員工薪資", "欄位不可為空白"},
        {"no name", staff, Row("1", "123456789014", "1", ""), "員工姓名", "欄位不可為空白"},
        {"zero code", staff, Row("0", "123456789014", "1", "王"), "員工代碼", "欄位不可為零"},
        {"long code", staff, Row("123456", "123456789014", "1", "王"), "員工代碼", "欄位超出"},
        {"short account", staff, Row("1", "12345678901", "1", "王"), "員工帳號", "帳號位數不足"},
        {"check digit", staff, Row("1", "123456789015", "1", "王"), "員工帳號", "員工帳號不正確"},
        {"016 without certificate", staff, Row("1", "201016000011", "1", "王"), "存單號碼",
         "存單號碼為八位，請重新輸入！"},
        // The transfer window's checks.
        {"zero code", transfer, Row("0", "123456789014", "1", "王"), "員工代碼", "欄位不可為零"},
        {"long code", transfer, Row("123456", "123456789014", "1", "王"), "員工代碼", "欄位超出"},
        {"no account", transfer, Row("1", "", "1", "王"), "員工帳號", "欄位不可為空白"},
        {"long account", transfer, Row("1", "1234567890140", "1", "王"), "員工帳號", "欄位超出"},
        {"short account", transfer, Row("1", "12345678901", "1", "王"), "員工帳號",
         "員工帳號不正確"},
        {"long certificate", transfer, Row("1", "201016000011", "1", "王", "123456789"), "存單號碼",
         "欄位超出"},
        {"016 with short certificate", transfer, Row("1", "201016000011", "1", "王", "1234567"),
         "存單號碼", "存單號碼為八位，請重新輸入！"},
        {"no amount", transfer, Row("1", "123456789014", "", "王"), "轉帳金額", "欄位不可為空白"},
        {"13-digit amount", transfer, Row("1", "123456789014", "1234567890123", "王"), "轉帳金額",
         "欄位超出"},
        {"31-byte name", transfer, Row("1", "123456789014", "1", longName), "員工姓名",
         "員工姓名超出欄位最大值, 請修改員工資料!!"},
        {"no name", transfer, Row("1", "123456789014", "1", " "), "員工姓名", "欄位不可為空白"},
        {"code in the batch", transfer, Row("8", "123456789014", "1", "王"), "員工代碼",
         "此員工代碼已在本批轉帳資料中"},
        // What no box takes, and what only a file holds.
        {"letters in code", staff, Row("A1", "123456789014", "1", "王"), "員工代碼", "只能是數字"},
        {"pay with a fraction", staff, Row("1", "123456789014", "35000.5", "王"), "員工薪資",
         "不可有小數"},
        {"pay with a sign", staff, Row("1", "123456789014", "-35000", "王"), "員工薪資",
         "不可有正負號"},
        {"pay with misplaced separators", staff, Row("1", "123456789014", "3,5000", "王"),
         "員工薪資", "千分位逗號位置不對"},
        {"long account", staff, Row("1", "1234567890140", "1", "王"), "員工帳號", "欄位超出"},
        {"account in scientific notation", transfer, Row("1", "1.23457E+11", "1", "王"), "員工帳號",
         "試算表把這一欄存成科學記號（1.23457E+"
         "11），數字已不完整；請把這一欄設成文字格式後重新存檔"},
        {"31-byte name", staff, Row("1", "123456789014", "1", longName), "員工姓名",
         "員工姓名超出欄位最大值"},
        {"line feed in a name", staff, Row("1", "123456789014", "1", "王\n明"), "員工姓名",
         "不可含控制字元"},
        {"right-to-left override in a remark", transfer,
         Row("1", "123456789014", "1", "王", "", "獎金\u202E1"), "備註", "不可含控制字元"},
        {"51-character remark", transfer,
         Row("1", "123456789014", "1", "王", "", QString(51, u'註')), "備註", "欄位超出"},
        {"certificate without 016", staff, Row("1", "123456789014", "1", "王", "12345678"),
         "存單號碼", "只有 016 帳號有存單號碼"},
        {"code in the master", staff, Row("7", "300000000041", "1", "林一"), "員工代碼",
         "員工資料檔已有此代碼"},
        {"employee's own account", transfer, Row("7", "", "5", ""), "", ""},
        {"other account than the master's", transfer, Row("7", "123456789014", "5", "林一"),
         "員工帳號", "與員工資料檔不符"},
    };
    for (const auto& c : cases) {
        std::vector<ImportRow> rows{c.row};
        CheckImportRows(c.kind, rows, context);
        EXPECT_EQ(rows[0].error, c.column.isEmpty() ? "" : c.column + "：" + c.reason)
            << c.what << (c.kind == staff ? " (employees)" : " (transfers)");
    }
    std::vector<ImportRow> rows{Row("7", "", "", "")};
    CheckImportRows(ImportKind::Transfers, rows, context);
    EXPECT_EQ(rows[0].error, "");
    EXPECT_EQ(QStringList({rows[0].account, rows[0].amount, rows[0].name}),
              QStringList({"300000000041", "1000", "林一"}))
        << "an employee's transfer takes the master's account, pay and name";
    EXPECT_EQ(ImportVerdict(rows[0], {}), "正確；金額取自員工薪資");
}

TEST(SpreadsheetImportTest, CodesAppearOnceAndTemporaryPayeesTakeTheFreeCodes) {
    ImportContext context;
    context.employees.insert("90001", {"90001", "300000000041", "1", "甲", ""});
    std::vector<ImportRow> rows{
        Row("", "102000000012", "5", "乙"), Row("90002", "102000000029", "6", "丙"),
        Row("00003", "102000000037", "7", "丁"), Row("3", "456000000057", "8", "戊"),
        Row("", "123456789014", "9", "己")};
    for (int i = 0; i < static_cast<int>(rows.size()); ++i)
        rows[i].line = i + 2;
    CheckImportRows(ImportKind::Transfers, rows, context);
    EXPECT_EQ(rows[0].code, "90003");
    EXPECT_TRUE(rows[0].temporaryCode && rows[0].newPayee);
    EXPECT_EQ(rows[1].error, "");
    EXPECT_EQ(rows[3].error, "員工代碼：與第 4 行重複");
    EXPECT_EQ(rows[4].code, "90004");

    for (int code = 90001; code <= 99999; ++code)
        context.employees.insert(QString::number(code), {});
    rows = {Row("", "102000000012", "5", "乙")};
    CheckImportRows(ImportKind::Transfers, rows, context);
    EXPECT_EQ(rows[0].error, "員工代碼：暫時收款人代碼已用完");
}

TEST(SpreadsheetImportTest, ABatchTakesNoMoreTransfersThanItsFileHolds) {
    ImportContext context;
    for (int code = 1; code <= 998; ++code)
        context.batchCodes.insert(QString::number(code).rightJustified(5, u'0'));
    std::vector<ImportRow> rows{Row("", "102000000012", "5", "乙"),
                                Row("", "102000000029", "6", "丙")};
    CheckImportRows(ImportKind::Transfers, rows, context);
    EXPECT_EQ(rows[0].error, "");
    EXPECT_EQ(rows[1].error, "本批轉帳資料已達 999 筆");

    // Nor a total past the twelve digits of its header: a row that would not fit is refused,
    // one after it that fits is not.
    context.batchTotal = 999'999'999'000;
    rows = {Row("", "102000000012", "999", "乙"), Row("", "102000000029", "1", "丙"),
            Row("", "123456789014", "1", "丁")};
    context.batchCodes.clear();
    CheckImportRows(ImportKind::Transfers, rows, context);
    EXPECT_EQ(rows[0].error, "");
    EXPECT_EQ(rows[1].error, "轉帳金額：總金額超過十二位數");
    EXPECT_EQ(rows[2].error, "轉帳金額：總金額超過十二位數");
}

class SpreadsheetImportStoreTest : public test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        CreateDatabases();
        InsertRow("S_STAFF", {"00007", "300000000041", "1000", "林一", ""});
    }
};

// Workbooks saved by a spreadsheet program import as their text saves do; a number cell that lost
// its leading zeros is said to have, and a sheet is taken by its name.
TEST_F(SpreadsheetImportStoreTest, WorkbooksImportAsTheSheetsShowThem) {
    std::vector<QStringList> results;
    for (const char* name : {"staff.xlsx", "staff.ods"}) {
        const QByteArray bytes = test::ReadFile(QStringLiteral(PAYSUM_SHEETS "/") + name);
        const ImportFile file = PrepareImport(bytes, ImportKind::Employees);
        ASSERT_EQ(file.error, "") << name;
        EXPECT_FALSE(file.sheet.isEmpty()) << name;
        QStringList verdicts;
        for (const ImportRow& row : file.rows)
            verdicts << QString::number(row.line) + " " + row.code + " " + ImportVerdict(row, {});
        results.push_back(verdicts);
        EXPECT_TRUE(verdicts.contains(
            "3 00002 員工帳號：試算表把這一欄存成數字（4001012341），開頭的 0 已遺失；"
            "請把這一欄設成文字格式後重新存檔"))
            << name << ": " << verdicts.join(" | ").toStdString();
        EXPECT_EQ(PrepareImport(bytes, ImportKind::Employees, {false, "沒有這張"}).error,
                  "找不到工作表「沒有這張」");
    }
    EXPECT_EQ(results[0], results[1]) << "the same sheet saved as .xlsx and as .ods";
}

TEST_F(SpreadsheetImportStoreTest, TransfersFileNewPayeesInTheMasterInOneGo) {
    const ImportFile file = PrepareImport(Utf8WithBom(kSheet), ImportKind::Transfers);
    ASSERT_EQ(file.ErrorCount(), 1);
    EXPECT_EQ(file.rows[1].error, "備註：不可含控制字元") << "a quoted line break";
    ASSERT_FALSE(WriteImport(ImportKind::Transfers, file.rows).has_value());
    EXPECT_EQ(Rows("S_ITEM"),
              (QList<QStringList>{{"00001", "123456789014", "35000", "王小明", "", "獎金,三月"},
                                  {"90001", "102000000012", "5", "臨時工", "", ""}}));
    EXPECT_EQ(Rows("S_STAFF").size(), 3);
    EXPECT_EQ(Rows("S_STAFF").last(), (QStringList{"90001", "102000000012", "5", "臨時工", ""}));
}

TEST_F(SpreadsheetImportStoreTest, AFailedWriteLeavesBothTablesAsTheyWere) {
    std::vector<ImportRow> rows{Row("00011", "123456789014", "5", "王"),
                                Row("00012", "102000000012", "6", "李")};
    rows[1].newPayee = rows[0].newPayee = true;
    rows[1].remark = QString(51, u'x');  // past the width check: the store refuses it
    const DbResult error = WriteImport(ImportKind::Transfers, rows);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, DbErrorKind::FieldTooLong);
    EXPECT_EQ(Rows("S_ITEM").size(), 0);
    EXPECT_EQ(Rows("S_STAFF").size(), 1);
}

TEST_F(SpreadsheetImportStoreTest, EmployeesAlreadyInTheMasterAreRefusedUnlessUpdated) {
    const QByteArray sheet = Big5(
        "ID,ACTNO,PAYSUM,NAME,AT\r\n7,300000000041,5,林一,\r\n8,102000000012,6,李,\r\n"
        "9,102000000012,1000,林九,\r\n");
    const ImportFile file = PrepareImport(sheet, ImportKind::Employees);
    ASSERT_EQ(file.rows.size(), 3u);
    EXPECT_EQ(file.rows[0].error, "員工代碼：員工資料檔已有此代碼");
    ASSERT_FALSE(WriteImport(ImportKind::Employees, file.rows).has_value());
    EXPECT_EQ(Rows("S_STAFF").last(), (QStringList{"00009", "102000000012", "1000", "林九", ""}));

    // Updating: a changed account is named as such, an unchanged row changes nothing, a new code
    // is added, and the batch's transfer of an updated employee stays as it was.
    InsertRow("S_ITEM", {"00007", "300000000041", "1000", "林一", "", ""});
    const QList<QStringList> items = Rows("S_ITEM");
    const ImportOptions update{true};
    const ImportFile again =
        PrepareImport(Big5("ID,ACTNO,PAYSUM,NAME,AT\r\n7,102000000012,\"1,200\",林一,\r\n"
                           "9,102000000012,1000,林九,\r\n10,102000000012,7,王?明,\r\n"),
                      ImportKind::Employees, update);
    ASSERT_EQ(again.rows.size(), 3u);
    EXPECT_EQ(ImportVerdict(again.rows[0], update),
              "更新：員工帳號：300000000041 → 102000000012，員工薪資：1000 → 1200（帳號變更）；"
              "本批轉帳資料有此代碼，轉帳資料不變");
    EXPECT_EQ(ImportVerdict(again.rows[1], update), "更新（無變更）");
    EXPECT_EQ(ImportVerdict(again.rows[2], update), "新增；姓名含有「?」，可能是存檔時遺失的字");
    std::vector<ImportRow> refused = again.rows;
    RefuseDoubtfulNames(refused, "；說明");
    EXPECT_EQ(refused[2].error, "員工姓名：姓名含有「?」，可能是存檔時遺失的字；說明");
    ASSERT_FALSE(WriteImport(ImportKind::Employees, again.rows).has_value());
    const QList<QStringList> staff = Rows("S_STAFF");
    EXPECT_TRUE(staff.contains(QStringList{"00007", "102000000012", "1200", "林一", ""}));
    EXPECT_TRUE(staff.contains(QStringList{"00010", "102000000012", "7", "王?明", ""}));
    EXPECT_EQ(staff.size(), 4);
    EXPECT_EQ(Rows("S_ITEM"), items);
}

}  // namespace
}  // namespace paysum
