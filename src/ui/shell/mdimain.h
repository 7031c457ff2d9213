#pragma once

#include <QMainWindow>

class QMdiArea;

// The program's main window: a multiple-document frame holding the script editors.
class TMainForm : public QMainWindow
{
    Q_OBJECT

  public:
    explicit TMainForm(QWidget *parent = nullptr);

    QMdiArea *ClientArea() const { return MdiArea; }

  private:
    void FormCreate();

    QMdiArea *MdiArea;
};
