// Start-up of the forms runtime.
#include "runtime/application.h"

#include "runtime/form.h"
#include "runtime/look.h"
#include "runtime/status.h"

#include <QApplication>
#include <QIcon>

namespace dilmora::runtime {

void setProgramIdentity(const ProgramIdentity& identity)
{
    setErrorTitle(toQString(identity.name));
    // Windows without an icon of their own carry the application's.
    QApplication::setWindowIcon(QIcon(toQString(identity.iconResource)));
    QGuiApplication::setDesktopFileName(toQString(identity.desktopId));
}

int run(Form& startup)
{
    QApplication::setQuitOnLastWindowClosed(true);
    runHandler([&] {
        check(startup.show(Modality::Modeless), startup.name(), Interface::Form, Operation::Show);
    });
    if (!startup.isLoaded())
        return 1;
    return QApplication::exec();
}

} // namespace dilmora::runtime
