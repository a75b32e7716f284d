#include "reference/BankCodeTable.h"

#include "common/Big5Text.h"
#include "common/CheckDigits.h"
#include "common/TextRules.h"
#include "platform/BoxRules.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QLineEdit>

namespace paysum {

namespace {

const QString kCodeTitle = QStringLiteral("金融機構代碼");
const QString kTableTitle = QStringLiteral("金融機購代碼檔維護");

}  // namespace

void MakeBankBoxes(QWidget* window, int yTwips, int fullNameWidthTwips,
                   std::array<QLabel*, 3>& labels, std::array<QLineEdit*, 3>& boxes) {
    const QString captions[3] = {QStringLiteral("金融機構代碼 ："),
                                 QStringLiteral("金融機構簡稱 ："),
                                 QStringLiteral("金融機構名稱 ：")};
    const int widths[3] = {1320, 2040, fullNameWidthTwips};
    for (int i = 0; i < 3; ++i) {
        const int y = yTwips + 480 * i;
        labels[i] = new QLabel(captions[i], window);
        labels[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
        labels[i]->setGeometry(TwipsRect(360, y, 1800, 330));
        boxes[i] = new QLineEdit(window);
        boxes[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        boxes[i]->setGeometry(TwipsRect(2160, y, widths[i], 330));
        LimitLength(boxes[i], kBankEntryLimits[i]);
    }
}

std::vector<GridColumn> BankGridColumns() {
    return {{QStringLiteral("金融機構代碼 "), QStringLiteral("BKBRNO"), 1500},
            {QStringLiteral("金融機構簡稱 "), QStringLiteral("BNAME"), 2100},
            {QStringLiteral("金融機構名稱 "), QStringLiteral("FNAME"), 5040}};
}

std::optional<BankEntryRefusal> CheckBankCodeEntry(const std::array<QString, 3>& boxes) {
    const QString digit = BranchCheckDigit(boxes[0]);
    if (digit == u"*")
        return BankEntryRefusal{0, QStringLiteral("代碼欄位不足"), kCodeTitle};
    // A code of only six characters has no check digit, which is refused the same way.
    if (boxes[0].mid(6, 1) != digit)
        return BankEntryRefusal{0, QStringLiteral("檢碼不正確\r\n 檢碼 = ") + digit, kCodeTitle};
    for (int i = 0; i < 3; ++i) {
        if (!FitsBytes(boxes[i], kBankEntryLimits[i]))
            return BankEntryRefusal{i, QStringLiteral("欄位超出"), kTableTitle};
        if (TrimBlanks(boxes[i]).isEmpty())
            return BankEntryRefusal{i, QStringLiteral("欄位不可為空白"), kTableTitle};
    }
    return std::nullopt;
}

}  // namespace paysum
