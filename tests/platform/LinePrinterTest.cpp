#include "platform/FontDialog.h"
#include "platform/Fonts.h"
#include "platform/LinePrinter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace paysum {
namespace {

int PdfPages(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") +
                            pdf.count("/Type /Page>") + pdf.count("/Type /Page "));
}

QByteArray Print(const QString& path, int lines, bool newPageAfterEach) {
    std::unique_ptr<LinePrinter> printer = OpenPrinter(PrintTarget{{}, path});
    printer->SetFontFamilies(MingFont().families());
    printer->SetOrientation(QPageLayout::Landscape);
    printer->SetFontSize(10);
    for (int i = 0; i < lines; ++i) {
        printer->PrintLine(QStringLiteral("     %1 薪資轉帳").arg(i));
        if (newPageAfterEach)
            printer->NewPage();
    }
    EXPECT_TRUE(printer->EndDoc());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

TEST(LinePrinterTest, PrintsToAPdfPageByPage) {
    QTemporaryDir dir;
    const QByteArray twoPages = Print(dir.filePath(QStringLiteral("two.pdf")), 1, true);
    EXPECT_TRUE(twoPages.startsWith("%PDF"));
    EXPECT_EQ(PdfPages(twoPages), 2);

    // Forty lines of a full list page fit on one landscape page; more go on to the next.
    EXPECT_EQ(PdfPages(Print(dir.filePath(QStringLiteral("forty.pdf")), 40, false)), 1);
    EXPECT_EQ(PdfPages(Print(dir.filePath(QStringLiteral("many.pdf")), 100, false)), 3);
}

TEST(LinePrinterTest, AFileThatCannotBeWrittenFails) {
    QTemporaryDir dir;
    std::unique_ptr<LinePrinter> printer =
        OpenPrinter(PrintTarget{{}, dir.filePath(QStringLiteral("missing/list.pdf"))});
    printer->PrintLine(QStringLiteral("x"));
    printer->NewPage();
    EXPECT_FALSE(printer->EndDoc());
}

TEST(LinePrinterTest, UnknownPrinterFails) {
    std::unique_ptr<LinePrinter> printer =
        OpenPrinter(PrintTarget{QStringLiteral("no such printer"), {}});
    printer->PrintLine(QStringLiteral("x"));
    EXPECT_FALSE(printer->EndDoc());
}

TEST(FontDialogTest, OnlyFontsThatKeepColumns) {
    const QStringList families = FixedPitchFamilies();
    EXPECT_TRUE(families.contains(QStringLiteral("Noto Sans Mono CJK TC")));
    EXPECT_FALSE(families.contains(QStringLiteral("Noto Sans CJK TC")));
    EXPECT_FALSE(families.contains(QStringLiteral("DejaVu Sans")));
}

}  // namespace
}  // namespace paysum
