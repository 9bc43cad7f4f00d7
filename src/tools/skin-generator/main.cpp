// Draws the viewer's interface pictures and writes them with their manifest:
//   kvr-skin-generator <output folder> [--preview <folder>]
// The preview folder receives a contact sheet and two mock main windows.

#include "Art.h"
#include "Preview.h"
#include "SkinBook.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

namespace {

SkinBook drawSkin()
{
    SkinBook book;
    drawStartLogo(book);
    drawWindowEdges(book);
    drawInfoPanel(book);
    drawChartFrame(book);
    drawTransportPanel(book);
    drawPositionSlider(book);
    drawPictureSoundPanel(book);
    drawThumbnailStrip(book);
    return book;
}

// The window icon, which is not one of the numbered pictures.
bool writeProgramIcons(const QString& folder)
{
    const QDir icons(QDir(folder).filePath(QStringLiteral("icon")));
    if (!icons.mkpath(QStringLiteral(".")))
        return false;
    for (int size : {16, 24, 32, 48, 64, 256})
        if (!drawProgramIcon(size).save(icons.filePath(QStringLiteral("294-%1.png").arg(size)), "PNG", 0))
            return false;
    return true;
}

bool writePreview(const SkinBook& book, const QString& folder)
{
    const QDir preview(folder);
    return preview.mkpath(QStringLiteral(".")) &&
           contactSheet(book).save(preview.filePath(QStringLiteral("skin-sheet.png"))) &&
           mainWindowMock(book, false).save(preview.filePath(QStringLiteral("skin-idle.png"))) &&
           mainWindowMock(book, true).save(preview.filePath(QStringLiteral("skin-playing.png")));
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    QStringList arguments = QGuiApplication::arguments();
    arguments.removeFirst();
    QString previewFolder;
    const qsizetype flag = arguments.indexOf(QStringLiteral("--preview"));
    if (flag >= 0 && flag + 1 < arguments.size()) {
        previewFolder = arguments.at(flag + 1);
        arguments.remove(flag, 2);
    }
    if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: kvr-skin-generator <output folder> [--preview <folder>]\n");
        return 2;
    }

    const SkinBook book = drawSkin();
    if (const QStringList problems = book.problems(); !problems.isEmpty()) {
        for (const QString& problem : problems)
            std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    const QString folder = arguments.first();
    if (!book.write(folder) || !writeProgramIcons(folder)) {
        std::fprintf(stderr, "cannot write the pictures into %s\n", qPrintable(folder));
        return 1;
    }
    if (!previewFolder.isEmpty() && !writePreview(book, previewFolder)) {
        std::fprintf(stderr, "cannot write the preview into %s\n", qPrintable(previewFolder));
        return 1;
    }
    return 0;
}
