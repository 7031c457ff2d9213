#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: the program's picture, name, version and credits.
class TAboutBox : public QDialog
{
    Q_OBJECT

  public:
    // appVersion: the version the settings hold at start, shown after "Version".
    explicit TAboutBox(const QString &appVersion, QWidget *parent = nullptr);

    QLabel *ProgramIcon;
    QLabel *ProductName;
    QLabel *Version;
    QLabel *Copyright;
    QLabel *Comments;
    QPushButton *OKButton;

  protected:
    void showEvent(QShowEvent *event) override;
};
