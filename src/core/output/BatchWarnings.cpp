#include "output/BatchWarnings.h"

#include "common/Amounts.h"
#include "common/TextRules.h"

#include <QHash>

#include <algorithm>
#include <utility>

namespace paysum {

namespace {

// The most payee codes one warning names; the rest are counted.
constexpr int kCodesNamed = 10;

QString CodeList(const QStringList& codes) {
    QString named = codes.mid(0, kCodesNamed).join(u'、');
    if (codes.size() > kCodesNamed)
        named += QStringLiteral("…等 %1 筆").arg(codes.size());
    return named;
}

// Accounts and amounts as a sorted list, to compare two batches whatever their order of entry.
std::vector<std::pair<QString, qint64>> Transfers(const QList<std::pair<QString, QString>>& rows) {
    std::vector<std::pair<QString, qint64>> transfers;
    transfers.reserve(static_cast<std::size_t>(rows.size()));
    for (const auto& [account, amount] : rows)
        transfers.emplace_back(TrimBlanks(account), AmountOf(amount));
    std::sort(transfers.begin(), transfers.end());
    return transfers;
}

}  // namespace

QStringList BatchWarnings(const std::vector<PayeeCheck>& payees, const QList<QStringList>& lastRun,
                          const WrittenFile& written) {
    QStringList warnings;
    if (written.Superseded())
        warnings
            << QStringLiteral("轉帳檔 %1 產生後本批資料已變更，須重新產生轉帳檔").arg(written.name);
    QHash<QString, QStringList> byAccount;
    QStringList accountOrder;
    QStringList zero;
    QStringList large;
    QStringList otherAccount;
    QList<std::pair<QString, QString>> current;
    current.reserve(static_cast<qsizetype>(payees.size()));
    for (const PayeeCheck& payee : payees) {
        const QString account = TrimBlanks(payee.account);
        QStringList& codes = byAccount[account];
        if (codes.isEmpty())
            accountOrder << account;
        codes << payee.id;
        const qint64 amount = AmountOf(payee.amount);
        if (amount == 0)
            zero << payee.id;
        if (payee.inMaster) {
            const qint64 pay = AmountOf(payee.masterPay);
            // A pay of zero in the master gives nothing to compare with.
            if (pay > 0 && amount > 3 * pay)
                large << payee.id;
            if (account != TrimBlanks(payee.masterAccount))
                otherAccount << payee.id;
        }
        current.append({payee.account, payee.amount});
    }
    for (const QString& account : accountOrder) {
        const QStringList& codes = byAccount[account];
        if (codes.size() > 1 && !account.isEmpty())
            warnings << QStringLiteral("帳號 %1 重複：員工代碼 %2").arg(account, CodeList(codes));
    }
    if (!zero.isEmpty())
        warnings << QStringLiteral("金額為零：員工代碼 %1").arg(CodeList(zero));
    if (!large.isEmpty())
        warnings
            << QStringLiteral("金額超過員工基本資料薪資的三倍：員工代碼 %1").arg(CodeList(large));
    if (!otherAccount.isEmpty())
        warnings
            << QStringLiteral("帳號與員工基本資料不同：員工代碼 %1").arg(CodeList(otherAccount));
    if (!lastRun.isEmpty() && !payees.empty()) {
        QList<std::pair<QString, QString>> last;
        last.reserve(lastRun.size());
        for (const QStringList& row : lastRun)
            last.append({row.value(0), row.value(1)});
        if (Transfers(current) == Transfers(last))
            warnings << QStringLiteral("帳號與金額和上一批已歸檔的薪資轉帳資料完全相同");
    }
    return warnings;
}

DbResult ReadBatchWarnings(QStringList* warnings) {
    warnings->clear();
    std::vector<PayeeCheck> payees;
    if (DbResult error = ReadPayeeChecks(&payees))
        return error;
    return ReadBatchWarnings(payees, warnings);
}

DbResult ReadBatchWarnings(const std::vector<PayeeCheck>& payees, QStringList* warnings) {
    warnings->clear();
    QList<QStringList> lastRun;
    if (DbResult error = ReadLastRunTransfers(&lastRun))
        return error;
    WrittenFile written;
    if (DbResult error = ReadWrittenFile(&written))
        return error;
    *warnings = BatchWarnings(payees, lastRun, written);
    return std::nullopt;
}

QString BatchWarningQuestion(const QStringList& warnings) {
    return QStringLiteral("本批薪資轉帳資料有下列情形：\r\n\r\n") +
           warnings.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n\r\n是否仍要產生轉帳檔？");
}

}  // namespace paysum
