#include "app/QtTranslations.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include <cstring>
#include <utility>

namespace paysum {

namespace {

// The texts of Qt's dialogs that Qt's zh_TW catalogue leaves in English or gets wrong.
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
            // The Type column of the file dialog.
            {"QAbstractFileIconProvider", "Folder", u"資料夾"},
            {"QAbstractFileIconProvider", "Drive", u"磁碟機"},
            {"QAbstractFileIconProvider", "File", u"檔案"},
            {"QAbstractFileIconProvider", "Shortcut", u"捷徑"},
            {"QAbstractFileIconProvider", "Unknown", u"未知"},
        };
        for (const Gap& gap : kGaps) {
            if (std::strcmp(context, gap.context) == 0 && std::strcmp(sourceText, gap.source) == 0)
                return QString::fromUtf16(gap.text);
        }
        if (std::strcmp(context, "QPageSize") == 0)
            return PaperName(QString::fromLatin1(sourceText));
        return QString();
    }

    bool isEmpty() const override { return false; }

private:
    // Paper names keep their standard names (Letter, Legal, JIS B5), as Taiwanese printer
    // settings show them, with the English words around them in Chinese; the catalogue calls
    // Letter an envelope.
    static QString PaperName(QString name) {
        static const std::pair<const char*, const char16_t*> kWords[] = {
            {"Fan-fold German Legal", u"德國 Legal 連續報表紙"},
            {"Fan-fold German", u"德國標準連續報表紙"},
            {"Fan-fold US", u"美國標準連續報表紙"},
            {"Envelope ", u"信封型 "},
            {"Architect ", u"建築 "},
            {" Extra", u" 特大"},
            {" Small", u" 小型"},
            {" Plus", u" 加大"},
            {" Big", u" 大"},
            {" in)", u" 英吋)"},
        };
        const QString english = name;
        for (const auto& [word, chinese] : kWords)
            name.replace(QLatin1String(word), QString::fromUtf16(chinese));
        if (name.endsWith(QLatin1String(" in")))
            name = name.chopped(3) + QStringLiteral(" 英吋");
        const bool letter = english == QLatin1String("Letter / ANSI A");
        return name != english || letter ? name : QString();
    }
};

// Qt 6.4's zh_TW time formats begin with the day period "B", which Qt prints as the letter
// ("B4:44"); time boxes, such as the hold time of a print job, show the 24-hour clock instead.
class TwentyFourHourTimeBoxes : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Polish) {
            if (auto* box = qobject_cast<QDateTimeEdit*>(watched)) {
                QString format = box->displayFormat();
                if (format.contains(u'B')) {
                    format.replace(QLatin1String("Bh"), QLatin1String("HH")).remove(u'B');
                    box->setDisplayFormat(format.trimmed());
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

QLocale TaiwanLocale() {
    return QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan);
}

bool InstallQtTranslations() {
    // The translators belong to the application, so a later application loads its own.
    static QPointer<QTranslator> installed;
    if (installed)
        return true;
    auto* app = QCoreApplication::instance();
    if (!app)
        return false;
    // Dates, numbers and the descriptions of file types as in Taiwan, whatever the system's
    // locale.
    QLocale::setDefault(TaiwanLocale());
    auto* translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qtbase_zh_TW"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(new CatalogueGaps(app));
    app->installEventFilter(new TwentyFourHourTimeBoxes(app));
    installed = translator;
    return true;
}

}  // namespace paysum
