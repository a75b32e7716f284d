#include "common/Amounts.h"

#include "common/TextRules.h"

#include <QRegularExpression>
#include <QtNumeric>

#include <limits>

namespace paysum {

qint64 AmountOf(const QString& text) {
    return LeadingNumber(TrimBlanks(text));
}

WrittenAmount ReadWrittenAmount(const QString& text) {
    // Full-width digits, comma, stop and blanks as their ASCII forms.
    QString plain;
    plain.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= u'\uFF10' && u <= u'\uFF19')
            plain += QChar(u'0' + (u - u'\uFF10'));
        else if (u == u'\uFF0C')
            plain += u',';
        else if (u == u'\uFF0E')
            plain += u'.';
        else if (u == u'\u3000')
            plain += u' ';
        else
            plain += c;
    }
    plain = plain.trimmed();
    if (plain.isEmpty())
        return {};
    if (plain.startsWith(u'+') || plain.startsWith(u'-') || plain.endsWith(u'+') ||
        plain.endsWith(u'-'))
        return {{}, QStringLiteral("不可有正負號")};
    QString whole = plain;
    if (const qsizetype stop = plain.indexOf(u'.'); stop >= 0) {
        whole = plain.left(stop);
        const QString fraction = plain.mid(stop + 1);
        if (!IsDigits(fraction) && !fraction.isEmpty())
            return {{}, QStringLiteral("只能是數字")};
        if (fraction.contains(QRegularExpression(QStringLiteral("[1-9]"))))
            return {{}, QStringLiteral("不可有小數")};
        if (whole.isEmpty())
            return {{}, QStringLiteral("只能是數字")};
    }
    if (whole.contains(u',')) {
        // Thousands separators stand between groups of three digits.
        static const QRegularExpression grouped(QStringLiteral("^[0-9]{1,3}(,[0-9]{3})+$"));
        if (!grouped.match(whole).hasMatch())
            return {{},
                    IsDigits(QString(whole).remove(u',')) ? QStringLiteral("千分位逗號位置不對")
                                                          : QStringLiteral("只能是數字")};
        whole.remove(u',');
    }
    if (!IsDigits(whole))
        return {{}, QStringLiteral("只能是數字")};
    return {whole, {}};
}

QString TotalTooLargeText() {
    return QStringLiteral("總金額超過十二位數");
}

qint64 AddAmounts(qint64 total, qint64 amount) {
    qint64 sum = 0;
    if (qAddOverflow(total, amount, &sum))
        return std::numeric_limits<qint64>::max();
    return sum;
}

}  // namespace paysum
