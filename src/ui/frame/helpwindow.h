#pragma once

#include <QMainWindow>

class QTextBrowser;

// The help window: shows the program's HTML help pages.
class THelpWindow : public QMainWindow
{
    Q_OBJECT

  public:
    explicit THelpWindow(QWidget *parent = nullptr);

    // Shows the help file at path, at its contents page; false when there is no such file.
    bool ShowContents(const QString &path);

    QTextBrowser *Browser;
};
