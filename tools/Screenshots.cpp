// Renders the program's windows with sample data to PNG files, so that captions, fonts and
// columns can be looked at without a display.

#include "app/Form1.h"
#include "app/frmAbout.h"
#include "app/frmGuide.h"
#include "app/startup.h"
#include "batch/Form2.h"
#include "batch/Form8.h"
#include "batch/frmImport.h"
#include "common/Clock.h"
#include "common/SharedState.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/PayRunHistory.h"
#include "history/frmHistory.h"
#include "history/frmHistoryRun.h"
#include "output/BatchFile.h"
#include "output/Form3.h"
#include "output/Form7.h"
#include "output/frmVerify.h"
#include "platform/MessageBox.h"
#include "reference/Form5.h"
#include "reference/Form6.h"
#include "reference/Form9.h"
#include "staff/Form10.h"
#include "staff/Form4.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

using namespace paysum;

namespace {

void Fill(const QString& sql) {
    const TableDef* table = nullptr;
    for (const TableDef& def : Tables()) {
        if (sql.contains(QLatin1String(def.name)))
            table = &def;
    }
    const bool branch = table && table->file == DatabaseFile::Branch;
    if (DbResult error =
            Execute(Connection(branch ? BranchDatabasePath() : MainDatabasePath()), sql))
        std::fprintf(stderr, "%s\n", qPrintable(error->message));
}

void SampleData() {
    Fill(
        QStringLiteral("INSERT INTO S_BASE VALUES ('012','大安實業股份有限公司','045','12345678',"
                       "'主管                   會計                       ',"
                       "'出納                   製表','連  絡  人')"));
    Fill(QStringLiteral("INSERT INTO RTBANK VALUES ('0040129','大安','Veltra 大安分行')"));
    Fill(QStringLiteral("INSERT INTO RTBANK VALUES ('0040059','信義','Veltra 信義分行')"));
    Fill(QStringLiteral("INSERT INTO S_STAFF VALUES ('00001','004001012341','35000','王小明','')"));
    Fill(QStringLiteral(
        "INSERT INTO S_STAFF VALUES ('00002','123016456789','120500','陳美玲','00012345')"));
    Fill(QStringLiteral(
        "INSERT INTO S_ITEM VALUES ('00001','004001012341','35000','王小明','','獎金')"));
    Fill(QStringLiteral(
        "INSERT INTO S_ITEM VALUES ('00002','123016456789','120500','陳美玲','00012345','')"));
    Fill(QStringLiteral(
        "INSERT INTO S_ITEM VALUES ('90001','004001012341','8800','林志豪','','臨時工資')"));
    Fill(QStringLiteral("INSERT INTO S_DAY VALUES ('151207','151210')"));
    Fill(QStringLiteral(
        "INSERT INTO NNOO VALUES ('獎金','','年終獎金','','','','','','','加班費')"));
}

// Archives the sample batch with its batch file written, then two more batches without one, so
// that the history lists three runs.
void SampleHistory() {
    const QString path = QDir::tempPath() + QStringLiteral("/薪資轉帳-12月.txt");
    const QDate day(2026, 12, 10);
    SetToday(day);
    Batch batch;
    if (ReadBatch(&batch) ||
        WriteCurrentBatchFile(path, batch).outcome != BatchFileOutcome::Written)
        std::fprintf(stderr, "cannot write the sample batch file\n");
    QFile::remove(path);
    SetToday(std::nullopt);
    if (ArchiveAndClearBatch(QDateTime(day, QTime(9, 30))))
        std::fprintf(stderr, "cannot archive the sample batch\n");
    for (int run = 2; run <= 3; ++run) {
        Fill(QStringLiteral("INSERT INTO S_DAY VALUES ('15122%1','15123%1')").arg(run - 2));
        Fill(QStringLiteral(
            "INSERT INTO S_ITEM VALUES ('00001','004001012341','36000','王小明','','年終獎金')"));
        Fill(
            QStringLiteral("INSERT INTO S_ITEM VALUES "
                           "('00002','123016456789','120500','陳美玲','00012345','')"));
        if (ArchiveAndClearBatch(QDateTime(day.addDays(run * 7), QTime(17, 5))))
            std::fprintf(stderr, "cannot archive the sample batch\n");
    }
}

// A home folder with a desktop, a folder and an earlier backup, so that the file dialogs show
// their places and every column.
void SampleHome(const QString& home) {
    QDir().mkpath(home + QStringLiteral("/Desktop"));
    QDir().mkpath(home + QStringLiteral("/薪資轉帳"));
    QFile backup(home + QStringLiteral("/薪資備份-1151207.db"));
    if (backup.open(QIODevice::WriteOnly)) {
        backup.write(QByteArray("SQLite format 3", 16).leftJustified(20480, '\0'));
        backup.flush();
        backup.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(17, 30)),
                           QFileDevice::FileModificationTime);
    }
    qputenv("HOME", home.toUtf8());
}

void Save(QWidget* window, const QString& folder, const QString& name) {
    window->show();
    QApplication::processEvents();
    const QString path = folder + u'/' + name + QStringLiteral(".png");
    if (!window->grab().save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

// Grabs the dialog that `open` brings up (Qt's file or print dialog, which block) and closes it;
// `prepare` may change the dialog before the picture, e.g. open a part of it. Message boxes that
// come first are left to the message hook.
void SaveDialog(const QString& folder, const QString& name, const std::function<void()>& open,
                const std::function<void(QWidget&)>& prepare = {}) {
    auto grabWhenShown = std::make_shared<std::function<void()>>();
    const std::weak_ptr<std::function<void()>> again = grabWhenShown;
    *grabWhenShown = [=] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || qobject_cast<QMessageBox*>(dialog)) {
            if (const auto next = again.lock())
                QTimer::singleShot(20, *next);
            return;
        }
        // A file dialog lists its folder in the background.
        QElapsedTimer listing;
        listing.start();
        while (listing.elapsed() < 500) {
            QApplication::processEvents();
            QThread::msleep(20);
        }
        if (prepare)
            prepare(*dialog);
        Save(dialog, folder, name);
        dialog->reject();
    };
    QTimer::singleShot(0, *grabWhenShown);
    open();
}

void Trigger(QWidget* window, const char* action) {
    if (auto* found = window->findChild<QAction*>(QString::fromLatin1(action)))
        found->trigger();
    else
        std::fprintf(stderr, "no action %s\n", action);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);

    QTemporaryDir data;
    qputenv("PAYSUM_DATA_DIR", (data.path() + QStringLiteral("/data")).toUtf8());
    // The windows' remembered sizes stay in the temporary folder.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       data.path() + QStringLiteral("/settings"));
    SampleHome(data.path() + QStringLiteral("/clerk"));
    SetMessageHook([](QMessageBox& box) { return box.standardButton(box.defaultButton()); });
    if (!StartUp())
        return 1;
    SampleData();
    MainWindow()->Form_Activate();
    Save(MainWindow(), folder, QStringLiteral("Form1"));

    // Each further window: its name and how to make it with the sample data in place.
    const std::vector<std::pair<QString, std::function<QWidget*()>>> windows = {
        {QStringLiteral("frmAbout"), [] { return new frmAbout(MainWindow()); }},
        {QStringLiteral("frmGuide"), [] { return new frmGuide(GuidePage(), MainWindow()); }},
        // Further down the guide, at a picture of a window.
        {QStringLiteral("frmGuide-company"),
         [] {
             auto* guide = new frmGuide(GuidePage(), MainWindow());
             guide->show();
             QApplication::processEvents();
             guide->findChild<QTextBrowser*>(QStringLiteral("WebBrowser1"))
                 ->scrollToAnchor(QStringLiteral("company"));
             return guide;
         }},
        {QStringLiteral("Form3"), [] { return new Form3(MainWindow()); }},
        {QStringLiteral("Form7"), [] { return new Form7(MainWindow()); }},
        // The list as its printed pages.
        {QStringLiteral("Form7-pages"),
         [] {
             auto* report = new Form7(MainWindow());
             report->findChild<QTabWidget*>(QStringLiteral("Views"))->setCurrentIndex(1);
             return report;
         }},
        {QStringLiteral("Form5"), [] { return new Form5(MainWindow()); }},
        {QStringLiteral("Form6"), [] { return new Form6(MainWindow()); }},
        {QStringLiteral("Form9"),
         [] {
             // As the company window opens it: only the codes of bank 004.
             LookupCaller = 5;
             auto* lookup = new Form9(MainWindow());
             LookupCaller = 0;
             return lookup;
         }},
        {QStringLiteral("Form4"), [] { return new Form4(MainWindow()); }},
        {QStringLiteral("Form2"), [] { return new Form2(MainWindow()); }},
        {QStringLiteral("Form2-add"),
         [] {
             auto* window = new Form2(MainWindow());
             window->Command1_Click(MaintenanceWindow::kAdd);
             return window;
         }},
        {QStringLiteral("Form2-dates"),
         [] {
             auto* window = new Form2(MainWindow());
             window->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(1);
             return window;
         }},
        // Change mode after Tab from the code box: the amount box keeps the batch's 35000, while
        // the master holds another pay for the payee for the time of the picture.
        {QStringLiteral("Form2-change"),
         [] {
             Fill(QStringLiteral("UPDATE S_STAFF SET PAYSUM='42000' WHERE ID='00001'"));
             auto* window = new Form2(MainWindow());
             window->show();
             window->activateWindow();
             QApplication::setActiveWindow(window);
             QApplication::processEvents();
             window->Command1_Click(MaintenanceWindow::kChange);
             QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
             QApplication::sendEvent(QApplication::focusWidget(), &tab);
             Fill(QStringLiteral("UPDATE S_STAFF SET PAYSUM='35000' WHERE ID='00001'"));
             return window;
         }},
        // Grown to a wide screen: the grid takes the room, the boxes and buttons stay.
        {QStringLiteral("Form2-grown"),
         [] {
             auto* window = new Form2(MainWindow());
             window->show();
             window->resize(1600, 900);
             return window;
         }},
        {QStringLiteral("Form10"), [] { return new Form10(MainWindow()); }},
        {QStringLiteral("Form8"), [] { return new Form8(MainWindow()); }},
        {QStringLiteral("frmImport-errors"),
         [] {
             // A transfer sheet with a row of each common mistake beside good ones.
             const QByteArray sheet =
                 "\xEF\xBB\xBF員工代碼,員工帳號,轉帳金額,員工姓名,存單號碼,備註\r\n"
                 "1,004001012341,35000,王小明,,\"獎金,三月\"\r\n"
                 "3,123456789015,36000,李大華,,\r\n"
                 "4,201016000011,37000,張三,,\r\n"
                 "5,123456789014,3萬,林小美,,\r\n"
                 "6,102000000012,,陳大文,,\r\n"
                 ",102000000029,8800,臨時工,,臨時工資\r\n"
                 "0,102000000037,100,周杰,,\r\n"
                 "7,456000000057,42000,吳宗憲,,\r\n"
                 "7,300000000041,43000,鄭成功,,\r\n";
             return new frmImport(ImportKind::Transfers, QStringLiteral("/home/clerk/三月薪資.csv"),
                                  PrepareImport(sheet, ImportKind::Transfers), MainWindow());
         }},
        {QStringLiteral("frmVerify"),
         [] {
             const QString path = QDir::tempPath() + QStringLiteral("/paysum-verify.txt");
             QFile file(path);
             if (file.open(QIODevice::WriteOnly))
                 file.write(
                     "151207"
                     "151210"
                     "012"
                     "12345678"
                     "045"
                     "00000000000000"
                     "000000164300"
                     "0003"
                     "   9\r\n"
                     "   00004001012341000000035000                              9\r\n"
                     "   00123016456789000000120500"
                     "00012345"
                     "                      9\n"
                     "   00004001012341000000008800                              9\r\n");
             file.close();
             auto* window =
                 new frmVerify(path, VerifyFile(path, CompareBatch::WhenAny), MainWindow());
             QFile::remove(path);
             return window;
         }},
        {QStringLiteral("Form4-change"),
         [] {
             auto* window = new Form4(MainWindow());
             window->Command1_Click(MaintenanceWindow::kChange);
             return window;
         }},
        // Part of a name typed in the query, and in the lookup.
        {QStringLiteral("Form4-query-name"),
         [] {
             auto* window = new Form4(MainWindow());
             window->Command1_Click(MaintenanceWindow::kQuery);
             window->findChild<QLineEdit*>(QStringLiteral("Text1"))
                 ->setText(QStringLiteral("美玲"));
             return window;
         }},
        {QStringLiteral("Form10-name"),
         [] {
             auto* window = new Form10(MainWindow());
             window->findChild<QLineEdit*>(QStringLiteral("Text1_0"))
                 ->setText(QStringLiteral("陳"));
             return window;
         }},
        // Just after a newcomer was stored: add mode again, the grid on the new row.
        {QStringLiteral("Form4-added"),
         [] {
             auto* window = new Form4(MainWindow());
             window->Command1_Click(MaintenanceWindow::kAdd);
             const std::pair<const char*, const char*> entry[] = {{"Text1", "00003"},
                                                                  {"Text2", "004001012341"},
                                                                  {"Text4", "42000"},
                                                                  {"Text5", "林志豪"}};
             for (const auto& [box, text] : entry)
                 window->findChild<QLineEdit*>(QLatin1String(box))
                     ->setText(QString::fromUtf8(text));
             window->Command2_Click(0);
             return window;
         }},
    };
    for (const auto& [name, make] : windows) {
        std::unique_ptr<QWidget> window(make());
        Save(window.get(), folder, name);
    }

    // Qt's own dialogs as the program opens them, in Chinese from Qt's catalogue.
    SaveDialog(folder, QStringLiteral("dialog-backup-save"),
               [] { Trigger(MainWindow(), "mnuSaveOut"); });
    SetMessageHook([&](QMessageBox& box) {
        Save(&box, folder, QStringLiteral("dialog-restore-question"));
        return QMessageBox::Yes;
    });
    SaveDialog(folder, QStringLiteral("dialog-restore-open"),
               [] { Trigger(MainWindow(), "mnuSaveIn"); });
    SetMessageHook([](QMessageBox& box) { return box.standardButton(box.defaultButton()); });
    {
        std::unique_ptr<QWidget> report(new Form7(MainWindow()));
        report->show();
        SaveDialog(
            folder, QStringLiteral("dialog-print"), [&] { Trigger(report.get(), "mnuPrint"); },
            [&](QWidget& dialog) {
                // A clerk's file name rather than the sample home's temporary path.
                if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("filename")))
                    name->setText(QStringLiteral("/home/clerk/薪資轉帳明細.pdf"));
                // The options part, where a page range would be, with its second tab on its own.
                for (auto* button : dialog.findChildren<QPushButton*>()) {
                    if (button->text().contains(QStringLiteral(">>")))
                        button->click();
                }
                QApplication::processEvents();
                dialog.adjustSize();
                if (auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("tabs"))) {
                    tabs->setCurrentIndex(1);
                    Save(&dialog, folder, QStringLiteral("dialog-print-options"));
                    tabs->setCurrentIndex(0);
                }
            });
    }

    // The question the batch file window asks when the batch has something that looks wrong.
    {
        SetMessageHook([&](QMessageBox& box) {
            if (box.text().startsWith(QStringLiteral("本批薪資轉帳資料有下列情形")))
                Save(&box, folder, QStringLiteral("Form3-warnings"));
            return QMessageBox::No;
        });
        Form3 window(MainWindow());
        window.show();
        window.Command2_Click(0);
        SetMessageHook([](QMessageBox& box) { return box.standardButton(box.defaultButton()); });
    }

    // The history last, since archiving empties the batch the other windows show.
    SampleHistory();
    {
        std::unique_ptr<QWidget> history(new frmHistory(MainWindow()));
        Save(history.get(), folder, QStringLiteral("frmHistory"));
        PayRun run;
        if (ReadPayRun(1, &run))
            std::fprintf(stderr, "cannot read the sample run\n");
        std::unique_ptr<QWidget> runWindow(new frmHistoryRun(run, MainWindow()));
        Save(runWindow.get(), folder, QStringLiteral("frmHistoryRun"));
    }
    ShutDown();
    return 0;
}
