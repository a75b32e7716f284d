#include "app/Form1.h"
#include "app/startup.h"
#include "data/DataFolder.h"
#include "platform/InstanceLock.h"
#include "support/PaysumTest.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLockFile>

#include <sys/stat.h>

namespace paysum {
namespace {

class StartUpTest : public test::PaysumTest {
protected:
    static QByteArray Hash(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }

    void ExpectEndedWith(const QString& text, const QString& title, QMessageBox::Icon icon) {
        EXPECT_EQ(MainWindow(), nullptr);
        ASSERT_GE(messages.Count(), 1u);
        EXPECT_EQ(messages.Last().text, text);
        EXPECT_EQ(messages.Last().title, title);
        EXPECT_EQ(messages.Last().icon, icon);
        EXPECT_EQ(messages.Last().buttons, QMessageBox::Ok);
    }
};

TEST_F(StartUpTest, FirstRunCreatesTheDataFolderAndShowsTheMainMenu) {
    ASSERT_TRUE(StartUp());
    EXPECT_TRUE(QFile::exists(MainDatabasePath()));
    EXPECT_TRUE(QFile::exists(BranchDatabasePath()));
    ASSERT_NE(MainWindow(), nullptr);
    EXPECT_TRUE(MainWindow()->isVisible());
    ASSERT_EQ(messages.Count(), 1u);
    EXPECT_EQ(messages.Last().text, QStringLiteral("無基本資料，請先建檔。"));
    EXPECT_EQ(messages.Last().title, QStringLiteral("PAYSUM"));
    EXPECT_EQ(messages.Last().icon, QMessageBox::NoIcon);
    EXPECT_EQ(messages.Last().buttons, QMessageBox::Ok);
}

TEST_F(StartUpTest, MissingMainDatabaseEndsWithoutCreatingOne) {
    CreateDatabases();
    ASSERT_TRUE(QFile::remove(MainDatabasePath()));
    EXPECT_FALSE(StartUp());
    ExpectEndedWith(QStringLiteral("找不到資料庫,資料遺失\r\n") + MainDatabasePath(),
                    QStringLiteral("整批PAYSUM"), QMessageBox::Critical);
    EXPECT_FALSE(QFile::exists(MainDatabasePath()));
}

TEST_F(StartUpTest, ReadOnlyDatabaseIsMadeWritableAndNothingElseIsWritten) {
    CreateDatabases();
    InsertRow(QStringLiteral("S_BASE"), {QStringLiteral("012"), QStringLiteral("公司")});
    ASSERT_EQ(::chmod(QFile::encodeName(MainDatabasePath()).constData(), 0444), 0);
    const QByteArray before = Hash(MainDatabasePath());

    ASSERT_TRUE(StartUp());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(MainDatabasePath()).constData(), &info), 0);
    EXPECT_TRUE(info.st_mode & S_IWUSR);
    ShutDown();
    EXPECT_EQ(Hash(MainDatabasePath()), before);
}

TEST_F(StartUpTest, FilesThatAreNotDatabasesEndTheProgram) {
    CreateDatabases();
    ASSERT_TRUE(QFile::remove(MainDatabasePath()));
    QFile text(MainDatabasePath());
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a database, just some text\n");
    text.close();
    EXPECT_FALSE(StartUp());
    ExpectEndedWith(QStringLiteral("資料庫開啟出錯"), QStringLiteral("程式即將關閉  !!"),
                    QMessageBox::NoIcon);
    EXPECT_EQ(QFile(MainDatabasePath()).size(), 31);

    // A folder in place of the file.
    messages.Clear();
    ASSERT_TRUE(QFile::remove(MainDatabasePath()));
    ASSERT_TRUE(QDir().mkdir(MainDatabasePath()));
    EXPECT_FALSE(StartUp());
    ExpectEndedWith(QStringLiteral("資料庫開啟出錯"), QStringLiteral("程式即將關閉  !!"),
                    QMessageBox::NoIcon);
}

TEST_F(StartUpTest, DatabaseWithoutItsTablesEndsTheProgram) {
    CreateDatabases();
    ASSERT_TRUE(QFile::remove(MainDatabasePath()));
    ASSERT_TRUE(QFile::copy(BranchDatabasePath(), MainDatabasePath()));
    EXPECT_FALSE(StartUp());
    ExpectEndedWith(QStringLiteral("資料庫開啟出錯"), QStringLiteral("程式即將關閉  !!"),
                    QMessageBox::NoIcon);
}

TEST_F(StartUpTest, SecondInstanceEndsSilently) {
    CreateDatabases();
    QLockFile other(InstanceLock::LockFilePath(DataDir()));
    ASSERT_TRUE(other.tryLock(0));
    EXPECT_FALSE(StartUp());
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(MainWindow(), nullptr);

    // Once the other copy has ended, the program starts.
    other.unlock();
    EXPECT_TRUE(StartUp());
}

}  // namespace
}  // namespace paysum
