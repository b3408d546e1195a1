// Start-up of the forms runtime.
#include "runtime/application.h"

#include "runtime/form.h"
#include "runtime/look.h"
#include "runtime/status.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>

namespace dilmora::runtime {

namespace {

/// The largest image of the icon file that a window takes. Docks and app grids
/// show the larger sizes from the icon theme or the executable's own icon.
constexpr int kLargestWindowIcon = 48;

/// The images of an icon file that a window takes, in file order. Qt's icon
/// reader decodes a 256-pixel image stored as PNG by asking every image format
/// plugin installed whether it can read it, loading them all; the directory
/// entry gives the size without decoding.
QIcon readWindowIcon(const QString& file)
{
    QIcon icon;
    QImageReader reader(file, "ico");
    reader.setAutoDetectImageFormat(false);
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (reader.jumpToImage(i) && reader.size().width() <= kLargestWindowIcon)
            icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
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
