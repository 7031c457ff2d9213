#include "ui/frame/childwindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenu>

#include "ui/common/fonts.h"
#include "ui/common/uihelpers.h"

TMDIChild::TMDIChild(QWidget *parent) : QMdiSubWindow(parent)
{
    setObjectName("MDIChild");
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(SansFont(11));
    resize(435, 301);

    File1 = new QMenu("&File", this);
    File1->setObjectName("File1");
    New1 = AddItem(File1, "New1", "&New", QKeySequence("Ctrl+N"));
    Open1 = AddItem(File1, "Open1", "&Open", QKeySequence("Ctrl+O"));
    Close1 = AddItem(File1, "Close1", "&Close");
    File1->addSeparator();
    Save1 = AddItem(File1, "Save1", "&Save", QKeySequence("Ctrl+S"));
    SaveAs1 = AddItem(File1, "SaveAs1", "Save &As...");
    File1->addSeparator();
    Print1 = AddItem(File1, "Print1", "&Print", QKeySequence("Ctrl+P"));
    PrintSetup1 = AddItem(File1, "PrintSetup1", "Prin&t Setup...");
    File1->addSeparator();
    Exit1 = AddItem(File1, "Exit1", "E&xit");

    connect(New1, &QAction::triggered, this, [this] { New1Click(); });
    connect(Open1, &QAction::triggered, this, [this] { Open1Click(); });
    connect(Close1, &QAction::triggered, this, [this] { Close1Click(); });
    connect(Save1, &QAction::triggered, this, [this] { Save1Click(); });
    connect(SaveAs1, &QAction::triggered, this, [this] { SaveAs1Click(); });
    connect(Print1, &QAction::triggered, this, [this] { Print1Click(); });
    connect(PrintSetup1, &QAction::triggered, this, [this] { PrintSetup1Click(); });
    connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
}

QList<QMenu *> TMDIChild::MergedMenus() const
{
    return {File1};
}

void TMDIChild::New1Click()
{
    // Only the frame's New: the starter script opens in this window (after the frame's
    // question) or in a new one, and never replaces this window's text behind its caption.
    emit NewAsked();
}

void TMDIChild::Open1Click()
{
    emit OpenAsked();
}

void TMDIChild::Close1Click()
{
    close();
}

void TMDIChild::CloseChild(QCloseEvent *event)
{
    Closing = true;
    emit AboutToClose(this);
    QMdiSubWindow::closeEvent(event);
    emit Closed(this);
}

void TMDIChild::Exit1Click()
{
    emit ExitAsked();
}
