// Start-up of the forms runtime.
#include "runtime/application.h"

#include "runtime/dib.h"
#include "runtime/form.h"
#include "runtime/look.h"
#include "runtime/status.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QPixmap>

namespace dilmora::runtime {

namespace {

/// The largest image of the icon file that a window takes. Docks and app grids
/// show the larger sizes from the icon theme or the executable's own icon.
constexpr int kLargestWindowIcon = 48;

/// The 32-bit images of an icon file that a window takes. (Where an icon
/// file holds a size at 8 and at 32 bits, QIcon shows the one added last,
/// which is the 32-bit one.)
QIcon readWindowIcon(const QString& path)
{
    QFile file(path);
    QIcon icon;
    if (!file.open(QIODevice::ReadOnly))
        return icon;
    for (const QImage& image : readIconImages(file.readAll(), kLargestWindowIcon))
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

} // namespace

void setProgramIdentity(const ProgramIdentity& identity)
{
    setErrorTitle(toQString(identity.name));
    // Windows without an icon of their own carry the application's.
    QApplication::setWindowIcon(readWindowIcon(toQString(identity.iconResource)));
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
