#include "support/PaysumTest.h"

#include "app/startup.h"
#include "common/Clock.h"
#include "common/SharedState.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "platform/FileDialog.h"
#include "platform/FontDialog.h"
#include "platform/Modal.h"
#include "platform/PrintDialog.h"
#include "platform/Printer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QWidget>

namespace paysum::test {

namespace {

QString FileOf(const QString& table) {
    const TableDef* def = FindTable(table);
    return DatabasePath(def && def->file == DatabaseFile::Branch ? DatabaseFile::Branch
                                                                 : DatabaseFile::Main);
}

}  // namespace

void PaysumTest::SetUp() {
    ASSERT_TRUE(temp_.isValid());
    qputenv("PAYSUM_DATA_DIR", DataDir().toUtf8());
    messages.Install();
    SetModalHook([this](QDialog& dialog) {
        modalsShown << dialog.objectName();
        if (modalDrivers_.empty())
            return;
        const auto driver = std::move(modalDrivers_.front());
        modalDrivers_.pop_front();
        Activate(&dialog);
        driver(dialog);
    });
    SetFileDialogHook([this](const FileDialogRequest& request) {
        fileDialogs.push_back(request);
        if (fileAnswers_.empty())
            return QString();
        const QString answer = fileAnswers_.front();
        fileAnswers_.pop_front();
        return answer;
    });
    SetToday(std::nullopt);
    LookupCaller = 0;
    LookupResult = QStringLiteral("0");
    ReportOrder = 0;
}

void PaysumTest::TearDown() {
    ShutDown();
    // Deleting one window may delete others of the list (its menus), so each is checked first.
    QList<QPointer<QWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        windows << widget;
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
    CloseAllConnections();
    messages.Uninstall();
    SetModalHook(nullptr);
    SetFileDialogHook(nullptr);
    SetPrinterHook(nullptr);
    SetPrintDialogHook(nullptr);
    SetFontDialogHook(nullptr);
    SetToday(std::nullopt);
    qunsetenv("PAYSUM_DATA_DIR");
}

QString PaysumTest::DataDir() const {
    return temp_.path() + QStringLiteral("/data");
}

void PaysumTest::CreateDatabases() {
    ASSERT_FALSE(CreateDataFolder(DataDir()).has_value());
}

namespace {

DbResult InsertInto(const QSqlDatabase& db, const QString& table, const QStringList& values) {
    const TableDef* def = FindTable(table);
    QStringList columns;
    QStringList marks;
    QVariantList bound;
    for (qsizetype i = 0; i < values.size(); ++i) {
        columns << QLatin1String(def->columns[i].name);
        marks << QStringLiteral("?");
        bound << (values[i].isNull() ? QStringLiteral("") : values[i]);
    }
    return Execute(db,
                   QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(table, columns.join(u','), marks.join(u',')),
                   bound);
}

}  // namespace

void PaysumTest::InsertRow(const QString& table, const QStringList& values) {
    ASSERT_NE(FindTable(table), nullptr);
    const DbResult error = InsertInto(Connection(FileOf(table)), table, values);
    ASSERT_FALSE(error.has_value()) << error->message.toStdString();
}

void PaysumTest::InsertStaffUpTo(int last,
                                 const std::function<QStringList(const QString& code)>& row) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    Transaction transaction(db);
    ASSERT_FALSE(transaction.BeginError());
    for (int code = 1; code <= last; ++code) {
        const DbResult error =
            InsertInto(db, QStringLiteral("S_STAFF"), row(QString::asprintf("%05d", code)));
        ASSERT_FALSE(error.has_value()) << error->message.toStdString();
    }
    ASSERT_FALSE(transaction.Commit());
}

QList<QStringList> PaysumTest::Rows(const QString& table) {
    QList<QStringList> rows;
    QSqlQuery query(Connection(FileOf(table)));
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table)));
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i).toString();
        rows << row;
    }
    return rows;
}

void PaysumTest::Activate(QWidget* window) {
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

bool PaysumTest::WaitActive(QWidget* window) {
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 1000);
}

QWidget* PaysumTest::Focus() {
    return QApplication::focusWidget();
}

void PaysumTest::Key(Qt::Key key) {
    ASSERT_NE(Focus(), nullptr) << "no box has the focus";
    QTest::keyClick(Focus(), key);
}

void PaysumTest::Type(const QString& text) {
    ASSERT_NE(Focus(), nullptr) << "no box has the focus";
    auto* line = qobject_cast<QLineEdit*>(Focus());
    if (auto* combo = qobject_cast<QComboBox*>(Focus()))
        line = combo->lineEdit();
    if (line)
        line->selectAll();
    if (line && QString::fromLatin1(text.toLatin1()) != text)
        line->insert(text);
    else
        QTest::keyClicks(Focus(), text);
}

QString PaysumTest::Enabled(QWidget* window, const QString& pattern, int first, int last) {
    QString states;
    for (int i = first; i <= last; ++i)
        states += Find<QAbstractButton>(window, pattern.arg(i))->isEnabled() ? u'1' : u'0';
    return states;
}

void PaysumTest::OnNextModal(std::function<void(QDialog&)> driver) {
    modalDrivers_.push_back(std::move(driver));
}

void PaysumTest::AnswerFileDialog(const QString& path) {
    fileAnswers_.push_back(path);
}

}  // namespace paysum::test
