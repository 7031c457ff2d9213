#include "ui/linebuilder/Global.h"

#include <QPlainTextEdit>
#include <QSplitter>
#include <QTreeWidget>

#include "ui/shell/mdimain.h"

TVF::TVF(QWidget *parent) : QMainWindow(parent, Qt::Window)
{
    setObjectName("VF");
    setWindowTitle("VF");
    resize(609, 404);
    move(119, 132);
    setAttribute(Qt::WA_QuitOnClose, false);

    auto *splitter = new QSplitter(this);
    TV = new QTreeWidget(splitter);
    TV->setObjectName("TV");
    TV->setHeaderHidden(true);
    TV->setIndentation(19);
    TV->setDragEnabled(true);
    TV->setDragDropMode(QAbstractItemView::DragOnly);
    CreateFlagPanel(splitter);
    RE1 = new QPlainTextEdit(splitter);
    RE1->setObjectName("RE1");
    RE1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RE1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RE1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    splitter->setSizes({190, 401});
    setCentralWidget(splitter);
}

void TVF::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (MainForm)
        MainForm->RememberTargetEditor();
}
