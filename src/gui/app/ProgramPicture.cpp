#include "app/ProgramPicture.h"

#include "common/Version.h"

#include <QDir>
#include <QPainter>

namespace paysum {

QPixmap ProgramPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;

    painter.setPen(QPen(QColor(0x2f, 0x4f, 0x7f), unit * 0.5));
    painter.setBrush(QColor(0xf4, 0xf1, 0xe6));
    painter.drawRoundedRect(QRectF(unit * 1.5, unit * 1, unit * 10, unit * 13), unit, unit);
    painter.setPen(QPen(QColor(0x7f, 0x8f, 0xa8), unit * 0.6));
    for (int line = 0; line < 5; ++line) {
        const qreal y = unit * (3.5 + 2 * line);
        painter.drawLine(QPointF(unit * 3.5, y), QPointF(unit * 9.5, y));
    }

    painter.setPen(QPen(QColor(0x9a, 0x6b, 0x00), unit * 0.5));
    painter.setBrush(QColor(0xf2, 0xc1, 0x2e));
    painter.drawEllipse(QPointF(unit * 11.5, unit * 11.5), unit * 3.6, unit * 3.6);
    QFont font;
    font.setPixelSize(qRound(unit * 5));
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRectF(unit * 7.9, unit * 7.9, unit * 7.2, unit * 7.2), Qt::AlignCenter,
                     QStringLiteral("$"));
    return picture;
}

QIcon ProgramIcon() {
    // The resource holds one folder per size, each with the PNG rendered from the icon's SVG.
    QIcon builtIn;
    const QString name = QString::fromLatin1(kAppId);
    const QDir sizes(QStringLiteral(":/icons"));
    for (const QString& size : sizes.entryList(QDir::Dirs))
        builtIn.addFile(sizes.filePath(size + u'/' + name + QStringLiteral(".png")));
    return QIcon::fromTheme(name, builtIn);
}

}  // namespace paysum
