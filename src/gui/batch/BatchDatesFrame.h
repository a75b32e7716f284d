#pragma once

#include <QGroupBox>

#include <array>

class QLabel;
class QLineEdit;

namespace paysum {

class DataControl;
struct DbError;

// The frame "＜整批薪資轉帳檔相關資料＞" with the batch's login and transfer dates: it proposes
// the stored dates (or today) as a box is entered, checks the dates and stores them in S_DAY.
// The window that holds it supplies the buttons that check, store and reload.
class BatchDatesFrame : public QGroupBox {
    Q_OBJECT

public:
    explicit BatchDatesFrame(QWidget* parent = nullptr);

    // Enter in the transfer date box moves the focus to `next` (the window's confirm button).
    void SetNextWidget(QWidget* next) { next_ = next; }

    // Puts the stored dates into the boxes, or empties them when none are stored.
    void LoadBatchDates();
    // Checks the dates as they stand; a refusal is shown and focuses the box concerned.
    bool CheckBatchDates();
    // Stores both boxes, trimmed, in S_DAY; a failure is shown and false returned.
    bool SaveBatchDates();

    // Text4[0] the login date, Text4[1] the transfer date.
    std::array<QLineEdit*, 2> Text4;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createLayout();
    void Text4_GotFocus(int index);
    // Enter moves on from a date box; true when the key was handled.
    bool Text4_KeyDown(int index, int key);
    void ShowDbError(const DbError& error);

    std::array<QLabel*, 3> Label8;
    QLabel* Label9;
    DataControl* days_;
    QWidget* next_ = nullptr;
    // Set while a box has lost the focus only because its window did.
    std::array<bool, 2> awayWithWindow_{};
};

}  // namespace paysum
