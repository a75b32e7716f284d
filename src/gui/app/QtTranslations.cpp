#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <cstring>

namespace paysum {

namespace {

// The few texts of Qt's print dialog that Qt's zh_TW catalogue leaves in English.
class CatalogueGaps : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        struct Gap {
            const char* context;
            const char* source;
            const char16_t* text;
        };
        static constexpr Gap kGaps[] = {
            {"QPrintSettingsOutput", "Double Sided Printing", u"雙面列印"},
            {"QPrintSettingsOutput", "Off", u"關閉"},
            {"QPrintSettingsOutput", "Long side binding", u"長邊裝訂"},
            {"QPrintSettingsOutput", "Short side binding", u"短邊裝訂"},
        };
        for (const Gap& gap : kGaps) {
            if (std::strcmp(context, gap.context) == 0 && std::strcmp(sourceText, gap.source) == 0)
                return QString::fromUtf16(gap.text);
        }
        return QString();
    }

    bool isEmpty() const override { return false; }
};

}  // namespace

bool InstallQtTranslations() {
    // The translators belong to the application, so a later application loads its own.
    static QPointer<QTranslator> installed;
    if (installed)
        return true;
    auto* app = QCoreApplication::instance();
    if (!app)
        return false;
    auto* translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qtbase_zh_TW"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(new CatalogueGaps(app));
    installed = translator;
    return true;
}

}  // namespace paysum
