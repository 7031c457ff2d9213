// Quillex: an editor for COG scripts. Starts the application and its frame.

#include <QApplication>

#include "ui/shell/mdimain.h"
#include "ui/shell/qtprompts.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Ostrel Forge");
    QApplication::setApplicationName("Quillex");

    TQtPrompts prompts;
    SetPrompts(&prompts);

    TMainForm frame;
    prompts.SetParent(&frame);
    frame.showMaximized();
    return app.exec();
}
