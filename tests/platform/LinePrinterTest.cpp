#include "platform/FontDialog.h"
#include "platform/Printer.h"
#include "print/Fonts.h"

#include <QFile>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace paysum {
namespace {

// Prints `lines` lines to a landscape PDF and returns the number of its pages, or -1 when
// printing failed. The printer only makes the document; nothing is written at the path.
int PrintedPages(int lines, bool newPageAfterEach) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.pdf"));
    std::unique_ptr<LinePrinter> printer = OpenPrinter(PrintTarget{{}, path});
    printer->SetFontFamilies(MingFont().families());
    printer->SetOrientation(QPageLayout::Landscape);
    for (int i = 0; i < lines; ++i) {
        printer->PrintLine(QStringLiteral("     %1 薪資轉帳").arg(i));
        if (newPageAfterEach)
            printer->NewPage();
    }
    if (!printer->EndDoc())
        return -1;
    EXPECT_FALSE(QFile::exists(path));
    const QByteArray document = printer->PdfDocument();
    EXPECT_TRUE(document.startsWith("%PDF-"));
    return static_cast<int>(QString::fromLatin1(document).count(
        QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))));
}

TEST(LinePrinterTest, PrintsToAPdfPageByPage) {
    EXPECT_EQ(PrintedPages(1, true), 2);
    // The 40 lines of a full list page fit on a landscape page; more go on to the next.
    EXPECT_EQ(PrintedPages(40, false), 1);
    EXPECT_EQ(PrintedPages(100, false), 3);

    // A printer that is not there fails, saying so.
    std::unique_ptr<LinePrinter> unknown = OpenPrinter(PrintTarget{QStringLiteral("no such")});
    unknown->PrintLine(QStringLiteral("x"));
    EXPECT_FALSE(unknown->EndDoc());
    EXPECT_EQ(unknown->FailureReason(), "找不到印表機「no such」");
    if (QPrinterInfo::defaultPrinter().isNull()) {
        std::unique_ptr<LinePrinter> none = OpenPrinter(PrintTarget{});
        EXPECT_FALSE(none->EndDoc());
        EXPECT_EQ(none->FailureReason(), "沒有設定印表機");
    }
}

TEST(FontDialogTest, OnlyFontsThatKeepColumns) {
    const QStringList families = FixedPitchFamilies();
    EXPECT_TRUE(families.contains(QStringLiteral("Noto Sans Mono CJK TC")));
    EXPECT_FALSE(families.contains(QStringLiteral("Noto Sans CJK TC")));
    EXPECT_FALSE(families.contains(QStringLiteral("DejaVu Sans Mono")));
}

}  // namespace
}  // namespace paysum
