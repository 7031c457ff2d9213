#include "ui/frame/helpwindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

THelpWindow::THelpWindow(QWidget *parent) : QMainWindow(parent, Qt::Window)
{
    setObjectName("HelpWindow");
    setWindowTitle("Quillex Help");
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(860, 600);

    auto *panes = new QSplitter(Qt::Horizontal, this);
    auto *side = new QWidget(panes);
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(4, 4, 0, 4);
    auto *label = new QLabel("&Find in the help:", side);
    HelpSearch = new QLineEdit(side);
    HelpSearch->setObjectName("HelpSearch");
    HelpSearch->setPlaceholderText("words to find");
    HelpSearch->setClearButtonEnabled(true);
    label->setBuddy(HelpSearch);
    HelpResults = new QListWidget(side);
    HelpResults->setObjectName("HelpResults");
    sideLayout->addWidget(label);
    sideLayout->addWidget(HelpSearch);
    sideLayout->addWidget(HelpResults, 1);

    Browser = new QTextBrowser(panes);
    Browser->setObjectName("Browser");
    Browser->setOpenExternalLinks(true);
    panes->setStretchFactor(0, 0);
    panes->setStretchFactor(1, 1);
    panes->setSizes({210, 650});
    setCentralWidget(panes);

    connect(Browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = Browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QString("Quillex Help") : title);
    });
    connect(HelpSearch, &QLineEdit::textChanged, this, &THelpWindow::HelpSearchChange);
    connect(HelpResults, &QListWidget::itemClicked, this, &THelpWindow::HelpResultsClick);
    connect(HelpResults, &QListWidget::itemActivated, this, &THelpWindow::HelpResultsClick);
}

bool THelpWindow::ShowPage(const QUrl &url)
{
    const QString path = url.toLocalFile();
    if (!QFileInfo(path).isFile())
        return false;
    IndexFolder(QFileInfo(path).absolutePath());
    const QString section = url.fragment();
    // Each call shows the page from its top or at its section, also when the window already
    // showed another part of the help (or this page, scrolled elsewhere).
    Browser->setSource(url);
    if (section.isEmpty())
        Browser->verticalScrollBar()->setValue(0);
    else
        Browser->scrollToAnchor(section);
    return true;
}

void THelpWindow::IndexFolder(const QString &folder)
{
    if (folder == IndexedFolder)
        return;
    IndexedFolder = folder;
    Sections.clear();
    const QDir dir(folder);
    for (const QString &name : dir.entryList({"*.html"}, QDir::Files, QDir::Name))
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray html = file.readAll();
        for (THelpSection &section :
             ReadHelpSections(std::string_view(html.constData(), static_cast<size_t>(html.size())),
                              name.toStdString()))
            Sections.push_back(std::move(section));
    }
    HelpSearchChange(HelpSearch->text());
}

void THelpWindow::HelpSearchChange(const QString &text)
{
    HelpResults->clear();
    for (const size_t i : FindHelpSections(Sections, text.toStdString()))
    {
        const THelpSection &section = Sections[i];
        QUrl url = QUrl::fromLocalFile(IndexedFolder + "/" + QString::fromStdString(section.Page));
        if (!section.Anchor.empty())
            url.setFragment(QString::fromStdString(section.Anchor));
        auto *item = new QListWidgetItem(QString::fromStdString(section.Title), HelpResults);
        item->setData(UrlRole, url);
        item->setToolTip(QString::fromStdString(section.Page));
    }
}

void THelpWindow::HelpResultsClick(QListWidgetItem *item)
{
    if (!item)
        return;
    ShowPage(item->data(UrlRole).toUrl());
}
