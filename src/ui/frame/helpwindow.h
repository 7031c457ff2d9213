#pragma once

#include <vector>

#include <QMainWindow>
#include <QString>

#include "core/shell/helpindex.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextBrowser;
class QUrl;

// The help window: shows the program's HTML help pages, and finds the sections of them that
// hold the words typed in its search field.
class THelpWindow : public QMainWindow
{
    Q_OBJECT

  public:
    explicit THelpWindow(QWidget *parent = nullptr);

    // Shows the help file of a file URL at the heading its fragment names (from its top without
    // one); false when there is no such file.
    bool ShowPage(const QUrl &url);

    // The text of HelpSearch changed: HelpResults lists the sections holding all its words.
    void HelpSearchChange(const QString &text);
    // Opens the section of a result.
    void HelpResultsClick(QListWidgetItem *item);

    QTextBrowser *Browser;
    QLineEdit *HelpSearch;
    QListWidget *HelpResults;

    // The item data role holding a result's page and section as a URL.
    static constexpr int UrlRole = Qt::UserRole;

  private:
    // Reads the sections of every page in folder, unless they are read already.
    void IndexFolder(const QString &folder);

    QString IndexedFolder;
    std::vector<THelpSection> Sections;
};
