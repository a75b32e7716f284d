#include "print/Fonts.h"

#include <QStringList>

namespace paysum {

namespace {

QFont FontOf(const QStringList& families, int pointSize, QFont::StyleHint hint) {
    QFont font;
    font.setFamilies(families);
    font.setPointSize(pointSize);
    font.setStyleHint(hint);
    return font;
}

}  // namespace

QFont UiFont(int pointSize) {
    return FontOf({QStringLiteral("新細明體"), QStringLiteral("PMingLiU"),
                   QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans Mono CJK TC")},
                  pointSize, QFont::SansSerif);
}

QFont MingFont(int pointSize) {
    QFont font = FontOf({QStringLiteral("細明體"), QStringLiteral("MingLiU"),
                         QStringLiteral("Noto Sans Mono CJK TC")},
                        pointSize, QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QFont CourierFont(int pointSize) {
    QFont font =
        FontOf({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Sans Mono CJK TC")},
               pointSize, QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace paysum
