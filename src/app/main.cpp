#include <QApplication>

#include "app/ProgramServices.h"
#include "windows/main_window/frmSetup.h"
#include "settings/PathChecks.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString programFolder = quorvant::ProgramFolder();
    quorvant::ProgramServices services(programFolder);
    quorvant::frmSetup window(programFolder, services.Get());
    window.show();
    return app.exec();
}
