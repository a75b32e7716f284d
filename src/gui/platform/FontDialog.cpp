#include "platform/FontDialog.h"

#include "platform/Modal.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace paysum {

namespace {

FontDialogHook& Hook() {
    static FontDialogHook hook;
    return hook;
}

bool Near(qreal a, qreal b) {
    return std::abs(a - b) <= 0.02 * std::max(a, b);
}

// True when the family's ASCII characters all have one width; `twoColumnHan` also asks that a
// Chinese character be exactly two of them wide.
bool LinesUp(const QString& family, bool twoColumnHan) {
    QFont font(family);
    font.setPointSize(20);
    const QFontMetricsF metrics(font);
    const qreal column = metrics.horizontalAdvance(u'0');
    if (column <= 0)
        return false;
    for (QChar c : QStringLiteral(" iMW.-")) {
        if (!Near(metrics.horizontalAdvance(c), column))
            return false;
    }
    return !twoColumnHan || Near(metrics.horizontalAdvance(QChar(0x85AA)), 2 * column);
}

QStringList FindFixedPitchFamilies() {
    QStringList uniform;
    QStringList columns;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family) || !LinesUp(family, false))
            continue;
        uniform << family;
        if (LinesUp(family, true))
            columns << family;
    }
    // Without a Chinese fixed-pitch font on the system, the Latin ones are all there is.
    return columns.isEmpty() ? uniform : columns;
}

// The font dialog: family, size and style, with a sample.
class FixedPitchFontDialog : public QDialog {
public:
    FixedPitchFontDialog(QWidget* parent, const QFont& initial) : QDialog(parent) {
        setWindowTitle(QStringLiteral("字型"));
        families_ = new QListWidget(this);
        families_->addItems(FixedPitchFamilies());
        const QString current = QFontInfo(initial).family();
        const QList<QListWidgetItem*> found = families_->findItems(current, Qt::MatchExactly);
        families_->setCurrentItem(found.isEmpty() ? families_->item(0) : found.first());
        size_ = new QSpinBox(this);
        size_->setRange(6, 72);
        size_->setValue(initial.pointSize() > 0 ? initial.pointSize() : 10);
        bold_ = new QCheckBox(QStringLiteral("粗體"), this);
        bold_->setChecked(initial.bold());
        italic_ = new QCheckBox(QStringLiteral("斜體"), this);
        italic_->setChecked(initial.italic());
        underline_ = new QCheckBox(QStringLiteral("底線"), this);
        underline_->setChecked(initial.underline());
        strikeOut_ = new QCheckBox(QStringLiteral("刪除線"), this);
        strikeOut_->setChecked(initial.strikeOut());
        sample_ = new QLabel(QStringLiteral("薪資轉帳明細 0123456789 AaBb"), this);
        sample_->setMinimumHeight(60);

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("確定"));
        buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

        auto* styles = new QHBoxLayout;
        for (QCheckBox* box : {bold_, italic_, underline_, strikeOut_})
            styles->addWidget(box);
        auto* form = new QFormLayout;
        form->addRow(QStringLiteral("字型："), families_);
        form->addRow(QStringLiteral("大小："), size_);
        form->addRow(QStringLiteral("樣式："), styles);
        form->addRow(QStringLiteral("範例："), sample_);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(form);
        layout->addWidget(buttons);

        connect(families_, &QListWidget::currentRowChanged, this, [this] { ShowSample(); });
        connect(size_, &QSpinBox::valueChanged, this, [this] { ShowSample(); });
        for (QCheckBox* box : {bold_, italic_, underline_, strikeOut_})
            connect(box, &QCheckBox::toggled, this, [this] { ShowSample(); });
        ShowSample();
    }

    QFont Chosen() const {
        QFont font;
        if (families_->currentItem())
            font.setFamily(families_->currentItem()->text());
        font.setPointSize(size_->value());
        font.setBold(bold_->isChecked());
        font.setItalic(italic_->isChecked());
        font.setUnderline(underline_->isChecked());
        font.setStrikeOut(strikeOut_->isChecked());
        return font;
    }

private:
    void ShowSample() { sample_->setFont(Chosen()); }

    QListWidget* families_;
    QSpinBox* size_;
    QCheckBox* bold_;
    QCheckBox* italic_;
    QCheckBox* underline_;
    QCheckBox* strikeOut_;
    QLabel* sample_;
};

}  // namespace

QStringList FixedPitchFamilies() {
    // The installed fonts do not change while the program runs.
    static const QStringList families = FindFixedPitchFamilies();
    return families;
}

std::optional<QFont> ShowFontDialog(QWidget* parent, const QFont& initial) {
    if (Hook())
        return Hook()(initial);
    FixedPitchFontDialog dialog(ModalOwner(parent), initial);
    if (ExecModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.Chosen();
}

void SetFontDialogHook(FontDialogHook hook) {
    Hook() = std::move(hook);
}

}  // namespace paysum
