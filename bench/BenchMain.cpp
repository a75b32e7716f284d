// The main of every benchmark: a QApplication on the offscreen platform and a fresh data folder
// of a new installation, as the program would have on its first start, and the program's own
// memory settings.

#include "common/Memory.h"
#include "data/DataFolder.h"
#include "data/Database.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    paysum::KeepFreedMemoryForReuse();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir data;
    const QString folder = data.path() + QStringLiteral("/data");
    qputenv("PAYSUM_DATA_DIR", folder.toUtf8());
    // The windows' remembered sizes go to the temporary folder, not to the user's settings.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, data.path());
    if (paysum::CreateDataFolder(folder))
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    paysum::CloseAllConnections();
    return 0;
}
