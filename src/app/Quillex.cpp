// Quillex: an editor for COG scripts. Starts the application and its frame.

#include <QScreen>

#include "ui/common/application.h"
#include "ui/common/qtprompts.h"
#include "ui/frame/mainframe.h"

int main(int argc, char **argv)
{
    TQxApplication app(argc, argv);
    QApplication::setOrganizationName("Ostrel Forge");
    QApplication::setApplicationName("Quillex");

    TQtPrompts prompts;
    app.SetPrompts(&prompts);

    // The frame reads the settings and creates the tool windows, in that order, before the
    // event loop runs; a script named on the command line opens from the loop's timer.
    TMainForm frame(prompts, TMainForm::ProgramSetup());
    prompts.SetParent(&frame);
    // Also fills the screen where no window manager maximises it.
    frame.setGeometry(frame.screen()->availableGeometry());
    frame.setWindowState(Qt::WindowMaximized);
    frame.show();
    const int status = app.exec();
    app.SetPrompts(nullptr);
    return status;
}
