// Dilmora: an English reference for Turkish speakers.
#include "app/main_window.h"
#include "app/program.h"
#include "runtime/application.h"
#include "runtime/platform.h"

#include <QApplication>

int main(int, char** argv)
{
    dilmora::runtime::platform::prepareProcess();
    // The program takes no command line: Qt sees the program's name alone,
    // so no option of Qt's can load a file or change the look.
    static int argumentCount = 1;
    static char* arguments[] = {argv[0], nullptr};
    QApplication application(argumentCount, arguments);
    dilmora::app::configureProgram();
    dilmora::app::MainWindow mainWindow;
    const int status = dilmora::runtime::run(mainWindow.form());
    dilmora::runtime::platform::boundTeardown(status);
    return status;
}
