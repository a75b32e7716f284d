#include "app/QtTranslations.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/PrintDialog.h"
#include "support/PaysumTest.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <functional>

namespace paysum {
namespace {

// Drives Qt's real dialogs, not the hooks the other tests answer through.
class DialogsTest : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        SetFileDialogHook(nullptr);
        SetPrintDialogHook(nullptr);
    }

    // Hands the modal dialog that is about to open to `driver`, which must close it.
    static void WhenShown(std::function<void(QWidget&)> driver) {
        QTimer::singleShot(0, [driver] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) {
                WhenShown(driver);
                return;
            }
            driver(*dialog);
        });
    }

    // What the save dialog hands back when `typed` is typed as the name and Enter pressed; a
    // question about replacing a file is answered No and its text kept in `question_`.
    QString SaveAs(const QString& typed) {
        FileDialogRequest request;
        request.mode = FileDialogRequest::Mode::Save;
        request.folder = folder_.path();
        request.filters = QStringLiteral("目的資料 (*.db)");
        request.defaultSuffix = QStringLiteral("db");
        question_.clear();
        WhenShown([this, typed](QWidget& dialog) {
            auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(typed);
            WhenQuestionShown([this](QMessageBox& box) {
                question_ = box.text();
                box.done(QMessageBox::No);
            });
            QTest::keyClick(name, Qt::Key_Return);
            if (dialog.isVisible())
                static_cast<QDialog&>(dialog).reject();
        });
        return ShowFileDialog(nullptr, request);
    }

    // Hands a message box that opens next to `driver`; nothing happens if none does.
    static void WhenQuestionShown(std::function<void(QMessageBox&)> driver) {
        QTimer::singleShot(0, [driver] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                driver(*box);
        });
    }

    QTemporaryDir folder_;
    QString question_;
};

TEST_F(DialogsTest, SaveDialogPutsTheSuffixOnATypedNameThatLacksIt) {
    const QDir folder(folder_.path());
    EXPECT_EQ(SaveAs(QStringLiteral("backup1")), folder.filePath(QStringLiteral("backup1.db")));
    EXPECT_EQ(SaveAs(QStringLiteral("薪資.12月")), folder.filePath(QStringLiteral("薪資.12月.db")));
    EXPECT_EQ(SaveAs(QStringLiteral("March.DB")), folder.filePath(QStringLiteral("March.DB")));
    EXPECT_TRUE(question_.isEmpty());

    // Replacing is asked about the file that would be written; No leaves the dialog open.
    QFile existing(folder.filePath(QStringLiteral("backup1.db")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    EXPECT_EQ(SaveAs(QStringLiteral("backup1")), QString());
    EXPECT_TRUE(question_.contains(QStringLiteral("backup1.db"))) << question_.toStdString();

    EXPECT_EQ(WithSuffix(QString(), QStringLiteral("db")), QString());
    EXPECT_EQ(WithSuffix(QStringLiteral("/tmp/a.txt"), QString()), QStringLiteral("/tmp/a.txt"));
}

TEST_F(DialogsTest, FileDialogListsTimesSizesAndTypesInTaiwansFormsAndTheClerksPlaces) {
    InstallQtTranslations();
    const QDir folder(folder_.path());
    ASSERT_TRUE(folder.mkdir(QStringLiteral("薪資")));
    QFile file(folder.filePath(QStringLiteral("SALARY.TXT")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(60, '0'));
    ASSERT_TRUE(file.flush());
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(9, 5)),
                                 QFileDevice::FileModificationTime));
    file.close();

    // One row of the detail view, as its columns show it (name, size, type, time).
    const auto row = [](QAbstractItemView& view, const QString& name) {
        QStringList shown;
        QAbstractItemModel* model = view.model();
        for (int r = 0; r < model->rowCount(view.rootIndex()); ++r) {
            if (model->index(r, 0, view.rootIndex()).data().toString() != name)
                continue;
            for (int column = 0; column < 4; ++column)
                shown << model->index(r, column, view.rootIndex()).data().toString();
        }
        return shown;
    };
    QStringList fileRow;
    QStringList folderRow;
    QList<QUrl> places;
    WhenShown([&](QWidget& dialog) {
        auto* view = dialog.findChild<QAbstractItemView*>(QStringLiteral("treeView"));
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return row(*view, QStringLiteral("SALARY.TXT")).size() == 4; }));
        fileRow = row(*view, QStringLiteral("SALARY.TXT"));
        folderRow = row(*view, QStringLiteral("薪資"));
        places = static_cast<QFileDialog&>(dialog).sidebarUrls();
        static_cast<QDialog&>(dialog).reject();
    });
    FileDialogRequest request;
    request.folder = folder_.path();
    ShowFileDialog(nullptr, request);
    ASSERT_EQ(fileRow.size(), 4);
    EXPECT_EQ(fileRow[1], QStringLiteral("60 位元組"));
    EXPECT_EQ(fileRow[2], QStringLiteral("純文字文件"));  // the MIME type's Taiwanese comment
    EXPECT_EQ(fileRow[3], QStringLiteral("2026/12/07 09:05"));
    ASSERT_EQ(folderRow.size(), 4);
    EXPECT_EQ(folderRow[1], QString());
    EXPECT_EQ(folderRow[2], QStringLiteral("資料夾"));
    EXPECT_TRUE(places.contains(QUrl::fromLocalFile(QDir::homePath())));
    EXPECT_EQ(FileSizeText(1536), QStringLiteral("1.5 KB"));
    EXPECT_EQ(FileSizeText(5 * 1024 * 1024 + 1), QStringLiteral("5.0 MB"));

    // Home, the desktop and each mounted medium, only folders that exist, then the computer.
    const QString home = folder.filePath(QStringLiteral("home"));
    const QString usb = folder.filePath(QStringLiteral("media/clerk/USB 隨身碟"));
    ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/Desktop")) && QDir().mkpath(usb));
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.toUtf8());
    const QList<QUrl> withDesktop =
        FileDialogPlaces({usb, folder.filePath(QStringLiteral("media/clerk/gone"))});
    QDir(home).rmdir(QStringLiteral("Desktop"));
    const QList<QUrl> withoutDesktop = FileDialogPlaces({});
    qputenv("HOME", oldHome);
    const QUrl computer(QStringLiteral("file:"));
    EXPECT_EQ(withDesktop, (QList<QUrl>{QUrl::fromLocalFile(home),
                                        QUrl::fromLocalFile(home + QStringLiteral("/Desktop")),
                                        QUrl::fromLocalFile(usb), computer}));
    EXPECT_EQ(withoutDesktop, (QList<QUrl>{QUrl::fromLocalFile(home), computer}));
}

TEST_F(DialogsTest, PrintDialogOffersNoPageRangeButKeepsCopies) {
    bool inspected = false;
    WhenShown([&](QWidget& dialog) {
        ASSERT_NE(qobject_cast<QPrintDialog*>(&dialog), nullptr);
        // Open the options part, where the range would be.
        for (auto* button : dialog.findChildren<QPushButton*>()) {
            if (button->text().contains(QStringLiteral(">>")))
                button->click();
        }
        for (const char* name : {"printRange", "pagesRadioButton", "printCurrentPage",
                                 "printSelection", "pageSetCombo"}) {
            auto* widget = dialog.findChild<QWidget*>(QString::fromLatin1(name));
            EXPECT_TRUE(widget == nullptr || !widget->isVisibleTo(&dialog)) << name;
        }
        auto* copies = dialog.findChild<QWidget*>(QStringLiteral("copies"));
        ASSERT_NE(copies, nullptr);
        EXPECT_TRUE(copies->isVisibleTo(&dialog));
        inspected = true;
        static_cast<QDialog&>(dialog).reject();
    });
    EXPECT_EQ(ShowPrintDialog(nullptr, QPageLayout::Landscape), std::nullopt);
    EXPECT_TRUE(inspected);
}

TEST_F(DialogsTest, EnterClicksAButtonAndTheWindowIsActiveAgainAfterItsDialogs) {
    // A window that is no dialog, as the main menu is, with a real message box and file dialog.
    messages.Uninstall();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* ask = new QPushButton(QStringLiteral("ask"), &window);
    auto* pick = new QPushButton(QStringLiteral("pick"), &window);
    layout->addWidget(ask);
    layout->addWidget(pick);
    int asked = 0;
    QObject::connect(ask, &QPushButton::clicked, [&] {
        ++asked;
        ShowMessage(ask, QStringLiteral("儲存成功"));
    });
    QString picked = QStringLiteral("none");
    QObject::connect(pick, &QPushButton::clicked,
                     [&] { picked = ShowFileDialog(pick, FileDialogRequest{}); });
    Activate(&window);

    QWidget* boxOwner = nullptr;
    WhenShown([&](QWidget& box) {
        boxOwner = box.parentWidget();
        QTest::keyClick(box.findChild<QPushButton*>(), Qt::Key_Return);
    });
    ask->setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(boxOwner, &window);
    ASSERT_TRUE(WaitActive(&window));
    EXPECT_EQ(Focus(), ask);

    WhenShown([](QWidget& dialog) { static_cast<QDialog&>(dialog).reject(); });
    pick->setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(picked, QString());
    ASSERT_TRUE(WaitActive(&window));
    EXPECT_EQ(Focus(), pick);

    // A held Enter clicks once, and Enter with Ctrl or Alt is no click.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(ask, &repeat);
    ask->setFocus();
    QTest::keyClick(ask, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(ask, Qt::Key_Enter, Qt::AltModifier);
    EXPECT_EQ(asked, 1);
}

}  // namespace
}  // namespace paysum
