#include "app/startup.h"

#include "app/Form1.h"
#include "app/ProgramPicture.h"
#include "app/QtTranslations.h"
#include "app/RunningCopy.h"
#include "common/InstanceLock.h"
#include "common/Version.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/FileReplacement.h"
#include "platform/EnterOnButtons.h"
#include "platform/MessageBox.h"
#include "print/Fonts.h"

#include <QApplication>
#include <QDir>
#include <QPointer>

#include <memory>

namespace paysum {

namespace {

struct Running {
    std::unique_ptr<InstanceLock> lock;
    std::unique_ptr<RunningCopy> channel;
    QPointer<Form1> mainWindow;
};

Running& State() {
    static Running state;
    return state;
}

// A command run from the command line holds the data folder; a second copy of the windows brings
// the first forward instead.
const QString kCommandRunning =
    QStringLiteral("另一個 PAYSUM 命令正在使用這個資料夾，請等它結束後再開啟程式");

// Brings the running program forward: its main window, and the window open over it.
void BringForward() {
    QWidget* windows[] = {MainWindow(), QApplication::activeModalWidget()};
    for (QWidget* window : windows) {
        if (!window || !window->isVisible())
            continue;
        if (window->isMinimized())
            window->showNormal();
        window->raise();
        window->activateWindow();
    }
}

}  // namespace

void IdentifyApplication() {
    if (QCoreApplication::applicationName() != QLatin1String(kAppTitle))
        QCoreApplication::setApplicationName(QString::fromLatin1(kAppTitle));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kVersion));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kAppId));
    QApplication::setWindowIcon(ProgramIcon());
}

bool StartUp() {
    IdentifyApplication();
    InstallQtTranslations();
    // Qt's dialogs draw Chinese in the Traditional forms in every locale, not with whichever CJK
    // font the system's language picks first.
    QApplication::setFont(UiFont());
    InstallEnterOnButtons();

    // A folder that does not exist yet, or exists and is empty, is a new installation.
    const QString folder = DataFolderPath();
    const QDir dir(folder);
    const bool empty = dir.exists() && dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                   QDir::Hidden | QDir::System);
    if ((!dir.exists() || empty) && CreateDataFolder(folder)) {
        ShowMessage(nullptr, QStringLiteral("資料庫開啟出錯"), MsgButtons::Ok, MsgIcon::None,
                    QStringLiteral("程式即將關閉  !!"));
        return false;
    }

    TightenDataFolder(folder);

    Running& state = State();
    auto lock = std::make_unique<InstanceLock>(folder, InstanceLock::Holder::Windows);
    switch (lock->TryLock()) {
        case InstanceLock::Outcome::HeldByOther:
            (void)RunningCopy::AskToRaise(folder);
            return false;
        case InstanceLock::Outcome::HeldByCommand:
            ShowMessage(nullptr, kCommandRunning, MsgButtons::Ok, MsgIcon::Critical,
                        QStringLiteral("整批PAYSUM"));
            return false;
        case InstanceLock::Outcome::CannotWrite:
            ShowReadOnlyDatabase(nullptr, MainDatabasePath());
            return false;
        case InstanceLock::Outcome::Locked:
            break;
    }
    state.lock = std::move(lock);
    // A second start on this folder brings this copy forward, from the first message on.
    state.channel = std::make_unique<RunningCopy>();
    (void)state.channel->Listen(folder, BringForward);
    // Only the copy holding the lock may clear away what an interrupted write left.
    RemoveDataFolderLeftovers(folder);

    // The window appears only on databases that opened.
    auto* window = new Form1;
    state.mainWindow = window;
    if (!window->Form_Load()) {
        ShutDown();
        return false;
    }
    window->show();
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, [] { ShutDown(); });
    window->Form_Activate();
    return true;
}

void ShutDown() {
    Running& state = State();
    if (state.mainWindow) {
        state.mainWindow->Reloading = true;  // closing for good here must not quit again
        delete state.mainWindow.data();
    }
    CloseAllConnections();
    state.channel.reset();
    state.lock.reset();
}

Form1* MainWindow() {
    return State().mainWindow.data();
}

}  // namespace paysum
