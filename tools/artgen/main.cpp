// dilmora-artgen: draws Dilmora's pictures and icon and writes them into the source tree.
//
// It makes the main window's three lines of lettering (app/assets/welcome.bmp,
// students.bmp, programmer.bmp), the About window's picture (about/assets/portrait.bmp),
// each of them also drawn twice as fine for screens of device pixel ratio 2
// (welcome@2x.bmp, ...), the application icon (app/assets/dilmora.ico: 16, 32 and 48
// pixels at 8 and 32 bits, then 256 pixels as PNG), the icon's images as PNG files for
// packaging (packaging/icons/dilmora-NN.png, 16 to 256 pixels) and the icon as SVG
// (packaging/icons/dilmora.svg). Every file is read back and checked; any failed check
// ends the run with status 1.
//
// Run it from the repository root and commit what it writes, either from the project's
// build (target dilmora-artgen) or from a build of this directory alone:
//   cmake -S tools/artgen -B build-artgen -G Ninja && cmake --build build-artgen
//   build-artgen/dilmora-artgen .
//
// The fonts come from Debian's fonts-liberation and fonts-dejavu-core packages, loaded by
// file name, and the text is drawn from outlines, so the same sources give the same bytes.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>

#include <cstdio>
#include <vector>

#include "bitmap_files.h"
#include "checks.h"
#include "drawings.h"
#include "icon_svg.h"
#include "lettering.h"

using namespace dilmora::artgen;

namespace {

struct FontFile {
    const char* path;
    QFont::Weight weight;
    QFont::Style style;
};

constexpr FontFile kLetteringFont{
    "/usr/share/fonts/truetype/liberation/LiberationSerif-BoldItalic.ttf", QFont::Bold,
    QFont::StyleItalic};
constexpr FontFile kBookFont{"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", QFont::Bold,
                             QFont::StyleNormal};

struct LetteringPicture {
    const char* path;
    QSize size;
    const char* text;
};

// The main window's pictures, from top to bottom; the greeting comes from
// packaging/identity.cmake.
const LetteringPicture kLetteringPictures[] = {
    {"app/assets/welcome.bmp", {303, 30}, DILMORA_GREETING},
    {"app/assets/students.bmp", {364, 23}, "This program is made for English students"},
    {"app/assets/programmer.bmp", {204, 23}, "Programmer: Ece Kaya"},
};
constexpr ShareRange kLetteringShare{0.70, 0.725, 0.75};

const char* const kPortraitPath = "about/assets/portrait.bmp";
constexpr QSize kPortraitSize{82, 78};
constexpr ShareRange kPortraitShare{0.57, 0.60, 0.63};

// Each picture is also drawn at this scale, into a PNG named as the program looks for it:
// "welcome.bmp" beside "welcome@2x.bmp".
constexpr int kFineScale = 2;
// How far a fine picture's background share may lie below and above its bitmap's range:
// finer pixels leave fewer partly covered ones at the edges of the ink.
constexpr double kFineShareBelow = 0.03;
constexpr double kFineShareAbove = 0.05;

const char* const kIconPath = "app/assets/dilmora.ico";
// The icon's sizes: the small ones stored in the .ico at 8 and 32 bits, the large one as
// PNG after them; every size also as a PNG for the icon theme.
const int kSmallIconSizes[] = {16, 32, 48};
constexpr int kLargeIconSize = 256;
const int kThemeIconSizes[] = {16, 32, 48, 64, 128, 256};
const char* const kScalableIconPath = "packaging/icons/dilmora.svg";

// Loads a font file and returns a font that is sure to use it.
QFont loadFont(const FontFile& file, QString* problem)
{
    const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(file.path));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty()) {
        *problem = QStringLiteral("cannot load the font %1").arg(file.path);
        return {};
    }
    QFont font(families.first());
    font.setWeight(file.weight);
    font.setStyle(file.style);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontInfo info(font);
    if (info.family() != families.first() || info.weight() != file.weight
        || info.style() != file.style)
        *problem = QStringLiteral("the font %1 is not the face that was asked for").arg(file.path);
    return font;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* problem)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(bytes) != bytes.size()) {
        *problem = QStringLiteral("cannot write it: %1").arg(file.errorString());
        return false;
    }
    return true;
}

QString finePath(const char* bitmapPath)
{
    QString path = QString::fromUtf8(bitmapPath);
    path.replace(QStringLiteral(".bmp"), QStringLiteral("@%1x.bmp").arg(kFineScale));
    return path;
}

ShareRange fineShare(ShareRange share)
{
    return {share.low - kFineShareBelow, share.target, share.high + kFineShareAbove};
}

// Writes a picture drawn at kFineScale and checks it; returns what is wrong, or nothing.
QString writeFinePicture(const QDir& root, const char* bitmapPath, const QImage& image, QSize size,
                         ShareRange share)
{
    const QString name = finePath(bitmapPath);
    const QString path = root.filePath(name);
    QString problem;
    if (!writeFile(path, encodeBmp24(image), &problem))
        return problem;
    checkBmpFile(path, size * kFineScale, fineShare(share), &problem);
    if (problem.isEmpty())
        std::printf("%s: %d x %d, background %.2f %%\n", qPrintable(name), image.width(),
                    image.height(), backgroundShare(image) * 100);
    return problem;
}

int fail(const QString& what, const QString& problem)
{
    std::fprintf(stderr, "dilmora-artgen: %s: %s\n", qPrintable(what), qPrintable(problem));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    const QStringList arguments = application.arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: dilmora-artgen <repository root>\n");
        return 2;
    }
    const QDir root(arguments.at(1));
    if (!root.exists())
        return fail(arguments.at(1), QStringLiteral("no such directory"));

    QString problem;
    const QFont letteringFace = loadFont(kLetteringFont, &problem);
    if (!problem.isEmpty())
        return fail(QStringLiteral("fonts"), problem);
    const QFont bookFace = loadFont(kBookFont, &problem);
    if (!problem.isEmpty())
        return fail(QStringLiteral("fonts"), problem);

    // The four BMP pictures, each written, read back and checked.
    QList<QImage> pictures;
    for (const LetteringPicture& picture : kLetteringPictures) {
        const QString text = QString::fromUtf8(picture.text);
        const std::optional<Lettering> lettering =
            fitLettering(text, letteringFace, picture.size, kLetteringShare);
        if (!lettering)
            return fail(QString::fromUtf8(picture.path),
                        QStringLiteral("no letter size gives the background share"));
        const QString path = root.filePath(QString::fromUtf8(picture.path));
        if (!writeFile(path, encodeBmp24(lettering->image), &problem))
            return fail(path, problem);
        pictures.append(checkBmpFile(path, picture.size, kLetteringShare, &problem));
        if (!problem.isEmpty())
            return fail(path, problem);
        std::printf(
            "%s: %d x %d, \"%s\", %.2f px, spacing %.2f px, outline %.1f px, background %.2f %%\n",
            picture.path, picture.size.width(), picture.size.height(), picture.text,
            lettering->pixelSize, lettering->letterSpacing, lettering->embolden,
            lettering->backgroundShare * 100);
        problem = writeFinePicture(
            root, picture.path,
            drawLettering(text, letteringFace, picture.size, *lettering, kFineScale), picture.size,
            kLetteringShare);
        if (!problem.isEmpty())
            return fail(finePath(picture.path), problem);
    }

    const std::optional<Portrait> portrait = drawPortrait(kPortraitSize, bookFace, kPortraitShare);
    if (!portrait)
        return fail(QString::fromUtf8(kPortraitPath),
                    QStringLiteral("no page height gives the background share"));
    const QString portraitPath = root.filePath(QString::fromUtf8(kPortraitPath));
    if (!writeFile(portraitPath, encodeBmp24(portrait->image), &problem))
        return fail(portraitPath, problem);
    pictures.append(checkBmpFile(portraitPath, kPortraitSize, kPortraitShare, &problem));
    if (!problem.isEmpty())
        return fail(portraitPath, problem);
    std::printf("%s: %d x %d, open book, pages %.1f px high, background %.2f %%\n", kPortraitPath,
                kPortraitSize.width(), kPortraitSize.height(), portrait->pageHeight,
                portrait->backgroundShare * 100);
    problem = writeFinePicture(root, kPortraitPath,
                               drawBook(kPortraitSize, bookFace, portrait->pageHeight, kFineScale),
                               kPortraitSize, kPortraitShare);
    if (!problem.isEmpty())
        return fail(finePath(kPortraitPath), problem);

    for (int i = 0; i < pictures.size(); ++i) {
        for (int j = i + 1; j < pictures.size(); ++j) {
            if (pictures[i] == pictures[j])
                return fail(QStringLiteral("pictures"), QStringLiteral("two of them are the same"));
        }
    }

    // The icon: each size drawn on its own; the small ones stored at 8 and 32 bits.
    std::vector<IconImage> iconImages;
    for (int size : kSmallIconSizes) {
        const QImage artwork = drawIcon(size);
        iconImages.push_back({artwork, 8});
        iconImages.push_back({artwork, 32});
    }
    iconImages.push_back({drawIcon(kLargeIconSize), 32, IconStorage::Png});
    const QString iconPath = root.filePath(QString::fromUtf8(kIconPath));
    if (!writeFile(iconPath, encodeIco(iconImages), &problem))
        return fail(iconPath, problem);
    problem = checkIcoFile(iconPath, iconImages);
    if (!problem.isEmpty())
        return fail(iconPath, problem);
    std::printf("%s: 16, 32 and 48 px at 8 and 32 bits, %d px as PNG\n", kIconPath, kLargeIconSize);

    for (int size : kThemeIconSizes) {
        const QImage artwork = drawIcon(size);
        const QString name = QStringLiteral("packaging/icons/dilmora-%1.png").arg(size);
        const QString path = root.filePath(name);
        if (!writeFile(path, encodePng(artwork), &problem))
            return fail(path, problem);
        problem = checkPngFile(path, artwork);
        if (!problem.isEmpty())
            return fail(path, problem);
        std::printf("%s: %d x %d\n", qPrintable(name), size, size);
    }

    const QString svgPath = root.filePath(QString::fromUtf8(kScalableIconPath));
    if (!writeFile(svgPath, iconSvg(iconGeometry(kLargeIconSize)), &problem))
        return fail(svgPath, problem);
    problem = checkSvgFile(svgPath, kLargeIconSize);
    if (!problem.isEmpty())
        return fail(svgPath, problem);
    std::printf("%s: %d x %d user units\n", kScalableIconPath, kLargeIconSize, kLargeIconSize);
    return 0;
}
