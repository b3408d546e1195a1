// Writes a PNG of every window of Dilmora, and of every page of the paged
// windows, into a folder:  dilmora-screenshots <folder>
// It runs on Qt's offscreen platform unless another one is chosen.
#include "about/about_window.h"
#include "app/main_window.h"
#include "app/program.h"
#include "reference/irregular_verbs_table.h"
#include "reference/irregular_verbs_window.h"
#include "reference/numbers_window.h"
#include "reference/particles_table.h"
#include "reference/particles_window.h"
#include "reference/phrasal_verbs_table.h"
#include "reference/phrasal_verbs_window.h"
#include "runtime/look.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

#include <cstdio>

using namespace dilmora;

namespace {

bool save(runtime::Form& form, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!form.window()->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

template <std::size_t N>
bool savePages(std::unique_ptr<runtime::Form> form, const reference::ContentTable<N>& table,
               const QDir& folder, const QString& name)
{
    bool ok = form->load() == runtime::Status::Ok;
    for (int page = 1; ok && page <= table.pageCount(); ++page) {
        reference::showPage(*form, table, page);
        ok = save(*form, folder, QStringLiteral("%1-page%2").arg(name).arg(page));
    }
    return ok;
}

bool saveWindow(std::unique_ptr<runtime::Form> form, const QDir& folder, const QString& name)
{
    return form->load() == runtime::Status::Ok && save(*form, folder, name);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    app::configureProgram();
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }

    app::MainWindow mainWindow;
    bool ok = mainWindow.form().load() == runtime::Status::Ok
              && save(mainWindow.form(), folder, QStringLiteral("main-window"));
    ok = ok
         && savePages(reference::createIrregularVerbsWindow(), reference::kIrregularVerbs, folder,
                      QStringLiteral("irregular-verbs"));
    ok = ok
         && savePages(reference::createPhrasalVerbsWindow(), reference::kPhrasalVerbs, folder,
                      QStringLiteral("phrasal-verbs"));
    ok = ok
         && savePages(reference::createParticlesWindow(), reference::kParticles, folder,
                      QStringLiteral("particles"));
    ok = ok && saveWindow(reference::createNumbersWindow(), folder, QStringLiteral("numbers"));
    ok = ok && saveWindow(about::createAboutWindow(), folder, QStringLiteral("about"));
    return ok ? 0 : 1;
}
