#include "ui/frame/helpwindow.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>

THelpWindow::THelpWindow(QWidget *parent) : QMainWindow(parent, Qt::Window)
{
    setObjectName("HelpWindow");
    setWindowTitle("Quillex Help");
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(640, 520);
    Browser = new QTextBrowser(this);
    Browser->setObjectName("Browser");
    Browser->setOpenExternalLinks(true);
    setCentralWidget(Browser);
    connect(Browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = Browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QString("Quillex Help") : title);
    });
}

bool THelpWindow::ShowContents(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return false;
    // Each call shows the contents page from its top, also when the window already showed
    // another part of the help.
    Browser->setSource(QUrl::fromLocalFile(path));
    Browser->verticalScrollBar()->setValue(0);
    return true;
}
