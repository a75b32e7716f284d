#pragma once

#include <QString>

#include <optional>

namespace paysum {

// A Veltra account number has twelve digits, the last its check digit, and a deposit certificate
// number eight: rules of the numbers themselves, which the entry checks hold a value to, while
// the boxes take their maximum length from the schema.
inline constexpr int kAccountDigits = 12;
inline constexpr int kCertificateDigits = 8;

// The boxes of an employee entry.
enum class StaffBox { Code, Account, Certificate, Pay, Name };

// What the boxes of an employee entry hold.
struct StaffEntry {
    QString code;
    QString account;
    QString certificate;
    QString pay;
    QString name;
};

// Why an entry is refused: the message with its title, the box that gets the focus, and whether
// that box is emptied.
struct EntryRefusal {
    QString text;
    QString title;
    StaffBox box = StaffBox::Code;
    bool emptyBox = false;
    // Shown with the question icon rather than the stop icon.
    bool asks = false;
    // The box whose value is refused, when it is not the one that gets the focus.
    std::optional<StaffBox> fault = std::nullopt;

    StaffBox FaultBox() const { return fault.value_or(box); }
};

// The title of the employee window's messages, and of the account checks.
extern const QString kStaffTitle;
extern const QString kAccountCheckTitle;

// The check of an account number as it is entered: too short (the box is emptied), or failing
// its check digit. An empty account is the caller's to refuse with its own message.
std::optional<EntryRefusal> CheckAccountEntry(const QString& account);

// The certificate number an entry stores with `account`: a 016 account (12 digits, characters 4
// to 6 "016") needs exactly eight digits, and nothing is returned when it has not; any other
// account stores none, whatever the box held.
std::optional<QString> CertificateToStore(const QString& account, const QString& certificate);

// The refusal of a 016 account's certificate number that is not eight digits.
EntryRefusal CertificateRefusal();

// The refusal of the code 00000, which is no employee's: the code box is emptied.
EntryRefusal ZeroCodeRefusal();

// The checks of an employee entry before it is stored, in order; the first that fails.
std::optional<EntryRefusal> CheckStaffEntry(const StaffEntry& entry);

}  // namespace paysum
