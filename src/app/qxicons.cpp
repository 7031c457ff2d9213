// qxicons: writes the program's icon as PNG files for the desktop's icon theme, one per size:
// qxicons FOLDER SIZE... writes FOLDER/SIZExSIZE/apps/quillex.png.

#include <cstdio>

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include "ui/common/pictures.h"

int main(int argc, char **argv)
{
    // No screen is needed to draw into a picture.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3)
    {
        std::fprintf(stderr, "usage: qxicons FOLDER SIZE...\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i)
    {
        const int size = QString::fromLatin1(argv[i]).toInt();
        const QString folder = QString("%1/%2x%2/apps").arg(root).arg(size);
        if (size <= 0 || !QDir().mkpath(folder) ||
            !ProgramIconPixmap(size).save(folder + "/quillex.png", "PNG"))
        {
            std::fprintf(stderr, "qxicons: cannot write the %s icon\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
