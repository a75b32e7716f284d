#include "output/TransferFileCheck.h"

#include "common/Amounts.h"
#include "common/CheckDigits.h"
#include "common/RocDate.h"
#include "common/TextRules.h"

#include <QHash>

namespace paysum {

namespace {

bool AllDigits(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return false;
    for (char c : bytes) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool AllBlanks(QByteArrayView bytes) {
    for (char c : bytes) {
        if (c != ' ')
            return false;
    }
    return true;
}

QString Text(QByteArrayView bytes) {
    return QString::fromLatin1(bytes.data(), bytes.size());
}

// A detail record starts with its lead of blanks; anything else in line 1's place is taken for
// a header.
bool LooksLikeDetail(QByteArrayView line) {
    const RecordField& lead = kDetailFields[kDetailLead];
    return line.size() >= lead.width &&
           FieldOf(line, lead) == QByteArrayView(lead.text.data(), lead.width);
}

// A record of kRecordLength bytes cut into the fields of its kind, each read by its place in
// the field table.
template <std::size_t N>
std::array<QByteArrayView, N> CutRecord(QByteArrayView line,
                                        const std::array<RecordField, N>& fields) {
    std::array<QByteArrayView, N> cut;
    for (std::size_t i = 0; i < N; ++i)
        cut[i] = FieldOf(line, fields[i]);
    return cut;
}

// True when a fixed field of a cut record holds its fixed text.
template <std::size_t N>
bool Holds(const std::array<QByteArrayView, N>& cut, const std::array<RecordField, N>& fields,
           std::size_t index) {
    return cut[index] == QByteArrayView(fields[index].text.data(), fields[index].width);
}

class Checker {
public:
    Checker(FileCheck& result, bool keepItems) : result_(result), keepItems_(keepItems) {}

    void Fault(int line, const QString& text) { result_.faults.push_back({line, text}); }

    void Header(int n, QByteArrayView line) {
        const auto field = CutRecord(line, kHeaderFields);
        const QString login = Text(field[kHeaderLoginDate]);
        const QString transfer = Text(field[kHeaderTransferDate]);
        result_.header = {login, transfer, Text(field[kHeaderBranch]),
                          Text(field[kHeaderUnifiedNo]), Text(field[kHeaderCustomerCode])};
        if (CheckRocDate(login) != 1)
            Fault(n, QStringLiteral("登錄日期 %1 不是正確的國曆日期").arg(login));
        if (CheckRocDate(transfer) != 1)
            Fault(n, QStringLiteral("轉帳日期 %1 不是正確的國曆日期").arg(transfer));
        else if (CheckRocDate(login) == 1 && CompareRocDates(transfer, login) != 1)
            Fault(n, QStringLiteral("轉帳日期早於登錄日期"));
        const QByteArrayView branch = field[kHeaderBranch];
        if (!AllDigits(branch) || branch.count('0') == branch.size())
            Fault(n, QStringLiteral("分行代號 %1 不正確").arg(Text(branch)));
        if (!AllDigits(field[kHeaderUnifiedNo]))
            Fault(n, QStringLiteral("統一編號 %1 不是數字").arg(Text(field[kHeaderUnifiedNo])));
        if (!AllDigits(field[kHeaderCustomerCode]))
            Fault(n, QStringLiteral("客戶代號 %1 不是數字").arg(Text(field[kHeaderCustomerCode])));
        if (!Holds(field, kHeaderFields, kHeaderZeros))
            Fault(n, QStringLiteral("%1應為 %2 個 0")
                         .arg(FieldPlaces(kHeaderFields[kHeaderZeros]))
                         .arg(kHeaderFields[kHeaderZeros].width));
        if (AllDigits(field[kHeaderTotal]))
            result_.headerTotals.total = LeadingNumber(Text(field[kHeaderTotal]));
        else
            Fault(n, QStringLiteral("總金額不是數字"));
        if (AllDigits(field[kHeaderCount]))
            result_.headerTotals.count = static_cast<int>(LeadingNumber(Text(field[kHeaderCount])));
        else
            Fault(n, QStringLiteral("總筆數不是數字"));
        if (!Holds(field, kHeaderFields, kHeaderBlanks))
            Fault(n, QStringLiteral("%1應為空白").arg(FieldPlaces(kHeaderFields[kHeaderBlanks])));
        headerSeen_ = true;
        result_.headerRead = true;
    }

    void Detail(int n, QByteArrayView line) {
        const auto field = CutRecord(line, kDetailFields);
        const QByteArrayView account = field[kDetailAccount];
        const QByteArrayView amount = field[kDetailAmount];
        const QByteArrayView certificate = field[kDetailCertificate];
        bool sound = true;
        if (!AllDigits(account)) {
            Fault(n, QStringLiteral("帳號 %1 不是數字").arg(Text(account)));
            sound = false;
        } else if (!account.startsWith("00") || !CheckAccountNo(Text(account.sliced(2)))) {
            Fault(n, QStringLiteral("帳號 %1 檢查碼不正確").arg(Text(account)));
            sound = false;
        }
        if (!AllDigits(amount)) {
            Fault(n, QStringLiteral("金額 %1 不是數字").arg(Text(amount)));
            sound = false;
        }
        const bool hasCertificate = !AllBlanks(certificate);
        if (hasCertificate && !AllDigits(certificate)) {
            Fault(n, QStringLiteral("存單號碼 %1 不是八位數字").arg(Text(certificate)));
            sound = false;
        }
        if (!Holds(field, kDetailFields, kDetailBlanks)) {
            Fault(n, QStringLiteral("%1應為空白").arg(FieldPlaces(kDetailFields[kDetailBlanks])));
            sound = false;
        }
        if (sound) {
            const QString twelve = Text(account.sliced(2));
            if (IsCertificateAccount(twelve) != hasCertificate)
                Fault(n, hasCertificate ? QStringLiteral("非 016 帳號不應有存單號碼")
                                        : QStringLiteral("016 帳號缺少存單號碼"));
        }
        ++result_.detailTotals.count;
        if (AllDigits(amount))
            result_.detailTotals.total =
                AddAmounts(result_.detailTotals.total, LeadingNumber(Text(amount)));
        if (!keepItems_)
            return;
        result_.items.push_back(
            {Text(account), Text(amount), hasCertificate ? Text(certificate) : QString()});
        result_.itemLines.push_back(n);
    }

    void Line(int n, QByteArrayView line) {
        if (line.size() != kRecordLength) {
            Fault(n, QStringLiteral("長度 %1 位元組，應為 %2").arg(line.size()).arg(kRecordLength));
            if (n == 1 && !LooksLikeDetail(line))
                headerSeen_ = true;
            return;
        }
        // Both kinds of record end in the same type field.
        static_assert(kHeaderFields[kHeaderType].offset == kDetailFields[kDetailType].offset);
        const RecordField& type = kDetailFields[kDetailType];
        if (FieldOf(line, type) != QByteArrayView(type.text.data(), type.width))
            Fault(n, QStringLiteral("%1應為 %2")
                         .arg(FieldPlaces(type), QLatin1StringView(type.text.data(), type.width)));
        if (n == 1) {
            if (LooksLikeDetail(line)) {
                Fault(n, QStringLiteral("第一行應為表頭記錄"));
                Detail(n, line);
            } else {
                Header(n, line);
            }
            return;
        }
        if (!LooksLikeDetail(line)) {
            Fault(n, QStringLiteral("表頭記錄只能在第一行"));
            return;
        }
        Detail(n, line);
    }

    bool HeaderSeen() const { return headerSeen_; }

private:
    FileCheck& result_;
    bool keepItems_;
    bool headerSeen_ = false;
};

}  // namespace

FileCheck CheckTransferBytes(const QByteArray& bytes, bool keepItems) {
    FileCheck result;
    Checker checker(result, keepItems);
    if (bytes.isEmpty()) {
        checker.Fault(0, QStringLiteral("檔案是空的"));
        return result;
    }
    int n = 0;
    qsizetype from = 0;
    while (from < bytes.size()) {
        ++n;
        qsizetype end = bytes.indexOf('\n', from);
        const bool lastWithoutEnd = end < 0;
        if (lastWithoutEnd)
            end = bytes.size();
        QByteArrayView line(bytes.constData() + from, end - from);
        if (lastWithoutEnd) {
            checker.Fault(n, QStringLiteral("行尾沒有 CR LF"));
        } else if (line.endsWith('\r')) {
            line.chop(1);
        } else {
            checker.Fault(n, QStringLiteral("行尾只有 LF，應為 CR LF"));
        }
        checker.Line(n, line);
        from = end + 1;
    }
    if (result.detailTotals.count > kMaxTransferRecords)
        checker.Fault(0, QStringLiteral("明細 %1 筆，超過 %2 筆")
                             .arg(result.detailTotals.count)
                             .arg(kMaxTransferRecords));
    // A header that could not be read has been reported; its totals would only add noise.
    if (!result.headerRead)
        return result;
    if (result.headerTotals.count != result.detailTotals.count)
        checker.Fault(1, QStringLiteral("表頭總筆數 %1 與明細筆數 %2 不符")
                             .arg(result.headerTotals.count)
                             .arg(result.detailTotals.count));
    if (result.headerTotals.total != result.detailTotals.total)
        checker.Fault(1, QStringLiteral("表頭總金額 %1 與明細合計 %2 不符")
                             .arg(result.headerTotals.total)
                             .arg(result.detailTotals.total));
    return result;
}

std::vector<FileFault> CompareWithBatch(const FileCheck& file, const TransferHeader& header,
                                        const std::vector<BatchPayee>& payees) {
    std::vector<FileFault> faults;
    const auto differs = [&](const QString& caption, const QString& inFile,
                             const QString& inBatch) {
        if (inFile != inBatch)
            faults.push_back(
                {1, QStringLiteral("%1：檔案為 %2，本批為 %3").arg(caption, inFile, inBatch)});
    };
    if (file.headerRead) {
        differs(QStringLiteral("登錄日期"), file.header.loginDate, header.loginDate);
        differs(QStringLiteral("轉帳日期"), file.header.transferDate, header.transferDate);
        differs(QStringLiteral("分行代號"), file.header.branch, header.branch);
        differs(QStringLiteral("統一編號"), file.header.unifiedNo, header.unifiedNo);
        differs(QStringLiteral("客戶代號"), file.header.customerCode, header.customerCode);
    }

    // Records are matched to payees by account and certificate number, the way the bank
    // credits them: first those whose amount agrees too, so that two payees paid into one
    // account are told apart, then the rest; a payee paid twice shows as an extra record.
    QMultiHash<QString, std::size_t> unmatched;
    for (std::size_t i = 0; i < file.items.size(); ++i)
        unmatched.insert(file.items[i].account + u'/' + file.items[i].certificate, i);
    const auto keyOf = [](const BatchPayee& payee) {
        const RecordField& account = kDetailFields[kDetailAccount];
        return DetailRecord(payee.item).mid(account.offset, account.width) + u'/' +
               payee.item.certificate;
    };
    std::vector<bool> paid(payees.size(), false);
    for (std::size_t p = 0; p < payees.size(); ++p) {
        const qint64 amount = AmountOf(payees[p].item.amount);
        for (auto found = unmatched.find(keyOf(payees[p]));
             found != unmatched.end() && found.key() == keyOf(payees[p]); ++found) {
            if (LeadingNumber(file.items[found.value()].amount) == amount) {
                unmatched.erase(found);
                paid[p] = true;
                break;
            }
        }
    }
    for (std::size_t p = 0; p < payees.size(); ++p) {
        if (paid[p])
            continue;
        const BatchPayee& payee = payees[p];
        const QString who = QStringLiteral("%1 %2").arg(payee.code, TrimBlanks(payee.name));
        const auto found = unmatched.find(keyOf(payee));
        if (found == unmatched.end()) {
            faults.push_back({0, QStringLiteral("%1：不在檔案中").arg(who)});
            continue;
        }
        const std::size_t index = found.value();
        unmatched.erase(found);
        faults.push_back({file.itemLines[index], QStringLiteral("%1：檔案金額 %2，本批金額 %3")
                                                     .arg(who)
                                                     .arg(LeadingNumber(file.items[index].amount))
                                                     .arg(AmountOf(payee.item.amount))});
    }
    std::vector<std::size_t> extra(unmatched.begin(), unmatched.end());
    std::sort(extra.begin(), extra.end());
    for (std::size_t index : extra)
        faults.push_back(
            {file.itemLines[index],
             QStringLiteral("帳號 %1 不在本批轉帳資料中").arg(file.items[index].account)});
    return faults;
}

QString CompareWrittenFile(const QByteArray& onDisk, const QStringList& lines) {
    const QByteArray meant = TransferFileBytes(lines);
    if (onDisk == meant)
        return {};
    const FileCheck disk = CheckTransferBytes(onDisk);
    const FileCheck intended = CheckTransferBytes(meant);
    if (disk.detailTotals.count != intended.detailTotals.count)
        return QStringLiteral("檔案中有 %1 筆，應為 %2 筆")
            .arg(disk.detailTotals.count)
            .arg(intended.detailTotals.count);
    if (disk.detailTotals.total != intended.detailTotals.total)
        return QStringLiteral("檔案總金額 %1，應為 %2")
            .arg(disk.detailTotals.total)
            .arg(intended.detailTotals.total);
    const QList<QByteArray> diskLines = onDisk.split('\n');
    const QList<QByteArray> meantLines = meant.split('\n');
    for (qsizetype i = 0; i < meantLines.size(); ++i) {
        if (i >= diskLines.size() || diskLines[i] != meantLines[i])
            return QStringLiteral("第 %1 行與應寫入的內容不同").arg(i + 1);
    }
    return QStringLiteral("檔案長度與應寫入的內容不同");
}

QStringList FaultLines(const std::vector<FileFault>& faults) {
    QStringList lines;
    for (const FileFault& fault : faults)
        lines << (fault.line > 0 ? QStringLiteral("第 %1 行：%2").arg(fault.line).arg(fault.text)
                                 : fault.text);
    return lines;
}

}  // namespace paysum
