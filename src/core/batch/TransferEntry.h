#pragma once

#include <QString>

#include <optional>

namespace paysum {

// The boxes of a transfer entry.
enum class TransferBox { Code, Account, Certificate, Amount, Name, Remark };

// What the boxes of a transfer entry hold, as typed.
struct TransferEntry {
    QString code;
    QString account;
    QString certificate;
    QString amount;
    QString name;
    QString remark;
};

// How a refused entry is answered.
enum class RefusalAction {
    FocusBox,          // OK, critical; the box gets the focus (emptied when `emptyBox`)
    FocusCancel,       // OK, critical; the cancel button gets the focus
    OfferStaffWindow,  // OK/Cancel, exclamation; OK opens the employee master window
};

// Why a transfer entry is refused: the message, its title, and where the clerk goes next.
struct TransferRefusal {
    QString text;
    QString title;
    TransferBox box = TransferBox::Code;
    RefusalAction action = RefusalAction::FocusBox;
    bool emptyBox = false;
    // With FocusBox: shown with the question icon rather than the critical one.
    bool asks = false;
};

// The title of the transfer entry window and of its messages.
extern const QString kTransferTitle;

// The checks of an entry before it is stored, in order; the first that fails. Lengths are Big5
// bytes of the untrimmed text, emptiness is tested after trimming blanks. A 016 account needs a
// certificate number of eight digits; with any other account the certificate is not stored
// (CertificateToStore).
std::optional<TransferRefusal> ValidateEntry(const TransferEntry& entry);

// The refusal of a code the batch already holds.
TransferRefusal CodeInBatchRefusal();

// The refusal of an amount that would take the batch's total, `total` without it, past what the
// batch file can state.
std::optional<TransferRefusal> CheckBatchTotal(qint64 total, const QString& amount);

// The refusal of a payee without a code when every temporary code is taken.
TransferRefusal TemporaryCodesUsedUpRefusal();

// The box that shows column `ordinal` of S_ITEM (S_STAFF has the same first five columns).
TransferBox BoxOfColumn(int ordinal);

}  // namespace paysum
