#include "ui/shell/mdimain.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QStandardPaths>

#include "core/shell/GlobalVar.h"
#include "ui/shell/Qx_reg.h"

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent), MdiArea(new QMdiArea(this))
{
    setObjectName("MainForm");
    setWindowTitle("Quillex");
    MdiArea->setObjectName("ClientArea");
    MdiArea->setBackground(Qt::black);
    setCentralWidget(MdiArea);
    FormCreate();
}

void TMainForm::FormCreate()
{
    const QString exeDir = QCoreApplication::applicationDirPath() + "/";
    const QString userDir =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/";
    SetProgramDir(ChooseProgramDir(exeDir.toStdString(), userDir.toStdString()));
    LoadSettingsAtStart();
}
