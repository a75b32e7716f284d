#include "support/PaysumTest.h"

#include "app/startup.h"
#include "platform/FileDialog.h"
#include "platform/FontDialog.h"
#include "platform/Modal.h"
#include "platform/PrintDialog.h"
#include "platform/Printer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QWidget>

namespace paysum::test {

void PaysumTest::SetUp() {
    CoreTest::SetUp();
    // The windows remember their sizes in settings of the test's own, so that the user's are
    // left alone and a size remembered in one test does not open another test's window.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QFileInfo(DataDir()).path() + QStringLiteral("/settings"));
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
}

void PaysumTest::TearDown() {
    ShutDown();
    // Deleting one window may delete others of the list (its menus), so each is checked first.
    QList<QPointer<QWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        windows << widget;
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
    messages.Uninstall();
    SetModalHook(nullptr);
    SetFileDialogHook(nullptr);
    SetPrinterHook(nullptr);
    SetPrintDialogHook(nullptr);
    SetFontDialogHook(nullptr);
    CoreTest::TearDown();
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
