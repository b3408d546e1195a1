// Start-up of the forms runtime.
#include "runtime/application.h"

#include "runtime/form.h"

#include <QApplication>

namespace dilmora::runtime {

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
