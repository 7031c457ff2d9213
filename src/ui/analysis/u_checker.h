#pragma once

#include <QDialog>

class QFrame;
class QListWidget;
class QPushButton;
class TCOGErrors;

// The Syntax Checker window: lists the messages of the last check of an editor's script;
// a click on one shows its line in the target editor.
class TSC : public QDialog
{
    Q_OBJECT

  public:
    explicit TSC(QWidget *parent = nullptr);

    // Replaces the entries with the messages of errors, in their order: entry i belongs to
    // error i, whose line is looked up when the entry is clicked.
    void ShowErrors(const TCOGErrors &errors);
    // The entry the user selected; -1 when none is.
    int SelectedIndex() const;

    void FormShow();
    void ErrorsClick();
    void BBRefreshClick();
    void BBCancelClick();

    QListWidget *Errors;
    QFrame *Panel1;
    QPushButton *BBRefresh;
    QPushButton *BBCancel;

    static constexpr int ItemHeight = 13;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

  private:
    // The entry selected when the mouse was last pressed on the list: a click on it changed
    // no selection, so the click itself shows the line.
    int SelectedBeforePress = -1;
};
